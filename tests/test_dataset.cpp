#include "support/TestSupport.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"

#include <QSignalSpy>

using db::FieldDef;

namespace {

enum Via { ViaQsqlite, ViaOdbc };

void openOn(db::Connection& c, const QString& path, int via) {
    if (via == ViaQsqlite)
        c.openSqliteFile(path, true);
    else
        c.openOdbc(QStringLiteral("DRIVER=SQLite3;Database=") + path, db::Backend::Sqlite);
}

void addBackendColumn() {
    QTest::addColumn<int>("via");
}

void addBackendRows() {
    addBackendColumn();
    QTest::newRow("qsqlite") << int(ViaQsqlite);
    QTest::newRow("odbc") << int(ViaOdbc);
}

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

// A database file with one table of every column kind the warehouse tables use.
struct Env {
    QTemporaryDir dir;
    QString path;
    int via;
    db::Connection conn;

    explicit Env(int v) : path(dir.filePath(QStringLiteral("t.db"))), via(v) {
        openOn(conn, path, via);
        conn.execute(QStringLiteral("CREATE TABLE ITEM (ID INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
                                    "CODE varchar(10) null, QTY int null, AMOUNT numeric(18,2) null, "
                                    "TARIH datetime null, FLAG bit null DEFAULT 1, "
                                    "NOTE varchar(20) null DEFAULT 'yok', BIG bigint null, DATA blob null)"));
    }

    // A second workstation on the same file.
    void openOther(db::Connection& other) const { openOn(other, path, via); }

    int insert(const QString& code, int qty, const QVariant& amount = {}, const QDateTime& tarih = {}) {
        conn.execute(QStringLiteral("INSERT INTO ITEM (CODE, QTY, AMOUNT, TARIH) VALUES (:C, :Q, :A, :T)"),
                     {code, qty, amount, tarih.isValid() ? QVariant(tarih) : QVariant()});
        return scalar(QStringLiteral("SELECT max(ID) FROM ITEM")).toInt();
    }

    QVariant scalar(const QString& sql, const QVariantList& params = {}) {
        return testing::scalar(conn, sql, params);
    }

    void configure(db::Dataset& ds, const QString& sql = QStringLiteral("SELECT * FROM ITEM ORDER BY ID")) {
        ds.setConnection(&conn);
        ds.setObjectName(QStringLiteral("DsItem"));
        ds.setSql(sql);
        ds.setFields(
            {FieldDef::identityField(QStringLiteral("ID")), FieldDef::text(QStringLiteral("CODE"), 10),
             FieldDef::integer(QStringLiteral("QTY")), FieldDef::decimal(QStringLiteral("AMOUNT")),
             FieldDef::dateTime(QStringLiteral("TARIH")), FieldDef::boolean(QStringLiteral("FLAG")),
             FieldDef::text(QStringLiteral("NOTE"), 20), FieldDef::calcText(QStringLiteral("CODESTR"), 12),
             FieldDef::largeInt(QStringLiteral("BIG")), FieldDef::blob(QStringLiteral("DATA"))});
        ds.setBaseTable(QStringLiteral("ITEM"), QStringLiteral("ID"));
        ds.setOnCalcFields([](db::Dataset& d) {
            d.setCalcValue(QStringLiteral("CODESTR"),
                           u'<' + d.value(QStringLiteral("CODE")).toString() + u'>');
        });
    }
};

QString codes(db::Dataset& ds) {
    QStringList out;
    for (ds.first(); !ds.eof(); ds.next())
        out << ds.value(QStringLiteral("CODE")).toString();
    return out.join(u',');
}

} // namespace

class DatasetTest : public QObject {
    Q_OBJECT
private slots:
    void parametersBindByPosition_data() { addBackendRows(); }
    void parametersBindByPosition() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 1);
        env.insert(QStringLiteral("B"), 5);
        env.insert(QStringLiteral("C"), 9);
        env.insert(QStringLiteral("10:30:00"), 9);
        env.conn.execute(QStringLiteral("UPDATE ITEM SET NOTE = 'B' WHERE CODE = 'C'"));
        db::Dataset ds;
        // the quoted ":Q" and "10:30:00" are text, not parameters
        env.configure(ds, QStringLiteral("SELECT * FROM ITEM WHERE (CODE = :K OR NOTE = :K) AND QTY >= :Q "
                                         "AND CODE <> '10:30:00' AND CODE <> ':Q' ORDER BY ID"));
        QCOMPARE(ds.paramNames(),
                 (QStringList{QStringLiteral("K"), QStringLiteral("K"), QStringLiteral("Q")}));
        ds.setParam(QStringLiteral("K"), QStringLiteral("B"));
        ds.setParam(QStringLiteral("Q"), 2);
        ds.open();
        QCOMPARE(codes(ds), QStringLiteral("B,C"));
        ds.close();
        ds.setParam(QStringLiteral("Q"), 6);
        ds.open();
        QCOMPARE(codes(ds), QStringLiteral("C"));
    }

    void navigation_data() { addBackendRows(); }
    void navigation() {
        QFETCH(int, via);
        Env env(via);
        for (const char* c : {"A", "B", "C"})
            env.insert(QLatin1String(c), 1);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        QCOMPARE(ds.recordCount(), 3);
        QVERIFY(ds.bof() && !ds.eof());
        ds.next();
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B"));
        QVERIFY(!ds.bof() && !ds.eof());
        ds.next();
        ds.next(); // past the last row: stays on it
        QVERIFY(ds.eof() && !ds.bof());
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("C"));
        ds.prior();
        QVERIFY(!ds.bof() && !ds.eof());
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B"));
        ds.prior();
        ds.prior(); // before the first row: stays on it
        QVERIFY(ds.bof() && !ds.eof());
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("A"));
        ds.last();
        QVERIFY(ds.eof() && !ds.bof());
        QCOMPARE(ds.recNo(), 3);
        ds.first();
        QVERIFY(ds.bof() && !ds.eof());
        QCOMPARE(ds.recNo(), 1);
    }

    // bof and eof together mean "empty"; a one-row dataset must never look empty
    void singleRowNeverLooksEmpty_data() { addBackendRows(); }
    void singleRowNeverLooksEmpty() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 1);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.last();
        ds.prior();
        QVERIFY(ds.bof());
        QVERIFY(!ds.eof());
        ds.next();
        QVERIFY(ds.eof());
        QVERIFY(!ds.bof());
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("A"));
    }

    void emptyResultIsNotAnError_data() { addBackendRows(); }
    void emptyResultIsNotAnError() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 1);
        db::Dataset ds;
        env.configure(ds, QStringLiteral("SELECT * FROM ITEM WHERE QTY = :Q"));
        ds.setParam(QStringLiteral("Q"), 42);
        ds.open();
        QVERIFY(ds.active());
        QCOMPARE(ds.recordCount(), 0);
        QVERIFY(ds.isEmpty() && ds.bof() && ds.eof());
        ds.first();
        ds.next();
        ds.last();
        ds.prior();
        QVERIFY(ds.bof() && ds.eof());
        QVERIFY(ds.value(QStringLiteral("CODE")).isNull());
    }

    void appendReadsIdentityAndLeavesDefaults_data() { addBackendRows(); }
    void appendReadsIdentityAndLeavesDefaults() {
        QFETCH(int, via);
        Env env(via);
        const int before = env.insert(QStringLiteral("A"), 1);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.append();
        QCOMPARE(ds.state(), db::Dataset::State::Insert);
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("YENİ"));
        ds.setValue(QStringLiteral("AMOUNT"), 12.345);
        ds.setValue(QStringLiteral("BIG"), Q_INT64_C(1099511627779));
        ds.setValue(QStringLiteral("DATA"), QByteArray("\x00\xff\x01z", 4));
        ds.post();
        QCOMPARE(ds.state(), db::Dataset::State::Browse);
        QCOMPARE(ds.recordCount(), 2);
        const int id = ds.value(QStringLiteral("ID")).toInt();
        QCOMPARE(id, before + 1);
        QCOMPARE(env.scalar(QStringLiteral("SELECT CODE FROM ITEM WHERE ID = :I"), {id}).toString(),
                 QStringLiteral("YENİ"));
        // columns not assigned were left to the table's defaults, and the row shows them
        QCOMPARE(env.scalar(QStringLiteral("SELECT NOTE FROM ITEM WHERE ID = :I"), {id}).toString(),
                 QStringLiteral("yok"));
        QCOMPARE(ds.value(QStringLiteral("NOTE")).toString(), QStringLiteral("yok"));
        QCOMPARE(ds.value(QStringLiteral("FLAG")).toBool(), true);
        QVERIFY(ds.value(QStringLiteral("QTY")).isNull());
        QCOMPARE(ds.value(QStringLiteral("AMOUNT")).toDouble(), 12.35);
        QCOMPARE(ds.value(QStringLiteral("CODESTR")).toString(), QStringLiteral("<YENİ>"));
        ds.close();
        ds.open();
        QVERIFY(ds.locate(QStringLiteral("ID"), id));
        QCOMPARE(ds.value(QStringLiteral("BIG")).toLongLong(), Q_INT64_C(1099511627779));
        QCOMPARE(ds.value(QStringLiteral("DATA")).toByteArray(), QByteArray("\x00\xff\x01z", 4));

        ds.append();
        ds.post(); // nothing assigned: every column takes its default
        QCOMPARE(ds.value(QStringLiteral("ID")).toInt(), id + 1);
        QCOMPARE(ds.value(QStringLiteral("NOTE")).toString(), QStringLiteral("yok"));
    }

    void editPostAgainstOtherWorkstation_data() {
        addBackendColumn();
        QTest::addColumn<QString>("otherSql");
        QTest::addColumn<bool>("conflict");
        const struct {
            const char* name;
            const char* sql;
            bool conflict;
        } cases[] = {
            {"same text column", "UPDATE ITEM SET CODE = 'X9'", true},
            {"same date column", "UPDATE ITEM SET TARIH = '2024-03-05 10:30:01'", true},
            {"same decimal column", "UPDATE ITEM SET AMOUNT = 12.35", true},
            {"same column, read as null", "UPDATE ITEM SET NOTE = 'x'", true},
            {"row deleted", "DELETE FROM ITEM", true},
            {"other column", "UPDATE ITEM SET QTY = 7", false},
        };
        for (int via : {int(ViaQsqlite), int(ViaOdbc)})
            for (const auto& c : cases)
                QTest::addRow("%s, %s", via == ViaQsqlite ? "qsqlite" : "odbc", c.name)
                    << via << QString::fromLatin1(c.sql) << c.conflict;
    }
    void editPostAgainstOtherWorkstation() {
        QFETCH(int, via);
        QFETCH(QString, otherSql);
        QFETCH(bool, conflict);
        Env env(via);
        const int id = env.insert(QStringLiteral("A1"), 5, 12.34, at(2024, 3, 5, 10, 30));
        env.conn.execute(QStringLiteral("UPDATE ITEM SET NOTE = NULL"));
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.edit();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("B2"));
        ds.setValue(QStringLiteral("AMOUNT"), 99.99);
        ds.setValue(QStringLiteral("TARIH"), at(2024, 4, 1, 8));
        ds.setValue(QStringLiteral("FLAG"), false);
        ds.setValue(QStringLiteral("NOTE"), QStringLiteral("not"));

        db::Connection other;
        env.openOther(other);
        other.execute(otherSql);
        other.close();

        const QString selectRow = QStringLiteral("SELECT %1 FROM ITEM WHERE ID = :I");
        if (conflict) {
            QString message;
            try {
                ds.post();
            } catch (const db::DbError& e) {
                message = e.message();
            }
            QVERIFY2(message.contains(QStringLiteral("ITEM")), qPrintable(message));
            QVERIFY(message.contains(QStringLiteral("başka bir kullanıcı")));
            QCOMPARE(ds.state(), db::Dataset::State::Edit);
            QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B2"));
            QCOMPARE(ds.value(QStringLiteral("AMOUNT")).toDouble(), 99.99);
            // nothing of the user's edit reached the table
            QVERIFY(env.scalar(selectRow.arg(QStringLiteral("AMOUNT")), {id}).toDouble() != 99.99);
        } else {
            ds.post();
            QCOMPARE(env.scalar(selectRow.arg(QStringLiteral("CODE")), {id}).toString(),
                     QStringLiteral("B2"));
            QCOMPARE(env.scalar(selectRow.arg(QStringLiteral("AMOUNT")), {id}).toDouble(), 99.99);
            QCOMPARE(env.scalar(selectRow.arg(QStringLiteral("FLAG")), {id}).toInt(), 0);
            QCOMPARE(env.scalar(selectRow.arg(QStringLiteral("NOTE")), {id}).toString(),
                     QStringLiteral("not"));
            QCOMPARE(env.scalar(selectRow.arg(QStringLiteral("QTY")), {id}).toInt(), 7);
            QCOMPARE(ds.value(QStringLiteral("QTY")).toInt(), 7);
            QCOMPARE(ds.value(QStringLiteral("TARIH")).toDateTime(), at(2024, 4, 1, 8));
        }
    }

    void cancelDeleteRefresh_data() { addBackendRows(); }
    void cancelDeleteRefresh() {
        QFETCH(int, via);
        Env env(via);
        for (const char* c : {"A", "B", "C"})
            env.insert(QLatin1String(c), 1);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.next();
        ds.edit();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("Z"));
        ds.cancel();
        QCOMPARE(ds.state(), db::Dataset::State::Browse);
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B"));
        ds.append();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("Y"));
        ds.cancel();
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT group_concat(CODE) FROM ITEM")).toString(),
                 QStringLiteral("A,B,C"));

        ds.deleteRow();
        QCOMPARE(ds.recordCount(), 2);
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("C"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT group_concat(CODE) FROM ITEM")).toString(),
                 QStringLiteral("A,C"));

        db::Connection other;
        env.openOther(other);
        other.execute(QStringLiteral("INSERT INTO ITEM (CODE) VALUES ('D')"));
        other.execute(QStringLiteral("UPDATE ITEM SET QTY = 8 WHERE CODE = 'C'"));
        ds.refresh();
        QCOMPARE(ds.recordCount(), 3);
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("C")); // same row stays current
        QCOMPARE(ds.value(QStringLiteral("QTY")).toInt(), 8);

        other.execute(QStringLiteral("DELETE FROM ITEM WHERE CODE = 'C'"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, ds.deleteRow());
        QCOMPARE(ds.recordCount(), 3);
    }

    void fieldsFromResultColumns_data() { addBackendRows(); }
    void fieldsFromResultColumns() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 2);
        db::Dataset ds(&env.conn);
        ds.setSql(QStringLiteral("SELECT ID, CODE, QTY * 2 AS DOUBLED FROM ITEM"));
        ds.setBaseTable(QStringLiteral("ITEM"), QStringLiteral("ID"));
        ds.open();
        QCOMPARE(ds.fieldCount(), 3);
        QCOMPARE(ds.value(QStringLiteral("doubled")).toInt(), 4);
        ds.edit();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("B"));
        ds.post();
        QCOMPARE(ds.fieldCount(), 3);
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), QStringLiteral("B"));
        QCOMPARE(ds.value(QStringLiteral("DOUBLED")).toInt(), 4);
        QCOMPARE(env.scalar(QStringLiteral("SELECT CODE FROM ITEM")).toString(), QStringLiteral("B"));
    }

    void textLongerThanWidthIsRefused_data() { addBackendRows(); }
    void textLongerThanWidthIsRefused() {
        QFETCH(int, via);
        Env env(via);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.append();
        QString message;
        try {
            ds.setValue(QStringLiteral("CODE"), QStringLiteral("ABCDEFGHIJK"));
        } catch (const db::DbError& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(QStringLiteral("CODE")), qPrintable(message));
        QVERIFY(ds.value(QStringLiteral("CODE")).isNull());
        // the width counts characters, not bytes, and the text is stored whole
        const QString full = QStringLiteral("ĞÜŞİÖÇğüşı");
        ds.setValue(QStringLiteral("CODE"), full);
        ds.post();
        const int id = ds.value(QStringLiteral("ID")).toInt();
        QCOMPARE(env.scalar(QStringLiteral("SELECT CODE FROM ITEM WHERE ID = :I"), {id}).toString(), full);
        ds.close();
        ds.open();
        QCOMPARE(ds.value(QStringLiteral("CODE")).toString(), full);
        ds.edit(); // the value read must match the stored one
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("ABC"));
        ds.post();
        QCOMPARE(env.scalar(QStringLiteral("SELECT CODE FROM ITEM WHERE ID = :I"), {id}).toString(),
                 QStringLiteral("ABC"));
    }

    void calculatedFields_data() { addBackendRows(); }
    void calculatedFields() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 1);
        env.insert(QStringLiteral("B"), 1);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        QCOMPARE(ds.value(QStringLiteral("CODESTR")).toString(), QStringLiteral("<A>"));
        QCOMPARE(ds.valueAt(1, ds.fieldIndex(QStringLiteral("CODESTR"))).toString(), QStringLiteral("<B>"));
        ds.edit();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("Q"));
        QCOMPARE(ds.value(QStringLiteral("CODESTR")).toString(), QStringLiteral("<Q>"));
        QVERIFY_THROWS_EXCEPTION(db::DbError, ds.setValue(QStringLiteral("CODESTR"), QStringLiteral("x")));
        ds.cancel();
        QCOMPARE(ds.value(QStringLiteral("CODESTR")).toString(), QStringLiteral("<A>"));
        QVERIFY_THROWS_EXCEPTION(db::DbError,
                                 ds.setCalcValue(QStringLiteral("CODESTR"), QStringLiteral("x")));

        // a calculation may only set calculated fields
        db::Dataset bad;
        env.configure(bad);
        bad.setOnCalcFields(
            [](db::Dataset& d) { d.setCalcValue(QStringLiteral("CODE"), QStringLiteral("X")); });
        QVERIFY_THROWS_EXCEPTION(db::DbError, bad.open());
    }

    void disableControlsHoldsSignals_data() { addBackendRows(); }
    void disableControlsHoldsSignals() {
        QFETCH(int, via);
        Env env(via);
        env.insert(QStringLiteral("A"), 1);
        env.insert(QStringLiteral("B"), 1);
        db::Dataset ds;
        env.configure(ds);
        QSignalSpy state(&ds, &db::Dataset::stateChanged);
        QSignalSpy row(&ds, &db::Dataset::rowChanged);
        QSignalSpy field(&ds, &db::Dataset::fieldChanged);
        QSignalSpy reset(&ds, &db::Dataset::dataReset);
        ds.disableControls();
        ds.disableControls(); // nested: only the last enable counts
        ds.open();
        ds.next();
        ds.edit();
        ds.setValue(QStringLiteral("QTY"), 3);
        ds.post();
        ds.append();
        ds.setValue(QStringLiteral("CODE"), QStringLiteral("C"));
        ds.post();
        ds.first();
        ds.enableControls();
        QCOMPARE(state.count() + row.count() + field.count() + reset.count(), 0);
        ds.enableControls();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(field.count(), 0);
        row.clear();
        ds.next();
        QCOMPARE(row.count(), 1);
        ds.edit();
        ds.setValue(QStringLiteral("QTY"), 4);
        QCOMPARE(field.count(), 1);
    }

    void dateTimesCompareAsTime_data() { addBackendRows(); }
    void dateTimesCompareAsTime() {
        QFETCH(int, via);
        Env env(via);
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        const QList<QPair<QString, QDateTime>> values = {
            {QStringLiteral("before"), at(2024, 3, 4, 23, 59, 59)},
            {QStringLiteral("start"), at(2024, 3, 5)},
            {QStringLiteral("end"), at(2024, 3, 5, 23, 59, 59)},
            {QStringLiteral("halfpast"), at(2024, 3, 5, 23, 59, 59, 500)},
            {QStringLiteral("next"), at(2024, 3, 6)},
        };
        for (const auto& [code, when] : values) {
            ds.append();
            ds.setValue(QStringLiteral("CODE"), code);
            ds.setValue(QStringLiteral("TARIH"), when);
            ds.post();
        }
        QCOMPARE(
            env.scalar(QStringLiteral("SELECT TARIH || '' FROM ITEM WHERE CODE = 'halfpast'")).toString(),
            QStringLiteral("2024-03-05 23:59:59.500"));
        QCOMPARE(env.scalar(QStringLiteral("SELECT count(*) FROM ITEM WHERE typeof(TARIH) = 'text'")).toInt(),
                 5);

        db::Dataset range;
        env.configure(range,
                      QStringLiteral("SELECT * FROM ITEM WHERE TARIH BETWEEN {ts '2024-03-05 00:00:00'} "
                                     "AND {ts '2024-03-05 23:59:59'} ORDER BY TARIH"));
        range.open();
        QCOMPARE(codes(range), QStringLiteral("start,end"));

        ds.close();
        ds.open();
        for (const auto& [code, when] : values) {
            QVERIFY(ds.locate(QStringLiteral("CODE"), code));
            QCOMPARE(ds.value(QStringLiteral("TARIH")).toDateTime(), when);
        }
    }

    // a cleared edit hands over an invalid date or an empty text: the column becomes null
    void clearedValuesStoreNull_data() {
        addBackendColumn();
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("cleared");
        for (int via : {int(ViaQsqlite), int(ViaOdbc)}) {
            const char* v = via == ViaQsqlite ? "qsqlite" : "odbc";
            QTest::addRow("%s, invalid date-time", v) << via << "TARIH" << QVariant(QDateTime());
            QTest::addRow("%s, invalid date", v) << via << "TARIH" << QVariant(QDate());
            QTest::addRow("%s, empty text for a date", v) << via << "TARIH" << QVariant(QString());
            QTest::addRow("%s, empty text for a number", v) << via << "QTY" << QVariant(QStringLiteral(" "));
            QTest::addRow("%s, empty text for a decimal", v)
                << via << "AMOUNT" << QVariant(QStringLiteral(""));
        }
    }
    void clearedValuesStoreNull() {
        QFETCH(int, via);
        QFETCH(QString, field);
        QFETCH(QVariant, cleared);
        Env env(via);
        const int id = env.insert(QStringLiteral("A"), 3, 4.5, at(2024, 3, 5, 10));
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        ds.edit();
        ds.setValue(field, cleared);
        QVERIFY(ds.value(field).isNull());
        ds.post();
        QVERIFY(ds.value(field).isNull());
        QCOMPARE(
            env.scalar(QStringLiteral("SELECT count(*) FROM ITEM WHERE %1 IS NULL AND ID = :I").arg(field),
                       {id})
                .toInt(),
            1);
    }

    void transactionRollsBackOnFault_data() { addBackendRows(); }
    void transactionRollsBackOnFault() {
        QFETCH(int, via);
        Env env(via);
        env.conn.execute(
            QStringLiteral("CREATE TRIGGER ITEM_FAULT BEFORE INSERT ON ITEM "
                           "WHEN (SELECT count(*) FROM ITEM) >= 2 BEGIN SELECT RAISE(ABORT, 'boom'); END"));
        db::Dataset ds;
        env.configure(ds);
        ds.open();
        QString message;
        try {
            db::Transaction tr(env.conn);
            for (const char* c : {"A", "B", "C"}) {
                ds.append();
                ds.setValue(QStringLiteral("CODE"), QLatin1String(c));
                ds.post();
            }
            tr.commit();
        } catch (const db::DbError& e) {
            message = e.message();
        }
        QVERIFY2(message.contains(QStringLiteral("boom")), qPrintable(message));
        QVERIFY(!env.conn.inTransaction());
        QCOMPARE(env.scalar(QStringLiteral("SELECT count(*) FROM ITEM")).toInt(), 0);

        ds.cancel();
        {
            db::Transaction tr(env.conn);
            env.insert(QStringLiteral("A"), 1);
            env.insert(QStringLiteral("B"), 1);
            tr.commit();
        }
        db::Connection other;
        env.openOther(other);
        QSqlQuery q = other.run(QStringLiteral("SELECT count(*) FROM ITEM"), {});
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
    }
};

TARVO_TEST_MAIN(DatasetTest)
#include "test_dataset.moc"
