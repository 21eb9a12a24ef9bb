#include "platform/system/Logon.h"

#include <QtGlobal>

namespace sys {

QString GetCurrentLoginUserName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("USERNAME");
    return name.left(99);
}

bool UserCanLogin(const QString& domain, const QString& user, const QString& password, QString* errorText) {
    Q_UNUSED(domain);
    Q_UNUSED(user);
    Q_UNUSED(password);
    if (errorText)
        *errorText = QStringLiteral("Sistem girişi bu derlemede desteklenmiyor.");
    return false;
}

} // namespace sys
