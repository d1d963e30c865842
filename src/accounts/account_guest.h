#pragma once
#include "accounts/statement.h"

// 客户对账单: what a customer was charged and paid over a period.
class TForm_account_guest : public accounts::StatementWindow {
    Q_OBJECT
public:
    explicit TForm_account_guest(QWidget *owner) : StatementWindow(owner, accounts::Side::Receivable) {}
};
