#pragma once

#include "platform/db/FieldDef.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace db {

class Connection;
class Dataset;
class Command;

enum class Backend { Sqlite, SqlServer };

// Column of a table to create; the type is written as SQL Server spells it
// ("int", "varchar(24)", "numeric(18,2)", "datetime", "bit", "bigint").
struct ColumnDef {
    QString name;
    QString type;
    bool identity = false;
};

struct ForeignKeyDef {
    QString name;
    QString column;
    QString refTable;
    QString refColumn;
};

struct TableDef {
    QString name;
    QList<ColumnDef> columns; // the identity column is the primary key
    QList<ForeignKeyDef> foreignKeys;
    QString identityColumn() const;
};

// What differs between the two servers sits here: statement text translation, value
// forms, identity read-back, and the catalogue look-ups and changes of the schema routines.
// The catalogue routines run their look-ups on the given query and their changes on
// the given command, and leave the query closed.
class Dialect {
public:
    virtual ~Dialect() = default;
    virtual Backend backend() const = 0;

    virtual QString translate(const QString& sql) const = 0;
    virtual QVariant toServer(const QVariant& value) const = 0;
    virtual QString identityQuery() const = 0;
    virtual QString dateTimeLiteral(const QDateTime& dt) const = 0;

    virtual bool tableExists(Dataset& query, const QString& table) const = 0;
    virtual void createTable(Command& cmd, const TableDef& table) const = 0;
    virtual void addColumn(Dataset& query, Command& cmd, const QString& table, const QString& column,
                           const QString& type, const QString& nullClause) const = 0;
    virtual void addColumnWithValues(Dataset& query, Command& cmd, const QString& table, const QString& column,
                                     const QString& type, const QString& nullClause,
                                     const QString& defaultValue) const = 0;
    virtual void widenTextColumn(Dataset& query, Command& cmd, const QString& table, const QString& column,
                                 quint16 oldWidth, quint16 newWidth, const QString& nullClause) const = 0;

    static std::unique_ptr<Dialect> create(Backend backend);
};

// The statements that SQL Server receives, exactly as they are sent.
namespace sqlserver {
QString tableExistsSql(const QString& table);
QString tableIdSql(const QString& table);
QString addColumnSql(const QString& table, const QString& tableId, const QString& column, const QString& type,
                     const QString& nullClause);
QString addColumnWithValuesSql(const QString& table, const QString& tableId, const QString& column,
                               const QString& type, const QString& nullClause, const QString& defaultValue);
QString columnWidthTestSql(const QString& column, const QString& tableId, quint16 oldWidth);
QString widenColumnSql(const QString& table, const QString& tableId, const QString& column, quint16 oldWidth,
                       quint16 newWidth, const QString& nullClause);
QString createTableSql(const TableDef& table);
QString foreignKeySql(const QString& table, const ForeignKeyDef& fk);
} // namespace sqlserver

// Storage form of date-times in SQLite: ISO-8601 text that sorts and compares as time does.
QString sqliteDateTimeText(const QDateTime& dt);
// Parses the text forms a date-time may come back as; invalid when it is none of them.
QDateTime parseDateTimeText(const QString& text);

} // namespace db
