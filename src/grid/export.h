#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QFileDialog;
class QWidget;

namespace grid {

class TableSource;

// File writers: every row and visible column of the source with its titles.
// Each writes through a temporary file that replaces the target only when
// complete, so a failed export never leaves a half-written file behind.
// False with a readable message in *error when the file cannot be written.
bool writeText(const TableSource &source, const QString &path, QString *error = nullptr);  // UTF-8 BOM, tabs, CRLF
bool writeCsv(const TableSource &source, const QString &path, QString *error = nullptr);   // UTF-8 BOM, RFC 4180
bool writeHtml(const TableSource &source, const QString &path, QString *error = nullptr);
bool writeRtf(const TableSource &source, const QString &path, QString *error = nullptr);
bool writeXls(const TableSource &source, const QString &path, QString *error = nullptr);   // Excel 97-2003

// The save dialog's filter entries, in order; entry n (from 1) writes the
// format with extension exportExtension(n): txt, csv, htm, rtf, xls.
QStringList exportFilters();
QString exportExtension(int filterIndex);
// Writes the format of filter entry 1..5; false for any other index.
bool writeExport(int filterIndex, const TableSource &source, const QString &path, QString *error = nullptr);

// The name the file is written under: when its last three characters differ,
// ignoring case, from the entry's extension, "." and the extension are added
// ("a" -> "a.xls", "a.XLS" stays, "a.txt" -> "a.txt.xls" for entry 5).
QString exportFileName(const QString &name, int filterIndex);

struct SaveChoice {
    QString fileName;
    int filterIndex = 5;
};
// Stands in for the save dialog: gets the proposed name, the filters and the
// preselected entry; returns the choice, or nullopt for cancel.
using SaveDialogHook = std::function<std::optional<SaveChoice>(
    QWidget *parent, const QString &fileName, const QStringList &filters, int filterIndex)>;
// Replaces the real dialog (nullptr restores it); returns the previous hook.
SaveDialogHook setSaveDialogHook(SaveDialogHook hook);
// Sizes the save dialog so that the proposed name and every file type show whole.
void fitSaveDialog(QFileDialog &dialog);

// The export of every list window: the shared save dialog proposes
// defaultName with the last chosen entry (Excel at first); the chosen entry
// decides the format. A failed write is reported in a message box.
// True when a file was written.
bool exportTable(QWidget *parent, const TableSource &source, const QString &defaultName);

} // namespace grid
