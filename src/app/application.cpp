#include "app/application.h"
#include "db/query.h"
#include "data/dm1.h"
#include "app/main.h"
#include "app/menutable.h"
#include <QScreen>
#include "db/dberror.h"
#include "dbctrls/messages.h"
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's own dialogs write dates in the system locale, which Qt reads from the
// environment once, while the application object is made: the dates of the
// file dialog are Chinese only when LC_TIME says so before that.
int &withChineseDates(int &argc)
{
    if (qEnvironmentVariableIsEmpty("LC_ALL"))
        qputenv("LC_TIME", "zh_CN.UTF-8");
    return argc;
}

} // namespace

// A whole-list operation that waits for the rest of a long list.
static void waitCursor(bool waiting)
{
    if (waiting)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

VelorinApplication::VelorinApplication(int &argc, char **argv) : QApplication(withChineseDates(argc), argv)
{
    setApplicationName(QStringLiteral("Lunvek软件"));
    setApplicationDisplayName(QString());
    setupFonts();
    db::Query::setWaitHook(waitCursor);
    setupLanguage();
    setupIcons();
}

bool VelorinApplication::setupLanguage()
{
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    static QTranslator *qtTexts = nullptr;
    if (qtTexts)
        return true;
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    qtTexts = t;
    return true;
}

void VelorinApplication::setupIcons()
{
    // Freely licensed and coloured; buttons fall back to their drawn glyphs
    // where it is not installed.
    QIcon::setThemeName(QStringLiteral("breeze"));
}

void VelorinApplication::setupFonts()
{
    // The windows are designed for a Song face at 9 pt.
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setFamilies({QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    f.setPointSize(9);
    QApplication::setFont(f);
    // The drop-down lists lay their rows out by the font's metrics, which
    // leave the Song face's strokes touching the next row and the last row
    // cut off at the bottom: every row gets a whole line and a little air.
    qApp->setStyleSheet(QStringLiteral("QComboBox QAbstractItemView::item { min-height: %1px; }")
                            .arg(QFontMetrics(f).height() + 4));
}

bool VelorinApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const db::DbError &e) {
        msg::dbError(activeWindow(), e.message());
    } catch (const std::exception &e) {
        msg::dbError(activeWindow(), QString::fromLocal8Bit(e.what()));
    }
    return false;
}

namespace app {
int run()
{
    // The program is started in its data folder, where data.mdb lives; a
    // restore comes back to the folder the database was opened in.
    TForm_main main;
    TDm1 dm;
    // Without a window manager showMaximized() alone keeps the small size.
    if (const QScreen *screen = main.screen())
        main.setGeometry(screen->availableGeometry());
    main.showMaximized();
    const int rc = QApplication::exec();
    return rc != 0 ? rc : main.exitCode();
}
} // namespace app
