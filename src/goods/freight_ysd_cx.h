#pragma once
#include "data/searchdialog.h"

// 查询 over the goods orders: its result replaces the calling list's rows
// (q_freight_ysd).
class TForm_freight_ysd_cx : public data::SearchDialog {
    Q_OBJECT
public:
    explicit TForm_freight_ysd_cx(QWidget *owner);
};

// The goods order search of the order list and its stage windows: the
// customer and consignee combos filled, shown modally.
void showFreightOrderSearch(QWidget *owner);
