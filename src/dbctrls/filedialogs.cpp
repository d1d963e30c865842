#include "dbctrls/filedialogs.h"
#include <QFileDialog>

namespace filedlg {
namespace {
Chooser &chooser()
{
    static Chooser c;
    return c;
}
} // namespace

QString choose(QWidget *parent, const Request &r)
{
    if (chooser())
        return chooser()(parent, r);
    QFileDialog dlg(parent, r.title);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!r.defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(r.defaultSuffix);
    if (!r.filters.isEmpty())
        dlg.setNameFilters(r.filters);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().constFirst();
}

Chooser setChooser(Chooser c)
{
    Chooser old = chooser();
    chooser() = std::move(c);
    return old;
}

} // namespace filedlg
