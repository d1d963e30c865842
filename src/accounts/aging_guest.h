#pragma once
#include "accounts/aging.h"

// 应收账款账龄: what each customer owes, by age.
class TForm_aging_guest : public accounts::AgingWindow {
    Q_OBJECT
public:
    explicit TForm_aging_guest(QWidget *owner) : AgingWindow(owner, accounts::Side::Receivable) {}

protected:
    accounts::StatementWindow *makeStatement() override;
};
