#include "support/TestSupport.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/db/Dialect.h"
#include "platform/db/SqlText.h"
#include "schema/WarehouseTables.h"

namespace sql = db::sqlserver;

namespace {

enum Via { ViaQsqlite, ViaOdbc };

void addBackendRows() {
    QTest::addColumn<int>("via");
    QTest::newRow("qsqlite") << int(ViaQsqlite);
    QTest::newRow("odbc") << int(ViaOdbc);
}

const db::TableDef& warehouseTable(const QString& name) {
    for (const auto& t : schema::warehouseTables())
        if (t.name == name) return t;
    qFatal("no table %s", qPrintable(name));
}

// A database file with the scratch query and command the schema routines work with.
struct Env {
    QTemporaryDir dir;
    QString path;
    db::Connection conn;
    db::Dataset query{&conn, QStringLiteral("IMQuery")};
    db::Command cmd{&conn};

    explicit Env(int via, db::Backend dialect = db::Backend::Sqlite)
        : path(dir.filePath(QStringLiteral("t.db"))) {
        if (via == ViaQsqlite)
            conn.openSqliteFile(path, true);
        else
            conn.openOdbc(QStringLiteral("DRIVER=SQLite3;Database=") + path, dialect);
    }
    const db::Dialect& dialect() const { return conn.dialect(); }

    // The warehouse tables as an older build created them: some columns narrower or missing.
    void createOldTables(const QMap<QString, QString>& narrower, const QStringList& missing = {}) {
        for (db::TableDef t : schema::warehouseTables()) {
            QList<db::ColumnDef> cols;
            for (db::ColumnDef c : t.columns) {
                if (missing.contains(c.name)) continue;
                c.type = narrower.value(t.name + u'.' + c.name, c.type);
                cols << c;
            }
            t.columns = cols;
            dialect().createTable(cmd, t);
        }
    }

    QVariant scalar(const QString& s, const QVariantList& params = {}) {
        return testing::scalar(conn, s, params);
    }
    QString columnType(const QString& table, const QString& column) {
        return scalar(QStringLiteral("SELECT type FROM pragma_table_info(:T) WHERE name = :C"),
                      {table, column})
            .toString();
    }
    QString columnNames(const QString& table) {
        return scalar(QStringLiteral("SELECT group_concat(name) FROM pragma_table_info(:T)"), {table})
            .toString();
    }
    QString schemaText() {
        return scalar(QStringLiteral("SELECT group_concat(sql, ';') FROM sqlite_master")).toString();
    }
};

} // namespace

class DialectTest : public QObject {
    Q_OBJECT
private slots:
    void sqlServerStatements_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        const QString B = QStringLiteral("ANT_BEYANNAME");
        const QString N = QStringLiteral("1205579333");
        QTest::newRow("table exists") << sql::tableExistsSql(B)
                                      << QStringLiteral("select 1 from  sysobjects where  id = "
                                                        "object_id('ANT_BEYANNAME') and   type = 'U'");
        QTest::newRow("table id") << sql::tableIdSql(B)
                                  << QStringLiteral("SELECT id FROM SYSOBJECTS WHERE name = 'ANT_BEYANNAME'");
        QTest::newRow("add column")
            << sql::addColumnSql(B, N, QStringLiteral("GUMRUKTUTANAKNO"), QStringLiteral("varchar(20)"),
                                 QStringLiteral("null"))
            << QStringLiteral(
                   "if not exists (select 1 from syscolumns where name = 'GUMRUKTUTANAKNO' AND id = "
                   "1205579333) ALTER TABLE ANT_BEYANNAME ADD GUMRUKTUTANAKNO varchar(20) null");
        QTest::newRow("add column with values")
            << sql::addColumnWithValuesSql(B, N, QStringLiteral("DEVIR"), QStringLiteral("bit"),
                                           QStringLiteral("null"), QStringLiteral("0"))
            << QStringLiteral(
                   "if not exists (select 1 from syscolumns where name = 'DEVIR' AND id = 1205579333) "
                   "ALTER TABLE ANT_BEYANNAME ADD DEVIR bit null DEFAULT 0 WITH VALUES");
        QTest::newRow("width test")
            << sql::columnWidthTestSql(QStringLiteral("TESCILNO"), N, 20)
            << QStringLiteral(
                   "select 1 from  syscolumns where  name = 'TESCILNO' AND id = 1205579333 and length = 20");
        QTest::newRow("widen")
            << sql::widenColumnSql(B, N, QStringLiteral("TESCILNO"), 20, 24, QStringLiteral("null"))
            << QStringLiteral(
                   "if exists (select 1 from  syscolumns where  name = 'TESCILNO' AND id = 1205579333 "
                   "and length = 20) ALTER TABLE ANT_BEYANNAME ALTER COLUMN TESCILNO varchar(24) null");
        const struct {
            const char* table;
            const char* statement;
        } fks[] = {
            {"ANT_HAREKET",
             "alter table ANT_HAREKET add constraint FK_ANT_HARE_REFERENCE_ANT_BEYA foreign key "
             "(ANTBEYANNAMEID) references ANT_BEYANNAME (ANTBEYANNAMEID)"},
            {"ANT_OZETBEYAN",
             "alter table ANT_OZETBEYAN add constraint FK_ANT_OZET_REFERENCE_ANT_HARE foreign key "
             "(ANTHAREKETID) references ANT_HAREKET (ANTHAREKETID)"},
            {"ANT_ACMA", "alter table ANT_ACMA add constraint FK_ANT_ACMA_REFERENCE_ANT_HARE foreign key "
                         "(ANTHAREKETID) references ANT_HAREKET (ANTHAREKETID)"},
        };
        for (const auto& fk : fks) {
            const db::TableDef& t = warehouseTable(QLatin1String(fk.table));
            QCOMPARE(t.foreignKeys.size(), 1);
            QTest::addRow("foreign key of %s", fk.table)
                << sql::foreignKeySql(t.name, t.foreignKeys.first()) << QString::fromLatin1(fk.statement);
        }
    }
    void sqlServerStatements() {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void sqlServerCreateTable() {
        const QString text = sql::createTableSql(warehouseTable(QStringLiteral("ANT_TEMINAT")));
        QVERIFY2(text.startsWith(
                     QStringLiteral("create table ANT_TEMINAT (ANTTEMINATID         int                  "
                                    "identity,ANTBEYANNAMEID       int                  null,")),
                 qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("TEMINATTUTARI        numeric(18,2)        null,constraint "
                                              "PK_ANT_TEMINAT primary key (ANTTEMINATID))")),
                 qPrintable(text));
        // long names and types stay whole
        const QString beyanname = sql::createTableSql(warehouseTable(QStringLiteral("ANT_BEYANNAME")));
        QVERIFY(beyanname.contains(QStringLiteral(",CIKISTAKIARACINTIPININKODU varchar(1)")));
    }

    // The routines' order of look-ups, seen on a stand-in catalogue: the statements that
    // fail here are the ones only SQL Server understands, and they must come last.
    void sqlServerRoutineSequence_data() {
        QTest::addColumn<QString>("routine");
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("storedWidth");
        QTest::addColumn<QStringList>("expected");
        const QString id = sql::tableIdSql(QStringLiteral("ANT_BEYANNAME"));
        const QString test = sql::columnWidthTestSql(QStringLiteral("TESCILNO"), QStringLiteral("77"), 20);
        const QString widen = sql::widenColumnSql(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("77"),
                                                  QStringLiteral("TESCILNO"), 20, 24, QStringLiteral("null"));
        const QString add = sql::addColumnWithValuesSql(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("77"),
                                                        QStringLiteral("DEVIR"), QStringLiteral("bit"),
                                                        QStringLiteral("null"), QStringLiteral("0"));
        QTest::newRow("widen at old width") << "widen"
                                            << "ANT_BEYANNAME" << 20 << QStringList{id, test, id, widen};
        QTest::newRow("widen at other width") << "widen"
                                              << "ANT_BEYANNAME" << 22 << QStringList{id, test};
        QTest::newRow("widen, no table")
            << "widen"
            << "ANT_YOK" << 20 << QStringList{sql::tableIdSql(QStringLiteral("ANT_YOK"))};
        QTest::newRow("add with values") << "add"
                                         << "ANT_BEYANNAME" << 20 << QStringList{id, add};
        QTest::newRow("add, no table")
            << "add"
            << "ANT_YOK" << 20 << QStringList{sql::tableIdSql(QStringLiteral("ANT_YOK"))};
    }
    void sqlServerRoutineSequence() {
        QFETCH(QString, routine);
        QFETCH(QString, table);
        QFETCH(int, storedWidth);
        QFETCH(QStringList, expected);
        Env env(ViaOdbc, db::Backend::SqlServer);
        env.conn.execute(QStringLiteral("CREATE TABLE SYSOBJECTS (id int, name varchar(128), type char(2))"));
        env.conn.execute(QStringLiteral("CREATE TABLE SYSCOLUMNS (id int, name varchar(128), length int)"));
        env.conn.execute(QStringLiteral("INSERT INTO SYSOBJECTS VALUES (77, 'ANT_BEYANNAME', 'U')"));
        env.conn.execute(QStringLiteral("INSERT INTO SYSCOLUMNS VALUES (77, 'TESCILNO', :W)"), {storedWidth});
        QStringList sent;
        env.conn.statementObserver = [&](const QString& s) { sent << s; };
        try {
            if (routine == QLatin1String("widen"))
                env.dialect().widenTextColumn(env.query, env.cmd, table, QStringLiteral("TESCILNO"), 20, 24,
                                              QStringLiteral("null"));
            else
                env.dialect().addColumnWithValues(env.query, env.cmd, table, QStringLiteral("DEVIR"),
                                                  QStringLiteral("bit"), QStringLiteral("null"),
                                                  QStringLiteral("0"));
        } catch (const db::DbError& e) {
            QCOMPARE(e.statement(), expected.last()); // the stand-in cannot run the change itself
        }
        QCOMPARE(sent, expected);
        QVERIFY(!env.query.active());
    }

    void parameterMarkers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QStringList>("params");
        QTest::newRow("repeated name") << "A = :X OR B = :X AND C = :Y"
                                       << "A = ? OR B = ? AND C = ?" << QStringList{"X", "X", "Y"};
        QTest::newRow("quoted text") << "T = '10:30:00' AND U = 'a:B' AND V = :P"
                                     << "T = '10:30:00' AND U = 'a:B' AND V = ?" << QStringList{"P"};
        QTest::newRow("doubled quote") << "N = 'it''s :X' AND M = :M"
                                       << "N = 'it''s :X' AND M = ?" << QStringList{"M"};
        QTest::newRow("quoted names") << "SELECT \"a:b\", [c:d] FROM T WHERE K=:KEY"
                                      << "SELECT \"a:b\", [c:d] FROM T WHERE K=?" << QStringList{"KEY"};
    }
    void parameterMarkers() {
        QFETCH(QString, text);
        QFETCH(QString, sent);
        QFETCH(QStringList, params);
        const db::ParsedStatement p = db::parseParameters(text);
        QCOMPARE(p.text, sent);
        QCOMPARE(p.params, params);
    }

    void odbcDateEscapes() {
        const QString text =
            QStringLiteral("K BETWEEN {ts '2024-03-05 00:00:00'} AND {TS '2024-04-04 23:59:59'} "
                           "OR D = { d '2024-03-05' }");
        QCOMPARE(
            db::Dialect::create(db::Backend::Sqlite)->translate(text),
            QStringLiteral("K BETWEEN '2024-03-05 00:00:00' AND '2024-04-04 23:59:59' OR D = '2024-03-05'"));
        QCOMPARE(db::Dialect::create(db::Backend::SqlServer)->translate(text), text);
    }

    void sqliteTableExists_data() { addBackendRows(); }
    void sqliteTableExists() {
        QFETCH(int, via);
        Env env(via);
        env.dialect().createTable(env.cmd, warehouseTable(QStringLiteral("ANT_BEYANNAME")));
        QVERIFY(env.dialect().tableExists(env.query, QStringLiteral("ANT_BEYANNAME")));
        QVERIFY(env.dialect().tableExists(env.query, QStringLiteral("ant_beyanname")));
        QVERIFY(!env.dialect().tableExists(env.query, QStringLiteral("ANT_HAREKET")));
        QVERIFY(!env.query.active());
    }

    void sqliteAddColumns_data() { addBackendRows(); }
    void sqliteAddColumns() {
        QFETCH(int, via);
        Env env(via);
        env.createOldTables({}, {QStringLiteral("DEVIR"), QStringLiteral("GUMRUKTUTANAKNO")});
        env.conn.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (TESCILNO) VALUES ('A'), ('B')"));
        const QString B = QStringLiteral("ANT_BEYANNAME");
        for (int run = 0; run < 2; ++run) { // a second run changes nothing
            env.dialect().addColumnWithValues(env.query, env.cmd, B, QStringLiteral("DEVIR"),
                                              QStringLiteral("bit"), QStringLiteral("null"),
                                              QStringLiteral("0"));
            env.dialect().addColumn(env.query, env.cmd, B, QStringLiteral("GUMRUKTUTANAKNO"),
                                    QStringLiteral("varchar(20)"), QStringLiteral("null"));
        }
        QVERIFY(!env.query.active());
        QCOMPARE(env.columnType(B, QStringLiteral("DEVIR")), QStringLiteral("bit"));
        QCOMPARE(env.columnType(B, QStringLiteral("GUMRUKTUTANAKNO")), QStringLiteral("varchar(20)"));
        env.conn.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (TESCILNO) VALUES ('C')"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT group_concat(DEVIR) FROM ANT_BEYANNAME")).toString(),
                 QStringLiteral("0,0,0"));
        QCOMPARE(
            env.scalar(QStringLiteral("SELECT count(*) FROM ANT_BEYANNAME WHERE GUMRUKTUTANAKNO IS NULL"))
                .toInt(),
            3);

        const QString before = env.schemaText();
        env.dialect().addColumn(env.query, env.cmd, QStringLiteral("ANT_YOK"), QStringLiteral("X"),
                                QStringLiteral("int"), QStringLiteral("null"));
        env.dialect().addColumnWithValues(env.query, env.cmd, QStringLiteral("ANT_YOK"), QStringLiteral("X"),
                                          QStringLiteral("int"), QStringLiteral("null"), QStringLiteral("0"));
        QCOMPARE(env.schemaText(), before);
    }

    void sqliteWidenOnlyFromOldWidth_data() {
        QTest::addColumn<int>("via");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("after");
        for (int via : {int(ViaQsqlite), int(ViaOdbc)}) {
            const char* v = via == ViaQsqlite ? "qsqlite" : "odbc";
            QTest::addRow("%s, 20", v) << via << "varchar(20)"
                                       << "varchar(24)";
            QTest::addRow("%s, 22", v) << via << "varchar(22)"
                                       << "varchar(22)";
            QTest::addRow("%s, 24", v) << via << "varchar(24)"
                                       << "varchar(24)";
        }
    }
    void sqliteWidenOnlyFromOldWidth() {
        QFETCH(int, via);
        QFETCH(QString, stored);
        QFETCH(QString, after);
        Env env(via);
        env.createOldTables({{QStringLiteral("ANT_BEYANNAME.TESCILNO"), stored}});
        env.dialect().widenTextColumn(env.query, env.cmd, QStringLiteral("ANT_BEYANNAME"),
                                      QStringLiteral("TESCILNO"), 20, 24, QStringLiteral("null"));
        QCOMPARE(env.columnType(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("TESCILNO")), after);
        QVERIFY(!env.query.active());
    }

    void sqliteWidenKeepsRowsKeysAndIdentity_data() { addBackendRows(); }
    void sqliteWidenKeepsRowsKeysAndIdentity() {
        QFETCH(int, via);
        Env env(via);
        env.createOldTables({{QStringLiteral("ANT_BEYANNAME.TESCILNO"), QStringLiteral("varchar(20)")},
                             {QStringLiteral("ANT_OZETBEYAN.OZETBEYANNO"), QStringLiteral("varchar(16)")}});
        env.conn.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (TESCILNO, FIRMA) VALUES "
                                        "('T1', 'F1'), ('T2', 'F2'), ('T3', 'F3')"));
        env.conn.execute(QStringLiteral("DELETE FROM ANT_BEYANNAME WHERE ANTBEYANNAMEID = 3"));
        env.conn.execute(QStringLiteral("INSERT INTO ANT_HAREKET (ANTBEYANNAMEID, GTIP) VALUES (1, 'G1')"));
        env.conn.execute(
            QStringLiteral("INSERT INTO ANT_OZETBEYAN (ANTHAREKETID, OZETBEYANNO) VALUES (1, 'O1')"));
        env.conn.execute(QStringLiteral("CREATE INDEX IX_TESCILNO ON ANT_BEYANNAME (TESCILNO)"));
        // another table's trigger that names the rebuilt table
        env.conn.execute(
            QStringLiteral("CREATE TRIGGER HAREKET_GTIP AFTER INSERT ON ANT_HAREKET BEGIN "
                           "UPDATE ANT_HAREKET SET ACIKLAMA = (SELECT TESCILNO FROM ANT_BEYANNAME "
                           "WHERE ANTBEYANNAMEID = new.ANTBEYANNAMEID) WHERE ANTHAREKETID = "
                           "new.ANTHAREKETID; END"));
        const QString columns = env.columnNames(QStringLiteral("ANT_BEYANNAME"));

        env.dialect().widenTextColumn(env.query, env.cmd, QStringLiteral("ANT_BEYANNAME"),
                                      QStringLiteral("TESCILNO"), 20, 24, QStringLiteral("null"));
        env.dialect().widenTextColumn(env.query, env.cmd, QStringLiteral("ANT_OZETBEYAN"),
                                      QStringLiteral("OZETBEYANNO"), 16, 20, QStringLiteral("null"));

        QCOMPARE(env.columnType(QStringLiteral("ANT_BEYANNAME"), QStringLiteral("TESCILNO")),
                 QStringLiteral("varchar(24)"));
        QCOMPARE(env.columnType(QStringLiteral("ANT_OZETBEYAN"), QStringLiteral("OZETBEYANNO")),
                 QStringLiteral("varchar(20)"));
        QCOMPARE(env.columnNames(QStringLiteral("ANT_BEYANNAME")), columns);
        QCOMPARE(env.scalar(QStringLiteral("SELECT group_concat(ANTBEYANNAMEID || TESCILNO || FIRMA) FROM "
                                           "(SELECT * FROM ANT_BEYANNAME ORDER BY 1)"))
                     .toString(),
                 QStringLiteral("1T1F1,2T2F2"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'IX_TESCILNO'"))
                     .toInt(),
                 1);

        // numbering goes on after the highest number ever given, as before
        env.conn.execute(QStringLiteral("INSERT INTO ANT_BEYANNAME (TESCILNO) VALUES ('T4')"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT max(ANTBEYANNAMEID) FROM ANT_BEYANNAME")).toInt(), 4);

        // the children still reference their rows and the keys are still enforced
        QCOMPARE(env.scalar(QStringLiteral("SELECT b.TESCILNO || o.OZETBEYANNO FROM ANT_OZETBEYAN o "
                                           "JOIN ANT_HAREKET h ON h.ANTHAREKETID = o.ANTHAREKETID "
                                           "JOIN ANT_BEYANNAME b ON b.ANTBEYANNAMEID = h.ANTBEYANNAMEID"))
                     .toString(),
                 QStringLiteral("T1O1"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, env.conn.execute(QStringLiteral(
                                                  "DELETE FROM ANT_BEYANNAME WHERE ANTBEYANNAMEID = 1")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, env.conn.execute(QStringLiteral(
                                                  "INSERT INTO ANT_HAREKET (ANTBEYANNAMEID) VALUES (99)")));
        QVERIFY_THROWS_EXCEPTION(db::DbError, env.conn.execute(QStringLiteral(
                                                  "INSERT INTO ANT_OZETBEYAN (ANTHAREKETID) VALUES (99)")));
        env.conn.execute(QStringLiteral("INSERT INTO ANT_HAREKET (ANTBEYANNAMEID) VALUES (2)"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT ACIKLAMA FROM ANT_HAREKET WHERE ANTBEYANNAMEID = 2"))
                     .toString(),
                 QStringLiteral("T2"));
    }

    void sqliteWidenMissingDoesNothing_data() { addBackendRows(); }
    void sqliteWidenMissingDoesNothing() {
        QFETCH(int, via);
        Env env(via);
        env.createOldTables({{QStringLiteral("ANT_BEYANNAME.TESCILNO"), QStringLiteral("varchar(20)")}});
        const QString before = env.schemaText();
        env.dialect().widenTextColumn(env.query, env.cmd, QStringLiteral("ANT_YOK"),
                                      QStringLiteral("TESCILNO"), 20, 24, QStringLiteral("null"));
        env.dialect().widenTextColumn(env.query, env.cmd, QStringLiteral("ANT_BEYANNAME"),
                                      QStringLiteral("YOKKOLON"), 20, 24, QStringLiteral("null"));
        QCOMPARE(env.schemaText(), before);
        QVERIFY(!env.query.active());
    }
};

TARVO_TEST_MAIN(DialectTest)
#include "test_dialect.moc"
