#pragma once
#include "data/editorwindow.h"

// 普通货物运输单编辑: a goods order's header over the grid of its lines, on
// the order list's own dataset (q_freight_ysd) and the lines in q_freight_mxb.
class TForm_freight_ysd_edit : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ysd_edit(QWidget *owner);

    // 选择货物: the goods chooser over the customer's goods, after its checks.
    void choose_freightClick();
    // 选择收货人: the consignee picker over the typed customer's consignees.
    void choose_deliveryClick();
    // 编辑当前货物 and 删除当前货物 of the line bar.
    void SpeedButton6Click();
    void SpeedButton5Click();

protected:
    bool checks() override;
    void beforePost() override;
    void afterPost() override;
    void afterSave() override;
    void discardNewEntry() override;

private:
    bool duplicateNumber(const QString &before, const QString &after);
    QString m_readNumber;             // the number the order had before this save
};
