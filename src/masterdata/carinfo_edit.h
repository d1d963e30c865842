#pragma once
#include <QDialog>
#include <QPixmap>

class QPushButton;
class QTabWidget;
class PictureBox;
namespace db { class Query; }
namespace dbctrls { class DBComboBox; class DBEdit; class DBRadioGroup; }

// Where a vehicle picture lives: the folder jpg of the working directory.
// A file whose name differs only in case is taken too, so pictures copied
// from a case-blind file system still show.
QString vehiclePicturePath(const QString &fileName);

// 承运车辆资料编辑: the three-page editor on the vehicle list's current row
// of q_carinfo. 返回 is the only way out.
class TForm_carinfo_edit : public QDialog {
    Q_OBJECT
public:
    explicit TForm_carinfo_edit(QWidget *owner);

    // The 所属单位 drop-down: every carrier's name.
    void setOwnerList(const QStringList &names);

    // The buttons' actions (public for the list and tests).
    void add();
    void save();
    void cancelChange();
    // 生成 and 全屏显示 of the picture page.
    void showPicture();
    void fullScreen();

protected:
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void done(int r) override;

private:
    bool info(const QString &message, QWidget *focus);
    // The save's checks in order; false also when nothing was changed.
    bool checks();
    // The row's picture, or a null one after telling the user why.
    QPixmap loadPicture();
    void setAdding(bool adding);

    db::Query *m_q;
    bool m_activated = false;
    QTabWidget *m_pages;
    dbctrls::DBComboBox *m_owner;
    dbctrls::DBEdit *m_plate;
    dbctrls::DBRadioGroup *m_kind;
    PictureBox *m_picture;
    QPushButton *m_add, *m_save, *m_cancel, *m_close;
};
