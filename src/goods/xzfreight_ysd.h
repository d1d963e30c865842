#pragma once
#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
namespace grid { class DBGridEh; }

// 选择运输单: attaches goods orders (q_search) to the dispatch being entered
// (q_freight_ddb) and detaches them; each change is stored at once.
class TForm_xzfreight_ysd : public QDialog {
    Q_OBJECT
public:
    explicit TForm_xzfreight_ysd(QWidget *owner);

    void setDispatchNumber(const QString &number);
    // Called with the key of every order attached here.
    void setOrderAttached(std::function<void(qint64)> f) { m_attached = std::move(f); }

    // 选中, 取消, the double click that toggles, and the search.
    void SpeedButton2Click();
    void SpeedButton1Click();
    void toggle();
    void bitbtn_seekClick();

private:
    bool currentAttached() const;
    void setOrder(const QString &dispatchNumber);

    QLabel *m_number;   // Label1
    QComboBox *m_mode;
    QLineEdit *m_customer;
    grid::DBGridEh *m_grid;
    std::function<void(qint64)> m_attached;
};
