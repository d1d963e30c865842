#pragma once
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The one way a window asks for a file name. In the program it is a real
// QFileDialog; tests install a chooser that answers at once.
namespace filedlg {

struct Request {
    QString title = {};
    bool save = false;            // save dialog (else open an existing file)
    QString defaultSuffix = {};   // added when the name typed has none
    QStringList filters = {};     // "数据库文件 (*.mdb)", ...
};

// The chosen path; empty when the operator cancelled.
using Chooser = std::function<QString(QWidget *parent, const Request &r)>;

QString choose(QWidget *parent, const Request &r);
// Replaces the real dialog (nullptr restores it); returns the previous chooser.
Chooser setChooser(Chooser c);

} // namespace filedlg
