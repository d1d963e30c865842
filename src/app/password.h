#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Change of the current operator's own password. q_qxb is open on his row.
class TForm_password : public QDialog {
    Q_OBJECT
public:
    explicit TForm_password(QWidget *owner = nullptr);

    QLabel *Label_name;
    QLineEdit *MaskEdit3, *MaskEdit1, *MaskEdit2;   // old, new, confirmation
    QPushButton *bitbtn_ok, *bitbtn1;

public slots:
    void bitbtn_okClick();

protected:
    void showEvent(QShowEvent *e) override;
};
