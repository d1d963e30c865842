#pragma once
#include <QMap>
#include <QPageLayout>
#include <QString>
#include <QVector>
#include <functional>

class QPainter;
class QPrinter;
class QPrintPreviewDialog;
class QRectF;
class QWidget;

namespace grid {

class TableSource;

struct PrintSettings {
    QString title;                      // centred in the page header
    bool pageNumberRight = false;       // "第N页" under the right header text instead of the left
    QMap<QString, QString> substitutions;   // "%[Today]", "%[czy]" -> their print-time texts
    // Painted on a page of its own after the table, under the same page
    // header (a chart of the rows, say); none when empty.
    std::function<void(QPainter &, const QRectF &)> trailer;

    // The list windows' settings: "%[Today]" is "打印时间:" and the current
    // date and time, "%[czy]" is "制表:" + the operator + " .".
    static PrintSettings standard(const QString &title, const QString &operatorName, bool pageNumberRight = false);
    // The line printed under the grid on the last page, macros replaced.
    QString noteLine() const;
};

// How the print lays a source out on its pages, for exports that are to look
// like it: the page, the cell size, each column's width and where pages break.
struct PageColumns {
    QPageLayout page;
    double cellPoints = 0;
    double padPoints = 0;          // the text's inset from either side of a cell
    QVector<double> widths;        // points, together the page's printable width
    QVector<int> pageRows;         // the first row of each page; rowCount() for a footer on a page of its own
};

// Renders a table source onto a printer: the grid fitted to the page width,
// rows as tall as their wrapped text (lines break at blanks and next to
// Chinese characters, never inside a number, date, code or Latin word), the page header (title and "第N页") on
// every page, the title rows repeated on each page, the footer row and the
// note line after the last row.
class GridPrinter {
public:
    GridPrinter(const TableSource &source, const PrintSettings &settings);
    ~GridPrinter();

    // A4 portrait with 2 mm margins on every side.
    static void setupPrinter(QPrinter &printer);
    // Portrait when the visible columns print there at a readable size,
    // otherwise landscape.
    QPageLayout::Orientation orientation() const;
    // setupPrinter() in that orientation.
    void setup(QPrinter &printer) const;
    // The size the cells print at on this printer: shrunk with the page to
    // a floor, and below it only so far that no word has to break.
    double cellPointSize(QPrinter *printer) const;
    // Paints every page (or the printer's chosen page range); the number of
    // pages of the whole print, 0 when the printer cannot be painted on.
    int print(QPrinter *printer) const;
    // How many pages a print on this printer takes.
    int pageCount(QPrinter *printer) const;
    // The columns and pages as they print on A4 in orientation().
    PageColumns pageColumns() const;

private:
    struct Layout;
    const TableSource &m_source;
    PrintSettings m_settings;
};

// Shows the print preview ("打印预览") over most of the screen, pages
// fitted to its width, and waits until it closes; printing is done from it.
void printPreview(QWidget *parent, const TableSource &source, const PrintSettings &settings);
// Prints straight to a PDF file (A4 in the grid's orientation, 2 mm margins).
bool printToPdf(const TableSource &source, const PrintSettings &settings, const QString &path, QString *error = nullptr);

// The step that runs the preview dialog (by default its exec()); tests
// replace it to look at the dialog and print without showing it. Returns the
// previous runner; nullptr restores the default.
using PreviewRunner = std::function<void(QPrintPreviewDialog &)>;
PreviewRunner setPreviewRunner(PreviewRunner runner);

} // namespace grid
