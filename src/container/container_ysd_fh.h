#pragma once
#include "data/recordlist.h"

namespace container {

// The stage windows over container orders (receipt return, collection): no
// add or delete, the shared quick search and search dialog, and a save that
// checks one 是/否 column and one date that may not be earlier than the
// order's 运输期限到.
class StageWindow : public data::RecordListWindow {
    Q_OBJECT
public:
    struct Checks {
        QString flagField, flagMessage;   // must read exactly "是" or "否"
        QString dateField, dateMessage;   // not earlier than 运输期限到
    };

protected:
    explicit StageWindow(QWidget *owner) : RecordListWindow(owner) {}
    // The tool bar every stage window has, with the window's own buttons
    // (e.g. 全部返回) before 查找.
    // 编辑 focuses the 是/否 column.
    QVector<data::ButtonDecl> stageButtons(const QVector<data::ButtonDecl> &own);
    void build(data::ListDecl d, const Checks &checks);
    bool checks() override;

private:
    Checks m_checks;
};

} // namespace container

// 集装箱运输单回单管理: the orders whose signed receipt has not come back.
class TForm_container_ysd_fh : public container::StageWindow {
    Q_OBJECT
public:
    explicit TForm_container_ysd_fh(QWidget *owner);

    // 全部返回: every listed row marked returned, on its own period end and
    // driver, in one transaction.
    void SpeedButton6Click();
};
