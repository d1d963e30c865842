#pragma once
#include "data/recordlist.h"
#include <functional>

namespace data {

// The stage windows over orders (receipt return, collection) of both
// businesses: no add or delete, a quick search strip, the business's search
// dialog, and a save that checks one 是/否 column and one date that may not
// be earlier than the order's limit date (运输期限到, 到货日期).
class StageWindow : public RecordListWindow {
    Q_OBJECT
public:
    struct Checks {
        QString flagField, flagMessage;   // must read exactly "是" or "否"
        QString dateField, dateMessage;   // not earlier than limitField
        QString limitField;
    };

protected:
    explicit StageWindow(QWidget *owner) : RecordListWindow(owner) {}
    // The tool bar every stage window has, with the window's own buttons
    // (e.g. 全部返回) before 查找 (SpeedButton3, which runs openSearch).
    // 编辑 focuses the 是/否 column.
    QVector<ButtonDecl> stageButtons(const QVector<ButtonDecl> &own, const std::function<void()> &openSearch);
    void build(ListDecl d, const Checks &checks);
    // 全部返回 of the receipt windows: every listed order marked returned on
    // its own limit date and driver, in one transaction.
    void markAllReturned();
    bool checks() override;

private:
    Checks m_checks;
};

} // namespace data
