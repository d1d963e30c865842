#pragma once
#include "data/editorwindow.h"

// 普通货物运输单显示: the current goods order with its lines, read only. The
// opener loads the lines into q_freight_mxb first.
class TForm_freight_ysd_list : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ysd_list(QWidget *owner);
};
