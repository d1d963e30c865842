#pragma once
#include <QDialog>
#include <QList>

class QCheckBox;
class QPushButton;
namespace db { class Query; }

// Empties chosen business and master tables. The operators, the company
// record, the reminder definitions and the scratch table are never touched.
class TForm_initialize : public QDialog {
    Q_OBJECT
public:
    // One check box and the table its statement empties, in running order.
    struct Item {
        QString caption;
        QString table;
        QString statement() const { return QStringLiteral("delete from ") + table; }
    };
    static const QList<Item> &items();

    explicit TForm_initialize(db::Query *search, QWidget *owner = nullptr);

    QList<QCheckBox *> CheckBoxes;        // CheckBox1 .. CheckBox14
    QPushButton *Button_all, *Button_none, *BitBtn1, *BitBtn2;

public slots:
    void BitBtn1Click();                   // "确定"
    void checkAll(bool checked);           // "全选" / "不选"

protected:
    void showEvent(QShowEvent *e) override;

private:
    db::Query *m_search;
};
