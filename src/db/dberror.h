#pragma once
#include <QString>
#include <stdexcept>

namespace db {

// Any failure reported by the database engine or the data layer; carries the
// engine's message for the user.
class DbError : public std::runtime_error {
public:
    // Unknown: a commit failed in a way that may have kept the change (a disk
    // error after the file was written), so "nothing changed" may be untrue.
    // ChangedByOthers: nothing changed, because another workstation changed
    // or deleted the row since it was read; the message says so, and is
    // shown as a hint, not as an error.
    enum class Outcome { NothingChanged, Unknown, ChangedByOthers };

    explicit DbError(const QString &message, Outcome outcome = Outcome::NothingChanged)
        : std::runtime_error(message.toStdString()), m_message(message), m_outcome(outcome) {}
    const QString &message() const { return m_message; }
    bool outcomeUnknown() const { return m_outcome == Outcome::Unknown; }
    bool changedByOthers() const { return m_outcome == Outcome::ChangedByOthers; }

    // What to tell the clerk: "<action>失败，<kept>：" and the error, or, when
    // the change may have landed, that it is uncertain and how to find out.
    QString report(const QString &action, const QString &kept) const
    {
        if (outcomeUnknown())
            return QStringLiteral("%1时出现磁盘错误，无法确定是否已经完成，请重新打开窗口查看：\n%2").arg(action, m_message);
        return QStringLiteral("%1失败，%2：\n%3").arg(action, kept, m_message);
    }

private:
    QString m_message;
    Outcome m_outcome;
};

} // namespace db
