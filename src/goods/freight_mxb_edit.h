#pragma once
#include "data/editorwindow.h"

// 运输货物明细编辑: quantity, amount and remarks of the current line of a
// goods order (q_freight_mxb). Stays open after a save.
class TForm_freight_mxb_edit : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_freight_mxb_edit(QWidget *owner);

protected:
    void showEvent(QShowEvent *e) override;
};
