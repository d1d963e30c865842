#pragma once
#include "accounts/aging.h"

// 应付账款账龄: what the firm owes each carrier, by age.
class TForm_aging_trans : public accounts::AgingWindow {
    Q_OBJECT
public:
    explicit TForm_aging_trans(QWidget *owner) : AgingWindow(owner, accounts::Side::Payable) {}

protected:
    accounts::StatementWindow *makeStatement() override;
};
