#include "platform/system/Logon.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

#include <lmcons.h> // needs windows.h first

#include <string>
#else
#include <security/pam_appl.h>

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>
#include <vector>
#endif

namespace sys {

namespace {
constexpr int kMaxUserName = 99;
}

QString AccountNameWithoutDomain(const QString& name) {
    QString n = name;
    const qsizetype slash = n.lastIndexOf(u'\\');
    if (slash >= 0) n = n.mid(slash + 1);
    const qsizetype at = n.indexOf(u'@');
    if (at >= 0) n = n.left(at);
    return n;
}

QString PamServiceName() {
    const QString s = qEnvironmentVariable("TARVO_PAM_SERVICE");
    return s.isEmpty() ? QStringLiteral("tarvoantrepo") : s;
}

#ifdef Q_OS_WIN

QString GetCurrentLoginUserName() {
    wchar_t buffer[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(buffer, &size)) return qEnvironmentVariable("USERNAME").left(kMaxUserName);
    return AccountNameWithoutDomain(QString::fromWCharArray(buffer)).left(kMaxUserName);
}

namespace {
QString systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString message = n ? QString::fromWCharArray(text, int(n)).trimmed() : QString::number(code);
    if (text) LocalFree(text);
    return message;
}
} // namespace

bool UserCanLogin(const QString& domain, const QString& user, const QString& password, QString* errorText) {
    HANDLE token = nullptr;
    const std::wstring d = domain.toStdWString();
    const std::wstring u = user.toStdWString();
    std::wstring p = password.toStdWString();
    const BOOL ok = LogonUserW(u.c_str(), d.c_str(), p.c_str(), LOGON32_LOGON_INTERACTIVE,
                               LOGON32_PROVIDER_DEFAULT, &token);
    const DWORD code = ok ? 0 : GetLastError();
    SecureZeroMemory(p.data(), p.size() * sizeof(wchar_t));
    if (ok) {
        CloseHandle(token);
        return true;
    }
    if (errorText) *errorText = systemMessage(code);
    return false;
}

#else

QString GetCurrentLoginUserName() {
    QString name;
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(bufferSize > 0 ? size_t(bufferSize) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        name = QString::fromLocal8Bit(found->pw_name);
    if (name.isEmpty()) name = qEnvironmentVariable("USER");
    if (name.isEmpty()) name = qEnvironmentVariable("LOGNAME");
    return AccountNameWithoutDomain(name).left(kMaxUserName);
}

namespace {

// PAM asks through this; the only thing we can answer with is the password, so every
// prompt gets it and informational messages get no answer.
int answerWithPassword(int count, const pam_message** messages, pam_response** responses, void* data) {
    if (count <= 0) return PAM_CONV_ERR;
    auto* out = static_cast<pam_response*>(std::calloc(size_t(count), sizeof(pam_response)));
    if (!out) return PAM_BUF_ERR;
    const char* password = static_cast<const char*>(data);
    for (int i = 0; i < count; ++i) {
        const int style = messages[i]->msg_style;
        if (style == PAM_PROMPT_ECHO_OFF || style == PAM_PROMPT_ECHO_ON) {
            out[i].resp = strdup(password);
            if (!out[i].resp) {
                for (int j = 0; j < i; ++j)
                    std::free(out[j].resp);
                std::free(out);
                return PAM_BUF_ERR;
            }
        }
    }
    *responses = out;
    return PAM_SUCCESS;
}

} // namespace

bool UserCanLogin(const QString& domain, const QString& user, const QString& password, QString* errorText) {
    const QByteArray service = PamServiceName().toLocal8Bit();
    const QByteArray account = (domain.isEmpty() ? user : user + u'@' + domain).toUtf8();
    QByteArray secret = password.toUtf8();
    pam_conv conversation{answerWithPassword, secret.data()};

    pam_handle_t* handle = nullptr;
    int rc = pam_start(service.constData(), account.constData(), &conversation, &handle);
    if (rc == PAM_SUCCESS) rc = pam_authenticate(handle, PAM_DISALLOW_NULL_AUTHTOK);
    if (rc == PAM_SUCCESS) rc = pam_acct_mgmt(handle, PAM_DISALLOW_NULL_AUTHTOK);
    if (rc != PAM_SUCCESS && errorText) *errorText = QString::fromLocal8Bit(pam_strerror(handle, rc));
    if (handle) pam_end(handle, rc);
    secret.fill('\0');
    return rc == PAM_SUCCESS;
}

#endif

} // namespace sys
