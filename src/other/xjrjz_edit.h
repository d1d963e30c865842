#pragma once
#include "data/editorwindow.h"

// 现金日记帐编辑: the journal's current row (q_xjrjz). Only rows dated in the
// accounting month are saved; every save rewrites the month's balances in
// its own transaction. Income is entered as 借方, expense as 贷方.
class TForm_xjrjz_edit : public data::EditorWindow {
    Q_OBJECT
public:
    explicit TForm_xjrjz_edit(QWidget *owner);

protected:
    bool checks() override;
    void beforeAppend() override;
    void afterAppend() override;
    void beforePost() override;
    void afterPost() override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Where the focus belongs when it enters an amount: 借方 for "收入",
    // 贷方 for "支出", 摘要 otherwise.
    QWidget *amountEditor() const;
};
