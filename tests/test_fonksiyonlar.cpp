#include "support/TestSupport.h"

#include "common/Fonksiyonlar.h"
#include "platform/db/DbError.h"
#include "schema/DataModule1.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>

namespace {

// A prepared database with DM1 on it, counting the statements sent. Each one is a copy
// of one prepared file: preparing a database for every data row would be slow.
struct Ortam {
    QTemporaryDir dir;
    std::unique_ptr<TDM1> dm = std::make_unique<TDM1>();
    int statements = 0;

    Ortam() {
        static const testing::TempDb sablon;
        const QString path = dir.filePath(QStringLiteral("tarvo.db"));
        if (!QFile::copy(sablon.path(), path)) qFatal("cannot copy the prepared database");
        dm->TarvoDB.openSqliteFile(path);
        DM1 = dm.get();
        dm->TarvoDB.statementObserver = [this](const QString&) { ++statements; };
    }
    ~Ortam() { DM1 = nullptr; }
    Ortam(const Ortam&) = delete;
    Ortam& operator=(const Ortam&) = delete;

    void exec(const QString& sql, const QVariantList& params = {}) { dm->TarvoDB.execute(sql, params); }
    int count(const QString& sql) {
        const QVariant v = testing::scalar(dm->TarvoDB, sql);
        return v.isValid() ? v.toInt() : -1;
    }
    void dosya(int yil, int sira) {
        exec(QStringLiteral("INSERT INTO ANT_BEYANNAME (DOSYAYIL, DOSYASIRA) VALUES (:Y, :S)"), {yil, sira});
    }
};

QDateTime gun(int y, int m, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, mi, s, ms));
}

} // namespace

class FonksiyonlarTest : public QObject {
    Q_OBJECT
private slots:
    // ---- numbering

    void antDosyaNoVer_data() {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("expected");
        QTest::newRow("first of the year") << QList<int>{} << 1;
        QTest::newRow("hole 6-7") << QList<int>{1, 2, 3, 4, 5, 8, 9, 10} << 6;
        QTest::newRow("hole 7 after 6 taken") << QList<int>{1, 2, 3, 4, 5, 6, 8, 9, 10} << 7;
        QTest::newRow("6 and 7 taken") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 11;
        QTest::newRow("1 and 2 not reused") << QList<int>{3, 4, 5} << 6;
        QTest::newRow("below the window") << QList<int>{150, 152, 260} << 261;
        QTest::newRow("window bound inclusive") << QList<int>{160, 162, 260} << 161;
        QTest::newRow("duplicates no hole") << QList<int>{1, 1, 2} << 3;
        QTest::newRow("hole below 65535") << QList<int>{65533, 65535} << 65534;
    }
    void antDosyaNoVer() {
        QFETCH(QList<int>, numbers);
        QFETCH(int, expected);
        Ortam o;
        for (int n : numbers)
            o.dosya(2024, n);
        for (int n : {1, 2, 4, 9000})
            o.dosya(2023, n);
        o.dosya(2025, 500);
        QCOMPARE(int(AntDosyaNoVer(gun(2024, 12, 31, 23, 59, 59))), expected);
        QVERIFY(!o.dm->QryMaxAntDosyaNo.active());
        QVERIFY(!o.dm->QryAntDosyaNo.active());
    }

    void antDosyaNoVerRefusesAFullYear() {
        Ortam o;
        o.dosya(2024, 65534);
        o.dosya(2024, 65535);
        try {
            AntDosyaNoVer(gun(2024, 6, 1));
            QFAIL("a number past 65535 was given");
        } catch (const db::DbError& e) {
            QVERIFY2(e.message().startsWith(QStringLiteral("HATA: 2024 yılı")), qPrintable(e.message()));
            QVERIFY(e.message().contains(QStringLiteral("65535")));
        }
        QVERIFY(!o.dm->QryMaxAntDosyaNo.active());
        QVERIFY(!o.dm->QryAntDosyaNo.active());
        QCOMPARE(int(AntDosyaNoVer(gun(2025, 1, 1))), 1);
    }

    void formatDosyaNo_data() {
        QTest::addColumn<int>("yil");
        QTest::addColumn<int>("no");
        QTest::addColumn<QString>("expected");
        QTest::newRow("57") << 2024 << 57 << QStringLiteral("2024/000057");
        QTest::newRow("6 digits") << 2024 << 123456 << QStringLiteral("2024/123456");
        QTest::newRow("7 digits") << 2024 << 1234567 << QStringLiteral("2024/1234567");
        QTest::newRow("cut to 16") << 123456 << 2147483647 << QStringLiteral("123456/214748364");
    }
    void formatDosyaNo() {
        QFETCH(int, yil);
        QFETCH(int, no);
        QFETCH(QString, expected);
        QCOMPARE(FormatDosyaNo(yil, no), expected);
    }

    void fill0_data() {
        QTest::addColumn<int>("deger");
        QTest::addColumn<int>("basamak");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7,2") << 7 << 2 << QStringLiteral("07");
        QTest::newRow("2024,4") << 2024 << 4 << QStringLiteral("2024");
        QTest::newRow("12345,4") << 12345 << 4 << QStringLiteral("1234");
        QTest::newRow("-5,3") << -5 << 3 << QStringLiteral("0-5");
        QTest::newRow("5,0") << 5 << 0 << QString();
    }
    void fill0() {
        QFETCH(int, deger);
        QFETCH(int, basamak);
        QFETCH(QString, expected);
        QCOMPARE(Fill0(deger, quint8(basamak)), expected);
    }

    void beyanTuruVer_data() {
        QTest::addColumn<QString>("rejim");
        QTest::addColumn<QString>("expected");
        QTest::newRow("7100") << QStringLiteral("7100") << QStringLiteral("AN");
        QTest::newRow("4071") << QStringLiteral("4071") << QStringLiteral("IM");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("IM");
        QTest::newRow("9") << QStringLiteral("9") << QStringLiteral("IM");
        QTest::newRow("1000") << QStringLiteral("1000") << QStringLiteral("EX");
        QTest::newRow("3151") << QStringLiteral("3151") << QStringLiteral("EX");
        QTest::newRow("T1") << QStringLiteral("T1") << QStringLiteral("TR");
        QTest::newRow("t1") << QStringLiteral("t1") << QString();
        QTest::newRow("8000") << QStringLiteral("8000") << QString();
        QTest::newRow("blanks") << QStringLiteral("   ") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("leading blank") << QStringLiteral(" 4071") << QString();
    }
    void beyanTuruVer() {
        QFETCH(QString, rejim);
        QFETCH(QString, expected);
        QCOMPARE(BeyanTuruVer(rejim), expected);
    }

    void gtip_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("3") << QStringLiteral("847") << QString();
        QTest::newRow("4") << QStringLiteral("8471") << QStringLiteral("8471");
        QTest::newRow("5") << QStringLiteral("84713") << QStringLiteral("8471.3");
        QTest::newRow("8") << QStringLiteral("84713000") << QStringLiteral("8471.30.00");
        QTest::newRow("11") << QStringLiteral("84713000001") << QStringLiteral("8471.30.00.00.1");
        QTest::newRow("12") << QStringLiteral("847130000012") << QStringLiteral("8471.30.00.00.12");
        QTest::newRow("14") << QStringLiteral("84713000001299") << QStringLiteral("8471.30.00.00.12");
        QTest::newRow("typed with dots")
            << QStringLiteral("8471.30.00.00.12") << QStringLiteral("8471.30.00.00.12");
    }
    void gtip() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(GTIPNoktali(GTIPNoktasiz(input)), expected);
    }

    void turkceKelimeBuyut_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("istanbul ılıca")
            << QStringLiteral("istanbul ılıca") << QStringLiteral("İSTANBUL ILICA");
        QTest::newRow("turkish letters") << QStringLiteral("çğöşü") << QStringLiteral("ÇĞÖŞÜ");
        QTest::newRow("capitals stay") << QStringLiteral("İIÇĞÖŞÜAZ") << QStringLiteral("İIÇĞÖŞÜAZ");
        QTest::newRow("others stay") << QStringLiteral("â é ß 0-9/.") << QStringLiteral("â é ß 0-9/.");
        QTest::newRow("ascii") << QStringLiteral("abc xyz") << QStringLiteral("ABC XYZ");
    }
    void turkceKelimeBuyut() {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(TurkceKelimeBuyut(input), expected);
    }

    // ---- lookups

    void degerGetir_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("statements");
        QTest::newRow("bank") << QStringLiteral("BANKALAR") << QStringLiteral("0010")
                              << QStringLiteral("Ziraat Bankası Mersin Şubesi") << true << 1;
        QTest::newRow("additional code")
            << QStringLiteral("EKKODLAR") << QStringLiteral("E001") << QStringLiteral("E001") << true << 1;
        QTest::newRow("other table") << QStringLiteral("GUMRUKLER") << QStringLiteral("330100")
                                     << QStringLiteral("Mersin Gümrük Müdürlüğü") << true << 1;
        QTest::newRow("missing") << QStringLiteral("GUMRUKLER") << QStringLiteral("999999") << QString()
                                 << false << 1;
        QTest::newRow("not trimmed") << QStringLiteral("GUMRUKLER") << QStringLiteral(" 330100") << QString()
                                     << false << 1;
        QTest::newRow("empty") << QStringLiteral("GUMRUKLER") << QString() << QString() << true << 0;
        QTest::newRow("quote") << QStringLiteral("GUMRUKLER") << QStringLiteral("A'B")
                               << QStringLiteral("Tırnaklı Gümrük") << true << 1;
        QTest::newRow("quote missing")
            << QStringLiteral("GUMRUKLER") << QStringLiteral("A'C") << QString() << false << 1;
        QTest::newRow("injection") << QStringLiteral("GUMRUKLER") << QStringLiteral("x' OR '1'='1")
                                   << QString() << false << 1;
    }
    void degerGetir() {
        QFETCH(QString, table);
        QFETCH(QString, code);
        QFETCH(QString, expected);
        QFETCH(bool, found);
        QFETCH(int, statements);
        Ortam o;
        o.exec(QStringLiteral("INSERT INTO GUMRUKLER (KODU, ADI) VALUES (:K, :A)"),
               {QStringLiteral("A'B"), QStringLiteral("Tırnaklı Gümrük")});
        o.statements = 0;
        bool bulundu = !found;
        QCOMPARE(DegerGetir(table, code, bulundu), expected);
        QCOMPARE(bulundu, found);
        QCOMPARE(o.statements, statements);
        QVERIFY(!o.dm->QryGenel2.active());
    }

    void degerGetirRefusesATableExpression_data() {
        QTest::addColumn<QString>("table");
        QTest::newRow("where") << QStringLiteral("GUMRUKLER WHERE 1=1 --");
        QTest::newRow("second statement") << QStringLiteral("GUMRUKLER;DROP TABLE ADRES");
        QTest::newRow("qualified") << QStringLiteral("dbo.GUMRUKLER");
        QTest::newRow("digit first") << QStringLiteral("1GUMRUKLER");
        QTest::newRow("empty") << QString();
    }
    void degerGetirRefusesATableExpression() {
        QFETCH(QString, table);
        Ortam o;
        bool bulundu = false;
        QVERIFY_THROWS_EXCEPTION(db::DbError, DegerGetir(table, QStringLiteral("330100"), bulundu));
        QCOMPARE(o.statements, 0);
    }

    void degerGetirLetsServerErrorsThroughAndClosesTheQuery() {
        Ortam o;
        bool bulundu = false;
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 DegerGetir(QStringLiteral("YOKTABLO"), QStringLiteral("1"), bulundu));
        QVERIFY(!o.dm->QryGenel2.active());
        QCOMPARE(DegerGetir(QStringLiteral("EKKODLAR"), QStringLiteral("E001"), bulundu),
                 QStringLiteral("E001"));
    }

    void kullaniciAdiGetir_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("statements");
        QTest::newRow("1") << 1 << QStringLiteral("Sistem Yöneticisi") << 1;
        QTest::newRow("2") << 2 << QStringLiteral("Ahmet Yılmaz") << 1;
        QTest::newRow("missing") << 99 << QString() << 1;
        QTest::newRow("0") << 0 << QString() << 0;
        QTest::newRow("-3") << -3 << QString() << 0;
    }
    void kullaniciAdiGetir() {
        QFETCH(int, id);
        QFETCH(QString, expected);
        QFETCH(int, statements);
        Ortam o;
        QCOMPARE(KullaniciAdiGetir(id), expected);
        QCOMPARE(o.statements, statements);
        QVERIFY(!o.dm->QryGenel.active());
    }

    void adresGetir_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("isim");
        QTest::addColumn<QString>("vergiNo");
        QTest::addColumn<int>("statements"); // per call
        QTest::newRow("tax number") << QStringLiteral("101") << QStringLiteral("Akdeniz Lojistik A.Ş.")
                                    << QStringLiteral("1234567890") << 1;
        QTest::newRow("NULL tax number")
            << QStringLiteral("102") << QStringLiteral("Boş Vergi") << QStringLiteral("x") << 1;
        QTest::newRow("blank tax number")
            << QStringLiteral("103") << QStringLiteral("Boşluklu") << QStringLiteral("x") << 1;
        QTest::newRow("untrimmed tax number")
            << QStringLiteral("104") << QStringLiteral("Aralıklı") << QStringLiteral(" 987 ") << 1;
        QTest::newRow("blanks around key")
            << QStringLiteral(" 101 ") << QStringLiteral("Akdeniz Lojistik A.Ş.")
            << QStringLiteral("1234567890") << 1;
        QTest::newRow("missing") << QStringLiteral("999") << QString() << QString() << 1;
        QTest::newRow("empty") << QString() << QString() << QString() << 0;
        QTest::newRow("letters") << QStringLiteral("abc") << QString() << QString() << 0;
        QTest::newRow("condition") << QStringLiteral("101 OR 1=1") << QString() << QString() << 0;
        QTest::newRow("condition 2") << QStringLiteral("12 OR 1=1") << QString() << QString() << 0;
        QTest::newRow("fraction") << QStringLiteral("101.0") << QString() << QString() << 0;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << QString() << QString() << 0;
    }
    void adresGetir() {
        QFETCH(QString, key);
        QFETCH(QString, isim);
        QFETCH(QString, vergiNo);
        QFETCH(int, statements);
        Ortam o;
        const QString ins = QStringLiteral("INSERT INTO ADRES (ADRESID, ADI, VERGINO) VALUES (:I, :A, :V)");
        o.exec(ins, {101, QStringLiteral("Akdeniz Lojistik A.Ş."), QStringLiteral("1234567890")});
        o.exec(ins, {102, QStringLiteral("Boş Vergi"), QVariant()});
        o.exec(ins, {103, QStringLiteral("Boşluklu"), QStringLiteral("   ")});
        o.exec(ins, {104, QStringLiteral("Aralıklı"), QStringLiteral(" 987 ")});
        o.statements = 0;
        QCOMPARE(IsimGetir(key), isim);
        QCOMPARE(o.statements, statements);
        QCOMPARE(VergiNoGetir(key), vergiNo);
        QCOMPARE(o.statements, 2 * statements);
        QVERIFY(!o.dm->QryGenel.active());
    }

    // ---- conditions and queries

    void sqlDateBetweenTwoDatesText() {
        QCOMPARE(
            SQLDateBetweenTwoDates(QStringLiteral("KAYITZAMANI"), gun(2024, 3, 5, 14, 30),
                                   gun(2024, 4, 4, 8)),
            QStringLiteral("KAYITZAMANI BETWEEN {ts '2024-03-05 00:00:00'} AND {ts '2024-04-04 23:59:59'}"));
    }

    void sqlDateBetweenTwoDatesOnTheDatabase_data() {
        QTest::addColumn<QDateTime>("first");
        QTest::addColumn<QDateTime>("last");
        QTest::addColumn<int>("expected");
        QTest::newRow("one day") << gun(2024, 3, 5, 18) << gun(2024, 3, 5, 9) << 3;
        QTest::newRow("two days") << gun(2024, 3, 4) << gun(2024, 3, 5) << 4;
        QTest::newRow("first later than last") << gun(2024, 3, 6) << gun(2024, 3, 5) << 0;
    }
    void sqlDateBetweenTwoDatesOnTheDatabase() {
        QFETCH(QDateTime, first);
        QFETCH(QDateTime, last);
        QFETCH(int, expected);
        Ortam o;
        int sira = 0;
        for (const QDateTime& t :
             {gun(2024, 3, 4, 23, 59, 59), gun(2024, 3, 5), gun(2024, 3, 5, 12), gun(2024, 3, 5, 23, 59, 59),
              gun(2024, 3, 5, 23, 59, 59, 500), gun(2024, 3, 6)})
            o.exec(QStringLiteral(
                       "INSERT INTO ANT_BEYANNAME (DOSYAYIL, DOSYASIRA, KAYITZAMANI) VALUES (2024, :S, :K)"),
                   {++sira, t});
        const QString cond = SQLDateBetweenTwoDates(QStringLiteral("KAYITZAMANI"), first, last);
        QCOMPARE(o.count(QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME WHERE ") + cond), expected);
    }

    void openAdoQuery_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<int>("rows");
        QTest::newRow("good") << QStringLiteral("SELECT KULLANICIID FROM KULLANICI") << true << 3;
        QTest::newRow("rejected") << QStringLiteral("SELECT * FROM YOKTABLO") << false << 0;
    }
    void openAdoQuery() {
        QFETCH(QString, sql);
        QFETCH(bool, opened);
        QFETCH(int, rows);
        Ortam o;
        testing::MessageRecorder messages;
        db::Dataset* q = nullptr;
        QCOMPARE(OpenADOQuery(q, sql), opened);
        QVERIFY(q);
        QPointer<db::Dataset> guard(q);
        QCOMPARE(q->active(), opened);
        QCOMPARE(q->recordCount(), rows);
        QCOMPARE(q->connection(), &o.dm->TarvoDB);
        QVERIFY(!q->parent());
        QVERIFY(messages.entries().isEmpty());
        CloseADOQuery(q);
        QVERIFY(!q);
        QVERIFY(guard.isNull());
    }

    void kayitSil_data() {
        QTest::addColumn<bool>("hasRow");
        QTest::addColumn<bool>("hasChild");
        QTest::addColumn<bool>("unsavedNew");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("remaining");
        const QString soru = QStringLiteral("Kayıtı silmek istiyor musunuz?");
        QTest::newRow("empty") << false << false << false << true << false << QStringList{} << 0;
        QTest::newRow("cancel") << true << false << false << false << false << QStringList{soru} << 1;
        QTest::newRow("ok") << true << false << false << true << true << QStringList{soru} << 0;
        QTest::newRow("delete fails") << true << true << false << true << false
                                      << QStringList{soru, QStringLiteral("HATA : Kayıt silinemedi!")} << 1;
        // an unsaved new row is only dropped: no stored row is deleted
        QTest::newRow("unsaved new row") << true << false << true << true << false << QStringList{soru} << 1;
    }
    void kayitSil() {
        QFETCH(bool, hasRow);
        QFETCH(bool, hasChild);
        QFETCH(bool, unsavedNew);
        QFETCH(bool, answer);
        QFETCH(bool, deleted);
        QFETCH(QStringList, messages);
        QFETCH(int, remaining);
        Ortam o;
        if (hasRow) o.dosya(2024, 1);
        if (hasChild)
            o.exec(QStringLiteral("INSERT INTO ANT_HAREKET (ANTBEYANNAMEID, KALEMSIRANO) "
                                  "SELECT ANTBEYANNAMEID, 1 FROM ANT_BEYANNAME"));
        db::Dataset& ds = o.dm->AQANT_Beyanname;
        ds.open();
        if (unsavedNew) ds.append();
        testing::MessageRecorder recorder;
        recorder.answer(answer);
        QCOMPARE(KayitSil(ds), deleted);
        QCOMPARE(ds.state(), db::Dataset::State::Browse);
        QCOMPARE(recorder.texts(), messages);
        if (!messages.isEmpty()) QCOMPARE(recorder.entries().first().kind, ui::MessageKind::OkCancel);
        QCOMPARE(ds.recordCount(), remaining);
        QCOMPARE(o.count(QStringLiteral("SELECT COUNT(*) FROM ANT_BEYANNAME")), remaining);
    }

    void maxFormWidth_data() {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("workArea");
        QTest::addColumn<int>("expected");
        QTest::newRow("1280") << 1400 << 1280 << 1254;
        QTest::newRow("1920") << 1400 << 1920 << 1400;
        QTest::newRow("at the limit") << 1254 << 1280 << 1254;
        QTest::newRow("below the limit") << 1253 << 1280 << 1253;
        QTest::newRow("tie to even down") << 2000 << 1025 << 1004;
        QTest::newRow("tie to even up") << 2000 << 1075 << 1054;
    }
    void maxFormWidth() {
        QFETCH(int, wanted);
        QFETCH(int, workArea);
        QFETCH(int, expected);
        QCOMPARE(MaxFormWidth(wanted, workArea), expected);
    }
};

TARVO_TEST_MAIN(FonksiyonlarTest)
#include "test_fonksiyonlar.moc"
