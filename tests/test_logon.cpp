#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"
#include "startup/Kripto.h"
#include "startup/formLogon.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kHatali = QStringLiteral("HATA: Hatalı şifre girişi!");
const QString kBos = QStringLiteral("HATA: Kullanıcı adı boş geçilemez!");
const QString kTanimsiz = QStringLiteral("HATA: Bu isimde bir kullanıcı tanımlı değil!");
const QString kDoldu = QStringLiteral("HATA: Kullanıcı adı ve şifre deneme hakkınız dolmuştur...");

// QTest::keyClicks narrows characters to Latin-1 and cannot type "ı" or "İ": each
// character goes as a key press of its own carrying the character as its text.
void yaz(QWidget* w, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// sifre is plain and stored scrambled, as the customs product keeps it.
void kullaniciAyarla(TDM1& dm, const QString& logon, const QString& sifre, bool yetki = true,
                     bool windows = false, const QString& alan = {}) {
    const int n = dm.TarvoDB.execute(
        QStringLiteral("UPDATE KULLANICI SET SIFRE = :S, TARVOANTREPOYETKI = :Y, WINDOWSYETKILENDIRME = :W, "
                       "DOMAINADI = :D WHERE LOGONADI = :L"),
        {Scrypt(sifre, QStringLiteral("517294"), true), yetki ? 1 : 0, windows ? 1 : 0, alan, logon});
    QCOMPARE(n, 1);
}

int kullaniciId(TDM1& dm, const QString& logon) {
    QSqlQuery q =
        dm.TarvoDB.run(QStringLiteral("SELECT KULLANICIID FROM KULLANICI WHERE LOGONADI = :L"), {logon});
    return q.next() ? q.value(0).toInt() : -1;
}

QString odak(const TfrmLogon& f) {
    const QWidget* w = f.focusWidget();
    return w ? w->objectName() : QString();
}

} // namespace

class LogonTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testing::TempDb> m_db;
    std::unique_ptr<TDM1> m_dm;
    std::unique_ptr<testing::MessageRecorder> m_mesajlar;

    // Answers of the operating system's logon, and what it was asked.
    struct SistemCagrisi {
        QString alan, kullanici, sifre;
    };
    QList<SistemCagrisi> m_sistemCagrilari;

private slots:
    void init() {
        m_db = std::make_unique<testing::TempDb>();
        m_dm = m_db->openDataModule();
        m_dm->LOKASYONADI = QStringLiteral("MERSİN SERBEST BÖLGE");
        DM1 = m_dm.get();
        m_mesajlar = std::make_unique<testing::MessageRecorder>();
        m_sistemCagrilari.clear();
        TfrmLogon::setUserCanLogin(
            [this](const QString& d, const QString& u, const QString& p, QString* hata) {
                m_sistemCagrilari.append({d, u, p});
                if (p == QStringLiteral("Alan.2024")) return true;
                if (hata) *hata = QStringLiteral("Kullanıcı adı veya parola yanlış.");
                return false;
            });
        TfrmLogon::setCurrentUserName([] { return QStringLiteral("WINDOWSKULLANICISI"); });
        for (const char* u : {"ADMIN", "AHMET", "VELI"})
            kullaniciAyarla(*m_dm, QString::fromLatin1(u), QString());
    }

    void cleanup() {
        ui::setModalHook({});
        TfrmLogon::setUserCanLogin({});
        TfrmLogon::setCurrentUserName({});
        m_mesajlar.reset();
        DM1 = nullptr;
        m_dm.reset();
        m_db.reset();
    }

    void dialogShowsItsTextsAndConvertsOnlyTheUserName() {
        TfrmLogon f(*m_dm);
        QCOMPARE(f.windowTitle(), QStringLiteral("Velkora Tarvo Peltra Kullanıcı Girişi"));
        QVERIFY(f.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(f.LblBaslik->text(), QStringLiteral(" Velkora TarvoAntrepo Kullanıcı Girişi"));
        QCOMPARE(f.LblLokasyon->text(), QStringLiteral("MERSİN SERBEST BÖLGE"));
        QCOMPARE(f.BtnTamam->text(), QStringLiteral("&Tamam"));
        QCOMPARE(f.BtnVazgec->text(), QStringLiteral("&Vazgeç"));
        QVERIFY(f.BtnTamam->isDefault());
        QCOMPARE(f.EdSifre->echoMode(), QLineEdit::Password);
        QCOMPARE(f.TryCount, quint8(0));
        f.show();
        yaz(f.EdKullanici, QStringLiteral("ahmet çığ"));
        yaz(f.EdSifre, QStringLiteral("ahmet çığ"));
        QCOMPARE(f.EdKullanici->text(), QStringLiteral("AHMET ÇIĞ"));
        QCOMPARE(f.EdSifre->text(), QStringLiteral("ahmet çığ"));
        QVERIFY(m_mesajlar->entries().isEmpty());
    }

    void leavingWithoutLoginLeavesLogonOKFalse_data() {
        QTest::addColumn<int>("yol");
        QTest::newRow("Vazgeç") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("window closed") << 2;
    }
    void leavingWithoutLoginLeavesLogonOKFalse() {
        QFETCH(int, yol);
        kullaniciAyarla(*m_dm, QStringLiteral("AHMET"), QStringLiteral("PAROLA"));
        TfrmLogon f(*m_dm);
        f.show();
        QTest::keyClicks(f.EdKullanici, QStringLiteral("ahmet"));
        QTest::keyClicks(f.EdSifre, QStringLiteral("parola"));
        if (yol == 0)
            QTest::mouseClick(f.BtnVazgec, Qt::LeftButton);
        else if (yol == 1)
            QTest::keyClick(f.EdSifre, Qt::Key_Escape);
        else
            f.close();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(!m_dm->LogonOK);
        QCOMPARE(f.TryCount, quint8(0));
        QVERIFY(m_mesajlar->entries().isEmpty());
    }

    // Every press counts; the sixth ends the dialog and so the program.
    void sixthPressEndsTheProgram_data() {
        QTest::addColumn<QString>("kullanici");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("mesaj");
        const auto row = [](const char* name, const char* kullanici, bool enter, const QString& mesaj) {
            QTest::newRow(name) << QString::fromUtf8(kullanici) << enter << mesaj;
        };
        row("wrong password, Enter", "ahmet", true, kHatali);
        row("empty user name, button", "", false, kBos);
        row("blank user name, Enter", "   ", true, kBos);
    }
    void sixthPressEndsTheProgram() {
        QFETCH(QString, kullanici);
        QFETCH(bool, enter);
        QFETCH(QString, mesaj);
        kullaniciAyarla(*m_dm, QStringLiteral("AHMET"), QStringLiteral("PAROLA"));
        int acilis = 0;
        QStringList hala; // dialog still open after each press
        ui::setModalHook([&](QDialog& d) {
            ++acilis;
            auto& f = dynamic_cast<TfrmLogon&>(d);
            f.show();
            QTest::keyClicks(f.EdKullanici, kullanici);
            QTest::keyClicks(f.EdSifre, QStringLiteral("yanlis"));
            for (int i = 0; i < 6; ++i) {
                if (enter)
                    QTest::keyClick(f.EdSifre, Qt::Key_Return);
                else
                    QTest::mouseClick(f.BtnTamam, Qt::LeftButton);
                hala << (f.isVisible() ? QStringLiteral("açık") : QStringLiteral("kapalı"));
            }
            return f.result();
        });
        startup::BaglantiAyarlari ayar;
        ayar.surucu = db::Backend::Sqlite;
        ayar.SunucuAdi = m_db->path();
        startup::Adimlar adimlar;
        adimlar.giris = [](TDM1& dm) { GirisEkrani(dm, {}); };
        TDM1 dm;
        DM1 = &dm;
        QCOMPARE(startup::BaslangicSirasi(dm, ayar, adimlar), int(startup::GirisYapilmadi));
        QCOMPARE(acilis, 1);
        QVERIFY(!dm.LogonOK);
        QCOMPARE(m_mesajlar->texts(), (QStringList{mesaj, mesaj, mesaj, mesaj, mesaj, kDoldu}));
        QCOMPARE(hala, (QStringList{"açık", "açık", "açık", "açık", "açık", "kapalı"}));
    }

    void rejectedPressKeepsTheDialogOpen_data() {
        QTest::addColumn<QString>("kullanici");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<bool>("yetki");
        QTest::addColumn<QString>("mesaj");
        QTest::addColumn<QString>("odak");
        const auto row = [](const char* name, const char* kullanici, const char* sifre, bool yetki,
                            const QString& mesaj, const char* odak) {
            QTest::newRow(name) << QString::fromUtf8(kullanici) << QString::fromUtf8(sifre) << yetki << mesaj
                                << QString::fromUtf8(odak);
        };
        const QString yetkisiz =
            QStringLiteral("HATA: AHMET Kullanıcısı TarvoAntrepo uygulamasını kullanmaya yetkili değildir!");
        row("empty", "", "parola", true, kBos, "EdKullanici");
        row("only blanks", "  ", "parola", true, kBos, "EdKullanici");
        row("unknown", "yok", "parola", true, kTanimsiz, "EdKullanici");
        row("trailing blank not trimmed", "ahmet ", "parola", true, kTanimsiz, "EdKullanici");
        row("wrong password", "ahmet", "parol", true, kHatali, "EdSifre");
        row("no right, wrong password first", "ahmet", "parol", false, kHatali, "EdSifre");
        row("no right, right password", "ahmet", "parola", false, yetkisiz, "EdKullanici");
    }
    void rejectedPressKeepsTheDialogOpen() {
        QFETCH(QString, kullanici);
        QFETCH(QString, sifre);
        QFETCH(bool, yetki);
        QFETCH(QString, mesaj);
        QFETCH(QString, odak);
        kullaniciAyarla(*m_dm, QStringLiteral("AHMET"), QStringLiteral("PAROLA"), yetki);
        TfrmLogon f(*m_dm);
        f.show();
        QTest::keyClicks(f.EdKullanici, kullanici);
        QTest::keyClicks(f.EdSifre, sifre);
        QTest::mouseClick(f.BtnTamam, Qt::LeftButton);
        QCOMPARE(m_mesajlar->texts(), QStringList{mesaj});
        QCOMPARE(::odak(f), odak);
        QVERIFY(f.isVisible());
        QVERIFY(!f.DsKullanici.active());
        QCOMPARE(f.TryCount, quint8(1));
        QVERIFY(!m_dm->LogonOK);
        QCOMPARE(m_dm->KullaniciId, 0);
        QVERIFY(m_sistemCagrilari.isEmpty());
    }

    // The typed password is upper-cased the Turkish way before the comparison.
    void passwordComparison_data() {
        QTest::addColumn<QString>("logon");
        QTest::addColumn<QString>("kayitli");
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<bool>("girer");
        const auto row = [](const char* name, const char* logon, const char* kayitli, const char* yazilan,
                            bool girer) {
            QTest::newRow(name) << QString::fromUtf8(logon) << QString::fromUtf8(kayitli)
                                << QString::fromUtf8(yazilan) << girer;
        };
        row("lower case typed", "AHMET", "GIZLI7", "gızlı7", true);
        row("same case typed", "AHMET", "ABC-12", "ABC-12", true);
        row("mixed case typed", "ADMIN", "ABC-12", "aBc-12", true);
        row("dotted i matches İ", "AHMET", "KİLİT", "kilit", true);
        row("dotted i does not match I", "AHMET", "KILIT", "kilit", false);
        row("stored lower case never matches", "AHMET", "abc", "abc", false);
        row("empty stored, empty typed", "VELI", "", "", true);
        row("empty stored, typed", "VELI", "", "x", false);
        row("longest password", "AHMET", "ABCDEFGHJKL", "abcdefghjkl", true);
        row("one character short", "AHMET", "ABCDEFGHJKL", "abcdefghjk", false);
    }
    void passwordComparison() {
        QFETCH(QString, logon);
        QFETCH(QString, kayitli);
        QFETCH(QString, yazilan);
        QFETCH(bool, girer);
        kullaniciAyarla(*m_dm, logon, kayitli);
        TfrmLogon f(*m_dm);
        f.show();
        yaz(f.EdKullanici, logon.toLower().replace(u'i', u'ı'));
        QCOMPARE(f.EdKullanici->text(), logon);
        yaz(f.EdSifre, yazilan);
        QTest::keyClick(f.EdSifre, Qt::Key_Return);
        QCOMPARE(m_mesajlar->texts(), girer ? QStringList() : QStringList{kHatali});
        QCOMPARE(m_dm->LogonOK, girer);
        QCOMPARE(f.isVisible(), !girer);
        QCOMPARE(f.result(), int(girer ? QDialog::Accepted : QDialog::Rejected));
        QVERIFY(!f.DsKullanici.active());
        if (girer) {
            QCOMPARE(m_dm->KullaniciId, kullaniciId(*m_dm, logon));
            QCOMPARE(m_dm->KullaniciLOGON, logon);
            QCOMPARE(m_dm->KullaniciADI, QString(logon == QStringLiteral("ADMIN")   ? "Sistem Yöneticisi"
                                                 : logon == QStringLiteral("AHMET") ? "Ahmet Yılmaz"
                                                                                    : "Veli Demir"));
            QCOMPARE(m_dm->SuperKullanici, logon == QStringLiteral("ADMIN"));
        } else {
            QCOMPARE(::odak(f), QStringLiteral("EdSifre"));
            QCOMPARE(m_dm->KullaniciId, 0);
        }
    }

    // A domain user is checked by the system only; SIFRE plays no part.
    void domainUser_data() {
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<bool>("yetki");
        QTest::addColumn<QString>("mesaj");
        QTest::newRow("domain password") << "Alan.2024" << true << QString();
        QTest::newRow("stored password is not enough")
            << "eski" << true
            << QStringLiteral("HATA: Kullanıcı adı veya parola yanlış. (Windows Etki Alanı: TARVO.LOCAL)");
        QTest::newRow("domain password, no right")
            << "Alan.2024" << false
            << QStringLiteral(
                   "HATA: AHMET Kullanıcısı TarvoAntrepo uygulamasını kullanmaya yetkili değildir!");
    }
    void domainUser() {
        QFETCH(QString, yazilan);
        QFETCH(bool, yetki);
        QFETCH(QString, mesaj);
        kullaniciAyarla(*m_dm, QStringLiteral("AHMET"), QStringLiteral("ESKI"), yetki, true,
                        QStringLiteral("TARVO.LOCAL"));
        TfrmLogon f(*m_dm);
        f.show();
        QTest::keyClicks(f.EdKullanici, QStringLiteral("ahmet"));
        QTest::keyClicks(f.EdSifre, yazilan);
        QTest::mouseClick(f.BtnTamam, Qt::LeftButton);
        QCOMPARE(m_sistemCagrilari.size(), 1);
        QCOMPARE(m_sistemCagrilari[0].alan, QStringLiteral("TARVO.LOCAL"));
        QCOMPARE(m_sistemCagrilari[0].kullanici, QStringLiteral("AHMET"));
        QCOMPARE(m_sistemCagrilari[0].sifre, yazilan); // not upper-cased
        QCOMPARE(m_mesajlar->texts(), mesaj.isEmpty() ? QStringList() : QStringList{mesaj});
        QCOMPARE(m_dm->LogonOK, mesaj.isEmpty());
        QCOMPARE(f.isVisible(), !mesaj.isEmpty());
        if (!mesaj.isEmpty())
            QCOMPARE(::odak(f), QString(yetki ? "EdSifre" : "EdKullanici"));
        else
            QCOMPARE(m_dm->KullaniciId, kullaniciId(*m_dm, QStringLiteral("AHMET")));
    }

    void proposedWindowsUserName_data() {
        QTest::addColumn<bool>("kullanilacak");
        QTest::addColumn<QString>("windowsAdi");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("alanMetni");
        QTest::addColumn<bool>("kilitli");
        QTest::addColumn<QString>("odak");
        const QString ed = QStringLiteral("EdKullanici");
        const QString es = QStringLiteral("EdSifre");
        QTest::newRow("not used") << false << "AHMET" << QStringList() << "" << false << ed;
        QTest::newRow("normal user is locked") << true << "AHMET" << QStringList() << "AHMET" << true << es;
        QTest::newRow("super user may change it")
            << true << "ADMIN" << QStringList() << "ADMIN" << false << es;
        QTest::newRow("unknown name is locked, case kept")
            << true << "kemal" << QStringList() << "kemal" << true << es;
        QTest::newRow("no Windows name") << true << "" << QStringList() << "" << false << ed;
        QTest::newRow("command line overrides the name")
            << true << "AHMET" << QStringList{"VELI"} << "VELI" << true << es;
    }
    void proposedWindowsUserName() {
        QFETCH(bool, kullanilacak);
        QFETCH(QString, windowsAdi);
        QFETCH(QStringList, args);
        QFETCH(QString, alanMetni);
        QFETCH(bool, kilitli);
        QFETCH(QString, odak);
        m_dm->DOMAINUSERKULLANILACAK = kullanilacak;
        TfrmLogon::setCurrentUserName([&] { return windowsAdi; });
        TfrmLogon f(*m_dm, args);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(f.EdKullanici->text(), alanMetni);
        QCOMPARE(f.EdKullanici->isReadOnly(), kilitli);
        QCOMPARE(bool(f.EdKullanici->focusPolicy() & Qt::TabFocus), !kilitli);
        const QColor zemin = f.EdKullanici->palette().color(QPalette::Base);
        QCOMPARE(zemin == f.palette().color(QPalette::ToolTipBase), kilitli);
        QCOMPARE(::odak(f), odak);
        QCOMPARE(QApplication::focusWidget(), f.focusWidget());

        QTest::keyClick(&f, Qt::Key_U, Qt::ControlModifier | Qt::AltModifier);
        // unlocked (or never locked): editable, normal colour, Tab reaches it
        QVERIFY(!f.EdKullanici->isReadOnly());
        QVERIFY(f.EdKullanici->focusPolicy() & Qt::TabFocus);
        QCOMPARE(f.EdKullanici->palette().color(QPalette::Base), f.EdSifre->palette().color(QPalette::Base));
        QCOMPARE(::odak(f), kilitli ? QStringLiteral("EdKullanici") : odak); // otherwise it does nothing
        QCOMPARE(f.EdKullanici->text(), alanMetni);
        QTest::keyClick(f.EdKullanici, Qt::Key_End);
        QTest::keyClicks(f.EdKullanici, QStringLiteral("x"));
        QCOMPARE(f.EdKullanici->text(), alanMetni + u'X');
        QVERIFY(m_mesajlar->entries().isEmpty());
    }

    void lockedUnknownWindowsNameIsRejectedUntilUnlocked() {
        m_dm->DOMAINUSERKULLANILACAK = true;
        TfrmLogon::setCurrentUserName([] { return QStringLiteral("kemal"); });
        TfrmLogon f(*m_dm);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QTest::keyClicks(f.EdKullanici, QStringLiteral("x")); // read-only: nothing happens
        QTest::keyClick(f.EdSifre, Qt::Key_Return);
        QCOMPARE(m_mesajlar->texts(), QStringList{kTanimsiz});
        QTest::keyClick(&f, Qt::Key_U, Qt::ControlModifier | Qt::AltModifier);
        f.EdKullanici->selectAll();
        QTest::keyClicks(f.EdKullanici, QStringLiteral("veli"));
        QCOMPARE(f.EdKullanici->text(), QStringLiteral("VELİ")); // dotted İ: not the user VELI
        f.EdKullanici->clear();
        yaz(f.EdKullanici, QStringLiteral("velı"));
        QTest::keyClick(f.EdSifre, Qt::Key_Return);
        QCOMPARE(m_mesajlar->texts(), QStringList{kTanimsiz});
        QVERIFY(m_dm->LogonOK);
        QCOMPARE(m_dm->KullaniciLOGON, QStringLiteral("VELI"));
    }

    // Through the start-up entry and a real modal loop, as the program opens it.
    void commandLineLogin_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("girer");
        QTest::addColumn<QStringList>("mesajlar");
        QTest::newRow("user and password") << QStringList{"AHMET", "parola"} << true << QStringList();
        QTest::newRow("only the user waits") << QStringList{"AHMET"} << false << QStringList();
        QTest::newRow("empty password waits") << QStringList{"AHMET", ""} << false << QStringList();
        QTest::newRow("wrong password stays open")
            << QStringList{"AHMET", "yanlis"} << false << QStringList{kHatali};
    }
    void commandLineLogin() {
        QFETCH(QStringList, args);
        QFETCH(bool, girer);
        QFETCH(QStringList, mesajlar);
        kullaniciAyarla(*m_dm, QStringLiteral("AHMET"), QStringLiteral("PAROLA"));
        constexpr int kBekleme = 1500;
        qint64 sure = -1;
        QString kullaniciAlani, sifreAlani;
        int tryCount = -1;
        ui::setModalHook([&](QDialog& d) {
            auto& f = dynamic_cast<TfrmLogon&>(d);
            kullaniciAlani = f.EdKullanici->text();
            sifreAlani = f.EdSifre->text();
            // nobody presses a key; a dialog that waits is closed after kBekleme
            QTimer::singleShot(kBekleme, &f, [&f, &tryCount] {
                tryCount = f.TryCount;
                f.reject();
            });
            QElapsedTimer t;
            t.start();
            const int r = f.exec();
            sure = t.elapsed();
            return r;
        });
        GirisEkrani(*m_dm, args);
        QCOMPARE(kullaniciAlani, args.value(0));
        QCOMPARE(sifreAlani, args.value(1));
        QCOMPARE(m_dm->LogonOK, girer);
        QCOMPARE(m_mesajlar->texts(), mesajlar);
        if (girer) {
            QVERIFY2(sure < 900, qPrintable(QString::number(sure)));
            QCOMPARE(m_dm->KullaniciLOGON, QStringLiteral("AHMET"));
        } else {
            QVERIFY2(sure >= kBekleme, qPrintable(QString::number(sure)));
            QCOMPARE(tryCount, mesajlar.size());
        }
    }
};

TARVO_TEST_MAIN(LogonTest)
#include "test_logon.moc"
