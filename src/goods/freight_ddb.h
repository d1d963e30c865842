#pragma once
#include "data/recordlist.h"

// What the goods dispatch windows share.
namespace goods {

// Grid columns of the dispatch lists by field name, with their footers and
// sortable titles.
grid::Columns dispatchColumns(const QStringList &fields);
// The completion and payment windows: query, columns, tool bar (`extra`
// after 初始界面 when it has a name), the carrier quick search, the dispatch
// search dialog and the remarks memo.
data::ListDecl dispatchStageDecl(QWidget *window, const QStringList &columns, const data::ButtonDecl &extra = {});
// The SQL lines that list a dispatch's orders; the order-by line last.
QStringList dispatchOrders(const QString &dispatchNumber);
// Frees the orders of a dispatch (their 调度单号 the empty text).
void freeOrders(const QString &dispatchNumber);

} // namespace goods

// 普通货物调度单管理: the goods dispatches not yet completed; entered and
// edited in TForm_freight_ddb_edit over the same dataset.
class TForm_freight_ddb : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ddb(QWidget *owner);

protected:
    void openEditor() override;
    // A deleted dispatch's orders are free again, never stranded.
    void beforeDelete() override;
};
