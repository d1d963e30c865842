#pragma once
#include "data/stagewindow.h"

namespace goods {

// What the goods stage windows (receipt return, collection) share: the
// query, the order columns, the quick search strip, the order search dialog.
data::ListDecl stageDecl(data::ListDecl d);
// The order's read-only columns in the stage windows' panels.
QVector<data::EditorDecl> stageShownEditors();

} // namespace goods

// 普通货物运输单回单管理: the goods orders whose signed receipt has not come back.
class TForm_freight_ysd_fh : public data::StageWindow {
    Q_OBJECT
public:
    explicit TForm_freight_ysd_fh(QWidget *owner);
};
