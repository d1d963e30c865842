#pragma once
#include "data/recordlist.h"

// 提醒功能初始表: the alarm items and their leads (q_txcsb). The rows come
// with the database; 编辑 changes a lead in TForm_txcsb_edit.
class TForm_txcsb : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_txcsb(QWidget *owner);

protected:
    void openEditor() override;
};
