#pragma once

#include <QHash>
#include <QString>

namespace db {
class Connection;
}

namespace schema {

// Code-to-name look-ups for calculated fields: one query per table per open of the dataset
// that shows them, so the names are those of the code tables at that open. A key missing
// from the snapshot is asked of the server once (it may compare codes differently, e.g.
// without regard to case) and the answer kept until the next reload.
class CodeNameCache {
public:
    // selectAll returns key and name columns; selectOne takes the key as parameter :KEY.
    CodeNameCache(QString selectAll, QString selectOne) : m_selectAll(std::move(selectAll)), m_selectOne(std::move(selectOne)) {}

    void reload(db::Connection& c);
    QString name(db::Connection& c, const QVariant& key);
    void clear();

private:
    QString m_selectAll;
    QString m_selectOne;
    QHash<QString, QString> m_names;
    bool m_loaded = false;
};

} // namespace schema
