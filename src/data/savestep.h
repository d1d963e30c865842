#pragma once
#include <QList>
#include <QString>
#include <functional>

class QWidget;
namespace db { class Connection; class Query; }

namespace data {

// The one save of every window that stores a row: the editors' text taken
// into the row, the window's checks in order, then one guarded step in one
// transaction (the stamp, the computed columns, the post and whatever else
// the save writes) and "保存完毕！" once it is committed. A database error
// rolls all of it back: the change is cancelled, the rows the window shows
// are read again as the database holds them, and the user is told why.
struct SaveStep {
    db::Query *query = nullptr;
    // Stamp columns, set first in the guarded step; empty: not stamped.
    QString stampOperator = QStringLiteral("操作员");
    QString stampDate = QStringLiteral("操作日期");
    // A read-only file is refused before anything is taken from the editors.
    bool refuseReadOnly = false;
    // The row is a new one appended inside the guarded step, its values set
    // by beforePost (a line stored the moment it is chosen); no editors.
    bool appendRow = false;
    // In order; the first failure shows its message and returns false.
    std::function<bool()> checks = {};
    // Inside the transaction: computed columns before the post; what else
    // the save writes after it.
    std::function<void()> beforePost = {};
    std::function<void()> afterPost = {};
    // After the commit, before the message: what the window shows of the
    // saved state (an attached grid under the saved number).
    std::function<void()> committed = {};
    QString savedMessage = QStringLiteral("保存完毕！");   // empty: none
    // Other datasets whose pending change goes with the failed save (the
    // attached row an editor's save posts too).
    QList<db::Query *> alsoCancelled = {};
    // The save may have written other rows of the same list (a journal's
    // balances): after a failure the whole list is read again.
    bool rereadList = false;
    // After a failure, once the row is as the database holds it: what else
    // the window shows read again (an attached grid).
    std::function<void()> rereadOthers = {};
};

enum class SaveOutcome {
    Stopped,   // an editor refused its text, a check failed or the file is read-only: still editing
    Saved,
    Failed,    // the database refused; the change is cancelled and the user was told
};

// Runs the step on its query; the messages are shown over `parent`.
SaveOutcome saveRow(QWidget *parent, const SaveStep &step);

// The guarded step alone: `write` in one transaction; on a database error it
// is rolled back, `recover` puts back what the window shows, and the user is
// told that `action` failed (or, after a commit whose outcome is unknown,
// that it is uncertain). True when committed.
bool guarded(QWidget *parent, db::Connection *connection, const QString &action, const std::function<void()> &write,
             const std::function<void()> &recover);

// What a failed guarded step leaves a dataset: the pending change cancelled;
// when the rolled-back step had posted it (`written`), the row read again,
// or the whole list, keeping the row, when the row is gone or `wholeList`.
void rereadAfterFailure(db::Query *q, bool written, bool wholeList);

} // namespace data
