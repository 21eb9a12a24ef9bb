#include "platform/db/Dialect.h"

#include "platform/db/Command.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/Dataset.h"
#include "platform/db/SqlText.h"

#include <QRegularExpression>

namespace db {

QString TableDef::identityColumn() const {
    for (const auto& c : columns)
        if (c.identity)
            return c.name;
    return {};
}

QString sqliteDateTimeText(const QDateTime& dt) {
    // Whole seconds are written without a fraction so that "23:59:59" still lies inside
    // a range ending at "23:59:59" while "23:59:59.500" lies after it.
    const QTime t = dt.time();
    QString s = dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (t.msec() != 0)
        s += QStringLiteral(".%1").arg(t.msec(), 3, 10, QLatin1Char('0'));
    return s;
}

QDateTime parseDateTimeText(const QString& text) {
    const QString s = text.trimmed();
    if (s.size() < 10)
        return {};
    auto num = [&](int pos, int len, bool& ok) {
        int v = 0;
        for (int i = pos; i < pos + len; ++i) {
            if (i >= s.size() || !s[i].isDigit()) {
                ok = false;
                return 0;
            }
            v = v * 10 + s[i].digitValue();
        }
        return v;
    };
    bool ok = true;
    const int y = num(0, 4, ok), mo = num(5, 2, ok), d = num(8, 2, ok);
    if (!ok || s[4] != u'-' || s[7] != u'-')
        return {};
    int h = 0, mi = 0, se = 0, ms = 0;
    if (s.size() >= 16 && (s[10] == u' ' || s[10] == u'T')) {
        h = num(11, 2, ok);
        mi = num(14, 2, ok);
        if (s.size() >= 19)
            se = num(17, 2, ok);
        if (s.size() > 20 && s[19] == u'.') {
            QString frac = s.mid(20, 3);
            while (frac.size() < 3)
                frac += u'0';
            bool fok = true;
            ms = frac.toInt(&fok);
            ok = ok && fok;
        }
    }
    if (!ok)
        return {};
    const QDate date(y, mo, d);
    const QTime time(h, mi, se, ms);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

namespace sqlserver {

QString tableExistsSql(const QString& table) {
    return QStringLiteral("select 1 from  sysobjects where  id = object_id('") + table +
           QStringLiteral("') and   type = 'U'");
}

QString tableIdSql(const QString& table) {
    return QStringLiteral("SELECT id FROM SYSOBJECTS WHERE name = '") + table + QStringLiteral("'");
}

QString addColumnSql(const QString& table, const QString& tableId, const QString& column, const QString& type,
                     const QString& nullClause) {
    return QStringLiteral("if not exists (select 1 from syscolumns where name = '") + column +
           QStringLiteral("' AND id = ") + tableId + QStringLiteral(")") + QStringLiteral(" ALTER TABLE ") + table +
           QStringLiteral(" ADD ") + column + u' ' + type + u' ' + nullClause;
}

QString addColumnWithValuesSql(const QString& table, const QString& tableId, const QString& column,
                               const QString& type, const QString& nullClause, const QString& defaultValue) {
    return addColumnSql(table, tableId, column, type, nullClause) + QStringLiteral(" DEFAULT ") + defaultValue +
           QStringLiteral(" WITH VALUES");
}

QString columnWidthTestSql(const QString& column, const QString& tableId, quint16 oldWidth) {
    return QStringLiteral("select 1 from  syscolumns where  name = '") + column + QStringLiteral("' AND id = ") +
           tableId + QStringLiteral(" and length = ") + QString::number(oldWidth);
}

QString widenColumnSql(const QString& table, const QString& tableId, const QString& column, quint16 oldWidth,
                       quint16 newWidth, const QString& nullClause) {
    return QStringLiteral("if exists (select 1 from  syscolumns where  name = '") + column +
           QStringLiteral("' AND id = ") + tableId + QStringLiteral(" and length = ") + QString::number(oldWidth) +
           QStringLiteral(")") + QStringLiteral(" ALTER TABLE ") + table + QStringLiteral(" ALTER COLUMN ") +
           column + QStringLiteral(" varchar(") + QString::number(newWidth) + QStringLiteral(") ") + nullClause;
}

QString createTableSql(const TableDef& table) {
    QStringList defs;
    for (const auto& c : table.columns)
        defs << c.name.leftJustified(20) + u' ' + c.type.leftJustified(20) + u' ' +
                    (c.identity ? QStringLiteral("identity") : QStringLiteral("null"));
    return QStringLiteral("create table ") + table.name + QStringLiteral(" (") + defs.join(u',') +
           QStringLiteral(",constraint PK_") + table.name + QStringLiteral(" primary key (") + table.identityColumn() +
           QStringLiteral("))");
}

QString foreignKeySql(const QString& table, const ForeignKeyDef& fk) {
    return QStringLiteral("alter table ") + table + QStringLiteral(" add constraint ") + fk.name +
           QStringLiteral(" foreign key (") + fk.column + QStringLiteral(") references ") + fk.refTable +
           QStringLiteral(" (") + fk.refColumn + QStringLiteral(")");
}

} // namespace sqlserver

namespace {

// Opens the query on a statement and tells whether it returned a row; leaves it closed.
bool hasRow(Dataset& q, const QString& sql, const QVariantList& params = {}) {
    q.close();
    q.setSql(sql);
    const QStringList names = q.paramNames();
    for (int i = 0; i < names.size() && i < params.size(); ++i)
        q.setParam(names[i], params[i]);
    q.open();
    const bool found = !q.isEmpty();
    q.close();
    return found;
}

class SqlServerDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::SqlServer; }
    QString translate(const QString& sql) const override { return sql; }
    QVariant toServer(const QVariant& v) const override { return v; }
    QString identityQuery() const override { return QStringLiteral("SELECT @@IDENTITY"); }
    QString dateTimeLiteral(const QDateTime& dt) const override {
        return QStringLiteral("{ts '") + dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral("'}");
    }

    bool tableExists(Dataset& q, const QString& table) const override {
        return hasRow(q, sqlserver::tableExistsSql(table));
    }
    void createTable(Command& cmd, const TableDef& table) const override {
        cmd.execute(sqlserver::createTableSql(table));
        for (const auto& fk : table.foreignKeys)
            cmd.execute(sqlserver::foreignKeySql(table.name, fk));
    }
    void addColumn(Dataset& q, Command& cmd, const QString& table, const QString& column, const QString& type,
                   const QString& nullClause) const override {
        const QString id = tableId(q, table);
        if (!id.isEmpty())
            cmd.execute(sqlserver::addColumnSql(table, id, column, type, nullClause));
    }
    void addColumnWithValues(Dataset& q, Command& cmd, const QString& table, const QString& column,
                             const QString& type, const QString& nullClause,
                             const QString& defaultValue) const override {
        const QString id = tableId(q, table);
        if (!id.isEmpty())
            cmd.execute(sqlserver::addColumnWithValuesSql(table, id, column, type, nullClause, defaultValue));
    }
    void widenTextColumn(Dataset& q, Command& cmd, const QString& table, const QString& column, quint16 oldWidth,
                         quint16 newWidth, const QString& nullClause) const override {
        QString id = tableId(q, table);
        if (id.isEmpty())
            return;
        if (!hasRow(q, sqlserver::columnWidthTestSql(column, id, oldWidth)))
            return;
        id = tableId(q, table);
        if (!id.isEmpty())
            cmd.execute(sqlserver::widenColumnSql(table, id, column, oldWidth, newWidth, nullClause));
    }

private:
    static QString tableId(Dataset& q, const QString& table) {
        q.close();
        q.setSql(sqlserver::tableIdSql(table));
        q.open();
        const QString id = q.isEmpty() ? QString() : q.value(QStringLiteral("id")).toString();
        q.close();
        return id;
    }
};

class SqliteDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::Sqlite; }
    QString translate(const QString& sql) const override { return stripOdbcDateEscapes(sql); }
    QVariant toServer(const QVariant& v) const override {
        switch (v.typeId()) {
        case QMetaType::QDateTime: // an invalid date is null, not an empty text
            return v.toDateTime().isValid() ? QVariant(sqliteDateTimeText(v.toDateTime()))
                                            : QVariant(QMetaType(QMetaType::QString));
        case QMetaType::QDate:
            return v.toDate().isValid() ? QVariant(sqliteDateTimeText(QDateTime(v.toDate(), QTime(0, 0))))
                                        : QVariant(QMetaType(QMetaType::QString));
        case QMetaType::Bool:
            return v.isNull() ? QVariant(QMetaType(QMetaType::Int)) : QVariant(v.toBool() ? 1 : 0);
        default:
            return v;
        }
    }
    QString identityQuery() const override { return QStringLiteral("SELECT last_insert_rowid()"); }
    QString dateTimeLiteral(const QDateTime& dt) const override {
        return u'\'' + sqliteDateTimeText(dt) + u'\'';
    }

    bool tableExists(Dataset& q, const QString& table) const override {
        return hasRow(q, QStringLiteral("select 1 from sqlite_master where type = 'table' and name = :NAME COLLATE NOCASE"),
                      {table});
    }
    void createTable(Command& cmd, const TableDef& table) const override {
        QStringList defs;
        for (const auto& c : table.columns) {
            if (c.identity)
                defs << c.name + QStringLiteral(" INTEGER NOT NULL CONSTRAINT PK_") + table.name +
                            QStringLiteral(" PRIMARY KEY AUTOINCREMENT");
            else
                defs << c.name + u' ' + c.type + QStringLiteral(" null");
        }
        // SQLite cannot add a constraint to a table afterwards: the keys go into the create.
        for (const auto& fk : table.foreignKeys)
            defs << QStringLiteral("CONSTRAINT ") + fk.name + QStringLiteral(" FOREIGN KEY (") + fk.column +
                        QStringLiteral(") REFERENCES ") + fk.refTable + QStringLiteral(" (") + fk.refColumn +
                        QStringLiteral(")");
        cmd.execute(QStringLiteral("create table ") + table.name + QStringLiteral(" (") + defs.join(u',') +
                    QStringLiteral(")"));
    }
    void addColumn(Dataset& q, Command& cmd, const QString& table, const QString& column, const QString& type,
                   const QString& nullClause) const override {
        addColumnImpl(q, cmd, table, column, type, nullClause, {});
    }
    void addColumnWithValues(Dataset& q, Command& cmd, const QString& table, const QString& column,
                             const QString& type, const QString& nullClause,
                             const QString& defaultValue) const override {
        addColumnImpl(q, cmd, table, column, type, nullClause, defaultValue);
    }
    void widenTextColumn(Dataset& q, Command& cmd, const QString& table, const QString& column, quint16 oldWidth,
                         quint16 newWidth, const QString& nullClause) const override;

private:
    // Declared type of a column, or a null string when the table or column is missing.
    static QString declaredType(Dataset& q, const QString& table, const QString& column) {
        q.close();
        q.setSql(QStringLiteral("SELECT type FROM pragma_table_info(:TABLENAME) WHERE name = :COLUMNNAME COLLATE NOCASE"));
        q.setParam(QStringLiteral("TABLENAME"), table);
        q.setParam(QStringLiteral("COLUMNNAME"), column);
        q.open();
        QString type;
        if (!q.isEmpty())
            type = q.value(0).toString().isNull() ? QStringLiteral("") : q.value(0).toString();
        q.close();
        return type;
    }
    void addColumnImpl(Dataset& q, Command& cmd, const QString& table, const QString& column, const QString& type,
                       const QString& nullClause, const QString& defaultValue) const {
        if (!tableExists(q, table) || !declaredType(q, table, column).isNull())
            return;
        QString sql = QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD COLUMN ") + column + u' ' + type +
                      u' ' + nullClause;
        if (!defaultValue.isNull())
            sql += QStringLiteral(" DEFAULT ") + defaultValue;
        cmd.execute(sql);
    }
};

void SqliteDialect::widenTextColumn(Dataset& q, Command& cmd, const QString& table, const QString& column,
                                    quint16 oldWidth, quint16 newWidth, const QString& nullClause) const {
    Q_UNUSED(nullClause); // every rebuilt column keeps its own null clause
    const QString type = declaredType(q, table, column);
    static const QRegularExpression varcharRe(QStringLiteral(R"(^\s*varchar\s*\(\s*(\d+)\s*\)\s*$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto m = varcharRe.match(type);
    if (!m.hasMatch() || m.captured(1).toInt() != oldWidth)
        return;

    // SQLite keeps a column's declared type only in the create statement: rebuild the table
    // under the new declaration (create new, copy, drop old, rename), keys and rows intact.
    q.close();
    q.setSql(QStringLiteral(
        "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = :NAME COLLATE NOCASE"));
    q.setParam(QStringLiteral("NAME"), table);
    q.open();
    const QString name = q.value(0).toString(); // as stored, so the rename keeps its spelling
    const QString createSql = q.value(1).toString();
    q.close();
    q.setSql(QStringLiteral("SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND "
                            "tbl_name = :NAME AND sql IS NOT NULL"));
    q.setParam(QStringLiteral("NAME"), name);
    q.open();
    QStringList dependents;
    for (q.first(); !q.eof(); q.next())
        dependents << q.value(0).toString();
    q.close();
    // The copy would restart the numbering after the highest row left, so a number given
    // to a row deleted since would come round again.
    QVariant sequence;
    if (tableExists(q, QStringLiteral("sqlite_sequence"))) {
        q.setSql(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = :NAME"));
        q.setParam(QStringLiteral("NAME"), name);
        q.open();
        if (!q.isEmpty()) sequence = q.value(0);
        q.close();
    }

    const QRegularExpression colRe(QStringLiteral(R"(([(,]\s*["\[`]?%1["\]`]?\s+)varchar\s*\(\s*%2\s*\))")
                                       .arg(QRegularExpression::escape(column))
                                       .arg(oldWidth),
                                   QRegularExpression::CaseInsensitiveOption);
    const auto cm = colRe.match(createSql);
    if (!cm.hasMatch())
        throw DbError(QStringLiteral("%1.%2 sütununun tanımı bulunamadı").arg(name, column), createSql);
    QString newCreate = createSql;
    newCreate.replace(cm.capturedStart(0), cm.capturedLength(0),
                      cm.captured(1) + QStringLiteral("varchar(%1)").arg(newWidth));
    const QString tmp = QStringLiteral("TARVO_REBUILD_") + name;
    const QRegularExpression nameRe(
        QStringLiteral(R"(^\s*create\s+table\s+["\[`]?%1["\]`]?)").arg(QRegularExpression::escape(name)),
        QRegularExpression::CaseInsensitiveOption);
    newCreate.replace(nameRe, QStringLiteral("CREATE TABLE ") + tmp);

    Connection* c = cmd.connection();
    Q_ASSERT(c);
    const bool ownTransaction = !c->inTransaction();
    // Other tables' triggers and views that name the table would make a checking rename fail
    // while the old table is gone; the legacy rename leaves them alone.
    const auto restore = [&] {
        cmd.execute(QStringLiteral("PRAGMA legacy_alter_table = OFF"));
        cmd.execute(QStringLiteral("PRAGMA foreign_keys = ON"));
    };
    cmd.execute(QStringLiteral("PRAGMA foreign_keys = OFF"));
    cmd.execute(QStringLiteral("PRAGMA legacy_alter_table = ON"));
    try {
        if (ownTransaction)
            c->beginTrans();
        cmd.execute(newCreate);
        cmd.execute(QStringLiteral("INSERT INTO ") + tmp + QStringLiteral(" SELECT * FROM ") + name);
        cmd.execute(QStringLiteral("DROP TABLE ") + name);
        cmd.execute(QStringLiteral("ALTER TABLE ") + tmp + QStringLiteral(" RENAME TO ") + name);
        if (sequence.isValid()) {
            cmd.setText(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = :NAME"));
            cmd.setParam(QStringLiteral("NAME"), name);
            cmd.execute();
            cmd.setText(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (:NAME, :SEQ)"));
            cmd.setParam(QStringLiteral("NAME"), name);
            cmd.setParam(QStringLiteral("SEQ"), sequence);
            cmd.execute();
        }
        for (const auto& d : dependents)
            cmd.execute(d);
        q.close();
        q.setSql(QStringLiteral("PRAGMA foreign_key_check"));
        q.open();
        const bool broken = !q.isEmpty();
        q.close();
        if (broken)
            throw DbError(
                QStringLiteral("%1 tablosu yeniden kurulurken yabancı anahtar hatası oluştu").arg(name));
        if (ownTransaction)
            c->commitTrans();
    } catch (...) {
        if (ownTransaction && c->inTransaction())
            c->rollbackTrans();
        restore();
        throw;
    }
    restore();
}

} // namespace

std::unique_ptr<Dialect> Dialect::create(Backend backend) {
    if (backend == Backend::SqlServer)
        return std::make_unique<SqlServerDialect>();
    return std::make_unique<SqliteDialect>();
}

} // namespace db
