#pragma once

#include "platform/db/Dataset.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class TDM1;

// The login dialog: a user of KULLANICI logs in with the stored password or a Windows
// domain account and must hold the warehouse right. A successful login fills the data
// module's user fields and sets LogonOK; any other way out leaves LogonOK false.
class TfrmLogon : public QDialog {
    Q_OBJECT
public:
    // args are the positional command-line arguments: user name, then password.
    explicit TfrmLogon(TDM1& dm, const QStringList& args = {}, QWidget* parent = nullptr);

    // The operating system's answers; tests replace them. An empty function restores
    // sys::UserCanLogin / sys::GetCurrentLoginUserName.
    using UserCanLoginFn = std::function<bool(const QString& domain, const QString& user,
                                              const QString& password, QString* errorText)>;
    using CurrentUserNameFn = std::function<QString()>;
    static void setUserCanLogin(UserCanLoginFn fn);
    static void setCurrentUserName(CurrentUserNameFn fn);

    QLabel* LblBaslik;
    QLabel* LblResim;
    QLabel* LblLokasyon;
    QLineEdit* EdKullanici;
    QLineEdit* EdSifre;
    QPushButton* BtnTamam;
    QPushButton* BtnVazgec;
    QTimer* Timer1;
    db::Dataset DsKullanici;

    quint8 TryCount = 0;

    // The login procedure of "&Tamam".
    void BtnTamamClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void kurGorunum();
    void windowsKullanicisiniOner();
    void kilidiAc();
    void girisYap();
    void Timer1Timer();

    TDM1& m_dm;
    bool m_kilitli = false;
    bool m_gosterildi = false;
};

// Start-up's login step: shows the dialog modally and leaves dm.LogonOK set when the
// user logged in. args: the positional command-line arguments.
void GirisEkrani(TDM1& dm, const QStringList& args);
