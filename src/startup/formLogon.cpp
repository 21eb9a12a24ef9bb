#include "startup/formLogon.h"

#include "common/Fonksiyonlar.h"
#include "platform/system/Logon.h"
#include "platform/ui/ErrorDisplay.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"
#include "startup/Kripto.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kSifreAnahtari = QStringLiteral("517294");

TfrmLogon::UserCanLoginFn& userCanLoginFn() {
    static TfrmLogon::UserCanLoginFn fn;
    return fn;
}

TfrmLogon::CurrentUserNameFn& currentUserNameFn() {
    static TfrmLogon::CurrentUserNameFn fn;
    return fn;
}

bool userCanLogin(const QString& domain, const QString& user, const QString& password, QString* errorText) {
    if (userCanLoginFn()) return userCanLoginFn()(domain, user, password, errorText);
    return sys::UserCanLogin(domain, user, password, errorText);
}

QString currentUserName() {
    return currentUserNameFn() ? currentUserNameFn()() : sys::GetCurrentLoginUserName();
}

// The picture on the left: a warehouse with a padlock, drawn so that no image file is needed.
QPixmap girisResmi() {
    QPixmap pm(112, 132);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 132);
    bg.setColorAt(0, QColor(0xdc, 0xe6, 0xf2));
    bg.setColorAt(1, QColor(0xa9, 0xbf, 0xd9));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(2, 2, 108, 128), 8, 8);

    const QColor koyu(0x1f, 0x3a, 0x68);
    QPainterPath cati;
    cati.moveTo(14, 58);
    cati.lineTo(56, 26);
    cati.lineTo(98, 58);
    cati.closeSubpath();
    p.setBrush(koyu);
    p.drawPath(cati);
    p.setBrush(QColor(0xf4, 0xf1, 0xea));
    p.drawRect(QRectF(22, 58, 68, 48));
    p.setBrush(QColor(0x7a, 0x8a, 0x9c));
    p.drawRect(QRectF(40, 72, 32, 34));
    p.setPen(QPen(QColor(0x5a, 0x68, 0x78), 1.5));
    for (int y = 78; y < 106; y += 6)
        p.drawLine(QPointF(40, y), QPointF(72, y));

    // padlock
    p.setPen(QPen(QColor(0xc9, 0x8e, 0x12), 4));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(74, 84, 22, 24), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xa8, 0x1c));
    p.drawRoundedRect(QRectF(70, 96, 30, 24), 4, 4);
    p.setBrush(koyu);
    p.drawEllipse(QRectF(82, 103, 6, 6));
    p.drawRect(QRectF(84, 107, 2, 7));
    return pm;
}

} // namespace

void TfrmLogon::setUserCanLogin(UserCanLoginFn fn) {
    userCanLoginFn() = std::move(fn);
}

void TfrmLogon::setCurrentUserName(CurrentUserNameFn fn) {
    currentUserNameFn() = std::move(fn);
}

TfrmLogon::TfrmLogon(TDM1& dm, const QStringList& args, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      DsKullanici(&dm.TarvoDB, QStringLiteral("DsKullanici"), this), m_dm(dm) {
    kurGorunum();
    DsKullanici.setSql(
        QStringList{QStringLiteral("SELECT * FROM KULLANICI"), QStringLiteral("WHERE LOGONADI = :LOGONADI")});

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(500);
    connect(Timer1, &QTimer::timeout, this, &TfrmLogon::Timer1Timer);

    windowsKullanicisiniOner();
    LblLokasyon->setText(m_dm.LOKASYONADI);
    TryCount = 0;
    if (args.size() > 0) EdKullanici->setText(args.at(0));
    if (args.size() > 1) EdSifre->setText(args.at(1));
    Timer1->start();
}

void TfrmLogon::kurGorunum() {
    setObjectName(QStringLiteral("frmLogon"));
    setWindowTitle(QStringLiteral("Velkora Tarvo Peltra Kullanıcı Girişi"));
    setModal(true);

    // Without a window frame the dialog draws its own border.
    auto* cerceve = new QFrame(this);
    cerceve->setFrameShape(QFrame::Box);
    cerceve->setFrameShadow(QFrame::Plain);
    cerceve->setLineWidth(1);
    auto* dis = new QVBoxLayout(this);
    dis->setContentsMargins(0, 0, 0, 0);
    dis->addWidget(cerceve);

    LblBaslik = new QLabel(QStringLiteral(" Velkora TarvoAntrepo Kullanıcı Girişi"), cerceve);
    LblBaslik->setAutoFillBackground(true);
    QPalette baslikRengi = LblBaslik->palette();
    baslikRengi.setColor(QPalette::Window, QColor(0x1f, 0x3a, 0x68));
    baslikRengi.setColor(QPalette::WindowText, Qt::white);
    LblBaslik->setPalette(baslikRengi);
    QFont baslikYazisi = LblBaslik->font();
    baslikYazisi.setBold(true);
    baslikYazisi.setPointSizeF(baslikYazisi.pointSizeF() * 1.15);
    LblBaslik->setFont(baslikYazisi);
    LblBaslik->setMinimumHeight(30);
    LblBaslik->setContentsMargins(4, 0, 4, 0);

    LblResim = new QLabel(cerceve);
    LblResim->setPixmap(girisResmi());
    LblResim->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    LblLokasyon = new QLabel(QStringLiteral("- - - - -"), cerceve);
    LblLokasyon->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont lokasyonYazisi = LblLokasyon->font();
    lokasyonYazisi.setBold(true);
    LblLokasyon->setFont(lokasyonYazisi);

    EdKullanici = new QLineEdit(cerceve);
    EdKullanici->setObjectName(QStringLiteral("EdKullanici"));
    BuyukHarfGirisi(EdKullanici);
    EdSifre = new QLineEdit(cerceve);
    EdSifre->setObjectName(QStringLiteral("EdSifre"));
    EdSifre->setEchoMode(QLineEdit::Password);
    // "*" as the mask, whatever the style would choose
    EdSifre->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));

    auto* lblKullanici = new QLabel(QStringLiteral("Kullanıcı"), cerceve);
    lblKullanici->setBuddy(EdKullanici);
    auto* lblSifre = new QLabel(QStringLiteral("Şifre"), cerceve);
    lblSifre->setBuddy(EdSifre);

    BtnTamam = new QPushButton(QStringLiteral("&Tamam"), cerceve);
    BtnTamam->setDefault(true);
    BtnVazgec = new QPushButton(QStringLiteral("&Vazgeç"), cerceve);
    connect(BtnTamam, &QPushButton::clicked, this, &TfrmLogon::BtnTamamClick);
    connect(BtnVazgec, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QGridLayout;
    form->setHorizontalSpacing(10);
    form->addWidget(lblKullanici, 0, 0);
    form->addWidget(EdKullanici, 0, 1);
    form->addWidget(lblSifre, 1, 0);
    form->addWidget(EdSifre, 1, 1);
    form->setColumnMinimumWidth(1, 190);

    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(BtnTamam);
    dugmeler->addWidget(BtnVazgec);

    auto* sag = new QVBoxLayout;
    sag->addWidget(LblLokasyon);
    sag->addSpacing(6);
    sag->addLayout(form);
    sag->addStretch();
    sag->addLayout(dugmeler);

    auto* govde = new QHBoxLayout;
    govde->setContentsMargins(10, 10, 12, 12);
    govde->setSpacing(14);
    govde->addWidget(LblResim);
    govde->addLayout(sag, 1);

    auto* ic = new QVBoxLayout(cerceve);
    ic->setContentsMargins(1, 1, 1, 1);
    ic->setSpacing(0);
    ic->addWidget(LblBaslik);
    ic->addLayout(govde);

    setTabOrder(EdKullanici, EdSifre);
    setTabOrder(EdSifre, BtnTamam);
    setTabOrder(BtnTamam, BtnVazgec);

    auto* kisayol = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_U), this);
    connect(kisayol, &QShortcut::activated, this, [this] {
        if (m_kilitli) kilidiAc();
    });
}

void TfrmLogon::windowsKullanicisiniOner() {
    if (!m_dm.DOMAINUSERKULLANILACAK) return;
    const QString ad = currentUserName();
    if (ad.isEmpty()) return;
    DsKullanici.close();
    DsKullanici.setParam(QStringLiteral("LOGONADI"), ad);
    DsKullanici.open();
    const int superKullanici =
        DsKullanici.isEmpty() ? 0 : DsKullanici.value(QStringLiteral("SUPERUSER")).toInt();
    DsKullanici.close();
    EdKullanici->setText(ad);
    if (superKullanici == 0) {
        EdKullanici->setReadOnly(true);
        QPalette p = EdKullanici->palette();
        p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
        EdKullanici->setPalette(p);
        EdKullanici->setFocusPolicy(Qt::ClickFocus);
        m_kilitli = true;
    }
    EdSifre->setFocus();
}

void TfrmLogon::kilidiAc() {
    EdKullanici->setReadOnly(false);
    EdKullanici->setPalette(EdSifre->palette());
    EdKullanici->setFocusPolicy(Qt::StrongFocus);
    EdKullanici->setFocus();
    m_kilitli = false;
}

void TfrmLogon::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_gosterildi) return;
    m_gosterildi = true;
    if (QScreen* ekran = screen() ? screen() : QGuiApplication::primaryScreen())
        move(ekran->availableGeometry().center() - rect().center());
    // Closing a dialog while it is still being shown would leave exec() waiting, so the
    // command-line login runs as soon as the dialog's event loop does.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible()) return;
        if (!EdKullanici->text().isEmpty() && !EdSifre->text().isEmpty()) BtnTamamClick();
        Timer1->start();
    });
}

void TfrmLogon::Timer1Timer() {
    Timer1->stop();
    if (m_dm.LogonOK && isVisible()) accept();
}

void TfrmLogon::BtnTamamClick() {
    // A database error ends the press with the server's message; the dialog stays open.
    if (!ui::runCommand([this] { girisYap(); })) DsKullanici.close();
}

void TfrmLogon::girisYap() {
    ++TryCount;
    if (TryCount > 5) {
        ui::ShowMessage(QStringLiteral("HATA: Kullanıcı adı ve şifre deneme hakkınız dolmuştur..."));
        reject();
        return;
    }
    const QString kullanici = EdKullanici->text();
    if (kullanici.trimmed().isEmpty()) {
        ui::ShowMessage(QStringLiteral("HATA: Kullanıcı adı boş geçilemez!"));
        EdKullanici->setFocus();
        return;
    }

    DsKullanici.close();
    DsKullanici.setParam(QStringLiteral("LOGONADI"), kullanici);
    DsKullanici.open();
    const auto reddet = [this](const QString& mesaj, QLineEdit* alan) {
        ui::ShowMessage(mesaj);
        DsKullanici.close();
        alan->setFocus();
    };
    if (DsKullanici.isEmpty()) {
        reddet(QStringLiteral("HATA: Bu isimde bir kullanıcı tanımlı değil!"), EdKullanici);
        return;
    }

    if (!DsKullanici.value(QStringLiteral("WINDOWSYETKILENDIRME")).toBool()) {
        const QString sifre =
            Scrypt(DsKullanici.value(QStringLiteral("SIFRE")).toString(), kSifreAnahtari, false);
        if (sifre != TurkceKelimeBuyut(EdSifre->text())) {
            reddet(QStringLiteral("HATA: Hatalı şifre girişi!"), EdSifre);
            return;
        }
    } else {
        const QString alan = DsKullanici.value(QStringLiteral("DOMAINADI")).toString();
        QString hata;
        if (!userCanLogin(alan, kullanici, EdSifre->text(), &hata)) {
            reddet(QStringLiteral("HATA: ") + hata + QStringLiteral(" (Windows Etki Alanı: ") + alan + u')',
                   EdSifre);
            return;
        }
    }

    if (!DsKullanici.value(QStringLiteral("TARVOANTREPOYETKI")).toBool()) {
        reddet(QStringLiteral("HATA: ") + kullanici +
                   QStringLiteral(" Kullanıcısı TarvoAntrepo uygulamasını kullanmaya yetkili değildir!"),
               EdKullanici);
        return;
    }
    m_dm.KullaniciId = DsKullanici.value(QStringLiteral("KULLANICIID")).toInt();
    m_dm.KullaniciLOGON = DsKullanici.value(QStringLiteral("LOGONADI")).toString();
    m_dm.KullaniciADI = DsKullanici.value(QStringLiteral("ADISOYADI")).toString();
    m_dm.SuperKullanici = DsKullanici.value(QStringLiteral("SUPERUSER")).toInt() != 0;
    m_dm.LogonOK = true;
    DsKullanici.close();
    accept();
}

void GirisEkrani(TDM1& dm, const QStringList& args) {
    TfrmLogon frmLogon(dm, args);
    ui::execModal(frmLogon);
}
