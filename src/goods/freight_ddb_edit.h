#pragma once
#include "data/editorwindow.h"

// 普通货物调度单编辑: a goods dispatch over the grid of its orders, on the
// dispatch list's own dataset (q_freight_ddb) and the orders in q_freight_ysd.
class TForm_freight_ddb_edit : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ddb_edit(QWidget *owner);

    // 选择运输单: the order chooser over this dispatch's and the free orders.
    void choose_ysdClick();
    // 选择运输车辆: the vehicle picker, which copies carrier, plate and driver.
    void choose_carClick();
    // 取消当前调度单: the selected order detached.
    void SpeedButton5Click();
    // A double click on an order: its display with its lines.
    void showOrder();

protected:
    bool checks() override;
    void beforePost() override;
    void afterPost() override;
    void afterSave() override;
    void discardNewEntry() override;

private:
    bool hasOrders();
    QString m_readNumber;               // the number the dispatch had before this save
};
