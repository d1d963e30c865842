#pragma once
#include "data/searchdialog.h"

// 查询 over container orders: twelve fields, the result goes into
// q_container_ysd, which every container order window lists.
class TForm_container_ysd_cx : public data::SearchDialog {
    Q_OBJECT
public:
    explicit TForm_container_ysd_cx(QWidget *owner);
};

// Creates the dialog, fills its customer and consignee lists, shows it
// modally and destroys it (the 查找 button of the order windows).
void showOrderSearch(QWidget *owner);
