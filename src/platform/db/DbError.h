#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// The one exception type of the database layer. It carries the server's (or the
// layer's) message as the user should read it, plus the statement for support staff.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString& message, const QString& statement = {})
        : std::runtime_error(message.toStdString()), m_message(message), m_statement(statement) {}

    const QString& message() const { return m_message; }
    const QString& statement() const { return m_statement; }

private:
    QString m_message;
    QString m_statement;
};

} // namespace db
