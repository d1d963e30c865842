#pragma once
#include "data/recordlist.h"

// 操作员设置: the operators who may log in (q_qxb). Rows are changed in the
// edit window; the list itself only deletes, prints and exports.
class TForm_qxb : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_qxb(QWidget *owner);

protected:
    void openEditor() override;
};
