#include "platform/db/Command.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

namespace db {

void Command::setText(const QString& text) {
    m_text = text;
    const QStringList names = parseParameters(text).params;
    QVariantList values;
    for (const auto& n : names) {
        const int old = int(m_paramNames.indexOf(n));
        values << (old >= 0 ? m_paramValues.value(old) : QVariant());
    }
    m_paramNames = names;
    m_paramValues = values;
}

void Command::setParam(const QString& name, const QVariant& value) {
    bool found = false;
    for (int i = 0; i < m_paramNames.size(); ++i)
        if (m_paramNames[i].compare(name, Qt::CaseInsensitive) == 0) {
            m_paramValues[i] = value;
            found = true;
        }
    if (!found)
        throw DbError(QStringLiteral("Parametre bulunamadı: %1").arg(name), m_text);
}

int Command::execute() {
    if (!m_connection)
        throw DbError(QStringLiteral("Komutun bağlantısı yok"), m_text);
    return m_connection->execute(m_text, m_paramValues);
}

} // namespace db
