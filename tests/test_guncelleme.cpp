#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/system/Files.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"
#include "startup/Guncelleme.h"
#include "startup/formGuncellemeSorusu.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

#ifdef Q_OS_WIN
const QString kGuncelle = QStringLiteral("guncelle.exe");
const QString kProgram = QStringLiteral("TarvoAntrepo.exe");
#else
const QString kGuncelle = QStringLiteral("guncelle");
const QString kProgram = QStringLiteral("TarvoAntrepo");
#endif

const QString kIndirildi = QStringLiteral("\"%1\" uygulamasının yeni derlemesi indirildi.").arg(kGuncelle);
const QString kTarihHatasi = QStringLiteral("HATA: %1 tarihi düzeltilemedi...").arg(kGuncelle);

QDateTime zaman(int dakika, int saniye, int ms = 0) {
    return QDateTime(QDate(2024, 3, 5), QTime(10, dakika, saniye, ms));
}

void dosyaYaz(const QString& path, const QByteArray& bytes, const QDateTime& t) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush() ||
        !f.setFileTime(t, QFileDevice::FileModificationTime))
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray oku(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void activKeyEkle(const testing::TempDb& db, const QByteArray& exe, int boyu, const QDateTime& t) {
    db::Connection c;
    c.openSqliteFile(db.path());
    c.execute(
        QStringLiteral(
            "INSERT INTO ACTIVKEY (GUNCELLEEXE, GUNCELLEEXESIZE, GUNCELLEEXEDATETIME) VALUES (:E, :S, :T)"),
        {exe, boyu, t.isValid() ? QVariant(t) : QVariant(QMetaType(QMetaType::QDateTime))});
}

void exeUpgradeEkle(const testing::TempDb& db, const QString& ad, int boyu, const QDateTime& t) {
    db::Connection c;
    c.openSqliteFile(db.path());
    c.execute(QStringLiteral("INSERT INTO EXEUPGRADE (NAME, EXEFILE, EXESIZE, EXEDATETIME, VERSION) "
                             "VALUES (:N, :F, :S, :T, '1.0')"),
              {ad, QByteArray("MZ"), boyu, t});
}

// Records what would have been started.
struct Baslatilan {
    QList<sys::LaunchRequest> istekler;
    Baslatilan() {
        sys::setLaunchHook([this](const sys::LaunchRequest& r) {
            istekler.append(r);
            return true;
        });
    }
    ~Baslatilan() { sys::setLaunchHook({}); }
};

enum class Cevap { EvetTikla, Enter, Esc, HayirTikla, Kapat };

// Answers the question dialog the way a user would and keeps what it showed.
struct SoruSurucu {
    int gosterilme = 0;
    QStringList satirlar;
    bool evetOdakli = false;
    explicit SoruSurucu(Cevap cevap) {
        ui::setModalHook([this, cevap](QDialog& d) {
            auto& soru = dynamic_cast<TfrmGuncellemeSorusu&>(d);
            ++gosterilme;
            satirlar = soru.Memo1->toPlainText().split(u'\n');
            d.show();
            if (!QTest::qWaitForWindowExposed(&d)) return -1;
            evetOdakli = d.focusWidget() == soru.BtnEvet;
            switch (cevap) {
            case Cevap::EvetTikla:
                QTest::mouseClick(soru.BtnEvet, Qt::LeftButton);
                break;
            case Cevap::Enter:
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Return);
                break;
            case Cevap::Esc:
                QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, Qt::Key_Escape);
                break;
            case Cevap::HayirTikla:
                QTest::mouseClick(soru.BtnHayir, Qt::LeftButton);
                break;
            case Cevap::Kapat:
                d.close();
                break;
            }
            return d.isVisible() ? -1 : d.result();
        });
    }
    ~SoruSurucu() { ui::setModalHook({}); }
};

} // namespace

class GuncellemeTest : public QObject {
    Q_OBJECT
private slots:
    void tarihlerEsit_data() {
        QTest::addColumn<QDateTime>("a");
        QTest::addColumn<QDateTime>("b");
        QTest::addColumn<bool>("esit");
        QTest::newRow("seconds and ms differ") << zaman(15, 0) << zaman(15, 59, 999) << true;
        QTest::newRow("next minute") << zaman(15, 59) << zaman(16, 0) << false;
        QTest::newRow("other day") << zaman(15, 0) << zaman(15, 0).addDays(1) << false;
        QTest::newRow("missing time") << QDateTime() << zaman(15, 0) << false;
        QTest::newRow("both missing") << QDateTime() << QDateTime() << false;
    }

    void tarihlerEsit() {
        QFETCH(QDateTime, a);
        QFETCH(QDateTime, b);
        QFETCH(bool, esit);
        QCOMPARE(startup::TarihlerEsit(a, b), esit);
        QCOMPARE(startup::TarihlerEsit(b, a), esit);
    }

    void dosyaBoyuHesapla() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x"));
        dosyaYaz(path, QByteArray(77, 'a'), zaman(20, 31, 456));
        const startup::DosyaBilgisi var = startup::DosyaBoyuHesapla(path);
        QCOMPARE(var.boyu, qint64(77));
        QCOMPARE(var.tarihi, zaman(20, 31, 456));
        const startup::DosyaBilgisi yok = startup::DosyaBoyuHesapla(dir.filePath(QStringLiteral("yok")));
        QCOMPARE(yok.boyu, qint64(-1));
        QVERIFY(yok.tarihi.isNull());
    }

    void guncelleUpgradeCheck_data() {
        QTest::addColumn<int>("kayitliBoy"); // -1: no ACTIVKEY row
        QTest::addColumn<QByteArray>("kayitli");
        QTest::addColumn<QDateTime>("kayitliZaman");
        QTest::addColumn<QByteArray>("yerel"); // null: no local updater
        QTest::addColumn<QDateTime>("yerelZaman");
        QTest::addColumn<bool>("yenilendi");
        QTest::addColumn<QStringList>("mesajlar");

        const QByteArray yeni(20, 'N');
        const QByteArray eski(20, 'E');
        QTest::newRow("same size, seconds differ")
            << 20 << yeni << zaman(15, 7) << eski << zaman(15, 48) << false << QStringList();
        QTest::newRow("one byte longer") << 20 << yeni << zaman(15, 7) << QByteArray(21, 'E') << zaman(15, 7)
                                         << true << QStringList{kIndirildi};
        QTest::newRow("same size, other minute")
            << 20 << yeni << zaman(15, 7) << eski << zaman(16, 7) << true << QStringList{kIndirildi};
        QTest::newRow("stored size 10") << 10 << QByteArray(10, 'N') << zaman(15, 7) << QByteArray(3, 'E')
                                        << zaman(40, 0) << false << QStringList();
        QTest::newRow("stored size 0")
            << 0 << yeni << zaman(15, 7) << QByteArray(3, 'E') << zaman(40, 0) << false << QStringList();
        QTest::newRow("no local updater")
            << 20 << yeni << zaman(15, 7) << QByteArray() << QDateTime() << true << QStringList{kIndirildi};
        QTest::newRow("stored time missing") << 20 << yeni << QDateTime() << eski << zaman(15, 7) << true
                                             << QStringList{kTarihHatasi, kIndirildi};
        // nothing stored to write: no empty updater appears
        QTest::newRow("no row, no local updater")
            << -1 << QByteArray() << QDateTime() << QByteArray() << QDateTime() << false << QStringList();
        QTest::newRow("empty blob, no local updater")
            << 20 << QByteArray("") << zaman(15, 7) << QByteArray() << QDateTime() << false << QStringList();
    }

    void guncelleUpgradeCheck() {
        QFETCH(int, kayitliBoy);
        QFETCH(QByteArray, kayitli);
        QFETCH(QDateTime, kayitliZaman);
        QFETCH(QByteArray, yerel);
        QFETCH(QDateTime, yerelZaman);
        QFETCH(bool, yenilendi);
        QFETCH(QStringList, mesajlar);

        testing::TempDb db;
        if (kayitliBoy >= 0) activKeyEkle(db, kayitli, kayitliBoy, kayitliZaman);
        QTemporaryDir klasor;
        const QString path = klasor.filePath(kGuncelle);
        if (!yerel.isNull()) dosyaYaz(path, yerel, yerelZaman);

        testing::MessageRecorder msgs;
        auto dm = db.openDataModule();
        startup::GuncelleUpgradeCheck(*dm, klasor.path());

        QCOMPARE(msgs.texts(), mesajlar);
        if (yenilendi) {
            QCOMPARE(oku(path), kayitli);
            if (kayitliZaman.isValid()) {
                const QTime t = kayitliZaman.time();
                QCOMPARE(sys::FileLastWriteTime(path),
                         QDateTime(kayitliZaman.date(), QTime(t.hour(), t.minute(), t.second() / 2 * 2)));
            }
#ifndef Q_OS_WIN
            QVERIFY(QFile::permissions(path) & QFile::ExeOwner);
#endif
        } else if (yerel.isNull()) {
            QVERIFY(!QFile::exists(path));
        } else {
            QCOMPARE(oku(path), yerel);
            QCOMPARE(sys::FileLastWriteTime(path), yerelZaman);
        }
    }

    // After a refresh the next start finds the updater current.
    void refreshedUpdaterIsLeftAloneNextTime() {
        testing::TempDb db;
        activKeyEkle(db, QByteArray(50, 'N'), 50, zaman(15, 7, 250));
        QTemporaryDir klasor;
        testing::MessageRecorder msgs;
        auto dm = db.openDataModule();
        startup::GuncelleUpgradeCheck(*dm, klasor.path());
        QCOMPARE(msgs.texts(), QStringList{kIndirildi});
        msgs.clear();
        startup::GuncelleUpgradeCheck(*dm, klasor.path());
        QVERIFY(msgs.texts().isEmpty());
    }

    // A folder the updater cannot be written to: an error, and no claim that it was updated.
    void updaterNotWritable() {
        testing::TempDb db;
        activKeyEkle(db, QByteArray(50, 'N'), 50, zaman(15, 7));
        QTemporaryDir dir;
        const QString klasor = dir.filePath(QStringLiteral("olmayan/klasor"));
        testing::MessageRecorder msgs;
        auto dm = db.openDataModule();
        startup::GuncelleUpgradeCheck(*dm, klasor);
        QCOMPARE(msgs.texts().size(), 1);
        QVERIFY2(msgs.texts().first().startsWith(QStringLiteral("HATA: %1 yazılamadı: ").arg(kGuncelle)),
                 qPrintable(msgs.texts().first()));
        QVERIFY(!QFile::exists(QDir(klasor).filePath(kGuncelle)));
    }

    void yeniDerlemeSorusu_data() {
        QTest::addColumn<QString>("kayitAdi"); // empty: no EXEUPGRADE row
        QTest::addColumn<int>("kayitliBoy");
        QTest::addColumn<QDateTime>("kayitliZaman");
        QTest::addColumn<int>("yerelBoy"); // -1: no local program file
        QTest::addColumn<QDateTime>("yerelZaman");
        QTest::addColumn<bool>("soruldu");

        const QString ad = QStringLiteral("TarvoAntrepo");
        QTest::newRow("size 0, same minute") << ad << 0 << zaman(15, 2) << 5000 << zaman(15, 30) << false;
        QTest::newRow("size 100, same minute") << ad << 100 << zaman(15, 2) << 5000 << zaman(15, 30) << false;
        QTest::newRow("other size, same minute")
            << ad << 6000 << zaman(15, 2) << 5000 << zaman(15, 30) << true;
        QTest::newRow("same size, same minute")
            << ad << 5000 << zaman(15, 2) << 5000 << zaman(15, 30) << false;
        QTest::newRow("same size, other minute")
            << ad << 5000 << zaman(14, 59) << 5000 << zaman(15, 0) << true;
        QTest::newRow("stored build older")
            << ad << 5000 << zaman(15, 0).addDays(-30) << 5000 << zaman(15, 0) << true;
        QTest::newRow("no local program file") << ad << 5000 << zaman(15, 2) << -1 << QDateTime() << true;
        QTest::newRow("no row for the program")
            << QString() << 6000 << zaman(15, 2) << 5000 << zaman(15, 30) << false;
        QTest::newRow("only another program's row")
            << QStringLiteral("TarvoBeyanname") << 6000 << zaman(1, 2) << 5000 << zaman(15, 30) << false;
    }

    void yeniDerlemeSorusu() {
        QFETCH(QString, kayitAdi);
        QFETCH(int, kayitliBoy);
        QFETCH(QDateTime, kayitliZaman);
        QFETCH(int, yerelBoy);
        QFETCH(QDateTime, yerelZaman);
        QFETCH(bool, soruldu);

        testing::TempDb db;
        if (!kayitAdi.isEmpty()) exeUpgradeEkle(db, kayitAdi, kayitliBoy, kayitliZaman);
        QTemporaryDir klasor;
        if (yerelBoy >= 0) dosyaYaz(klasor.filePath(kProgram), QByteArray(yerelBoy, 'P'), yerelZaman);

        SoruSurucu soru(Cevap::Esc);
        Baslatilan baslatilan;
        auto dm = db.openDataModule();
        QCOMPARE(startup::YeniDerlemeKontrol(*dm, klasor.path()), false);
        QCOMPARE(soru.gosterilme, soruldu ? 1 : 0);
        QVERIFY(baslatilan.istekler.isEmpty());
    }

    void soruPenceresi() {
        testing::TempDb db;
        exeUpgradeEkle(db, QStringLiteral("TarvoAntrepo"), 6000, zaman(15, 2));
        QTemporaryDir klasor;
        dosyaYaz(klasor.filePath(kProgram), QByteArray(5000, 'P'), zaman(15, 30, 400));

        QString baslik, cerceve, metin;
        QStringList dugmeler;
        bool saltOkunur = false, kaydirma = false, varsayilan = false, cevapYok = false;
        ui::setModalHook([&](QDialog& d) {
            auto& s = dynamic_cast<TfrmGuncellemeSorusu&>(d);
            baslik = s.windowTitle();
            cerceve = s.GroupBox1->title();
            metin = s.LblSoru->text();
            dugmeler = {s.BtnEvet->text(), s.BtnHayir->text()};
            saltOkunur = s.Memo1->isReadOnly();
            kaydirma = s.Memo1->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
            varsayilan = s.BtnEvet->isDefault() && !s.BtnHayir->isDefault();
            cevapYok = !s.GuncellemeYap;
            return int(QDialog::Rejected);
        });
        auto dm = db.openDataModule();
        startup::YeniDerlemeKontrol(*dm, klasor.path());
        ui::setModalHook({});

        QCOMPARE(baslik, QStringLiteral("Yeni Derleme"));
        QCOMPARE(cerceve, QStringLiteral(" Dosya Bilgileri "));
        QCOMPARE(metin, QStringLiteral("TarvoAntrepo'nun yeni derlemesi var. Güncelleme yapılsın mı?"));
        QCOMPARE(dugmeler, (QStringList{QStringLiteral("&EVET"), QStringLiteral("&Hayır")}));
        QVERIFY(saltOkunur);
        QVERIFY(kaydirma);
        QVERIFY(varsayilan);
        QVERIFY(cevapYok);
    }

    void soruSatirlari() {
        testing::TempDb db;
        exeUpgradeEkle(db, QStringLiteral("TarvoAntrepo"), 6000, zaman(15, 2));
        QTemporaryDir klasor;
        dosyaYaz(klasor.filePath(kProgram), QByteArray(5000, 'P'), zaman(15, 30, 400));
        SoruSurucu soru(Cevap::Esc);
        auto dm = db.openDataModule();
        startup::YeniDerlemeKontrol(*dm, klasor.path());
        QCOMPARE(soru.satirlar, (QStringList{
                                    QDir::toNativeSeparators(QCoreApplication::applicationFilePath()),
                                    QString(),
                                    QStringLiteral("Diskteki dosya boyu     : 5000 bytes"),
                                    QStringLiteral("Diskteki dosya tarihi   : 5.03.2024 10:15:30"),
                                    QString(),
                                    QStringLiteral("Sunucudaki dosya boyu   : 6000 bytes"),
                                    QStringLiteral("Sunucudaki dosya tarihi : 5.03.2024 10:15:02"),
                                }));
        QVERIFY(soru.evetOdakli);
    }

    // The start-up step as a whole: refresh first, then the question and its answer.
    void guncellemeKontrolCevaplari_data() {
        QTest::addColumn<int>("cevap");
        QTest::addColumn<bool>("devam");
        QTest::newRow("EVET clicked") << int(Cevap::EvetTikla) << false;
        QTest::newRow("Enter") << int(Cevap::Enter) << false;
        QTest::newRow("Esc") << int(Cevap::Esc) << true;
        QTest::newRow("Hayır clicked") << int(Cevap::HayirTikla) << true;
        QTest::newRow("window closed") << int(Cevap::Kapat) << true;
    }

    void guncellemeKontrolCevaplari() {
        QFETCH(int, cevap);
        QFETCH(bool, devam);
        testing::TempDb db;
        activKeyEkle(db, QByteArray(30, 'G'), 30, zaman(15, 7));
        exeUpgradeEkle(db, QStringLiteral("TarvoAntrepo"), 6000, zaman(15, 2));
        QTemporaryDir klasor;
        dosyaYaz(klasor.filePath(kProgram), QByteArray(5000, 'P'), zaman(15, 30));

        testing::MessageRecorder msgs;
        SoruSurucu soru{Cevap(cevap)};
        Baslatilan baslatilan;
        auto dm = db.openDataModule();
        QCOMPARE(startup::GuncellemeKontrolKlasorde(*dm, klasor.path()), devam);

        QCOMPARE(msgs.texts(), QStringList{kIndirildi}); // the updater was refreshed before the question
        QCOMPARE(oku(klasor.filePath(kGuncelle)), QByteArray(30, 'G'));
        QCOMPARE(soru.gosterilme, 1);
        if (devam) {
            QVERIFY(baslatilan.istekler.isEmpty());
        } else {
            QCOMPARE(baslatilan.istekler.size(), 1);
            const sys::LaunchRequest& r = baslatilan.istekler.first();
            QCOMPARE(r.kind, sys::LaunchRequest::Kind::Program);
            QCOMPARE(r.target, QDir::toNativeSeparators(QDir(klasor.path()).absoluteFilePath(kGuncelle)));
            QCOMPARE(r.parameters, QStringLiteral("AUTO TARVOANTREPO"));
            QCOMPARE(r.workingDir, QDir::toNativeSeparators(QDir(klasor.path()).absolutePath()));
        }
    }

    // The start-up entry works on the running program's folder.
    void guncellemeKontrolProgramKlasorunde() {
        testing::TempDb db;
        exeUpgradeEkle(db, QStringLiteral("TarvoAntrepo"), 6000, zaman(15, 2));
        SoruSurucu soru(Cevap::EvetTikla);
        Baslatilan baslatilan;
        auto dm = db.openDataModule();
        QVERIFY(!startup::GuncellemeKontrol(*dm));
        QCOMPARE(baslatilan.istekler.size(), 1);
        const QDir klasor(QCoreApplication::applicationDirPath());
        QCOMPARE(baslatilan.istekler.first().target,
                 QDir::toNativeSeparators(klasor.absoluteFilePath(kGuncelle)));
        QCOMPARE(baslatilan.istekler.first().workingDir, QDir::toNativeSeparators(klasor.absolutePath()));
    }
};

TARVO_TEST_MAIN(GuncellemeTest)
#include "test_guncelleme.moc"
