#include "data/savestep.h"
#include "data/recordlist.h"
#include "data/session.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include <QDateTime>

namespace data {

bool guarded(QWidget *parent, db::Connection *connection, const QString &action, const std::function<void()> &write,
             const std::function<void()> &recover)
{
    try {
        db::Transaction tx(*connection);
        write();
        tx.commit();
        return true;
    } catch (const db::DbError &e) {
        // Rolled back by now: nothing may look stored that is not.
        try {
            if (recover)
                recover();
        } catch (const db::DbError &) {
            // The message below says what went wrong first.
        }
        msg::writeFailed(parent, e, e.report(action, QStringLiteral("修改已取消")));
        return false;
    }
}

void rereadAfterFailure(db::Query *q, bool written, bool wholeList)
{
    q->cancel();
    if (!written || !q->isActive())
        return;
    // Cheaper than reopening a long list: the one row, by its key.
    if (!wholeList && q->refetchRow(q->currentRow()))
        return;
    q->refreshKeepingRow();
}

SaveOutcome saveRow(QWidget *parent, const SaveStep &s)
{
    db::Query *q = s.query;
    if (s.refuseReadOnly && refuseReadOnly(parent, q->connection()))
        return SaveOutcome::Stopped;
    if (!s.appendRow) {
        if (!q->isEditing())
            q->edit();
        // A value an editor refuses (a bad date) stops the save with its message.
        if (!dbctrls::updateRecord(q))
            return SaveOutcome::Stopped;
    }
    if (s.checks && !s.checks())
        return SaveOutcome::Stopped;
    bool posted = false;
    const bool saved = guarded(
        parent, q->connection(), QStringLiteral("保存"),
        [&] {
            if (s.appendRow)
                q->append();
            if (!s.stampOperator.isEmpty())
                q->field(s.stampOperator).setAsString(velorin::operator_name);
            if (!s.stampDate.isEmpty())
                q->field(s.stampDate).setAsDateTime(QDateTime::currentDateTime());
            if (s.beforePost)
                s.beforePost();
            q->post();
            posted = true;
            if (s.afterPost)
                s.afterPost();
        },
        [&] {
            for (db::Query *other : s.alsoCancelled)
                if (other && other->isActive())
                    other->cancel();
            rereadAfterFailure(q, posted, s.rereadList);
            if (s.rereadOthers)
                s.rereadOthers();
        });
    if (!saved)
        return SaveOutcome::Failed;
    if (s.committed)
        s.committed();
    if (!s.savedMessage.isEmpty())
        msg::hint(parent, s.savedMessage);
    return SaveOutcome::Saved;
}

} // namespace data
