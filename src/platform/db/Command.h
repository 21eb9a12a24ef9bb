#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace db {

class Connection;

// A statement without result, with ":NAME" parameters bound by position.
class Command {
public:
    explicit Command(Connection* connection = nullptr) : m_connection(connection) {}
    void setConnection(Connection* c) { m_connection = c; }
    Connection* connection() const { return m_connection; }

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setParam(const QString& name, const QVariant& value);

    // Returns the number of rows the statement changed.
    int execute();
    int execute(const QString& text) {
        setText(text);
        return execute();
    }

private:
    Connection* m_connection;
    QString m_text;
    QStringList m_paramNames;
    QVariantList m_paramValues;
};

} // namespace db
