#include "support/TestSupport.h"

#include "fixture/CustomsTables.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "schema/DataModule1.h"
#include "startup/Baslangic.h"

#include <QFile>

namespace {

const QString kBaglantiHatasi =
    QStringLiteral("HATA: Veritabanı bağlantısı kurulamadı! Lütfen bağlantı ayarlarınızı kontrol ediniz...");

startup::BaglantiAyarlari sqliteAyar(const QString& path) {
    startup::BaglantiAyarlari a;
    a.dosya = QStringLiteral("test.ini");
    a.surucu = db::Backend::Sqlite;
    a.SunucuAdi = path;
    return a;
}

startup::Adimlar girisBasarili() {
    startup::Adimlar a;
    a.giris = [](TDM1& dm) { dm.LogonOK = true; };
    return a;
}

// The schema as SQLite keeps it, to compare before and after a start.
QStringList schemaOf(const QString& path) {
    db::Connection c;
    c.openSqliteFile(path);
    QSqlQuery q = c.run(QStringLiteral("SELECT type || ' ' || name || ' ' || IFNULL(sql, '') FROM sqlite_master "
                                       "ORDER BY type, name"),
                        {});
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

using testing::scalar;

QString declaredType(db::Connection& c, const QString& table, const QString& column) {
    return scalar(c, QStringLiteral("SELECT type FROM pragma_table_info(:T) WHERE name = :C"), {table, column})
        .toString();
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void freshDatabaseGetsEverythingAndSecondStartChangesNothing() {
        testing::TempDb tmp(testing::TempDb::CustomsOnly);
        testing::MessageRecorder msgs;
        {
            TDM1 dm;
            QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), girisBasarili()), int(startup::Devam));
            QCOMPARE(dm.Uyarlama, QStringLiteral("1.0"));
            QCOMPARE(dm.Derleme, QStringLiteral("28"));
            QCOMPARE(dm.LOKASYONADI, QStringLiteral("MERSİN SERBEST BÖLGE"));
            QCOMPARE(dm.DOMAINUSERKULLANILACAK, false);
        }
        QVERIFY(msgs.entries().isEmpty());
        db::Connection c;
        c.openSqliteFile(tmp.path());
        for (const char* t : {"ANT_BEYANNAME", "ANT_TEMINAT", "ANT_HAREKET", "ANT_OZETBEYAN", "ANT_ACMA", "ANT_SABITLER"})
            QVERIFY2(scalar(c, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND name=:N"),
                            {QString::fromLatin1(t)})
                             .toInt() == 1,
                     t);
        // the three foreign keys
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_foreign_key_list('ANT_HAREKET') WHERE \"table\" = 'ANT_BEYANNAME'")).toInt(), 1);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_foreign_key_list('ANT_OZETBEYAN') WHERE \"table\" = 'ANT_HAREKET'")).toInt(), 1);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_foreign_key_list('ANT_ACMA') WHERE \"table\" = 'ANT_HAREKET'")).toInt(), 1);
        // columns, types and widths
        QCOMPARE(declaredType(c, QStringLiteral("ANT_BEYANNAME"), QStringLiteral("TESCILNO")), QStringLiteral("varchar(24)"));
        QCOMPARE(declaredType(c, QStringLiteral("ANT_BEYANNAME"), QStringLiteral("SAYIMTUTANAKNUMARASI")), QStringLiteral("bigint"));
        QCOMPARE(declaredType(c, QStringLiteral("ANT_HAREKET"), QStringLiteral("TICARITANIMI")), QStringLiteral("varchar(210)"));
        QCOMPARE(declaredType(c, QStringLiteral("ANT_ACMA"), QStringLiteral("BILGININTANIMI")), QStringLiteral("varchar(100)"));
        QCOMPARE(declaredType(c, QStringLiteral("ANT_SABITLER"), QStringLiteral("EXTSERVIS4SIFRE")), QStringLiteral("varchar(100)"));
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANT_BEYANNAME')")).toInt(), 28);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANT_SABITLER')")).toInt(), 23);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANT_BEYANNAME') WHERE \"notnull\" = 1")).toInt(), 1);
        // a fresh table has no default on DEVIR or SAYIMTUTANAKKG
        QVERIFY(scalar(c, QStringLiteral("SELECT dflt_value FROM pragma_table_info('ANT_BEYANNAME') WHERE name='DEVIR'")).isNull());
        // the settings row, the build stamp and the user right column
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_SABITLER")).toInt(), 1);
        QCOMPARE(scalar(c, QStringLiteral("SELECT STANDARTVERIKAYNAK FROM ANT_SABITLER")).toInt(), 0);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_SABITLER WHERE EXTSERVIS1AKTIF = 0 AND EXTSERVIS2AKTIF = 0 "
                                          "AND EXTSERVIS3AKTIF = 0 AND EXTSERVIS4AKTIF = 0 AND RAPORLINK IS NULL")).toInt(), 1);
        QCOMPARE(scalar(c, QStringLiteral("SELECT TARVOANTREPOVERSION FROM SABITLER")).toDouble(), 28.0);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM KULLANICI WHERE TARVOANTREPOYETKI = 0")).toInt(), 3);
        c.close();

        // second start: only look-ups, no change
        const QStringList before = schemaOf(tmp.path());
        QStringList statements;
        {
            TDM1 dm;
            dm.TarvoDB.statementObserver = [&](const QString& s) { statements << s; };
            QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), girisBasarili()), int(startup::Devam));
        }
        QCOMPARE(schemaOf(tmp.path()), before);
        for (const auto& s : statements) {
            const QString head = s.trimmed().section(u' ', 0, 0).toUpper();
            QVERIFY2(head == QStringLiteral("SELECT") || head == QStringLiteral("PRAGMA"), qPrintable(s));
            QVERIFY2(!s.contains(QStringLiteral("PRAGMA foreign_keys = OFF")), qPrintable(s));
        }
        QCOMPARE(schemaOf(tmp.path()).size(), before.size());
    }

    void olderDatabaseIsBroughtUpToDate_data() {
        QTest::addColumn<int>("tescilWidth");
        QTest::addColumn<QString>("expected");
        QTest::newRow("width 20 is widened") << 20 << QStringLiteral("varchar(24)");
        QTest::newRow("width 22 is left alone") << 22 << QStringLiteral("varchar(22)");
    }
    void olderDatabaseIsBroughtUpToDate() {
        QFETCH(int, tescilWidth);
        QFETCH(QString, expected);
        testing::TempDb tmp(testing::TempDb::CustomsOnly);
        {
            db::Connection c;
            c.openSqliteFile(tmp.path());
            c.execute(QStringLiteral(
                          "create table ANT_BEYANNAME (ANTBEYANNAMEID INTEGER NOT NULL CONSTRAINT PK_ANT_BEYANNAME "
                          "PRIMARY KEY AUTOINCREMENT,DOSYAYIL int null,DOSYASIRA int null,GIRISCIKIS int null,"
                          "TESCILNO varchar(%1) null,TESCILTARIHI datetime null,ANTREPOKODU varchar(10) null,"
                          "KAPADEDI int null,BEYANTURU varchar(2) null,REJIMKODU varchar(4) null,"
                          "SAYIMTUTANAKNUMARASI bigint null,FIRMA varchar(60) null,CIKISTAKIARACINTIPININKODU "
                          "varchar(1) null,CIKISTAKIARACINKIMLIGI varchar(35) null,ACIKLAMA varchar(255) null,"
                          "KAYITZAMANI datetime null,KULLANICI int null)")
                          .arg(tescilWidth));
            c.execute(QStringLiteral("create table ANT_HAREKET (ANTHAREKETID INTEGER NOT NULL PRIMARY KEY "
                                     "AUTOINCREMENT, ANTBEYANNAMEID int null, KALEMSIRANO int null, CONSTRAINT "
                                     "FK_ANT_HARE_REFERENCE_ANT_BEYA FOREIGN KEY (ANTBEYANNAMEID) REFERENCES "
                                     "ANT_BEYANNAME (ANTBEYANNAMEID))"));
            c.execute(QStringLiteral("create table ANT_OZETBEYAN (ANTOZETBEYANID INTEGER NOT NULL PRIMARY KEY "
                                     "AUTOINCREMENT, ANTHAREKETID int null, OZETBEYANNO varchar(16) null, "
                                     "OZETBEYANTARIHI datetime null)"));
            c.execute(QStringLiteral("create table ANT_SABITLER (ANTSABITID INTEGER NOT NULL PRIMARY KEY "
                                     "AUTOINCREMENT, STANDARTVERIKAYNAK int null)"));
            c.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (DOSYAYIL, DOSYASIRA, TESCILNO, FIRMA) VALUES "
                                     "(2019, 1, '19330100IM00001', 'ESKİ FİRMA A.Ş.'), (2019, 2, "
                                     "'19330100IM00002', 'ÖTEKİ FİRMA')"));
            c.execute(QStringLiteral("INSERT INTO ANT_HAREKET (ANTBEYANNAMEID, KALEMSIRANO) VALUES (1, 1)"));
            c.execute(QStringLiteral("INSERT INTO ANT_OZETBEYAN (ANTHAREKETID, OZETBEYANNO) VALUES (1, '1234567890123456')"));
            c.execute(QStringLiteral("INSERT INTO ANT_SABITLER (STANDARTVERIKAYNAK) VALUES (2)"));
        }
        testing::MessageRecorder msgs;
        {
            TDM1 dm;
            QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), girisBasarili()), int(startup::Devam));
        }
        QVERIFY(msgs.entries().isEmpty());
        db::Connection c;
        c.openSqliteFile(tmp.path());
        for (const char* col : {"GUMRUKTUTANAKNO", "GUMRUKTUTANAKTARIHI", "GUMRUKKODU", "BRUTKG", "NETKG",
                                "ESYACIKISTARIHI", "TASIYICIFIRMA", "ANTREPOSAHIBI", "KAPESYACINSI"}) {
            QVERIFY2(!declaredType(c, QStringLiteral("ANT_BEYANNAME"), QString::fromLatin1(col)).isEmpty(), col);
            QVERIFY2(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE %1 IS NOT NULL").arg(QLatin1String(col)))
                             .toInt() == 0,
                     col);
        }
        QCOMPARE(declaredType(c, QStringLiteral("ANT_BEYANNAME"), QStringLiteral("KAPESYACINSI")), QStringLiteral("varchar(30)"));
        QCOMPARE(declaredType(c, QStringLiteral("ANT_BEYANNAME"), QStringLiteral("TESCILNO")), expected);
        QCOMPARE(declaredType(c, QStringLiteral("ANT_OZETBEYAN"), QStringLiteral("OZETBEYANNO")), QStringLiteral("varchar(20)"));
        // data kept, old rows get the defaults, new rows without the columns get them too
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE DEVIR = 0 AND SAYIMTUTANAKKG = 0")).toInt(), 2);
        QCOMPARE(scalar(c, QStringLiteral("SELECT FIRMA FROM ANT_BEYANNAME WHERE DOSYASIRA = 2")).toString(), QStringLiteral("ÖTEKİ FİRMA"));
        QCOMPARE(scalar(c, QStringLiteral("SELECT OZETBEYANNO FROM ANT_OZETBEYAN")).toString(), QStringLiteral("1234567890123456"));
        c.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (DOSYAYIL, DOSYASIRA) VALUES (2020, 1)"));
        QCOMPARE(scalar(c, QStringLiteral("SELECT DEVIR FROM ANT_BEYANNAME WHERE DOSYAYIL = 2020")).toInt(), 0);
        // the identity goes on after the old rows and the items still reference their operation
        QCOMPARE(scalar(c, QStringLiteral("SELECT MAX(ANTBEYANNAMEID) FROM ANT_BEYANNAME")).toInt(), 3);
        QVERIFY_THROWS_EXCEPTION(db::DbError, c.execute(QStringLiteral("DELETE FROM ANT_BEYANNAME WHERE ANTBEYANNAMEID = 1")));
        // tables that were missing are created; the existing settings row is kept, no second one
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name IN ('ANT_ACMA','ANT_TEMINAT')")).toInt(), 2);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM pragma_foreign_key_list('ANT_HAREKET')")).toInt(), 1);
        QCOMPARE(scalar(c, QStringLiteral("SELECT COUNT(*) FROM ANT_SABITLER")).toInt(), 1);
        QCOMPARE(declaredType(c, QStringLiteral("ANT_SABITLER"), QStringLiteral("RAPORLINK")), QStringLiteral("varchar(255)"));
    }

    void buildStampAndSettings() {
        testing::TempDb tmp(testing::TempDb::CustomsOnly);
        {
            db::Connection c;
            c.openSqliteFile(tmp.path());
            c.execute(QStringLiteral("DELETE FROM SABITLER"));
        }
        testing::MessageRecorder msgs;
        TDM1 dm;
        QStringList writes;
        dm.TarvoDB.statementObserver = [&](const QString& s) {
            if (s.startsWith(QStringLiteral("UPDATE SABITLER")))
                writes << s;
        };
        QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), girisBasarili()), int(startup::Devam));
        QVERIFY(dm.LOKASYONADI.isEmpty());
        QCOMPARE(dm.DOMAINUSERKULLANILACAK, false);
        QVERIFY(writes.isEmpty());

        // two rows, the first already at 28: nothing written; the second row is never touched
        dm.TarvoDB.execute(QStringLiteral("INSERT INTO SABITLER (LOKASYONADI, TARVOANTREPOVERSION, DOMAINUSERKULLANILACAK) "
                                          "VALUES ('GEBZE', 28, 1), ('İKİNCİ', 5, 0)"));
        dm.TarvoDB.close();
        TDM1 dm2;
        dm2.TarvoDB.statementObserver = dm.TarvoDB.statementObserver;
        QCOMPARE(startup::BaslangicSirasi(dm2, sqliteAyar(tmp.path()), girisBasarili()), int(startup::Devam));
        QCOMPARE(dm2.LOKASYONADI, QStringLiteral("GEBZE"));
        QCOMPARE(dm2.DOMAINUSERKULLANILACAK, true);
        QVERIFY(writes.isEmpty());
        QCOMPARE(scalar(dm2.TarvoDB, QStringLiteral("SELECT TARVOANTREPOVERSION FROM SABITLER WHERE LOKASYONADI = 'İKİNCİ'")).toInt(), 5);
    }

    void connectionString_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        const QString tail = QStringLiteral(";Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;"
                                            "Workstation ID=ZOVARUDID;Use Encryption for Data=False;"
                                            "Tag with column collation when possible=False");
        QTest::newRow("integrated") << "windowsdomainuser" << "ignored"
                                    << "Provider=SQLOLEDB.1;Integrated Security=SSPI;Password=;Persist Security "
                                       "Info=True;User ID=;Initial Catalog=TarvoDB;Data Source=SRV\\SQL2019" + tail;
        QTest::newRow("other case is a SQL login")
            << "WindowsDomainUser" << "pw"
            << "Provider=SQLOLEDB.1;Password=\"pw\";Persist Security Info=True;User ID=WindowsDomainUser;Initial "
               "Catalog=TarvoDB;Data Source=SRV\\SQL2019" + tail;
        QTest::newRow("semicolon in password") << "sa" << "a;b"
                                               << "Provider=SQLOLEDB.1;Password=\"a;b\";Persist Security Info=True;"
                                                  "User ID=sa;Initial Catalog=TarvoDB;Data Source=SRV\\SQL2019" + tail;
    }
    void connectionString() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        const QString s = startup::BaglantiCumlesi(QStringLiteral("SRV\\SQL2019"), QStringLiteral("TarvoDB"), user, password);
        QCOMPARE(s, expected);
        // what the driver receives keeps the password whole
        const QString odbc = db::adoToOdbcConnectionString(s, QStringLiteral("FreeTDS"));
        if (user == QStringLiteral("windowsdomainuser")) {
            QVERIFY(odbc.contains(QStringLiteral("Trusted_Connection=Yes")));
            QVERIFY(!odbc.contains(QStringLiteral("PWD=")));
        } else {
            QVERIFY2(odbc.contains(QStringLiteral("PWD=") + db::odbcValue(password) + u';'), qPrintable(odbc));
        }
        QVERIFY(odbc.contains(QStringLiteral("WSID=ZOVARUDID")));
    }

    void wrongServerEndsWithOneMessage() {
        // SQL Server through FreeTDS to a local port where nothing listens
        testing::MessageRecorder msgs;
        startup::BaglantiAyarlari a;
        a.surucu = db::Backend::SqlServer;
        a.SunucuAdi = QStringLiteral("127.0.0.1,1");
        a.DatabaseAdi = QStringLiteral("TarvoDB");
        a.DatabaseKullanici = QStringLiteral("sa");
        a.DatabaseSifre = QStringLiteral("x");
        bool loginShown = false;
        startup::Adimlar adimlar;
        adimlar.giris = [&](TDM1&) { loginShown = true; };
        TDM1 dm;
        QCOMPARE(startup::BaslangicSirasi(dm, a, adimlar), int(startup::BaglantiHatasi));
        QCOMPARE(msgs.texts(), QStringList{kBaglantiHatasi});
        QVERIFY(!loginShown);
        QVERIFY(!dm.TarvoDB.isOpen());
    }

    void missingDatabaseFileIsAConnectionError() {
        testing::MessageRecorder msgs;
        QTemporaryDir d;
        TDM1 dm;
        QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(d.filePath(QStringLiteral("yok.db"))), girisBasarili()),
                 int(startup::BaglantiHatasi));
        QCOMPARE(msgs.texts(), QStringList{kBaglantiHatasi});
        QVERIFY(!QFile::exists(d.filePath(QStringLiteral("yok.db"))));
    }

    void noServerConfiguredNamesTheFile() {
        testing::MessageRecorder msgs;
        QTemporaryDir d;
        const QString ini = d.filePath(QStringLiteral("TarvoAntrepo.ini"));
        const auto a = startup::readConfig(ini);
        TDM1 dm;
        QCOMPARE(startup::BaslangicSirasi(dm, a, girisBasarili()), int(startup::SunucuYok));
        QCOMPARE(msgs.entries().size(), 1);
        QVERIFY(msgs.texts().first().startsWith(QStringLiteral("HATA: ")));
        QVERIFY(msgs.texts().first().contains(ini));
    }

    void configFileIsRead() {
        testing::TempDb tmp;
        const auto a = startup::readConfig(tmp.writeConfig());
        QCOMPARE(a.surucu, db::Backend::Sqlite);
        QCOMPARE(a.SunucuAdi, tmp.path()); // relative to the file's folder
        QCOMPARE(startup::findConfigFile(QStringLiteral("/nowhere/x.ini")), QStringLiteral("/nowhere/x.ini"));
    }

    void databaseErrorMidStartupEndsWithServerMessage() {
        testing::TempDb tmp(testing::TempDb::CustomsOnly);
        {
            db::Connection c;
            c.openSqliteFile(tmp.path());
            // ANT_SABITLER refuses its first row, as a server without insert rights would
            c.execute(QStringLiteral("create table ANT_SABITLER (ANTSABITID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                     "EXTSERVIS1AKTIF bit, EXTSERVIS2AKTIF bit, EXTSERVIS3AKTIF bit, EXTSERVIS4AKTIF bit, "
                                     "STANDARTVERIKAYNAK int, RAPORLINK varchar(255))"));
            c.execute(QStringLiteral("CREATE TRIGGER no_insert BEFORE INSERT ON ANT_SABITLER BEGIN "
                                     "SELECT RAISE(ABORT, 'ANT_SABITLER tablosuna yazma izni yok'); END"));
        }
        testing::MessageRecorder msgs;
        bool loginShown = false;
        startup::Adimlar adimlar;
        adimlar.giris = [&](TDM1& dm) {
            loginShown = true;
            dm.LogonOK = true;
        };
        TDM1 dm;
        QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), adimlar), int(startup::VeritabaniHatasi));
        QCOMPARE(msgs.entries().size(), 1);
        QVERIFY2(msgs.texts().first().contains(QStringLiteral("ANT_SABITLER tablosuna yazma izni yok")),
                 qPrintable(msgs.texts().first()));
        QVERIFY(!loginShown);
    }

    void loginDecidesWhetherTheProgramGoesOn() {
        testing::TempDb tmp;
        testing::MessageRecorder msgs;
        startup::Adimlar vazgec;
        vazgec.giris = [](TDM1&) {};
        TDM1 dm;
        QCOMPARE(startup::BaslangicSirasi(dm, sqliteAyar(tmp.path()), vazgec), int(startup::GirisYapilmadi));
        startup::Adimlar guncelle = girisBasarili();
        guncelle.guncellemeKontrol = [](TDM1&) { return false; };
        TDM1 dm2;
        QCOMPARE(startup::BaslangicSirasi(dm2, sqliteAyar(tmp.path()), guncelle), int(startup::GuncellemeBasladi));
        QVERIFY(!dm2.LogonOK);
    }
};

TARVO_TEST_MAIN(StartupTest)
#include "test_startup.moc"
