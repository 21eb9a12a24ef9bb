#include "platform/db/Connection.h"

#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

namespace db {

namespace {

QString errorText(const QSqlError& e) {
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.driverText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    return t;
}

QString valueOf(const QList<QPair<QString, QString>>& kv, const QString& key) {
    for (const auto& p : kv)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

} // namespace

QList<QPair<QString, QString>> parseAdoConnectionString(const QString& text) {
    QList<QPair<QString, QString>> out;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = text.mid(i, eq - i).trimmed();
        qsizetype j = eq + 1;
        QString value;
        if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
            // A quoted value ends at the quote that is followed by ';' or the end.
            const QChar q = text[j];
            qsizetype k = j + 1;
            while (k < n && !(text[k] == q && (k + 1 == n || text[k + 1] == u';')))
                ++k;
            value = text.mid(j + 1, k - j - 1);
            j = k + 1;
        } else {
            const qsizetype semi = text.indexOf(u';', j);
            const qsizetype end = semi < 0 ? n : semi;
            value = text.mid(j, end - j);
            j = end;
        }
        if (!key.isEmpty())
            out.append({key, value});
        i = (j < n && text[j] == u';') ? j + 1 : j;
        while (i < n && text[i] == u';')
            ++i;
    }
    return out;
}

QString odbcValue(const QString& value) {
    if (!value.contains(u';') && !value.contains(u'}') && !value.startsWith(u'{'))
        return value;
    QString v = value;
    v.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + v + u'}';
}

QString adoToOdbcConnectionString(const QString& adoText, const QString& odbcDriver) {
    const auto kv = parseAdoConnectionString(adoText);
    const QString driver = odbcDriver.isEmpty() ? QStringLiteral("FreeTDS") : odbcDriver;
    QStringList parts;
    parts << QStringLiteral("DRIVER={%1}").arg(driver);
    QString server = valueOf(kv, QStringLiteral("Data Source"));
    // FreeTDS takes the port apart; "host,port" is how SQL Server clients write it.
    const bool freeTds = driver.contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive);
    QString port;
    if (freeTds && server.contains(u',')) {
        port = server.section(u',', 1).trimmed();
        server = server.section(u',', 0, 0).trimmed();
    }
    parts << QStringLiteral("SERVER=") + odbcValue(server);
    if (!port.isEmpty())
        parts << QStringLiteral("PORT=") + odbcValue(port);
    parts << QStringLiteral("DATABASE=") + odbcValue(valueOf(kv, QStringLiteral("Initial Catalog")));
    if (valueOf(kv, QStringLiteral("Integrated Security")).compare(QStringLiteral("SSPI"), Qt::CaseInsensitive) == 0) {
        parts << QStringLiteral("Trusted_Connection=Yes");
    } else {
        parts << QStringLiteral("UID=") + odbcValue(valueOf(kv, QStringLiteral("User ID")));
        parts << QStringLiteral("PWD=") + odbcValue(valueOf(kv, QStringLiteral("Password")));
    }
    const QString wsid = valueOf(kv, QStringLiteral("Workstation ID"));
    if (!wsid.isEmpty())
        parts << QStringLiteral("WSID=") + odbcValue(wsid);
    if (freeTds)
        parts << QStringLiteral("ClientCharset=UTF-8");
    return parts.join(u';');
}

Connection::Connection() {
    static QAtomicInt counter;
    m_name = QStringLiteral("tarvo_connection_%1").arg(counter.fetchAndAddRelaxed(1));
    m_dialect = Dialect::create(Backend::Sqlite);
}

Connection::~Connection() {
    close();
}

void Connection::openWith(Backend backend, const QString& driver, const QString& databaseName,
                          const QString& options) {
    close();
    m_dialect = Dialect::create(backend);
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(driver, m_name);
        if (!d.isValid()) {
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(QStringLiteral("Veritabanı sürücüsü yüklenemedi: %1").arg(driver));
        }
        d.setDatabaseName(databaseName);
        d.setConnectOptions(options);
        if (!d.open()) {
            const QString msg = errorText(d.lastError());
            d = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(msg.isEmpty() ? QStringLiteral("Veritabanına bağlanılamadı") : msg);
        }
    }
    if (backend == Backend::Sqlite) {
        execute(QStringLiteral("PRAGMA foreign_keys = ON"));
        run(QStringLiteral("PRAGMA journal_mode = WAL"), {});
    }
}

void Connection::open(Backend backend, const QString& adoConnectionString, const QString& odbcDriver) {
    m_connectionString = adoConnectionString;
    const auto kv = parseAdoConnectionString(adoConnectionString);
    if (backend == Backend::Sqlite) {
        const QString path = valueOf(kv, QStringLiteral("Data Source"));
        if (path.isEmpty() || !QFileInfo(path).isFile())
            throw DbError(QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(path));
        openWith(Backend::Sqlite, QStringLiteral("QSQLITE"), path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    } else {
        openWith(Backend::SqlServer, QStringLiteral("QODBC"), adoToOdbcConnectionString(adoConnectionString, odbcDriver),
                 QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
    }
}

void Connection::openSqliteFile(const QString& path, bool createIfMissing) {
    if (!createIfMissing && !QFileInfo(path).isFile())
        throw DbError(QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(path));
    m_connectionString = QStringLiteral("Data Source=") + path;
    openWith(Backend::Sqlite, QStringLiteral("QSQLITE"), path, QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
}

void Connection::openOdbc(const QString& odbcConnectionString, Backend dialectBackend) {
    m_connectionString = odbcConnectionString;
    openWith(dialectBackend, QStringLiteral("QODBC"), odbcConnectionString,
             QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
}

void Connection::close() {
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase d = QSqlDatabase::database(m_name, false);
        if (d.isOpen()) {
            if (m_inTransaction)
                d.rollback();
            d.close();
        }
    }
    m_inTransaction = false;
    QSqlDatabase::removeDatabase(m_name);
}

bool Connection::isOpen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

const Dialect& Connection::dialect() const {
    return *m_dialect;
}

QSqlDatabase Connection::database() const {
    if (!QSqlDatabase::contains(m_name))
        throw DbError(QStringLiteral("Veritabanı bağlantısı açık değil"));
    return QSqlDatabase::database(m_name, false);
}

void Connection::beginTrans() {
    if (m_inTransaction)
        throw DbError(QStringLiteral("Bağlantıda zaten açık bir işlem (transaction) var"));
    QSqlDatabase d = database();
    if (!d.transaction())
        throw DbError(errorText(d.lastError()));
    m_inTransaction = true;
}

void Connection::commitTrans() {
    if (!m_inTransaction)
        throw DbError(QStringLiteral("Onaylanacak bir işlem (transaction) yok"));
    QSqlDatabase d = database();
    if (!d.commit())
        throw DbError(errorText(d.lastError()));
    m_inTransaction = false;
}

void Connection::rollbackTrans() {
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    QSqlDatabase d = database();
    if (!d.rollback())
        throw DbError(errorText(d.lastError()));
}

QSqlQuery Connection::run(const QString& sql, const QVariantList& params, bool forwardOnly) {
    const ParsedStatement st = parseParameters(m_dialect->translate(sql));
    if (statementObserver)
        statementObserver(st.text);
    QSqlQuery q(database());
    q.setForwardOnly(forwardOnly);
    if (st.params.isEmpty() && params.isEmpty()) {
        if (!q.exec(st.text))
            throw DbError(errorText(q.lastError()), st.text);
        return q;
    }
    if (!q.prepare(st.text))
        throw DbError(errorText(q.lastError()), st.text);
    for (int i = 0; i < st.params.size(); ++i)
        q.bindValue(i, m_dialect->toServer(i < params.size() ? params[i] : QVariant()));
    if (!q.exec())
        throw DbError(errorText(q.lastError()), st.text);
    return q;
}

int Connection::execute(const QString& sql, const QVariantList& params) {
    QSqlQuery q = run(sql, params);
    return q.numRowsAffected();
}

Transaction::~Transaction() {
    if (!m_done) {
        try {
            m_connection.rollbackTrans();
        } catch (const DbError&) {
            // the connection is gone; nothing was committed
        }
    }
}

void Transaction::commit() {
    m_connection.commitTrans();
    m_done = true;
}

} // namespace db
