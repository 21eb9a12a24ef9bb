#include "support/TestSupport.h"

#include "schema/DataModule1.h"

class SmokeTest : public QObject {
    Q_OBJECT
private slots:
    void preparedDatabaseHasWarehouseTables() {
        testing::TempDb tmp;
        auto dm = tmp.openDataModule();
        QVERIFY(dm->TabloVar(QStringLiteral("ANT_BEYANNAME")));
        QVERIFY(dm->TabloVar(QStringLiteral("ant_sabitler")));
        QVERIFY(!dm->TabloVar(QStringLiteral("ANT_YOK")));
    }
};

TARVO_TEST_MAIN(SmokeTest)
#include "test_smoke_startup.moc"
