#pragma once

#include <QString>

namespace sys {

// The account name running the process, without domain, at most 99 characters.
QString GetCurrentLoginUserName();

// Checks a user name and password against the operating system's logon (Windows: an
// interactive logon with the default provider; Linux: PAM). On failure returns false and,
// when errorText is given, the system's message.
//
// Linux: the PAM service is "tarvoantrepo" (/etc/pam.d/tarvoantrepo, set up by the site,
// e.g. including common-auth and common-account), or the one named by the environment
// variable TARVO_PAM_SERVICE. A domain user is handed on as "user@domain", the form sssd
// and winbind accept; with an empty domain the user name goes alone.
bool UserCanLogin(const QString& domain, const QString& user, const QString& password,
                  QString* errorText = nullptr);

// The PAM service UserCanLogin uses on Linux.
QString PamServiceName();

// "DOMAIN\user" or "user@domain" without the domain part; other names unchanged.
QString AccountNameWithoutDomain(const QString& name);

} // namespace sys
