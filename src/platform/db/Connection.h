#pragma once

#include "platform/db/Dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>
#include <memory>

namespace db {

// Splits an ADO-style "Key=Value;..." string; a value in double quotes may hold ';'.
QList<QPair<QString, QString>> parseAdoConnectionString(const QString& text);

// The ODBC connection string that reaches the same SQL Server as the ADO-style one.
QString adoToOdbcConnectionString(const QString& adoText, const QString& odbcDriver);

// Quotes an ODBC attribute value in braces when it holds ';' or '}'.
QString odbcValue(const QString& value);

// The one connection to the database, ADO-style: opened from a connection string,
// with begin / commit / roll back. Every statement of datasets and commands runs here.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the backend's driver from the ADO-style connection string. SQLite takes the
    // "Data Source" as the database file, which must exist.
    void open(Backend backend, const QString& adoConnectionString, const QString& odbcDriver = {});
    // Opens a SQLite file, creating it when asked (tools and tests).
    void openSqliteFile(const QString& path, bool createIfMissing = false);
    // Opens any ODBC data source; the dialect is the one of the server behind it.
    void openOdbc(const QString& odbcConnectionString, Backend dialectBackend);
    void close();
    bool isOpen() const;

    QString connectionString() const { return m_connectionString; }
    const Dialect& dialect() const;
    Backend backend() const { return dialect().backend(); }
    QSqlDatabase database() const;

    void beginTrans();
    void commitTrans();
    void rollbackTrans();
    bool inTransaction() const { return m_inTransaction; }

    // Runs one statement with ":NAME" parameters bound by position. Throws DbError.
    QSqlQuery run(const QString& sql, const QVariantList& params, bool forwardOnly = true);
    int execute(const QString& sql, const QVariantList& params = {});

    // Every statement text, as sent, goes through this before it runs (support and tests).
    std::function<void(const QString&)> statementObserver;

private:
    void openWith(Backend backend, const QString& driver, const QString& databaseName, const QString& options);

    QString m_name;
    QString m_connectionString;
    std::unique_ptr<Dialect> m_dialect;
    bool m_inTransaction = false;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection) : m_connection(connection) { m_connection.beginTrans(); }
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& m_connection;
    bool m_done = false;
};

} // namespace db
