#pragma once
#include <QApplication>

// The application object: an unexpected database error escaping a window
// handler is shown in one consistent box instead of ending the program.
class VelorinApplication : public QApplication {
public:
    VelorinApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    static void setupFonts();
};

namespace app {
// The program: main window, then the data module, the event loop. Returns the
// process exit status (non-zero when the database could not be used).
int run();
}
