#include "platform/db/SqlText.h"

#include <QRegularExpression>

namespace db {

namespace {
bool isNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
} // namespace

ParsedStatement parseParameters(const QString& sql) {
    ParsedStatement out;
    out.text.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = (c == u'[') ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n && sql[j] != close)
                ++j;
            out.text += QStringView(sql).mid(i, qMin(j + 1, n) - i);
            i = j;
            continue;
        }
        if (c == u':' && i + 1 < n) {
            if (sql[i + 1] == u':') { // "::" is not a parameter
                out.text += u"::";
                ++i;
                continue;
            }
            if (isNameStart(sql[i + 1])) {
                qsizetype j = i + 1;
                while (j < n && isNameChar(sql[j]))
                    ++j;
                out.params << sql.mid(i + 1, j - i - 1);
                out.text += u'?';
                i = j - 1;
                continue;
            }
        }
        out.text += c;
    }
    return out;
}

QString stripOdbcDateEscapes(const QString& sql) {
    if (!sql.contains(u'{'))
        return sql;
    static const QRegularExpression re(QStringLiteral(R"(\{\s*(?:ts|d|t)\s*('[^']*')\s*\})"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(re, QStringLiteral("\\1"));
    return out;
}

} // namespace db
