#include "grid/export.h"
#include "dbctrls/messages.h"
#include "grid/compoundfile.h"
#include "grid/print.h"
#include "grid/tablesource.h"
#include "grid/titlebands.h"
#include "grid/xlswriter.h"
#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QLineEdit>
#include <QScreen>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cctype>

namespace grid {
namespace {

constexpr int FlushBytes = 1 << 20;
const QByteArray Bom("\xEF\xBB\xBF");
const QByteArray Crlf("\r\n");

// Opens a temporary file beside the target, lets `produce` write into it
// and replaces the target only when everything was written.
bool writeFile(const QString &path, QString *error, const std::function<bool(QSaveFile &)> &produce)
{
    const auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("没有指定导出文件名。"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("无法创建文件“%1”：%2").arg(QDir::toNativeSeparators(path), file.errorString()));
    // A small file never leaves QFileDevice's own buffer before commit(),
    // and commit() does not report a failed final flush (a full disk): the
    // empty file would replace the target. Flushing first brings the error out.
    if (!produce(file) || !file.flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(QStringLiteral("写入文件“%1”失败：%2").arg(QDir::toNativeSeparators(path), reason));
    }
    return true;
}

// Collects output and hands it to the file in large pieces.
class Buffered {
public:
    explicit Buffered(QSaveFile &f) : m_file(f) { m_buf.reserve(FlushBytes + 4096); }
    void add(const QByteArray &b)
    {
        m_buf += b;
        if (m_buf.size() >= FlushBytes)
            flush();
    }
    void add(const QString &s) { add(s.toUtf8()); }
    bool flush()
    {
        if (m_ok && !m_buf.isEmpty())
            m_ok = m_file.write(m_buf) == m_buf.size();
        m_buf.clear();
        return m_ok;
    }

private:
    QSaveFile &m_file;
    QByteArray m_buf;
    bool m_ok = true;
};

// Writes a title line and one line per row, each cell passed through `cell`.
bool writeLines(const TableSource &src, const QString &path, QString *error, QChar sep,
                const std::function<QString(const QString &)> &cell)
{
    return writeFile(path, error, [&](QSaveFile &f) {
        Buffered out(f);
        out.add(Bom);
        const int cols = src.columnCount();
        QString line;
        for (int c = 0; c < cols; ++c) {
            if (c)
                line += sep;
            line += cell(flatTitle(src.title(c)));
        }
        out.add(line);
        out.add(Crlf);
        for (int r = 0, rows = src.rowCount(); r < rows; ++r) {
            line.clear();
            for (int c = 0; c < cols; ++c) {
                if (c)
                    line += sep;
                line += cell(src.text(r, c));
            }
            out.add(line);
            out.add(Crlf);
        }
        return out.flush();
    });
}

// Dates, numbers and codes (no blank, no Chinese) stay on one line in a
// browser, as on the grid; other text wraps within the column.
bool keepsOneLine(db::Kind k, const QString &text)
{
    if (k == db::Kind::Memo)
        return false;
    if (k != db::Kind::Text)
        return true;
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isSpace() || c.unicode() >= 0x2E80; });
}

QString htmlText(const QString &s)
{
    if (s.isEmpty())
        return QStringLiteral("&nbsp;");
    QString t = s.toHtmlEscaped();
    t.replace(QLatin1String("\r\n"), QLatin1String("<br>"));
    t.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return t;
}

// Rich text is 7-bit: anything else goes out as a \uN? escape (N a signed
// 16-bit number, '?' the fallback for readers without Unicode).
QByteArray rtfText(const QString &s)
{
    QByteArray b;
    b.reserve(s.size() * 2);
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const ushort u = c.unicode();
        if (c == QLatin1Char('\\') || c == QLatin1Char('{') || c == QLatin1Char('}')) {
            b += '\\';
            b += char(u);
        } else if (c == QLatin1Char('\n')) {
            b += "\\line ";
        } else if (c == QLatin1Char('\t')) {
            b += "\\tab ";
        } else if (u < 0x20) {
            // other control characters (CR of CRLF) are dropped
        } else if (u < 0x80) {
            b += char(u);
        } else {
            b += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return b;
}

struct DialogState {
    QString fileName = QStringLiteral("file1");
    int filterIndex = 5;
};

// The one save dialog every list shares for the whole run, so that the
// chosen entry is proposed again next time.
DialogState &sharedDialog()
{
    static DialogState s;
    return s;
}

} // namespace

namespace {

// Qt's Chinese texts lack the file dialog's word for a folder.
class ChineseFolders : public QFileIconProvider {
public:
    QString type(const QFileInfo &info) const override
    {
        return info.isDir() ? QStringLiteral("文件夹") : QFileIconProvider::type(info);
    }
};

} // namespace

void fitSaveDialog(QFileDialog &dlg)
{
    static ChineseFolders *const folders = new ChineseFolders;   // lives as long as the program
    dlg.setIconProvider(folders);
    // Qt's own dialog (where the desktop offers none) opens small: the
    // proposed name and the longest file type would be cut off.
    const QFontMetrics fm(dlg.font());
    int filterWidth = 0;
    for (const QString &f : dlg.nameFilters())
        filterWidth = qMax(filterWidth, fm.horizontalAdvance(f));
    const QStringList chosen = dlg.selectedFiles();
    const int nameWidth = fm.horizontalAdvance(chosen.isEmpty() ? QString() : QFileInfo(chosen.first()).fileName());
    if (auto *types = dlg.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
        types->setMinimumWidth(filterWidth + 3 * fm.height());
    if (auto *name = dlg.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setMinimumWidth(qMax(filterWidth, nameWidth) + 2 * fm.height());
    if (auto *places = dlg.findChild<QWidget *>(QStringLiteral("sidebar")))
        places->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("计算机")) + 4 * fm.height());
    QSize size = dlg.sizeHint().expandedTo(QSize(qMax(860, filterWidth * 2), 520));
    if (const QScreen *screen = dlg.screen())
        size = size.boundedTo(screen->availableGeometry().size());
    dlg.resize(size);
}

namespace {

SaveDialogHook &dialogHook()
{
    static SaveDialogHook h;
    return h;
}

std::optional<SaveChoice> runSaveDialog(QWidget *parent, const QString &fileName, const QStringList &filters,
                                        int filterIndex)
{
    QFileDialog dlg(parent, QStringLiteral("另存为"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(filters.value(filterIndex - 1));
    dlg.selectFile(fileName);
    fitSaveDialog(dlg);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveChoice{dlg.selectedFiles().constFirst(), int(filters.indexOf(dlg.selectedNameFilter())) + 1};
}

} // namespace

bool writeText(const TableSource &source, const QString &path, QString *error)
{
    // Tabs and line breaks inside a cell would break the columns apart.
    return writeLines(source, path, error, QLatin1Char('\t'), [](const QString &s) {
        QString t = s;
        for (QChar &c : t)
            if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
                c = QLatin1Char(' ');
        return t;
    });
}

bool writeCsv(const TableSource &source, const QString &path, QString *error)
{
    return writeLines(source, path, error, QLatin1Char(','), [](const QString &s) {
        const bool quote = s.contains(QLatin1Char(',')) || s.contains(QLatin1Char('"')) ||
                           s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
        if (!quote)
            return s;
        QString t = s;
        t.replace(QLatin1Char('"'), QLatin1String("\"\""));
        return QLatin1Char('"') + t + QLatin1Char('"');
    });
}

bool writeHtml(const TableSource &source, const QString &path, QString *error)
{
    return writeFile(path, error, [&](QSaveFile &f) {
        Buffered out(f);
        const int cols = source.columnCount();
        // The grid's widths and its Song face at 9 pt: a browser then breaks
        // lines where the grid's columns would, and never squeezes a column
        // below its width (a wide list scrolls instead).
        int tableWidth = 0;
        QString colgroup = QStringLiteral("<colgroup>");
        for (int c = 0; c < cols; ++c) {
            const int w = qMax(1, source.width(c));
            tableWidth += w;
            colgroup += QStringLiteral("<col width=\"%1\">").arg(w);
        }
        out.add(QStringLiteral("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
                               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
                               "<title>%1</title>\r\n<style>\r\n"
                               "table { border-collapse: collapse; font: 9pt SimSun, \"AR PL UMing CN\", serif; }\r\n"
                               "th, td { border: 1px solid black; padding: 1px 3px; }\r\n"
                               "th, tfoot td { background: #ebebeb; }\r\n"
                               "tfoot td { font-weight: bold; }\r\n"
                               "</style>\r\n</head>\r\n<body>\r\n"
                               "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"%2\">\r\n%3</colgroup>\r\n"
                               "<thead>\r\n")
                    .arg(QFileInfo(path).completeBaseName().toHtmlEscaped())
                    .arg(tableWidth)
                    .arg(colgroup));
        const TitleBands bands = titleBands(source);
        for (int r = 0; r < bands.rows; ++r) {
            QString line = QStringLiteral("<tr>");
            for (const TitleCell &t : bands.cells) {
                if (t.row != r)
                    continue;
                line += QStringLiteral("<th");
                if (t.colSpan > 1)
                    line += QStringLiteral(" colspan=\"%1\"").arg(t.colSpan);
                if (t.rowSpan > 1)
                    line += QStringLiteral(" rowspan=\"%1\"").arg(t.rowSpan);
                line += QLatin1Char('>') + htmlText(t.text) + QStringLiteral("</th>");
            }
            out.add(line + QStringLiteral("</tr>\r\n"));
        }
        out.add(QStringLiteral("</thead>\r\n<tbody>\r\n"));
        QVector<db::Kind> kinds(cols);
        for (int c = 0; c < cols; ++c)
            kinds[c] = source.kind(c);
        const auto row = [&](const std::function<QString(int)> &text) {
            QString line = QStringLiteral("<tr>");
            for (int c = 0; c < cols; ++c) {
                const QString t = text(c);
                line += isNumericKind(kinds[c]) ? QStringLiteral("<td align=\"right\" nowrap>")
                        : keepsOneLine(kinds[c], t) ? QStringLiteral("<td nowrap>")
                                                    : QStringLiteral("<td>");
                line += htmlText(t) + QStringLiteral("</td>");
            }
            out.add(line + QStringLiteral("</tr>\r\n"));
        };
        for (int r = 0, rows = source.rowCount(); r < rows; ++r)
            row([&](int c) { return source.text(r, c); });
        out.add(QStringLiteral("</tbody>\r\n"));
        if (source.hasFooter()) {
            out.add(QStringLiteral("<tfoot>\r\n"));
            row([&](int c) { return source.footer(c); });
            out.add(QStringLiteral("</tfoot>\r\n"));
        }
        out.add(QStringLiteral("</table>\r\n</body>\r\n</html>\r\n"));
        return out.flush();
    });
}

bool writeRtf(const TableSource &source, const QString &path, QString *error)
{
    // The page and the columns as the print lays them out.
    const PageColumns fit = GridPrinter(source, {}).pageColumns();
    return writeFile(path, error, [&](QSaveFile &f) {
        Buffered out(f);
        const auto twips = [](double points) { return QByteArray::number(qRound(points * 20)); };
        const QPageLayout &page = fit.page;
        // The page in millimetres: in points QPageLayout rounds it to whole ones.
        const QRectF paper = page.fullRect(QPageLayout::Millimeter);
        const QMarginsF margins = page.margins(QPageLayout::Millimeter);
        const auto mm = [&](double v) { return twips(v * 72 / 25.4); };
        const bool landscape = page.orientation() == QPageLayout::Landscape;
        const QByteArray fontSize = "\\fs" + QByteArray::number(int(fit.cellPoints * 2));   // half points
        // The print's Song face, whose widths the columns are fitted to, and
        // 宋体 (named in code page 936) where it is missing; colour 1 fills
        // the title and footer rows as in the print.
        out.add("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\r\n"
                "{\\fonttbl{\\f0\\fnil\\fcharset134 AR PL UMing CN{\\*\\falt \\'cb\\'ce\\'cc\\'e5};}}\r\n"
                "{\\colortbl;\\red235\\green235\\blue235;}\r\n"
                "\\paperw" + mm(paper.width()) + "\\paperh" + mm(paper.height()) +
                "\\margl" + mm(margins.left()) + "\\margr" + mm(margins.right()) +
                "\\margt" + mm(margins.top()) + "\\margb" + mm(margins.bottom()) +
                (landscape ? "\\landscape\\sectd\\lndscpsxn" : "\\sectd") +
                "\\f0" + fontSize + "\r\n");

        // Each page's rows are a table of its own under the title row, where
        // the print breaks the pages: readers lay out a long table in a time
        // growing with the square of its rows, and not all of them repeat a
        // title row (\trhdr) on the next page.
        // A row definition holds for the rows after it up to the next one:
        // the data rows of a page share one. Paragraph properties run on from
        // cell to cell and row to row, so an alignment is written where it
        // changes. Rows are kept whole on a page.
        const int cols = source.columnCount();
        const auto definition = [&](const char *rowWords, const char *cellWords) {
            QByteArray def = QByteArray("\\trowd") + rowWords + "\\trkeep\\trgaph" + twips(fit.padPoints) + "\\trleft0";
            double edge = 0;
            for (int c = 0; c < cols; ++c) {
                edge += fit.widths.value(c);
                def += QByteArray("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                  "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10") +
                       cellWords + "\\cellx" + twips(edge);
            }
            return def + "\r\n\\pard\\intbl";   // \pard: left aligned
        };
        QVector<bool> numeric(cols);
        for (int c = 0; c < cols; ++c)
            numeric[c] = isNumericKind(source.kind(c));
        const auto cells = [&](QByteArray line, const std::function<QString(int)> &text) {
            bool alignedRight = false;
            for (int c = 0; c < cols; ++c) {
                if (numeric[c] != alignedRight) {
                    alignedRight = numeric[c];
                    line += alignedRight ? "\\qr" : "\\ql";
                }
                const QByteArray t = rtfText(text(c));
                // A control word before the text ends at the first character
                // that cannot continue it (a row's start follows a line break).
                if (!line.isEmpty() && !t.isEmpty() && (std::isalnum(uchar(t[0])) || t[0] == ' ' || t[0] == '-'))
                    line += ' ';
                line += t + "\\cell";
            }
            out.add(line + (alignedRight ? "\\ql\\row\r\n" : "\\row\r\n"));
        };

        // Titles and footer grey and in the cells' face, as printed: the
        // widths are the print's, and bold would not fit them.
        QByteArray titleRow = definition("\\trhdr", "\\clcbpat1") + "\\qc";
        for (int c = 0; c < cols; ++c)
            titleRow += ' ' + rtfText(flatTitle(source.title(c))) + "\\cell";
        titleRow += "\\row\r\n";
        const QByteArray dataRows = definition("", "");
        const QByteArray pageBreak = "\\pard\\plain\\fs2\\sl-20\\slmult0\\page\\par" + fontSize + "\r\n";
        const int rows = source.rowCount();
        const QVector<int> pageRows = fit.pageRows.isEmpty() ? QVector<int>{0} : fit.pageRows;
        for (int p = 0; p < pageRows.size(); ++p) {
            if (p)
                out.add(pageBreak);
            out.add(titleRow);
            QByteArray start = dataRows;
            for (int r = pageRows[p], end = p + 1 < pageRows.size() ? pageRows[p + 1] : rows; r < end; ++r) {
                cells(start, [&](int c) { return source.text(r, c); });
                start.clear();
            }
        }
        if (source.hasFooter())
            cells(definition("", "\\clcbpat1"), [&](int c) { return source.footer(c); });
        out.add(QByteArray("\\pard\\plain\\par}\r\n"));
        return out.flush();
    });
}

bool writeXls(const TableSource &source, const QString &path, QString *error)
{
    const QByteArray workbook = xlsWorkbookStream(source);
    return writeFile(path, error, [&](QSaveFile &f) {
        return writeCompoundFile(f, QStringLiteral("Workbook"), workbook);
    });
}

QStringList exportFilters()
{
    return {QStringLiteral("Text files (*.txt)"), QStringLiteral("Comma separated values (*.csv)"),
            QStringLiteral("HTML file (*.htm)"), QStringLiteral("Rich Text Format (*.rtf)"),
            QStringLiteral("Microsoft Excel Workbook (*.xls)")};
}

QString exportExtension(int filterIndex)
{
    static const char *const ext[] = {"txt", "csv", "htm", "rtf", "xls"};
    return filterIndex >= 1 && filterIndex <= 5 ? QString::fromLatin1(ext[filterIndex - 1]) : QString();
}

bool writeExport(int filterIndex, const TableSource &source, const QString &path, QString *error)
{
    switch (filterIndex) {
    case 1: return writeText(source, path, error);
    case 2: return writeCsv(source, path, error);
    case 3: return writeHtml(source, path, error);
    case 4: return writeRtf(source, path, error);
    case 5: return writeXls(source, path, error);
    }
    if (error)
        *error = QStringLiteral("未知的导出格式。");
    return false;
}

QString exportFileName(const QString &name, int filterIndex)
{
    const QString ext = exportExtension(filterIndex);
    if (name.right(3).compare(ext, Qt::CaseInsensitive) == 0)
        return name;
    return name + QLatin1Char('.') + ext;
}

SaveDialogHook setSaveDialogHook(SaveDialogHook hook)
{
    SaveDialogHook old = dialogHook();
    dialogHook() = std::move(hook);
    return old;
}

bool exportTable(QWidget *parent, const TableSource &source, const QString &defaultName)
{
    QString &fileName = sharedDialog().fileName;
    int &filterIndex = sharedDialog().filterIndex;
    fileName = defaultName;
    const QStringList filters = exportFilters();
    if (filterIndex < 1 || filterIndex > filters.size())
        filterIndex = 5;
    const std::optional<SaveChoice> choice = dialogHook() ? dialogHook()(parent, fileName, filters, filterIndex)
                                                          : runSaveDialog(parent, fileName, filters, filterIndex);
    if (!choice || choice->fileName.isEmpty())
        return false;
    if (choice->filterIndex >= 1 && choice->filterIndex <= filters.size())
        filterIndex = choice->filterIndex;
    fileName = exportFileName(choice->fileName, filterIndex);
    QString error;
    if (!writeExport(filterIndex, source, fileName, &error)) {
        msg::hint(parent, error);
        return false;
    }
    return true;
}

} // namespace grid
