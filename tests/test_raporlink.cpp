#include "support/TestSupport.h"

#include "platform/system/Files.h"
#include "reports/RaporLink.h"
#include "schema/DataModule1.h"

#include <QUrl>

class RaporLinkTest : public QObject {
    Q_OBJECT
private:
    QStringList m_opened;

private slots:
    void init() {
        m_opened.clear();
        sys::setLaunchHook([this](const sys::LaunchRequest& r) {
            m_opened << (r.kind == sys::LaunchRequest::Kind::Address
                             ? r.target
                             : QStringLiteral("program: ") + r.target);
            return false; // a failure is not reported to the user
        });
    }
    void cleanup() {
        sys::setLaunchHook({});
        DM1 = nullptr;
    }

    void opensTheAddressFollowedByTheUserId_data() {
        QTest::addColumn<QVariant>("raporLink"); // invalid: no settings row at all
        QTest::addColumn<int>("kullaniciId");
        QTest::addColumn<QString>("acilan");
        QTest::newRow("ends in equals")
            << QVariant(QStringLiteral("http://rapor.example:8080/antrepo?kullanici=")) << 7
            << "http://rapor.example:8080/antrepo?kullanici=7";
        QTest::newRow("empty text") << QVariant(QString()) << 7 << "http://localhost/7";
        QTest::newRow("null") << QVariant(QMetaType(QMetaType::QString)) << 12 << "http://localhost/12";
        QTest::newRow("blanks handed on") << QVariant(QStringLiteral("   ")) << 7 << "   7";
        QTest::newRow("no settings row") << QVariant() << 3 << "http://localhost/3";
    }
    void opensTheAddressFollowedByTheUserId() {
        QFETCH(QVariant, raporLink);
        QFETCH(int, kullaniciId);
        QFETCH(QString, acilan);
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        if (raporLink.isValid())
            dm->TarvoDB.execute(QStringLiteral("UPDATE ANT_SABITLER SET RAPORLINK = :L"), {raporLink});
        else
            dm->TarvoDB.execute(QStringLiteral("DELETE FROM ANT_SABITLER"));
        dm->KullaniciId = kullaniciId;
        testing::MessageRecorder messages;

        reports::RaporSisteminiAc();

        QCOMPARE(m_opened, QStringList{acilan});
        QVERIFY(messages.entries().isEmpty());
        QVERIFY(!dm->AQANT_Sabitler.active());
    }

    void defaultAddressKeepsTheHostAndIsReadEveryTime() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        dm->KullaniciId = 7;
        QCOMPARE(reports::ReportLink(), QStringLiteral("http://localhost/"));
        const QUrl url(reports::RaporSistemiAdresi());
        QCOMPARE(url.scheme(), QStringLiteral("http"));
        QCOMPARE(url.host(), QStringLiteral("localhost"));
        QCOMPARE(url.path(), QStringLiteral("/7"));

        // a second row is ignored; a change of the first takes effect at the next use
        dm->TarvoDB.execute(
            QStringLiteral("INSERT INTO ANT_SABITLER (STANDARTVERIKAYNAK, RAPORLINK) VALUES (0, 'x')"));
        dm->TarvoDB.execute(
            QStringLiteral("UPDATE ANT_SABITLER SET RAPORLINK = 'http://r/?id=' WHERE RAPORLINK IS NULL"));
        QCOMPARE(reports::RaporSistemiAdresi(), QStringLiteral("http://r/?id=7"));
    }

    void databaseErrorIsShownAndNothingOpens() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        DM1 = dm.get();
        dm->TarvoDB.execute(QStringLiteral("DROP TABLE ANT_SABITLER"));
        testing::MessageRecorder messages;

        reports::RaporSisteminiAc();

        QCOMPARE(messages.entries().size(), 1);
        QVERIFY2(messages.texts().first().contains(QStringLiteral("ANT_SABITLER")),
                 qPrintable(messages.texts().first()));
        QVERIFY(m_opened.isEmpty());
    }
};

TARVO_TEST_MAIN(RaporLinkTest)
#include "test_raporlink.moc"
