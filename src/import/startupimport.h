#pragma once
#include "import/importer.h"
#include <QDialog>
#include <optional>

class QPrinter;
class QTextBrowser;

// The start-up's way out for a firm that copied its old program's data.mdb
// into the data folder: the file is imported into a new database put in its
// place, the old file kept beside it.
namespace jetimport {

// The name the old file keeps beside the new data.mdb, and the map file a
// firm whose old program names its tables differently puts beside it.
QString keptName(const QString &database);    // data.access.mdb
QString mapName(const QString &database);     // data.map.ini

// Imports the Access file DATABASE into a new database and puts that in its
// place; the old file stays as keptName(DATABASE), which must not exist.
// data.mdb is at every moment either the old file or the complete new one.
// Throws db::DbError; nothing is changed then.
Report replaceWithImport(const QString &database, const Progress &progress = {});

struct StartupImport {
    bool failed = false;
    QString error;                 // why, when failed
    std::optional<Report> report;  // when imported
};
// When DATABASE is an Access file: asks whether to import it and on Yes does
// so under the wait cursor with a progress bar. Nothing happens for any
// other file, or on No.
StartupImport offerStartupImport(QWidget *parent, const QString &database);

// The report of an import, which can be printed.
class ImportReportWindow : public QDialog {
    Q_OBJECT
public:
    ImportReportWindow(QWidget *parent, const Report &report);
    QString html() const { return m_html; }
    void print(QPrinter *printer) const;

private:
    QString m_html;
};

} // namespace jetimport
