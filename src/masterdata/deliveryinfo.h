#pragma once
#include "masterdata/masterlist.h"

class QLabel;

// 收货单位资料设置: the consignees, each tied to an upstream customer. Order
// windows open it as a picker whose 选中 writes the chosen name into the
// order's 收货人.
class TForm_deliveryinfo : public masterdata::MasterListWindow {
    Q_OBJECT
public:
    explicit TForm_deliveryinfo(QWidget *owner);

    // Picker mode: 选中 enabled, and the caller's word ("集装箱" or "普通货物")
    // in Label1 deciding which order dataset gets the consignee.
    void setPicker(const QString &callerLabel);
    // 选中 (and a double click on the grid): the current consignee's name into
    // 收货人 of the caller's order row, left in edit mode; then close.
    void choose();

protected:
    bool checks() override;

private:
    QLabel *m_caller;
};

// The consignee picker of the order windows: the consignees of the customer
// (all of them when it is empty), both customer lists filled, 选中 enabled,
// shown modally; the consignee query is closed afterwards. callerLabel is
// "集装箱" (q_container_ysd) or "普通货物" (q_freight_ysd).
void pickConsignee(QWidget *owner, const QString &callerLabel, const QString &customer);
