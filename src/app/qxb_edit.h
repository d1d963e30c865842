#pragma once
#include <QDialog>
#include <QStringList>

class QPushButton;
namespace dbctrls { class DBComboBox; class DBEdit; }

// 操作员编辑: one operator of q_qxb, opened by the operator list on its current
// row. Names need not be unique, and the password is never touched here: a
// new operator logs in with an empty one and sets it himself.
class TForm_qxb_edit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_qxb_edit(QWidget *owner = nullptr);

    // The pick list of 输入法 (free text is allowed too).
    void setInputMethods(const QStringList &names);

    dbctrls::DBEdit *DBEditEh1, *DBEditEh2, *DBEditEh3, *DBEditEh4;   // 姓名, 身份证号, 联系电话, 备注
    dbctrls::DBComboBox *DBComboBoxEh1;                                // 输入法
    QPushButton *bitbtn_add, *bitbtn_save, *bitbtn_cancel, *bitbtn_close;

public slots:
    void bitbtn_addClick();
    void bitbtn_saveClick();
    void bitbtn_cancelClick();

protected:
    void showEvent(QShowEvent *e) override;
    void done(int r) override;

private:
    bool nameGiven();
    void setAdding(bool adding);
};

namespace app {
// Names of the input methods installed for the desktop's input-method
// frameworks (IBus engines, Fcitx 5 and Fcitx 4 input methods), as found in
// the standard data folders; plain keyboard layouts are left out. Often empty.
QStringList installedInputMethods();
// The same, from the given data folders (each like /usr/share).
QStringList inputMethodsIn(const QStringList &dataDirs);
} // namespace app
