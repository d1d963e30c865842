#pragma once
#include "data/editorwindow.h"

// 提醒功能初始表编辑: the lead of the settings list's current row. The item's
// label is read-only and no row is added here (增加 stays hidden and disabled).
class TForm_txcsb_edit : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_txcsb_edit(QWidget *owner);

protected:
    bool checks() override;
};
