#include "data/bulkmark.h"
#include "data/recordlist.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "dbctrls/messages.h"

namespace data {

bool markEveryRow(QWidget *parent, db::Query *query, const QString &action,
                  const std::function<void(db::Query &)> &mark,
                  const std::function<QString(db::Query &)> &describe)
{
    db::Query &q = *query;
    q.cancel();
    if (q.isEmpty())
        return true;
    if (refuseReadOnly(parent, q.connection()))
        return false;
    int done = 0;
    q.disableControls();
    try {
        db::Transaction tx(*q.connection());
        for (q.first(); !q.eof(); q.next()) {
            mark(q);
            q.post();
            ++done;
        }
        tx.commit();
    } catch (const db::DbError &e) {
        // The transaction has rolled back: bring the rows marked so far back
        // to what the database holds, so the list shows nothing as marked.
        QString which;
        try {
            which = describe(q);
        } catch (const db::DbError &) {
        }
        q.cancel();
        for (int row = 0; row < done; ++row)
            q.refetchRow(row);
        q.enableControls();
        const QString where = done < q.recordCount()
                                  ? QStringLiteral("第%1行（%2）不能保存").arg(done + 1).arg(which)
                                  : QStringLiteral("不能提交");
        msg::dbError(parent, QStringLiteral("%1没有完成：%2，所有记录均未修改。\n%3").arg(action, where, e.message()));
        return false;
    }
    q.first();
    q.enableControls();
    return true;
}

} // namespace data
