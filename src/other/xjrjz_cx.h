#pragma once
#include "data/searchdialog.h"

// 查询 over the cash journal of any month: its result replaces the list's
// rows (q_xjrjz).
class TForm_xjrjz_cx : public data::SearchDialog {
    Q_OBJECT
public:
    explicit TForm_xjrjz_cx(QWidget *owner);
};
