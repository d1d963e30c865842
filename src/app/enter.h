#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The login window: an operator picks his name from 权限表 (rows of q_qxb,
// opened by the caller) and types his password. Three failed attempts of any
// kind end it as "终止" does.
class TForm_Enter : public QDialog {
    Q_OBJECT
public:
    explicit TForm_Enter(QWidget *owner = nullptr);

    QComboBox *DBLookupComboBox1;
    QLineEdit *Edit1;
    QPushButton *bitbtn_ok, *bitbtn_cancel;

    int failures() const { return m_failures; }

public slots:
    void bitbtn_okClick();
    void bitbtn_cancelClick();

protected:
    void showEvent(QShowEvent *e) override;
    // Escape must not slip past the login: it is "终止".
    void reject() override { bitbtn_cancelClick(); }

private:
    void FormActivate();
    bool failed();   // counts a failure; true when it was the third
    int m_failures = 0;
};
