#pragma once
#include "data/recordlist.h"

// What the goods order windows share: the order grid and the quick search
// over 普通货物运输单.
namespace goods {

// 上游客户 ... 备注 with the footers and sortable titles of every goods order list.
grid::Columns orderColumns();
// An order's lines as its editor and its display show them, 数量 and 应收运费 summed.
grid::Columns lineColumns();
// Customer, 运输单号, 运输动态 and the 发货日期 day, ordered by customer and number.
void declareQuickSearch(data::ListDecl &d);
// The tool bar of the order and dispatch lists, whose rows are entered in
// their editors: no add button; 查找 runs `seek`.
QVector<data::ButtonDecl> browseListButtons(const std::function<void()> &seek);
// The SQL lines that list an order's lines (`twoLines`: the order-by apart).
QStringList orderLines(const QString &orderNumber, bool twoLines);

} // namespace goods

// 普通货物运输单管理: the goods orders; entered and edited in
// TForm_freight_ysd_edit over the same dataset.
class TForm_freight_ysd : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ysd(QWidget *owner);

protected:
    void openEditor() override;
    // An order's lines go with it.
    void beforeDelete() override;
};
