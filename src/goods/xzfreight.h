#pragma once
#include <QDialog>
#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
namespace grid { class DBGridEh; }

// 选择货物名称: adds lines to the current goods order from its customer's
// goods (q_woodinfo, left) and removes them (q_freight_mxb, right). A line is
// stored the moment it is chosen.
class TForm_xzfreight : public QDialog {
    Q_OBJECT
public:
    explicit TForm_xzfreight(QWidget *owner);

    // The customer whose goods are listed: the group caption the search uses.
    void setCustomer(const QString &name);
    // Called with the key of every line stored here.
    void setLineStored(std::function<void(qint64)> f) { m_lineStored = std::move(f); }

    // SpeedButton2 (and a double click on the goods): the selected goods as a new line.
    void SpeedButton2Click();
    // SpeedButton1: the line selected on the right removed.
    void SpeedButton1Click();
    // bitbtn_seek: the customer's goods by name, or all of them.
    void bitbtn_seekClick();

private:
    QGroupBox *m_group;
    QComboBox *m_mode;
    QLineEdit *m_name;
    grid::DBGridEh *m_goods, *m_lines;
    std::function<void(qint64)> m_lineStored;
};
