#pragma once
#include "accounts/statement.h"

// 承运单位对账单: what the firm owed and paid a carrier over a period.
class TForm_account_trans : public accounts::StatementWindow {
    Q_OBJECT
public:
    explicit TForm_account_trans(QWidget *owner) : StatementWindow(owner, accounts::Side::Payable) {}
};
