#pragma once
#include <QMainWindow>

class QLabel;
class QTimer;
class QStatusBar;
class QWidget;
namespace app { struct MenuItem; }
namespace db { class DbError; }

// The main window: menu and tool bar that open every business window, the
// status bar, the scrolling banner, and the start-up sequence (connection,
// company record, login, auto reminder).
class TForm_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm_main(QWidget *parent = nullptr);
    ~TForm_main() override;

    QLabel *Image1;
    QWidget *Panel_banner;    // clipped area the banner scrolls in
    QLabel *Label1;           // the banner
    QTimer *Timer1;
    QStatusBar *StatusBar1;

    QString statusPanelText(int panel) const;
    void setStatusPanelText(int panel, const QString &text);
    // The menu item's action by component name ("N24"), nullptr when none.
    QAction *menuAction(const QString &name) const;
    // Non-zero when the program ended because the database could not be used.
    int exitCode() const { return m_exitCode; }
    bool isEnded() const { return m_ended; }

public slots:
    void FormActivate();      // start-up sequence; runs once
    void Timer1Timer();
    void runMenuItem(const app::MenuItem &item);

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void endWithoutDatabase(const db::DbError &e);
    void FormCreate();
    void FormClose();
    void buildMenu();
    QWidget *buildTopPanel();
    void buildStatusBar();
    void autoReminder();
    void setBanner(const QString &text);
    void setOperatorPanel();
    void openItemWindow(const app::MenuItem &item);

    QList<QLabel *> m_panels;
    bool m_activated = false;
    bool m_ended = false;
    int m_exitCode = 0;
};

// The process-wide main window (the first one created).
extern TForm_main *Form_main;

namespace app {
// Next left edge of the banner: back to the panel's right edge once it has
// left on the left (left <= -width), else one pixel further left.
int bannerNextLeft(int left, int width, int panelWidth);
}
