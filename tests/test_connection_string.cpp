#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

namespace {

const char* const kTail =
    ";Use Procedure for Prepare=1;Auto Translate=True;Packet Size=4096;Workstation ID=ZOVARUDID;"
    "Use Encryption for Data=False;Tag with column collation when possible=False";

QString sqlLogin(const QString& password, const QString& server) {
    return QStringLiteral("Provider=SQLOLEDB.1;Password=\"") + password +
           QStringLiteral("\";Persist Security Info=True;User ID=sa;Initial Catalog=TarvoDB;Data Source=") +
           server + QLatin1String(kTail);
}

QString integrated(const QString& server) {
    return QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Password=;Persist Security Info=True;"
                          "User ID=;Initial Catalog=TarvoDB;Data Source=") +
           server + QLatin1String(kTail);
}

} // namespace

class ConnectionStringTest : public QObject {
    Q_OBJECT
private slots:
    void adoToOdbc_data() {
        QTest::addColumn<QString>("ado");
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("odbc");
        QTest::newRow("sql login")
            << sqlLogin(QStringLiteral("gizli"), QStringLiteral("SRV01\\SQLEXPRESS")) << ""
            << "DRIVER={FreeTDS};SERVER=SRV01\\SQLEXPRESS;DATABASE=TarvoDB;UID=sa;PWD=gizli;"
               "WSID=ZOVARUDID;ClientCharset=UTF-8";
        QTest::newRow("integrated security")
            << integrated(QStringLiteral("SRV01")) << "FreeTDS"
            << "DRIVER={FreeTDS};SERVER=SRV01;DATABASE=TarvoDB;Trusted_Connection=Yes;WSID=ZOVARUDID;"
               "ClientCharset=UTF-8";
        QTest::newRow("password with ; and }")
            << sqlLogin(QStringLiteral("a;b}c"), QStringLiteral("SRV01")) << ""
            << "DRIVER={FreeTDS};SERVER=SRV01;DATABASE=TarvoDB;UID=sa;PWD={a;b}}c};WSID=ZOVARUDID;"
               "ClientCharset=UTF-8";
        QTest::newRow("host and port")
            << sqlLogin(QStringLiteral("x"), QStringLiteral("10.0.0.5,1433")) << ""
            << "DRIVER={FreeTDS};SERVER=10.0.0.5;PORT=1433;DATABASE=TarvoDB;UID=sa;PWD=x;"
               "WSID=ZOVARUDID;ClientCharset=UTF-8";
        QTest::newRow("port kept for other drivers")
            << sqlLogin(QStringLiteral("x"), QStringLiteral("10.0.0.5,1433"))
            << "ODBC Driver 18 for SQL Server"
            << "DRIVER={ODBC Driver 18 for SQL Server};SERVER=10.0.0.5,1433;DATABASE=TarvoDB;UID=sa;PWD=x;"
               "WSID=ZOVARUDID";
    }
    void adoToOdbc() {
        QFETCH(QString, ado);
        QFETCH(QString, driver);
        QFETCH(QString, odbc);
        QCOMPARE(db::adoToOdbcConnectionString(ado, driver), odbc);
    }

    void parseQuotedPassword() {
        const auto kv =
            db::parseAdoConnectionString(sqlLogin(QStringLiteral("p;w\"d=1"), QStringLiteral("S")));
        QCOMPARE(kv.size(), 12);
        QCOMPARE(kv.at(0),
                 (QPair<QString, QString>{QStringLiteral("Provider"), QStringLiteral("SQLOLEDB.1")}));
        QCOMPARE(kv.at(1), (QPair<QString, QString>{QStringLiteral("Password"), QStringLiteral("p;w\"d=1")}));
        QCOMPARE(kv.at(2),
                 (QPair<QString, QString>{QStringLiteral("Persist Security Info"), QStringLiteral("True")}));
        QCOMPARE(kv.at(3), (QPair<QString, QString>{QStringLiteral("User ID"), QStringLiteral("sa")}));
        QCOMPARE(kv.at(5), (QPair<QString, QString>{QStringLiteral("Data Source"), QStringLiteral("S")}));
        const auto empty = db::parseAdoConnectionString(integrated(QStringLiteral("S")));
        QCOMPARE(empty.at(2), (QPair<QString, QString>{QStringLiteral("Password"), QString()}));
        QCOMPARE(empty.at(4), (QPair<QString, QString>{QStringLiteral("User ID"), QString()}));
    }

    void sqliteOpensTheDataSourceFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.db"));
        db::Connection c;
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 c.open(db::Backend::Sqlite, QStringLiteral("Data Source=") + path));
        QVERIFY(!c.isOpen());
        {
            db::Connection maker;
            maker.openSqliteFile(path, true);
            maker.execute(QStringLiteral("CREATE TABLE T (X int)"));
        }
        c.open(db::Backend::Sqlite,
               QStringLiteral("Provider=x;Data Source=") + path + QStringLiteral(";Mode=1"));
        QVERIFY(c.isOpen());
        QCOMPARE(c.backend(), db::Backend::Sqlite);
        QCOMPARE(c.execute(QStringLiteral("INSERT INTO T VALUES (1)")), 1);
    }
};

TARVO_TEST_MAIN(ConnectionStringTest)
#include "test_connection_string.moc"
