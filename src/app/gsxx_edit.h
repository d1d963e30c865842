#pragma once
#include <QDialog>

class QPushButton;
namespace dbctrls { class DBCheckBox; class DBDateEdit; class DBEdit; }

// 公司信息编辑: the one company record (q_gsxx, opened by the menu handler):
// the company's own data, the main window's title and banner, the accounting
// date and the start-up reminder switch. Saving keeps the window open.
class TForm_gsxx_edit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_gsxx_edit(QWidget *owner = nullptr);

    dbctrls::DBEdit *DBEdit7, *DBEdit1, *DBEdit3, *DBEdit4, *DBEdit2, *DBEdit8, *DBEdit9, *DBEdit5, *DBEdit6;
    dbctrls::DBDateEdit *DBDateTimeEditEh1;
    dbctrls::DBCheckBox *DBCheckBoxEh1;
    QPushButton *bitbtn2, *SpeedButton2;   // 保存, 返回

public slots:
    void bitbtn2Click();

protected:
    void showEvent(QShowEvent *e) override;
    void done(int r) override;

private:
    bool required(bool missing, const QString &message, QWidget *editor);
};
