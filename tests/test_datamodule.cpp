#include "support/TestSupport.h"

#include "platform/db/DbError.h"
#include "schema/DataModule1.h"

namespace {

int insertOperation(db::Connection& c, const QVariant& giriscikis, const QVariant& kullanici, const QString& gumruk,
                    const QString& arac, const QString& tescil = QStringLiteral("24330100AN000001")) {
    c.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (DOSYAYIL, DOSYASIRA, GIRISCIKIS, KULLANICI, GUMRUKKODU, "
                             "CIKISTAKIARACINTIPININKODU, TESCILNO) VALUES (2024, 1, :G, :K, :GU, :A, :T)"),
              {giriscikis, kullanici, gumruk, arac, tescil});
    return testing::scalar(c, QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

} // namespace

class DataModuleTest : public QObject {
    Q_OBJECT
private slots:
    void calculatedFieldsOfAnOperation_data() {
        QTest::addColumn<QVariant>("giriscikis");
        QTest::addColumn<QVariant>("kullanici");
        QTest::addColumn<QString>("gumruk");
        QTest::addColumn<QString>("arac");
        QTest::addColumn<QString>("yon");
        QTest::addColumn<QString>("kullaniciAdi");
        QTest::addColumn<QString>("gumrukAdi");
        QTest::addColumn<QString>("aracAdi");
        const QVariant nullInt = QVariant(QMetaType(QMetaType::Int));
        QTest::newRow("entry with known codes") << QVariant(0) << QVariant(2) << "330100" << "1" << "GİRİŞ"
                                                << "Ahmet Yılmaz" << "Mersin Gümrük Müdürlüğü" << "Deniz taşımacılığı";
        QTest::newRow("exit") << QVariant(1) << QVariant(1) << "340100" << "3" << "ÇIKIŞ" << "Sistem Yöneticisi"
                              << "İstanbul Erenköy Gümrük Müdürlüğü" << "Karayolu taşımacılığı";
        QTest::newRow("null direction reads as entry, null user") << nullInt << nullInt << "" << "" << "GİRİŞ" << ""
                                                                  << "" << "";
        QTest::newRow("direction 2, user 0, unknown codes") << QVariant(2) << QVariant(0) << "999999" << "9" << ""
                                                            << "" << "" << "";
        QTest::newRow("user without a row") << QVariant(1) << QVariant(77) << "330100" << "" << "ÇIKIŞ" << ""
                                            << "Mersin Gümrük Müdürlüğü" << "";
    }
    void calculatedFieldsOfAnOperation() {
        QFETCH(QVariant, giriscikis);
        QFETCH(QVariant, kullanici);
        QFETCH(QString, gumruk);
        QFETCH(QString, arac);
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        insertOperation(dm->TarvoDB, giriscikis, kullanici, gumruk, arac);
        db::Dataset& ds = dm->AQANT_Beyanname;
        ds.open();
        QCOMPARE(ds.recordCount(), 1);
        QTEST(ds.field(QStringLiteral("GIRISCIKISSTR")).asString(), "yon");
        QTEST(ds.field(QStringLiteral("KULLANICISTR")).asString(), "kullaniciAdi");
        QTEST(ds.field(QStringLiteral("GUMRUKKODUSTR")).asString(), "gumrukAdi");
        QTEST(ds.field(QStringLiteral("CIKISTAKIARACINTIPISTR")).asString(), "aracAdi");
        QCOMPARE(ds.field(QStringLiteral("GUMRUKKODU")).asString(), gumruk); // the code itself stays
    }

    void namesCostOneQueryPerTablePerOpenAndStayCurrent() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        for (int i = 0; i < 40; ++i)
            insertOperation(dm->TarvoDB, i % 2, (i % 3) + 1, i % 2 ? QStringLiteral("330100") : QStringLiteral("340100"),
                            QStringLiteral("1"));
        insertOperation(dm->TarvoDB, 0, 0, QString(), QString()); // user 0: no query for it
        int statements = 0;
        dm->TarvoDB.statementObserver = [&](const QString&) { ++statements; };
        db::Dataset& ds = dm->AQANT_Beyanname;
        ds.open();
        QCOMPARE(ds.recordCount(), 41);
        QVERIFY2(statements <= 4, qPrintable(QString::number(statements))); // three code tables and the list itself
        ds.close();

        dm->TarvoDB.execute(QStringLiteral("UPDATE GUMRUKLER SET ADI = 'Mersin Gümrük Müdürlüğü (yeni)' WHERE KODU = '330100'"));
        ds.open();
        QVERIFY(ds.locate(QStringLiteral("GUMRUKKODU"), QStringLiteral("330100")));
        QCOMPARE(ds.field(QStringLiteral("GUMRUKKODUSTR")).asString(), QStringLiteral("Mersin Gümrük Müdürlüğü (yeni)"));
    }

    void editingRecomputesNames() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        insertOperation(dm->TarvoDB, 0, 1, QStringLiteral("330100"), QStringLiteral("1"));
        db::Dataset& ds = dm->AQANT_Beyanname;
        ds.open();
        // a code added to its table after the open is still found while editing
        dm->TarvoDB.execute(QStringLiteral("INSERT INTO GUMRUKLER (KODU, ADI) VALUES ('160100', 'Bursa Gümrük Müdürlüğü')"));
        ds.edit();
        ds.setValue(QStringLiteral("GUMRUKKODU"), QStringLiteral("160100"));
        ds.setValue(QStringLiteral("GIRISCIKIS"), 1);
        QCOMPARE(ds.field(QStringLiteral("GUMRUKKODUSTR")).asString(), QStringLiteral("Bursa Gümrük Müdürlüğü"));
        QCOMPARE(ds.field(QStringLiteral("GIRISCIKISSTR")).asString(), QStringLiteral("ÇIKIŞ"));
        ds.post();
        QCOMPARE(ds.field(QStringLiteral("GUMRUKKODUSTR")).asString(), QStringLiteral("Bursa Gümrük Müdürlüğü"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, ds.setValue(QStringLiteral("GIRISCIKISSTR"), QStringLiteral("x")));
    }

    void childDatasetsAndLongRegistrationNumber() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        const QString tescil24 = QStringLiteral("24330100AN00000000000123");
        QCOMPARE(tescil24.size(), 24);
        const int id = insertOperation(dm->TarvoDB, 0, 1, QString(), QString(), tescil24);
        dm->AQANT_Hareket.setParam(QStringLiteral("ANTBEYANNAMEID"), id);
        dm->AQANT_Hareket.open();
        QVERIFY(dm->AQANT_Hareket.isEmpty());
        QVERIFY(dm->AQANT_Hareket.eof());

        dm->AQANT_Hareket.append();
        dm->AQANT_Hareket.setValue(QStringLiteral("ANTBEYANNAMEID"), id);
        dm->AQANT_Hareket.setValue(QStringLiteral("KAPCINSI"), QStringLiteral("CT"));
        dm->AQANT_Hareket.post();
        QVERIFY(dm->AQANT_Hareket.value(QStringLiteral("ANTHAREKETID")).toInt() > 0);
        QCOMPARE(dm->AQANT_Hareket.field(QStringLiteral("KAPCINSISTR")).asString(), QStringLiteral("Karton"));

        dm->AQANT_Teminat.setParam(QStringLiteral("ANTBEYANNAMEID"), id);
        dm->AQANT_Teminat.open();
        dm->AQANT_Teminat.append();
        dm->AQANT_Teminat.setValue(QStringLiteral("ANTBEYANNAMEID"), id);
        dm->AQANT_Teminat.setValue(QStringLiteral("TEMINATTURUKODU"), QStringLiteral("BM"));
        dm->AQANT_Teminat.setValue(QStringLiteral("TEMINATTUTARI"), 1250.456);
        dm->AQANT_Teminat.post();
        QCOMPARE(dm->AQANT_Teminat.field(QStringLiteral("TEMINATTURUSTR")).asString(), QStringLiteral("Banka teminat mektubu"));
        QCOMPARE(dm->AQANT_Teminat.field(QStringLiteral("TEMINATTUTARI")).asFloat(), 1250.46);

        dm->AQANT_Beyanname.open();
        QCOMPARE(dm->AQANT_Beyanname.field(QStringLiteral("TESCILNO")).asString(), tescil24);
        dm->AQANT_BeyannameQRP.setParam(QStringLiteral("ANTBEYANNAMEID"), id);
        dm->AQANT_BeyannameQRP.open();
        QCOMPARE(dm->AQANT_BeyannameQRP.field(QStringLiteral("TESCILNO")).asString(), tescil24);
        QCOMPARE(dm->AQANT_BeyannameQRP.fieldIndex(QStringLiteral("DEVIR")), -1);
        QCOMPARE(dm->AQANT_BeyannameQRP.fieldIndex(QStringLiteral("KULLANICISTR")), -1);

        // one character more is refused, naming the field
        dm->AQANT_Beyanname.edit();
        try {
            dm->AQANT_Beyanname.setValue(QStringLiteral("TESCILNO"), tescil24 + u'9');
            QFAIL("an over-long registration number was accepted");
        } catch (const db::DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("TESCILNO")), qPrintable(e.message()));
        }
        QCOMPARE(dm->AQANT_Beyanname.field(QStringLiteral("TESCILNO")).asString(), tescil24);
        dm->AQANT_Beyanname.cancel();
    }
};

TARVO_TEST_MAIN(DataModuleTest)
#include "test_datamodule.moc"
