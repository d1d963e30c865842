#pragma once
#include <QDialog>

class QPushButton;
namespace dbctrls { class DBEdit; class DBNumberEdit; }

// 提醒功能初始表编辑: the lead of the settings list's current row. The item's
// label is read-only and no row is added (增加 stays hidden and disabled).
class TForm_txcsb_edit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_txcsb_edit(QWidget *owner);

    dbctrls::DBEdit *DBEdit1;              // 项目
    dbctrls::DBNumberEdit *DBNumberEditEh1;   // 期限
    QPushButton *bitbtn_add, *bitbtn_save, *bitbtn_cancel, *bitbtn_close;

public slots:
    void bitbtn_saveClick();

protected:
    void done(int r) override;

private:
    bool refuse(const QString &message, QWidget *editor);
};
