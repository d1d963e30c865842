#pragma once
#include "data/recordlist.h"

// The dispatch side of a container order works on the order's own row of
// 集装箱运输单 (q_container_ysd). Dispatch, completion and payment share the
// list's layout, search strip, search dialog, stamp and remarks column.
namespace container {

// The declaration the three dispatch windows start from: query, columns by
// field name, tool buttons (`extra` stands after 初始界面 when it has a name),
// search strip, stamp columns and the remarks memo.
data::ListDecl dispatchDecl(QWidget *window, const QStringList &columns, const data::ButtonDecl &extra = {});

// The column holds exactly "是" or "否".
bool isYesNo(db::Query *q, const QString &field);
// Both dates are set and `later` falls on a later day than `earlier`.
bool laterDay(db::Query *q, const QString &later, const QString &earlier);

} // namespace container

// 集装箱调度单录入: dispatch number, amount, vehicle (chosen through the
// vehicle list, which copies carrier, plate and driver) and remarks.
class TForm_container_ddb : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_container_ddb(QWidget *owner);

protected:
    bool checks() override;
};
