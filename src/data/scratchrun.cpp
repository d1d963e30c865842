#include "data/scratchrun.h"
#include "db/dberror.h"
#include "db/query.h"
#include "dbctrls/messages.h"
#include <QApplication>
#include <QWidget>

namespace data {

bool runOnScratch(QWidget *parent, db::Query *scratch, const std::function<void()> &work, QWidget *busy)
{
    const QStringList previous = scratch->sql();
    const bool wasOpen = scratch->isActive();
    scratch->disableControls();
    if (busy) {
        busy->show();
        busy->repaint();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    try {
        work();
    } catch (const db::DbError &e) {
        failure = e.message();
        scratch->cancel();
        try {
            scratch->close();
            if (wasOpen)
                scratch->reopenWith(previous);
        } catch (const db::DbError &) {
            scratch->close();
        }
    }
    QApplication::restoreOverrideCursor();
    if (busy)
        busy->hide();
    scratch->enableControls();
    if (scratch->isActive())
        scratch->first();
    if (!failure.isEmpty())
        msg::dbError(parent, failure);
    return failure.isEmpty();
}

} // namespace data
