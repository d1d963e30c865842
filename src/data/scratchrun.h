#pragma once
#include <functional>

class QWidget;
namespace db { class Query; }

namespace data {

// Runs one computation into the scratch table 通用 as the statistics
// windows and the alarm list do: the grid's updates suspended, the wait
// cursor and the busy widget shown. The work runs its own transaction; when
// it throws DbError the scratch dataset is reopened with the lines it had
// (showing the rows the rollback kept) and the engine's error is shown.
// True when the work completed.
bool runOnScratch(QWidget *parent, db::Query *scratch, const std::function<void()> &work, QWidget *busy = nullptr);

} // namespace data
