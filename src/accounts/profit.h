#pragma once
#include "accounts/accountswindow.h"

class QComboBox;

// 运输单利润: what each container order and goods dispatch of a period
// earned, the carrier's charge set against the freight receivable.
class TForm_profit : public accounts::AccountsWindow {
    Q_OBJECT
public:
    explicit TForm_profit(QWidget *owner);
    const QVector<accounts::ProfitRow> &result() const { return m_rows; }

protected:
    bool parametersOk() override;
    void compute() override;

private:
    dbctrls::DBDateEdit *m_from, *m_to;
    QComboBox *m_customer, *m_carrier;
    QVector<accounts::ProfitRow> m_rows;
};
