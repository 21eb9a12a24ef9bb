#include "schema/CodeNameCache.h"

#include "platform/db/Connection.h"

namespace schema {

void CodeNameCache::reload(db::Connection& c) {
    m_names.clear();
    QSqlQuery q = c.run(m_selectAll, {});
    while (q.next()) {
        const QString key = q.value(0).toString();
        if (!m_names.contains(key)) // where several rows match, the first one counts
            m_names.insert(key, q.value(1).toString());
    }
    m_loaded = true;
}

QString CodeNameCache::name(db::Connection& c, const QVariant& key) {
    const QString k = key.toString();
    if (!m_loaded)
        reload(c);
    const auto it = m_names.constFind(k);
    if (it != m_names.constEnd())
        return *it;
    QSqlQuery q = c.run(m_selectOne, {key});
    const QString n = q.next() ? q.value(0).toString() : QString();
    m_names.insert(k, n);
    return n;
}

void CodeNameCache::clear() {
    m_names.clear();
    m_loaded = false;
}

} // namespace schema
