#include "support/TestSupport.h"

#include "diagnostics/SunucuBilgisi.h"
#include "diagnostics/formHakkinda.h"
#include "platform/db/DbError.h"
#include "platform/ui/Modal.h"
#include "schema/DataModule1.h"

#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

using diag::Kayit;
using diag::Satir;
using diag::Sonuc;

namespace {

// A server that answers each statement text from a table and records what it was asked.
struct SahteSunucu {
    QHash<QString, Sonuc> cevaplar;
    QString hataVeren; // this statement fails
    QList<QPair<QString, QVariantMap>> sorulan;

    diag::Sorgu sorgu() {
        return [this](const QString& sql, const QVariantMap& params) {
            sorulan.append({sql, params});
            if (sql == hataVeren)
                throw db::DbError(QStringLiteral("VIEW SERVER STATE permission was denied"), sql);
            return cevaplar.value(sql);
        };
    }
    QStringList sorulanMetinler() const {
        QStringList t;
        for (const auto& s : sorulan)
            t << s.first;
        return t;
    }
};

Sonuc surum(const QString& v) {
    return {{{QStringLiteral("PRODUCTVERSION"), v}}};
}

// A version-15 server with two files: every diagnostic statement answers.
SahteSunucu tamSunucu() {
    SahteSunucu s;
    s.cevaplar[diag::sql::urunSurumu()] = surum(QStringLiteral("15.0.2000.5"));
    s.cevaplar[diag::sql::urunBilgisi()] = {
        {{QStringLiteral("PRODUCTVERSION"), QStringLiteral("15.0.2000.5")},
         {QStringLiteral("PRODUCTLEVEL"), QStringLiteral("RTM")},
         {QStringLiteral("EDITION"), QStringLiteral("Express Edition (64-bit)")}}};
    s.cevaplar[diag::sql::bellek()] = {
        {{QStringLiteral("SERVERNAME"), QStringLiteral("SRV01\\SQLEXPRESS")},
         {QStringLiteral("total_physical_memory_mb"), qint64(16303)},
         {QStringLiteral("available_physical_memory_mb"), qint64(5120)},
         {QStringLiteral("total_page_file_mb"), qint64(18735)},
         {QStringLiteral("available_page_file_mb"), qint64(4096)},
         {QStringLiteral("system_high_memory_signal_state"), true},
         {QStringLiteral("system_low_memory_signal_state"), false},
         {QStringLiteral("system_memory_state_desc"), QStringLiteral("Available physical memory is high")}}};
    s.cevaplar[diag::sql::islemci()] = {{{QStringLiteral("cpu_count"), 8}}};
    s.cevaplar[diag::sql::baglanti()] = {{{QStringLiteral("Machine Name"), QStringLiteral("SRV01")},
                                          {QStringLiteral("Instance Name"), QStringLiteral("SQLEXPRESS")},
                                          {QStringLiteral("SQLServerIP"), QStringLiteral("10.0.0.5")},
                                          {QStringLiteral("ClientIp"), QStringLiteral("10.0.0.23")}}};
    s.cevaplar[diag::sql::dosyalar()] = {
        {{QStringLiteral("DatabaseName"), QStringLiteral("MUSTERIDB")},
         {QStringLiteral("Logical_Name"), QStringLiteral("TarvoDB")},
         {QStringLiteral("Physical_Name"), QStringLiteral("D:\\Data\\TarvoDB.mdf")},
         {QStringLiteral("SizeMB"), 512}},
        {{QStringLiteral("DatabaseName"), QStringLiteral("MUSTERIDB")},
         {QStringLiteral("Logical_Name"), QStringLiteral("TarvoDB_log")},
         {QStringLiteral("Physical_Name"), QStringLiteral("D:\\Data\\TarvoDB_log.ldf")},
         {QStringLiteral("SizeMB"), 2048}}};
    s.cevaplar[diag::sql::kullanici()] = {{{QStringLiteral("KULLANICI"), QStringLiteral("sa")}}};
    return s;
}

QList<Satir> doldur(SahteSunucu& s, const QString& databaseAdi = QStringLiteral("MUSTERIDB")) {
    QList<Satir> satirlar;
    diag::SqlServerSatirlari(s.sorgu(), s.sorgu(), databaseAdi, satirlar);
    return satirlar;
}

QList<Satir> listedekiler(const QTreeWidget* lv) {
    QList<Satir> s;
    for (int i = 0; i < lv->topLevelItemCount(); ++i)
        s.append({lv->topLevelItem(i)->text(0), lv->topLevelItem(i)->text(1)});
    return s;
}

} // namespace

namespace QTest {
template <> char* toString(const Satir& s) {
    return qstrdup(qPrintable(QStringLiteral("[%1 | %2]").arg(s.bilgi, s.deger)));
}
} // namespace QTest

class HakkindaTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        ui::setModalHook({});
        DM1 = nullptr;
    }

    void statementsAreSentAsWritten() {
        QCOMPARE(diag::sql::urunSurumu(),
                 QStringLiteral("select SERVERPROPERTY('productversion') as PRODUCTVERSION"));
        QCOMPARE(diag::sql::urunBilgisi(),
                 QStringLiteral("select SERVERPROPERTY('productversion') as PRODUCTVERSION,SERVERPROPERTY "
                                "('productlevel') as PRODUCTLEVEL,SERVERPROPERTY('edition') as EDITION"));
        QCOMPARE(
            diag::sql::bellek(),
            QStringLiteral("SELECT @@SERVERNAME as SERVERNAME,(total_physical_memory_kb/1024) as "
                           "total_physical_memory_mb,"
                           "(available_physical_memory_kb/1024) as available_physical_memory_mb,\n"
                           "(total_page_file_kb/1024) as total_page_file_mb,(available_page_file_kb/1024) as "
                           "available_page_file_mb,\n"
                           "system_high_memory_signal_state,system_low_memory_signal_state,system_memory_"
                           "state_desc from "
                           "sys.dm_os_sys_memory"));
        QCOMPARE(diag::sql::islemci(), QStringLiteral("SELECT cpu_count FROM sys.dm_os_sys_info"));
        QCOMPARE(diag::sql::baglanti(),
                 QStringLiteral("SELECT SERVERPROPERTY('ComputerNamePhysicalNetBIOS') [Machine "
                                "Name],SERVERPROPERTY('InstanceName') AS [Instance Name],\n"
                                "LOCAL_NET_ADDRESS AS [SQLServerIP],CLIENT_NET_ADDRESS AS [ClientIp] FROM "
                                "SYS.dm_exec_connections WHERE SESSION_ID = @@SPID"));
        QCOMPARE(diag::sql::kullanici(), QStringLiteral("SELECT SUSER_NAME(SUSER_ID()) AS KULLANICI"));
        // the file query neither switches the connection's database nor names a fixed one
        QCOMPARE(
            diag::sql::dosyalar(),
            QStringLiteral("SELECT DB_NAME(database_id) AS DatabaseName,Name AS Logical_Name,Physical_Name, "
                           "(size*8)/1024 SizeMB\n"
                           "FROM sys.master_files WHERE DB_NAME(database_id) = "
                           "COALESCE(NULLIF(:DATABASEADI, ''), DB_NAME())"));
    }

    void fullListOfAVersion15Server() {
        SahteSunucu s = tamSunucu();
        const QList<Satir> satirlar = doldur(s);
        const QList<Satir> beklenen = {
            {QStringLiteral("Sunucu Adı"), QStringLiteral("SRV01\\SQLEXPRESS")},
            {QStringLiteral("Veritabanı"), QStringLiteral(" RTM Express Edition (64-bit) 15.0.2000.5")},
            {QStringLiteral("Toplam Fiziksel Bellek"), QStringLiteral("16303 MB")},
            {QStringLiteral("Boştaki Fiziksel Bellek"), QStringLiteral("5120 MB")},
            {QStringLiteral("Disk Belleği Havuzu"), QStringLiteral("18735 MB")},
            {QStringLiteral("Disk Belleği Olmayan Havuz"), QStringLiteral("4096 MB")},
            {QStringLiteral("Boş Bellek Durumu"), QStringLiteral("Boş bellek miktarı yüksek")},
            {QStringLiteral("Sunucu İşlemci Çekirdek Sayısı"), QStringLiteral("8")},
            {QStringLiteral("Sunucu IP Adresi"), QStringLiteral("10.0.0.5")},
            {QStringLiteral("İstemci IP Adresi"), QStringLiteral("10.0.0.23")},
            {QStringLiteral("TarvoDB"), QStringLiteral("D:\\Data\\TarvoDB.mdf  (512 MB)")},
            {QStringLiteral("TarvoDB_log"), QStringLiteral("D:\\Data\\TarvoDB_log.ldf  (2,00 GB)")},
            {QStringLiteral("Kullanıcı"), QStringLiteral("sa")},
        };
        QCOMPARE(satirlar, beklenen);
        QCOMPARE(s.sorulanMetinler(),
                 (QStringList{diag::sql::urunSurumu(), diag::sql::bellek(), diag::sql::urunBilgisi(),
                              diag::sql::islemci(), diag::sql::baglanti(), diag::sql::dosyalar(),
                              diag::sql::kullanici()}));
        // the files of the configured database are asked for
        QCOMPARE(s.sorulan[5].second,
                 (QVariantMap{{QStringLiteral("DATABASEADI"), QStringLiteral("MUSTERIDB")}}));

        // a second fill starts from nothing
        QList<Satir> tekrar = satirlar;
        diag::SqlServerSatirlari(s.sorgu(), s.sorgu(), QStringLiteral("MUSTERIDB"), tekrar);
        QCOMPARE(tekrar, beklenen);
    }

    void optionalRowsAreLeftOutWhenTheirQueryIsEmpty() {
        SahteSunucu s = tamSunucu();
        s.cevaplar.remove(diag::sql::islemci());
        s.cevaplar.remove(diag::sql::baglanti());
        s.cevaplar.remove(diag::sql::dosyalar());
        s.cevaplar.remove(diag::sql::kullanici());
        s.cevaplar[diag::sql::bellek()].first()[QStringLiteral("system_low_memory_signal_state")] =
            QVariant(QMetaType(QMetaType::Bool));
        QStringList basliklar;
        for (const auto& r : doldur(s))
            basliklar << r.bilgi;
        QCOMPARE(basliklar, (QStringList{QStringLiteral("Sunucu Adı"), QStringLiteral("Veritabanı"),
                                         QStringLiteral("Toplam Fiziksel Bellek"),
                                         QStringLiteral("Boştaki Fiziksel Bellek"),
                                         QStringLiteral("Disk Belleği Havuzu"),
                                         QStringLiteral("Disk Belleği Olmayan Havuz")}));

        // no memory row: nothing at all is listed and nothing more is asked
        s.cevaplar.remove(diag::sql::bellek());
        s.sorulan.clear();
        QVERIFY(doldur(s).isEmpty());
        QCOMPARE(s.sorulanMetinler(), (QStringList{diag::sql::urunSurumu(), diag::sql::bellek()}));
    }

    void versionGate_data() {
        QTest::addColumn<Sonuc>("cevap");
        QTest::addColumn<int>("surum");
        QTest::addColumn<bool>("engelli");
        QTest::newRow("2000") << surum(QStringLiteral("8.00.2039")) << 8 << true;
        QTest::newRow("2005") << surum(QStringLiteral("9.00.5000.00")) << 9 << false;
        QTest::newRow("2019") << surum(QStringLiteral("15.0.2000.5")) << 15 << false;
        QTest::newRow("no row") << Sonuc() << 0 << true;
        QTest::newRow("no dot") << surum(QStringLiteral("15")) << 0 << true;
    }
    void versionGate() {
        QFETCH(Sonuc, cevap);
        QFETCH(int, surum);
        QFETCH(bool, engelli);
        QCOMPARE(diag::SurumNumarasi(cevap), surum);
        SahteSunucu s = tamSunucu();
        s.cevaplar[diag::sql::urunSurumu()] = cevap;
        const QList<Satir> satirlar = doldur(s);
        if (engelli) {
            QCOMPARE(satirlar, (QList<Satir>{{QStringLiteral("BİLGİ"),
                                              QStringLiteral("Sadece SQL Server 2005 ve üzerinde")},
                                             {QString(), QStringLiteral("bu bilgiler görüntülenebilir")}}));
            QCOMPARE(s.sorulanMetinler(), QStringList{diag::sql::urunSurumu()});
        } else {
            QCOMPARE(satirlar.size(), 13);
        }
    }

    void versionThatIsNoNumberFails() {
        QVERIFY_THROWS_EXCEPTION(db::DbError, diag::SurumNumarasi(surum(QStringLiteral("abc.1"))));
    }

    void productDescription_data() {
        QTest::addColumn<QString>("surum");
        QTest::addColumn<QString>("tanim");
        QTest::newRow("8") << "8.00.2039"
                           << "SQL Server 2000 SP4 Standard Edition 8.00.2039";
        QTest::newRow("9") << "9.00.5000.00"
                           << "SQL Server 2005 SP4 Standard Edition 9.00.5000.00";
        QTest::newRow("10") << "10.50.6000.34"
                            << "SQL Server 2008 SP4 Standard Edition 10.50.6000.34";
        QTest::newRow("11") << "11.0.7001.0"
                            << "SQL Server 2012 SP4 Standard Edition 11.0.7001.0";
        QTest::newRow("12") << "12.0.6024.0"
                            << "SQL Server 2014 SP4 Standard Edition 12.0.6024.0";
        QTest::newRow("13") << "13.0.5026.0"
                            << " SP4 Standard Edition 13.0.5026.0";
        QTest::newRow("no dot") << "12"
                                << " SP4 Standard Edition 12";
    }
    void productDescription() {
        QFETCH(QString, surum);
        QFETCH(QString, tanim);
        const Sonuc cevap{{{QStringLiteral("PRODUCTVERSION"), surum},
                           {QStringLiteral("PRODUCTLEVEL"), QStringLiteral("SP4")},
                           {QStringLiteral("EDITION"), QStringLiteral("Standard Edition")}}};
        QCOMPARE(diag::SunucuTanimi(cevap), tanim);
        QCOMPARE(diag::SunucuTanimi({}), QString());
    }

    void memoryState_data() {
        QTest::addColumn<QVariant>("yuksek");
        QTest::addColumn<QVariant>("dusuk");
        QTest::addColumn<QString>("metin"); // null: no row
        const QVariant bos(QMetaType(QMetaType::Bool));
        QTest::newRow("high") << QVariant(true) << QVariant(false) << "Boş bellek miktarı yüksek";
        QTest::newRow("low") << QVariant(false) << QVariant(true) << "Boş bellek miktarı düşük!";
        QTest::newRow("steady") << QVariant(false) << QVariant(false) << "Bellek kulllanımı iyi durumda";
        QTest::newRow("transition") << QVariant(1) << QVariant(1) << "Bellek kullanımı geçiş durumunda";
        QTest::newRow("high null") << bos << QVariant(false) << QString();
        QTest::newRow("low null") << QVariant(true) << bos << QString();
    }
    void memoryState() {
        QFETCH(QVariant, yuksek);
        QFETCH(QVariant, dusuk);
        QFETCH(QString, metin);
        QCOMPARE(diag::BellekDurumu(yuksek, dusuk).value_or(QString()), metin);
        QCOMPARE(diag::BellekDurumu(yuksek, dusuk).has_value(), !metin.isNull());
    }

    void fileSizesUnderTurkishLocale_data() {
        QTest::addColumn<int>("mb");
        QTest::addColumn<QString>("deger");
        QTest::newRow("below one MB") << 0 << "F.mdf  ( MB)";
        QTest::newRow("512") << 512 << "F.mdf  (512 MB)";
        QTest::newRow("1023") << 1023 << "F.mdf  (1.023 MB)";
        QTest::newRow("1024") << 1024 << "F.mdf  (1,00 GB)";
        QTest::newRow("1536") << 1536 << "F.mdf  (1,50 GB)";
        QTest::newRow("2048") << 2048 << "F.mdf  (2,00 GB)";
        QTest::newRow("1 TB") << 1048576 << "F.mdf  (1.024,00 GB)";
        QTest::newRow("rounded") << 3000000 << "F.mdf  (2.929,69 GB)";
    }
    void fileSizesUnderTurkishLocale() {
        QFETCH(int, mb);
        QTEST(diag::DosyaDegeri(QStringLiteral("F.mdf"), mb), "deger");
    }

    void failingStatementKeepsTheRowsBeforeIt() {
        SahteSunucu s = tamSunucu();
        s.hataVeren = diag::sql::baglanti();
        QList<Satir> satirlar;
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 diag::SqlServerSatirlari(s.sorgu(), s.sorgu(), QString(), satirlar));
        QCOMPARE(satirlar.size(), 8);
        QCOMPARE(satirlar.last().bilgi, QStringLiteral("Sunucu İşlemci Çekirdek Sayısı"));
    }

    void sqliteRowsOfARealDatabase() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        QList<Satir> satirlar;
        diag::SunucuBilgileriniDoldur(satirlar);

        const auto tek = [&](const char* sql) {
            QSqlQuery q = dm->TarvoDB.run(QLatin1String(sql), {});
            return q.next() ? q.value(0) : QVariant();
        };
        const qint64 sayfa = tek("pragma page_size").toLongLong();
        const qint64 sayfaSayisi = tek("pragma page_count").toLongLong();
        QVERIFY(sayfa > 0 && sayfaSayisi > 0);
        // a file of some kilobytes: two decimals with a decimal comma
        const QString mb = QLocale().toString(double(sayfa * sayfaSayisi) / (1024 * 1024), 'f', 2);
        QVERIFY2(mb.startsWith(QStringLiteral("0,")), qPrintable(mb));

        const QList<Satir> beklenen = {
            {QStringLiteral("Veritabanı"),
             QStringLiteral("SQLite ") + tek("select sqlite_version()").toString()},
            {QStringLiteral("main"),
             QFileInfo(tmp.path()).absoluteFilePath() + QStringLiteral("  (") + mb + QStringLiteral(" MB)")},
            {QStringLiteral("Sayfa Boyutu"), QString::number(sayfa) + QStringLiteral(" bayt")},
            {QStringLiteral("Sayfa Sayısı"), QString::number(sayfaSayisi)},
            {QStringLiteral("Günlük Kipi"), QStringLiteral("wal")}, // the connection's own choice
        };
        QCOMPARE(satirlar, beklenen);
        QVERIFY(!dm->QryGenel.active());
        QVERIFY(!dm->QryGenel2.active());
    }

    void aboutBoxShowsVersionLocationAndServer() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        dm->LOKASYONADI = QStringLiteral("MERSİN ANTREPO");
        testing::MessageRecorder messages;
        QList<Satir> beklenen;
        diag::SunucuBilgileriniDoldur(beklenen);

        bool goruldu = false;
        const auto sur = [&](TfrmHakkinda& frm) {
            goruldu = true;
            frm.show();
            QCOMPARE(frm.windowTitle(), QStringLiteral("Program Hakkında"));
            QCOMPARE(frm.Sayfalar->currentIndex(), 0);
            QCOMPARE(frm.lblUyarlama->text(), QStringLiteral("1.0  Derleme: 28"));
            QCOMPARE(frm.lblLokasyon->text(), QStringLiteral("MERSİN ANTREPO"));
            QCOMPARE(frm.memoBilgi->toPlainText(), QStringLiteral("Veritabanı: ") + beklenen.first().deger);
            frm.grab().save(QStringLiteral("/tmp/hakkinda_sayfa1.png"));

            QVERIFY(listedekiler(frm.lvSunucu).isEmpty());
            frm.Sayfalar->setCurrentIndex(1);
            QCOMPARE(listedekiler(frm.lvSunucu), beklenen);
            frm.Sayfalar->setCurrentIndex(0);
            frm.Sayfalar->setCurrentIndex(1);
            QTest::mouseClick(frm.btnTazele, Qt::LeftButton);
            QTest::mouseClick(frm.btnTazele, Qt::LeftButton);
            QCOMPARE(listedekiler(frm.lvSunucu), beklenen); // never duplicated
            frm.grab().save(QStringLiteral("/tmp/hakkinda_sayfa2.png"));

            QTest::keyClick(&frm, Qt::Key_Escape);
        };
        ui::setModalHook([&](QDialog& d) {
            sur(dynamic_cast<TfrmHakkinda&>(d));
            return d.result();
        });
        HakkindaGoster();
        QVERIFY(goruldu);
        QVERIFY(messages.entries().isEmpty());
    }

    void emptyLocationReplacesTheDesignText() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        dm->LOKASYONADI.clear();
        TfrmHakkinda frm;
        frm.FormShow();
        QCOMPARE(frm.lblLokasyon->text(), QString());
    }
};

TARVO_TEST_MAIN(HakkindaTest)
#include "test_hakkinda.moc"
