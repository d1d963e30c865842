#include "grid/print.h"
#include "db/dates.h"
#include "grid/tablesource.h"
#include "grid/titlebands.h"
#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextLayout>
#include <QTextOption>

namespace grid {
namespace {

const QString SongFace = QStringLiteral("AR PL UMing CN");
constexpr double ScreenDpi = 96.0;
constexpr double CellPointSize = 9.0;
constexpr double MinCellPointSize = 6.0;

QFont songFont(double points, QPaintDevice *device)
{
    QFont f(SongFace);
    f.setPointSizeF(points);
    return QFont(f, device);
}

QTextOption wrapOption(Qt::Alignment align)
{
    QTextOption o(align | Qt::AlignVCenter);
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return o;
}

// Cell text as laid out: line breaks kept, tabs as plain spaces (a tab
// stop inside a narrow cell would only push the text out of it).
QString printable(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    t.replace(QLatin1Char('\n'), QChar::LineSeparator);
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return t;
}

// Height of text wrapped to `width`, at least one line.
double textHeight(const QString &text, const QFont &font, double width, QPaintDevice *device)
{
    QTextLayout layout(printable(text), font, device);
    layout.setTextOption(wrapOption(Qt::AlignLeft));
    layout.beginLayout();
    double h = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        h += line.height();
    }
    layout.endLayout();
    return qMax(h, QFontMetricsF(font, device).height());
}

bool isNumeric(db::Kind k)
{
    return k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float;
}

PreviewRunner &previewRunner()
{
    static PreviewRunner r;
    return r;
}

} // namespace

PrintSettings PrintSettings::standard(const QString &title, const QString &operatorName, bool pageNumberRight)
{
    PrintSettings s;
    s.title = title;
    s.pageNumberRight = pageNumberRight;
    s.substitutions.insert(QStringLiteral("%[Today]"),
                           QStringLiteral("打印时间:") + db::shortDateTime(QDateTime::currentDateTime()));
    s.substitutions.insert(QStringLiteral("%[czy]"), QStringLiteral("制表:") + operatorName + QStringLiteral(" ."));
    return s;
}

QString PrintSettings::noteLine() const
{
    QString line = QStringLiteral("%[Today]") + QString(21, QLatin1Char(' ')) + QStringLiteral("%[czy]");
    for (auto it = substitutions.constBegin(); it != substitutions.constEnd(); ++it)
        line.replace(it.key(), it.value());
    return line;
}

// Everything measured for one printer: column edges, fonts, row heights and
// which rows go on which page.
struct GridPrinter::Layout {
    struct Page {
        int firstRow = 0, endRow = 0;
        bool footer = false, note = false;
        bool hasGrid() const { return endRow > firstRow || footer; }
    };

    QPaintDevice *device = nullptr;
    double width = 0, height = 0, mm = 0;
    QFont cellFont, headerFont, noteFont;
    double headerLine = 0, noteHeight = 0, gap = 0, padX = 0, padY = 0;
    QVector<double> colX;          // column edges, columnCount() + 1 of them
    TitleBands bands;
    QVector<double> bandY;         // title row edges, bands.rows + 1 of them
    QVector<double> rowHeight;
    double footerHeight = 0;
    QVector<Page> pages;

    double gridTop() const { return 2 * headerLine + gap; }
    double cellWidth(int c) const { return colX[c + 1] - colX[c] - 2 * padX; }

    double rowHeightOf(const TableSource &src, const std::function<QString(int)> &text) const
    {
        double h = 0;
        for (int c = 0; c < src.columnCount(); ++c)
            h = qMax(h, textHeight(text(c), cellFont, cellWidth(c), device));
        return h + 2 * padY;
    }

    Layout(const TableSource &src, QPrinter *printer)
    {
        device = printer;
        const double dpi = printer->resolution();
        const QRectF area = printer->pageLayout().paintRectPixels(printer->resolution());
        width = area.width();
        height = area.height();
        mm = dpi / 25.4;
        gap = 2 * mm;
        padX = 0.8 * mm;
        padY = 0.7 * mm;

        const int cols = src.columnCount();
        double screenWidth = 0;
        for (int c = 0; c < cols; ++c)
            screenWidth += qMax(1, src.width(c));
        // The grid takes the page width; the text shrinks with it when the
        // grid is wider than the paper, down to a size still readable.
        const double physical = screenWidth > 0 ? width / (screenWidth * dpi / ScreenDpi) : 1.0;
        cellFont = songFont(qMax(MinCellPointSize, CellPointSize * qMin(1.0, physical)), device);
        headerFont = songFont(12, device);
        noteFont = songFont(8, device);
        headerLine = QFontMetricsF(headerFont, device).height();
        noteHeight = QFontMetricsF(noteFont, device).height();

        colX.resize(cols + 1);
        for (int c = 0; c < cols; ++c)
            colX[c + 1] = colX[c] + width * qMax(1, src.width(c)) / screenWidth;

        bands = titleBands(src);
        bandY.fill(0, bands.rows + 1);
        QVector<double> need(bands.rows, 0);
        for (const TitleCell &t : bands.cells) {
            const double w = colX[t.col + t.colSpan] - colX[t.col] - 2 * padX;
            const double h = textHeight(t.text, cellFont, w, device) + 2 * padY;
            int last = t.row + t.rowSpan - 1;
            double have = 0;
            for (int r = t.row; r < last; ++r)
                have += need[r];
            need[last] = qMax(need[last], h - have);   // spans grow their last row
        }
        for (int r = 0; r < bands.rows; ++r)
            bandY[r + 1] = bandY[r] + need[r];

        const int rows = src.rowCount();
        rowHeight.resize(rows);
        for (int r = 0; r < rows; ++r)
            rowHeight[r] = rowHeightOf(src, [&](int c) { return src.text(r, c); });
        if (src.hasFooter())
            footerHeight = rowHeightOf(src, [&](int c) { return src.footer(c); });

        // Pages: rows while they fit under the repeated titles, then the
        // footer row and the note line, each moved on when it doesn't fit.
        const double top = gridTop() + bandY.last();
        Page page;
        double y = top;
        const auto breakPage = [&](int row) {
            pages << page;
            page = Page{row, row};
            y = top;
        };
        for (int r = 0; r < rows; ++r) {
            if (y + rowHeight[r] > height && page.endRow > page.firstRow)
                breakPage(r);
            y += rowHeight[r];
            page.endRow = r + 1;
        }
        if (src.hasFooter()) {
            if (y + footerHeight > height && page.hasGrid())
                breakPage(rows);
            page.footer = true;
            y += footerHeight;
        }
        if (y + gap + noteHeight > height && page.hasGrid())
            breakPage(rows);
        page.note = true;
        pages << page;
    }
};

GridPrinter::GridPrinter(const TableSource &source, const PrintSettings &settings)
    : m_source(source), m_settings(settings)
{
}

GridPrinter::~GridPrinter() = default;

void GridPrinter::setupPrinter(QPrinter &printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(2, 2, 2, 2),
                                      QPageLayout::Millimeter));
}

int GridPrinter::pageCount(QPrinter *printer) const
{
    return int(Layout(m_source, printer).pages.size()) + (m_settings.trailer ? 1 : 0);
}

int GridPrinter::print(QPrinter *printer) const
{
    const Layout L(m_source, printer);
    QPainter p;
    if (!p.begin(printer))
        return 0;
    const TableSource &src = m_source;
    const int cols = src.columnCount();
    QPen pen(Qt::black);
    pen.setWidthF(0.15 * L.mm);
    const QColor titleFill(235, 235, 235);

    const auto cell = [&](const QRectF &r, const QString &text, Qt::Alignment align, const QFont &font,
                          const QColor &fill) {
        if (fill.isValid())
            p.fillRect(r, fill);
        p.setPen(pen);
        p.drawRect(r);
        p.setFont(font);
        p.drawText(r.adjusted(L.padX, L.padY, -L.padX, -L.padY), printable(text), wrapOption(align));
    };
    const auto dataRow = [&](double y, double h, const std::function<QString(int)> &text, const QColor &fill) {
        for (int c = 0; c < cols; ++c)
            cell(QRectF(L.colX[c], y, L.colX[c + 1] - L.colX[c], h), text(c),
                 isNumeric(src.kind(c)) ? Qt::AlignRight : Qt::AlignLeft, L.cellFont, fill);
    };

    // A page range chosen in the print dialog limits what is painted, not
    // the numbering.
    const int total = int(L.pages.size()) + (m_settings.trailer ? 1 : 0);
    const int from = printer->fromPage() > 0 ? printer->fromPage() : 1;
    const int to = printer->toPage() > 0 ? printer->toPage() : total;
    bool first = true;
    const auto startPage = [&](int n) {
        if (!first)
            printer->newPage();
        first = false;
        p.setPen(Qt::black);
        p.setFont(L.headerFont);
        p.drawText(QRectF(0, 0, L.width, L.headerLine), Qt::AlignHCenter | Qt::AlignVCenter, m_settings.title);
        p.drawText(QRectF(0, L.headerLine, L.width, L.headerLine),
                   (m_settings.pageNumberRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                   QStringLiteral("第%1页").arg(n));
    };
    for (int n = 1; n <= L.pages.size(); ++n) {
        if (n < from || n > to)
            continue;
        startPage(n);
        const Layout::Page &page = L.pages[n - 1];

        double y = L.gridTop();
        if (page.hasGrid()) {
            for (const TitleCell &t : L.bands.cells) {
                const QRectF r(L.colX[t.col], y + L.bandY[t.row], L.colX[t.col + t.colSpan] - L.colX[t.col],
                               L.bandY[t.row + t.rowSpan] - L.bandY[t.row]);
                cell(r, t.text, Qt::AlignHCenter, L.cellFont, titleFill);
            }
            y += L.bandY.last();
        }
        for (int r = page.firstRow; r < page.endRow; ++r) {
            dataRow(y, L.rowHeight[r], [&](int c) { return src.text(r, c); }, QColor());
            y += L.rowHeight[r];
        }
        if (page.footer) {
            dataRow(y, L.footerHeight, [&](int c) { return src.footer(c); }, titleFill);
            y += L.footerHeight;
        }
        if (page.note) {
            p.setPen(Qt::black);
            p.setFont(L.noteFont);
            p.drawText(QRectF(0, y + L.gap, L.width, L.noteHeight), Qt::AlignLeft | Qt::AlignVCenter,
                       m_settings.noteLine());
        }
    }
    if (m_settings.trailer && total >= from && total <= to) {
        startPage(total);
        p.save();
        m_settings.trailer(p, QRectF(0, L.gridTop(), L.width, L.height - L.gridTop()));
        p.restore();
    }
    p.end();
    return total;
}

PreviewRunner setPreviewRunner(PreviewRunner runner)
{
    PreviewRunner old = previewRunner();
    previewRunner() = std::move(runner);
    return old;
}

void printPreview(QWidget *parent, const TableSource &source, const PrintSettings &settings)
{
    QPrinter printer(QPrinter::HighResolution);
    GridPrinter::setupPrinter(printer);
    const GridPrinter gp(source, settings);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(QStringLiteral("打印预览"));
    QObject::connect(&dlg, &QPrintPreviewDialog::paintRequested, &dlg, [&gp](QPrinter *p) { gp.print(p); });
    if (previewRunner())
        previewRunner()(dlg);
    else
        dlg.exec();
}

bool printToPdf(const TableSource &source, const PrintSettings &settings, const QString &path, QString *error)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(settings.title);
    GridPrinter::setupPrinter(printer);
    if (GridPrinter(source, settings).print(&printer) > 0 && QFileInfo(path).size() > 0)
        return true;
    if (error)
        *error = QStringLiteral("无法打印到文件“%1”。").arg(path);
    return false;
}

} // namespace grid
