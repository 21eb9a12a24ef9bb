#pragma once

#include <QString>

namespace sys {

// The account name running the process, without domain, at most 99 characters.
QString GetCurrentLoginUserName();

// Checks a user name and password against the operating system's logon (Windows: an
// interactive logon with the default provider; Linux: PAM). On failure returns false and,
// when errorText is given, the system's message.
bool UserCanLogin(const QString& domain, const QString& user, const QString& password, QString* errorText = nullptr);

} // namespace sys
