#pragma once
#include <QApplication>

// The application object: an unexpected database error escaping a window
// handler is shown in one consistent box instead of ending the program.
class VelorinApplication : public QApplication {
public:
    VelorinApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    static void setupFonts();
    // Chinese (China) as the default locale and Qt's own texts (file and
    // print dialogs, standard buttons, context menus) in Chinese. False when
    // Qt's translation is not installed (the texts stay English).
    static bool setupLanguage();
    // The program's icon theme, whatever the desktop uses.
    static void setupIcons();
};

namespace app {
// The program: main window, then the data module, the event loop. Returns the
// process exit status (non-zero when the database could not be used).
int run();
}
