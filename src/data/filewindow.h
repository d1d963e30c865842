#pragma once
#include "dbctrls/filedialogs.h"
#include <QDialog>

class QLineEdit;
class QPushButton;
class QToolButton;
namespace db { class Connection; }

namespace data {

// The backup and restore windows over the database file of a connection: a panel with the label "目的数据库名：",
// the read-only path `Edit1` with its browse button `SpeedButton3`, the
// action `SpeedButton1` and "返回" `SpeedButton2`; fixed border, centred on
// the screen.
class DatabaseFileWindow : public QDialog {
    Q_OBJECT
public:
    QLineEdit *Edit1;
    QPushButton *SpeedButton1, *SpeedButton2;
    QToolButton *SpeedButton3;

public slots:
    void SpeedButton3Click();            // the file dialog; a confirmed path goes into Edit1
    virtual void SpeedButton1Click() = 0;

protected:
    struct Decl {
        QString objectName;
        QString caption;
        QString action;                  // caption of SpeedButton1
        filedlg::Request dialog;         // the .mdb filter is added
    };
    DatabaseFileWindow(const Decl &decl, db::Connection *database, QWidget *owner);
    void showEvent(QShowEvent *e) override;
    db::Connection *database() const { return m_database; }

private:
    filedlg::Request m_dialog;
    db::Connection *m_database;
};

// Moves a window to the middle of its screen.
void centreOnScreen(QWidget *w);

// The wait cursor while a long file operation runs.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace data
