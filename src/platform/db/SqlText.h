#pragma once

#include <QString>
#include <QStringList>

namespace db {

// A statement with its ":NAME" parameters replaced by positional markers.
struct ParsedStatement {
    QString text;       // with '?' in place of each parameter
    QStringList params; // names in order of appearance; a repeated name appears again
};

// Finds ":NAME" parameters outside quoted text and brackets.
ParsedStatement parseParameters(const QString& sql);

// Rewrites ODBC escapes {ts '...'}, {d '...'} and {t '...'} into plain quoted literals,
// as an ODBC driver does before the server sees the text.
QString stripOdbcDateEscapes(const QString& sql);

} // namespace db
