#pragma once
#include "data/recordlist.h"

// What the container order windows share: the grid's leading columns and the
// quick search over 集装箱运输单.
namespace container {

// 上游客户 ... 运输动态 with the footers and sortable titles of every container
// order list, followed by plain columns for the fields given.
grid::Columns orderColumns(const QStringList &more);
// Customer, 箱号, 运输动态 and the 运输期限从 day, ordered by customer and number.
void declareQuickSearch(data::ListDecl &d);

} // namespace container

// 集装箱运输单录入: the upstream part of a container order.
class TForm_container_ysd : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_container_ysd(QWidget *owner);

    // 选择收货人: the consignee picker over the consignees of the typed customer.
    void choose_shrClick();

protected:
    bool checks() override;
    void beforePost() override;
};
