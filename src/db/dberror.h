#pragma once
#include <QString>
#include <stdexcept>

namespace db {

// Any failure reported by the database engine or the data layer; carries the
// engine's message for the user.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

} // namespace db
