#include "grid/print.h"
#include "db/dates.h"
#include "grid/tablesource.h"
#include "grid/titlebands.h"
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QPainter>
#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QScreen>
#include <QPrinter>
#include <vector>

namespace grid {
namespace {

const QString SongFace = QStringLiteral("AR PL UMing CN");
constexpr double ScreenDpi = 96.0;
constexpr double CellPointSize = 9.0;
// Below this a portrait page is not worth it: the print turns to landscape.
constexpr double ReadablePointSize = 8.0;
// The smallest size the grid is shrunk to before words would be broken, and
// the last resort for grids too wide even for that.
constexpr double MinCellPointSize = 6.0;
constexpr double LastResortPointSize = 4.0;

QFont songFont(double points, QPaintDevice *device)
{
    QFont f(SongFace);
    f.setPointSizeF(points);
    return QFont(f, device);
}

bool isWide(char32_t c)
{
    // Ideographs, kana, CJK punctuation and full-width forms: a line may
    // break before or after each of them.
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Marks that belong to the text before them, and those that belong to the
// text after them: a line never starts with the one nor ends with the other.
bool closes(char32_t c)
{
    static const QString s = QStringLiteral(")]}>,.:;!?%、，。：；！？）】》」』〉”’…·");
    return c < 0x10000 && s.contains(QChar(char16_t(c)));
}

bool opens(char32_t c)
{
    static const QString s = QStringLiteral("([{<（【《「『〈“‘");
    return c < 0x10000 && s.contains(QChar(char16_t(c)));
}

bool isBlank(char32_t c) { return c == ' ' || c == 0x3000 || c == '\t'; }

// Cell text as laid out: line breaks kept, tabs as plain spaces (a tab
// stop inside a narrow cell would only push the text out of it).
QStringList paragraphs(const QString &text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QChar::LineSeparator, QLatin1Char('\n'));
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return t.split(QLatin1Char('\n'));
}

// A paragraph cut where a line may break: after blanks, and before or after
// a Chinese character (never inside a number, date, code or Latin word, nor
// between a mark and the text it belongs to). Blanks stay at the end of the
// piece before the break.
QStringList pieces(const QString &para)
{
    QStringList out;
    const QList<uint> cps = para.toUcs4();
    QString cur;
    for (int i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        if (i > 0 && !cur.isEmpty()) {
            const char32_t prev = cps[i - 1];
            const bool afterBlank = isBlank(prev) && !isBlank(c);
            const bool aroundWide = (isWide(prev) || isWide(c)) && !isBlank(c) && !isBlank(prev);
            if ((afterBlank || aroundWide) && !closes(c) && !opens(prev)) {
                out << cur;
                cur.clear();
            }
        }
        cur += QString::fromUcs4(&c, 1);
    }
    if (!cur.isEmpty() || out.isEmpty())
        out << cur;
    return out;
}

double advance(const QFontMetricsF &fm, const QString &s)
{
    QString t = s;
    while (!t.isEmpty() && isBlank(t.back().unicode()))
        t.chop(1);   // trailing blanks hang in the margin
    return fm.horizontalAdvance(t);
}

// The lines of a cell's text in `width`. A piece wider than a whole line
// (only when even the last-resort size cannot hold it) is cut by characters.
QStringList wrapLines(const QString &text, const QFontMetricsF &fm, double width)
{
    QStringList lines;
    for (const QString &para : paragraphs(text)) {
        QString line;
        for (QString piece : pieces(para)) {
            if (!line.isEmpty() && advance(fm, line + piece) > width) {
                lines << line;
                line.clear();
            }
            while (line.isEmpty() && advance(fm, piece) > width && piece.size() > 1) {
                int n = 1;
                while (n < piece.size() && advance(fm, piece.left(n + 1)) <= width)
                    ++n;
                if (piece[n - 1].isHighSurrogate() && n < piece.size())
                    ++n;
                lines << piece.left(n);
                piece = piece.mid(n);
            }
            line += piece;
        }
        lines << line;
    }
    return lines;
}

// The widest piece of a text: the narrowest column that holds it unbroken.
double widestPiece(const QString &text, const QFontMetricsF &fm)
{
    double w = 0;
    for (const QString &para : paragraphs(text))
        for (const QString &piece : pieces(para))
            w = qMax(w, advance(fm, piece));
    return w;
}

// Height of text wrapped to `width`, at least one line.
double textHeight(const QString &text, const QFont &font, double width, QPaintDevice *device)
{
    const QFontMetricsF fm(font, device);
    return qMax<qsizetype>(1, wrapLines(text, fm, width).size()) * fm.height();
}

// widestPiece() and the number of wrapped lines over all cells of one
// column of a long list: printable ASCII (codes, numbers, dates) is measured
// by adding up its characters' widths, other texts once each.
class CellMeter {
public:
    CellMeter(const QFontMetricsF &fm, double width) : m_fm(fm), m_width(width)
    {
        for (int c = 0; c < 128; ++c)
            m_ascii[c] = fm.horizontalAdvance(QChar(c));
    }
    double widestPiece(const QString &text)
    {
        bool blank = false;
        const double w = asciiWidth(text, &blank);
        if (w >= 0 && !blank)
            return w;   // one piece
        return cached(m_pieces, text, [&] { return grid::widestPiece(text, m_fm); });
    }
    int lines(const QString &text)
    {
        bool blank = false;
        const double w = asciiWidth(text, &blank);
        if (w >= 0 && w <= m_width)
            return 1;
        return int(cached(m_lines, text, [&] { return double(qMax<qsizetype>(1, wrapLines(text, m_fm, m_width).size())); }));
    }

private:
    // The width of a text of printable ASCII and blanks, -1 for any other.
    double asciiWidth(const QString &text, bool *blank) const
    {
        double w = 0;
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u < ' ' || u >= 127)
                return -1;
            *blank |= u == ' ';
            w += m_ascii[u];
        }
        return w;
    }
    static double cached(QHash<QString, double> &cache, const QString &text, const std::function<double()> &measure)
    {
        auto it = cache.constFind(text);
        if (it == cache.constEnd())
            it = cache.insert(text, measure());
        return *it;
    }
    QFontMetricsF m_fm;
    double m_width;
    double m_ascii[128];
    QHash<QString, double> m_pieces, m_lines;
};

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

// Points a grid of these screen widths takes at the design size.
double designPoints(const TableSource &src)
{
    double px = 0;
    for (int c = 0; c < src.columnCount(); ++c)
        px += qMax(1, src.width(c));
    return px * 72.0 / ScreenDpi;
}

// The size the cells print at on a page `points` wide: the grid as on
// screen, shrunk with the page but not below the floor.
double fittedPointSize(const TableSource &src, double points)
{
    const double design = designPoints(src);
    return design > 0 ? qBound(MinCellPointSize, CellPointSize * points / design, CellPointSize) : CellPointSize;
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
    double cellPoints = CellPointSize;
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

    // Column widths at the cell size: each at least its widest unbreakable
    // piece, the rest of the page shared out as the screen widths are.
    // False when even the narrowest columns are wider than the page.
    bool fitColumns(const TableSource &src, const QVector<double> &pieceAtDesign)
    {
        const int cols = src.columnCount();
        const double scale = cellPoints / CellPointSize * 1.02;   // metrics grow a hair faster than the size
        QVector<double> need(cols);
        double needed = 0;
        for (int c = 0; c < cols; ++c) {
            need[c] = pieceAtDesign[c] * scale + 2 * padX;
            needed += need[c];
        }
        colX.fill(0, cols + 1);
        if (needed > width)
            return false;
        QVector<bool> fixed(cols, false);
        QVector<double> w(cols, 0);
        for (bool changed = true; changed;) {
            changed = false;
            double room = width, weight = 0;
            for (int c = 0; c < cols; ++c) {
                if (fixed[c])
                    room -= need[c];
                else
                    weight += qMax(1, src.width(c));
            }
            for (int c = 0; c < cols; ++c) {
                if (fixed[c]) {
                    w[c] = need[c];
                    continue;
                }
                w[c] = room * qMax(1, src.width(c)) / weight;
                if (w[c] < need[c]) {
                    fixed[c] = true;
                    changed = true;
                }
            }
        }
        for (int c = 0; c < cols; ++c)
            colX[c + 1] = colX[c] + w[c];
        colX[cols] = width;   // no rounding gap at the right edge
        return true;
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
        headerFont = songFont(12, device);
        noteFont = songFont(8, device);
        headerLine = QFontMetricsF(headerFont, device).height();
        noteHeight = QFontMetricsF(noteFont, device).height();

        const int cols = src.columnCount();
        const int rows = src.rowCount();
        // The widest unbreakable piece of every column at the design size:
        // titles, every row and the footer.
        const QFontMetricsF design(songFont(CellPointSize, device), device);
        QVector<double> piece(cols, 0);
        const TitleBands titles = titleBands(src);
        for (const TitleCell &t : titles.cells)
            if (t.colSpan == 1)
                piece[t.col] = qMax(piece[t.col], widestPiece(t.text, design));
        for (int c = 0; c < cols; ++c) {
            CellMeter meter(design, 0);
            for (int r = 0; r < rows; ++r)
                piece[c] = qMax(piece[c], meter.widestPiece(src.text(r, c)));
            if (src.hasFooter())
                piece[c] = qMax(piece[c], meter.widestPiece(src.footer(c)));
        }

        // The grid takes the page width; the text shrinks with it when the
        // grid is wider than the paper, down to the floor, and further only
        // when the words would not fit otherwise.
        cellPoints = fittedPointSize(src, width * 72.0 / dpi);
        while (!fitColumns(src, piece) && cellPoints > LastResortPointSize)
            cellPoints = qMax(LastResortPointSize, cellPoints - 0.25);
        if (colX.last() <= 0)   // nothing holds: share the page and let the words break
            for (int c = 0; c < cols; ++c)
                colX[c + 1] = colX[c] + width / qMax(1, cols);
        cellFont = songFont(cellPoints, device);

        bands = titles;
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

        const QFontMetricsF cellMetrics(cellFont, device);
        std::vector<CellMeter> meters;
        for (int c = 0; c < cols; ++c)
            meters.emplace_back(cellMetrics, cellWidth(c));
        const auto rowHeightOf = [&](const std::function<QString(int)> &text) {
            int lines = 1;
            for (int c = 0; c < cols; ++c)
                lines = qMax(lines, meters[c].lines(text(c)));
            return lines * cellMetrics.height() + 2 * padY;
        };
        rowHeight.resize(rows);
        for (int r = 0; r < rows; ++r)
            rowHeight[r] = rowHeightOf([&](int c) { return src.text(r, c); });
        if (src.hasFooter())
            footerHeight = rowHeightOf([&](int c) { return src.footer(c); });

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

QPageLayout::Orientation GridPrinter::orientation() const
{
    const QPageLayout portrait(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(2, 2, 2, 2),
                               QPageLayout::Millimeter);
    return fittedPointSize(m_source, portrait.paintRect(QPageLayout::Point).width()) >= ReadablePointSize
               ? QPageLayout::Portrait
               : QPageLayout::Landscape;
}

void GridPrinter::setup(QPrinter &printer) const
{
    setupPrinter(printer);
    printer.setPageOrientation(orientation());
}

double GridPrinter::cellPointSize(QPrinter *printer) const
{
    return Layout(m_source, printer).cellPoints;
}

int GridPrinter::pageCount(QPrinter *printer) const
{
    return int(Layout(m_source, printer).pages.size()) + (m_settings.trailer ? 1 : 0);
}

PageColumns GridPrinter::pageColumns() const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    setup(printer);
    const Layout L(m_source, &printer);
    const double toPoints = 72.0 / printer.resolution();
    PageColumns out{.page = printer.pageLayout(), .cellPoints = L.cellPoints, .padPoints = L.padX * toPoints,
                    .widths = {}, .pageRows = {}};
    for (int c = 0; c + 1 < L.colX.size(); ++c)
        out.widths << (L.colX[c + 1] - L.colX[c]) * toPoints;
    for (const Layout::Page &p : L.pages)
        if (p.hasGrid())
            out.pageRows << p.firstRow;
    return out;
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

    const QFontMetricsF fm(L.cellFont, printer);
    const auto cell = [&](const QRectF &r, const QString &text, Qt::Alignment align, const QColor &fill) {
        if (fill.isValid())
            p.fillRect(r, fill);
        p.setPen(pen);
        p.drawRect(r);
        p.setFont(L.cellFont);
        // Lines as laid out for the row height, centred in the cell.
        const QRectF in = r.adjusted(L.padX, L.padY, -L.padX, -L.padY);
        const QStringList lines = wrapLines(text, fm, in.width());
        double y = in.top() + (in.height() - lines.size() * fm.height()) / 2;
        for (const QString &line : lines) {
            p.drawText(QRectF(in.left(), y, in.width(), fm.height()), int(align | Qt::AlignVCenter | Qt::TextSingleLine),
                       line);
            y += fm.height();
        }
    };
    const auto dataRow = [&](double y, double h, const std::function<QString(int)> &text, const QColor &fill) {
        for (int c = 0; c < cols; ++c)
            cell(QRectF(L.colX[c], y, L.colX[c + 1] - L.colX[c], h), text(c),
                 isNumericKind(src.kind(c)) ? Qt::AlignRight : Qt::AlignLeft, fill);
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
                cell(r, t.text, Qt::AlignHCenter, titleFill);
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
    const GridPrinter gp(source, settings);
    gp.setup(printer);
    QPrintPreviewDialog dlg(&printer, parent);
    dlg.setWindowTitle(QStringLiteral("打印预览"));
    // Most of the screen, the page as wide as the window: a list is read
    // across, and 38% of a page says nothing.
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        dlg.resize(avail.width() * 9 / 10, avail.height() * 9 / 10);
        dlg.move(avail.center() - dlg.rect().center());
    }
    const QString fitWidth = QCoreApplication::translate("QPrintPreviewDialog", "Fit width");
    for (QAction *a : dlg.findChildren<QAction *>())
        if (a->isCheckable() && a->text() == fitWidth)
            a->trigger();
    if (auto *preview = dlg.findChild<QPrintPreviewWidget *>())
        preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
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
    const GridPrinter gp(source, settings);
    gp.setup(printer);
    if (gp.print(&printer) > 0 && QFileInfo(path).size() > 0)
        return true;
    if (error)
        *error = QStringLiteral("无法打印到文件“%1”。").arg(path);
    return false;
}

} // namespace grid
