// Export writers read back by independent means, and the export flow.
#include "db/dates.h"
#include "db/money.h"
#include "grid/export.h"
#include "grid/print.h"
#include "grid/titlebands.h"
#include "memorysource.h"
#include "testsupport.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// RFC 4180 reader (bare LF ends a row too): quoted fields may hold commas,
// quotes and line breaks.
QVector<QStringList> parseCsv(const QString &s)
{
    QVector<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (quoted) {
            if (c == u'"' && i + 1 < s.size() && s[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.isEmpty()) {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\n' || (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')) {
            row << field;
            field.clear();
            rows << row;
            row.clear();
            i += c == u'\r';
        } else {
            field += c;
        }
    }
    return rows;
}

// The text of each table cell of a rich-text file, in order: control words
// dropped, \uN? turned back into characters, \line and \tab into \n and \t.
QStringList rtfCells(const QByteArray &rtf)
{
    QStringList cells;
    QString cur;
    int depth = 0, fontTableDepth = -1;
    for (int i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (depth == fontTableDepth)
                fontTableDepth = -1;
            --depth;
        } else if (c == '\\') {
            const char n = rtf[i + 1];
            if (n == '\\' || n == '{' || n == '}') {
                cur += QLatin1Char(n);
                ++i;
                continue;
            }
            int j = i + 1;
            while (j < rtf.size() && std::isalpha(uchar(rtf[j])))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            int k = j;
            if (k < rtf.size() && (rtf[k] == '-' || std::isdigit(uchar(rtf[k]))))
                ++k;
            while (k < rtf.size() && std::isdigit(uchar(rtf[k])))
                ++k;
            const int param = rtf.mid(j, k - j).toInt();
            if (k < rtf.size() && rtf[k] == ' ')
                ++k;
            if (word == "fonttbl" || word == "colortbl")
                fontTableDepth = depth;
            else if (word == "u") {
                cur += QChar(ushort(qint16(param)));
                if (k < rtf.size() && rtf[k] == '?')
                    ++k;   // the fallback character
            } else if (word == "line")
                cur += u'\n';
            else if (word == "tab")
                cur += u'\t';
            else if (word == "cell") {
                cells << cur;
                cur.clear();
            }
            i = k - 1;
        } else if (c != '\r' && c != '\n' && fontTableDepth < 0) {
            cur += QLatin1Char(c);
        }
    }
    return cells;
}

// The sample order list with what export readers got wrong before: dates
// with and without a time (midnight shows without one, as on the grid), money
// with a third and fourth decimal, and a footer of a caption, a count and sums.
MemorySource gridSample()
{
    MemorySource s = sampleOrders();
    s.cols << MemorySource::Col{QStringLiteral("发货日期"), db::Kind::Date, 80, {}}
           << MemorySource::Col{QStringLiteral("到达时间"), db::Kind::DateTime, 120, {}}
           << MemorySource::Col{QStringLiteral("单价"), db::Kind::Money, 70, QStringLiteral("1519.9706")};
    s.cols[4].footer = QStringLiteral("3");
    const QStringList extra[] = {{QStringLiteral("2025-10-11"), QStringLiteral("2025-3-4 8:05:09"), QStringLiteral("1500.125")},
                                 {QStringLiteral("2024-2-29"), QStringLiteral("2025-3-5"), QStringLiteral("12.3456")},
                                 {QString(), QString(), QStringLiteral("7.50")}};
    for (int r = 0; r < 3; ++r)
        s.rows[r] << extra[r];
    return s;
}

// A list too wide for a portrait page: 16 columns of codes and money.
MemorySource wideSample(int rows)
{
    MemorySource s;
    for (int c = 0; c < 16; ++c)
        s.cols << MemorySource::Col{QStringLiteral("字段%1").arg(c), c < 4 ? db::Kind::Text : db::Kind::Money, 100, {}};
    s.generatedRows = rows;
    s.generate = [](int r, int c) { return c < 4 ? QStringLiteral("YS%1-%2").arg(r).arg(c) : QString::number(r * 0.25 + c, 'f', 2); };
    return s;
}

// Output of a program run to its end, or why it failed.
QByteArray run(const QString &program, const QStringList &args, QString *why)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(600000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *why = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
               QString::fromUtf8(p.readAllStandardError()) + p.errorString();
        return {};
    }
    return p.readAllStandardOutput();
}

// An Excel file as python3-xlrd, an independent reader, sees it: per sheet
// its WINDOW2 flags and every cell as [type, value, format index] (a date as
// [y, m, d, h, min, s]), and per format index its number format, bold and
// top line.
QJsonObject readXls(const QString &path, QString *why)
{
    static const char *const script = R"(
import json, sys, xlrd
b = xlrd.open_workbook(sys.argv[1], formatting_info=True)
used, sheets = set(), []
for sh in b.sheets():
    rows = []
    for r in range(sh.nrows):
        row = []
        for c, (t, v) in enumerate(zip(sh.row_types(r), sh.row_values(r))):
            if t == xlrd.XL_CELL_DATE:
                v = list(xlrd.xldate_as_tuple(v, b.datemode))
            xf = sh.cell_xf_index(r, c)
            used.add(xf)
            row.append([t, v, xf])
        rows.append(row)
    sheets.append({"selected": sh.sheet_selected, "shown": sh.sheet_visible, "grid": sh.show_grid_lines,
                   "headings": sh.show_sheet_headers, "rows": rows})
xfs = {str(i): {"format": b.format_map[b.xf_list[i].format_key].format_str,
                "bold": b.font_list[b.xf_list[i].font_index].weight >= 700,
                "top": b.xf_list[i].border.top_line_style} for i in used}
sys.stdout.buffer.write(json.dumps({"sheets": sheets, "xfs": xfs}, ensure_ascii=False).encode())
)";
    // Debian's interpreter, which has python3-xlrd, before any other on the path.
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    const QByteArray out = run(python.isEmpty() ? QStringLiteral("python3") : python,
                               {QStringLiteral("-c"), QString::fromLatin1(script), path}, why);
    return QJsonDocument::fromJson(out).object();
}

// Compares an xlrd reading with the source: titles, each data row as the
// grid shows it (numbers as numbers, money in a format showing up to four
// decimals, dates as dates with the time where there is one), the footer
// as values in bold under a line, and only the first sheet selected.
bool xlsMatches(const QJsonObject &book, const MemorySource &src, QString *why)
{
    enum { Empty, Text, Number, Date, Boolean, Error, Blank };
    const QJsonArray sheets = book[QStringLiteral("sheets")].toArray();
    const QJsonObject xfs = book[QStringLiteral("xfs")].toObject();
    const grid::TitleBands bands = grid::titleBands(src);
    const int perSheet = 65536 - bands.rows;
    const int footerRows = src.hasFooter() ? 1 : 0;
    const int rows = src.rowCount();
    const auto bad = [&](const QString &text) {
        *why = text;
        return false;
    };
    const auto fail = [&](int s, int r, int c, const QString &want, const QJsonArray &got) {
        return bad(QStringLiteral("sheet %1 row %2 col %3: want %4, got %5")
                       .arg(s).arg(r).arg(c).arg(want.left(40), QString::fromUtf8(QJsonDocument(got).toJson(QJsonDocument::Compact)).left(80)));
    };
    if (sheets.size() != qMax(1, (rows + footerRows + perSheet - 1) / perSheet))
        return bad(QStringLiteral("%1 sheets").arg(sheets.size()));
    for (int s = 0; s < sheets.size(); ++s) {
        const QJsonObject sheet = sheets[s].toObject();
        const bool first = s == 0;
        if (sheet[QStringLiteral("selected")].toInt() != first || sheet[QStringLiteral("shown")].toInt() != first ||
            sheet[QStringLiteral("grid")].toInt() != 1 || sheet[QStringLiteral("headings")].toInt() != 1)
            return bad(QStringLiteral("sheet %1: window flags %2").arg(s).arg(QString::fromUtf8(QJsonDocument(sheet).toJson().left(120))));
        const QJsonArray cells = sheet[QStringLiteral("rows")].toArray();
        const int from = s * perSheet, to = qMin(rows, from + perSheet);
        const bool footer = footerRows && s == sheets.size() - 1;
        if (cells.size() != bands.rows + to - from + (footer ? 1 : 0))
            return bad(QStringLiteral("sheet %1: %2 rows").arg(s).arg(cells.size()));
        for (const grid::TitleCell &t : bands.cells)
            if (cells[t.row].toArray()[t.col].toArray()[1].toString() != t.text)
                return fail(s, t.row, t.col, t.text, cells[t.row].toArray()[t.col].toArray());
        for (int r = from; r < to + (footer ? 1 : 0); ++r) {
            const bool isFooter = r == to;
            const QJsonArray row = cells[bands.rows + r - from].toArray();
            for (int c = 0; c < src.columnCount(); ++c) {
                const QJsonArray cell = row.at(c).toArray();
                const int type = cell[0].toInt();
                const QJsonObject xf = xfs[QString::number(cell[2].toInt())].toObject();
                const QString format = xf[QStringLiteral("format")].toString();
                const QString want = isFooter ? src.footer(c) : src.text(r, c);
                const db::Kind kind = src.kind(c);
                const std::optional<QDateTime> date = kind == db::Kind::Date || kind == db::Kind::DateTime
                                                          ? db::parseDateTime(want) : std::nullopt;
                bool isNumber = false;
                const double number = want.toDouble(&isNumber);
                bool ok;
                if (want.isEmpty())
                    ok = type == Empty || type == Blank;
                else if (date && !isFooter) {
                    const QJsonArray t = cell[1].toArray();
                    ok = type == Date && QDateTime(QDate(t[0].toInt(), t[1].toInt(), t[2].toInt()),
                                                   QTime(t[3].toInt(), t[4].toInt(), t[5].toInt())) == *date &&
                         format.contains(u'h') == (date->time() != QTime(0, 0));
                } else if (MemorySource::numeric(kind) || (isFooter && isNumber))
                    ok = type == Number && cell[1].toDouble() == number;
                else
                    ok = type == Text && cell[1].toString() == want;
                // Money shows two decimals always and the third and fourth where set.
                if (ok && kind == db::Kind::Money && type == Number)
                    ok = format.section(u'.', 1).startsWith(QLatin1String("00")) && format.section(u'.', 1).size() == 4;
                if (ok && isFooter)
                    ok = xf[QStringLiteral("bold")].toBool() && xf[QStringLiteral("top")].toInt() > 0;
                if (!ok)
                    return fail(s, bands.rows + r - from, c, want + QLatin1Char(' ') + format, cell);
            }
        }
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(MemorySource)

class TstExport : public QObject {
    Q_OBJECT
private slots:
    void titleBandsGroupNeighbours_data();
    void titleBandsGroupNeighbours();
    void csvReadsBackCellForCell();
    void textKeepsOneLinePerRow();
    void htmlTableWithGroupTitles();
    void rtfCompactOnThePrintsPage_data();
    void rtfCompactOnThePrintsPage();
    void xlsReadsBackWithXlrd_data();
    void xlsReadsBackWithXlrd();
    void officeReadsAsTheGridShows_data();
    void officeReadsAsTheGridShows();
    void failedWriteLeavesNothing_data();
    void failedWriteLeavesNothing();
    void fileNameFollowsChosenEntry_data();
    void fileNameFollowsChosenEntry();
    void exportFlow();

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TstExport::titleBandsGroupNeighbours_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("cells");   // "row,col,rowSpan,colSpan,text"
    QTest::newRow("flat") << QStringList{"单号", "客户"} << QStringList{"0,0,1,1,单号", "0,1,1,1,客户"};
    QTest::newRow("two levels") << QStringList{"单号", "运费|应收", "运费|实收", "备注"}
                                << QStringList{"0,0,2,1,单号", "0,1,1,2,运费", "0,3,2,1,备注", "1,1,1,1,应收", "1,2,1,1,实收"};
    QTest::newRow("three levels") << QStringList{"A", "G|x", "G|H|y", "G|H|z", "K|w"}
                                  << QStringList{"0,0,3,1,A", "0,1,1,3,G", "0,4,1,1,K", "1,1,2,1,x", "1,2,1,2,H",
                                                 "1,4,2,1,w", "2,2,1,1,y", "2,3,1,1,z"};
    // The same group name apart from its neighbours is a group of its own.
    QTest::newRow("split group") << QStringList{"运费|应收", "单号", "运费|实收"}
                                 << QStringList{"0,0,1,1,运费", "0,1,2,1,单号", "0,2,1,1,运费", "1,0,1,1,应收", "1,2,1,1,实收"};
}

void TstExport::titleBandsGroupNeighbours()
{
    QFETCH(QStringList, titles);
    QFETCH(QStringList, cells);
    MemorySource src;
    for (const QString &t : titles)
        src.cols << MemorySource::Col{t};
    const grid::TitleBands bands = grid::titleBands(src);
    QStringList got;
    for (const grid::TitleCell &c : bands.cells)
        got << QStringLiteral("%1,%2,%3,%4,%5").arg(c.row).arg(c.col).arg(c.rowSpan).arg(c.colSpan).arg(c.text);
    QCOMPARE(got, cells);
}

void TstExport::csvReadsBackCellForCell()
{
    const MemorySource src = gridSample();
    QString error;
    QVERIFY2(grid::writeCsv(src, path("a.csv"), &error), qPrintable(error));
    const QByteArray bytes = readAll(path("a.csv"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    const QVector<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(rows.size(), src.rowCount() + 1);
    for (int c = 0; c < src.columnCount(); ++c)
        QCOMPARE(rows[0].value(c), grid::flatTitle(src.title(c)));
    QCOMPARE(rows[0][2], QStringLiteral("运费 应收"));
    for (int r = 0; r < src.rowCount(); ++r)
        QCOMPARE(rows[r + 1], src.rows[r]);
    // Fields without special characters stay unquoted; no footer: pure data.
    QVERIFY(bytes.contains("YS0001,武汉长江物流,1200.50,"));
    QVERIFY(!bytes.contains("1519.9706"));
}

void TstExport::textKeepsOneLinePerRow()
{
    const MemorySource src = gridSample();
    QVERIFY(grid::writeText(src, path("a.txt")));
    const QByteArray bytes = readAll(path("a.txt"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!bytes.contains("1519.9706"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), src.rowCount() + 1);
    QCOMPARE(lines[0].split(u'\t')[3], QStringLiteral("运费 实收"));
    for (int r = 0; r < src.rowCount(); ++r) {
        const QStringList cells = lines[r + 1].split(u'\t');
        QCOMPARE(cells.size(), src.columnCount());
        for (int c = 0; c < src.columnCount(); ++c) {
            // A tab or line break inside a cell becomes a space.
            QString want = src.text(r, c);
            want.replace(QRegularExpression(QStringLiteral("[\t\r\n]")), QStringLiteral(" "));
            QCOMPARE(cells[c], want);
        }
    }
}

void TstExport::htmlTableWithGroupTitles()
{
    const MemorySource src = gridSample();
    QVERIFY(grid::writeHtml(src, path("a.htm")));
    const QString html = QString::fromUtf8(readAll(path("a.htm")));
    QVERIFY(html.contains(QLatin1String("charset=utf-8")));
    QTextDocument doc;
    doc.setHtml(html);
    QTextTable *table = nullptr;
    for (QTextFrame *f : doc.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable *>(f)))
            break;
    QVERIFY(table);
    QCOMPARE(table->columns(), src.columnCount());
    QCOMPARE(table->rows(), 2 + src.rowCount() + 1);
    const auto text = [&](int r, int c) {
        const QTextTableCell cell = table->cellAt(r, c);
        QTextCursor cur = cell.firstCursorPosition();
        cur.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cur.selectedText().replace(QChar::LineSeparator, u'\n').replace(QChar::ParagraphSeparator, u'\n');
    };
    // "运费" spans its two sub-titles; single titles span both title rows.
    QCOMPARE(text(0, 2), QStringLiteral("运费"));
    QCOMPARE(table->cellAt(0, 2).columnSpan(), 2);
    QCOMPARE(text(1, 2), QStringLiteral("应收"));
    QCOMPARE(text(1, 3), QStringLiteral("实收"));
    QCOMPARE(text(0, 1), QStringLiteral("上游客户"));
    QCOMPARE(table->cellAt(0, 1).rowSpan(), 2);
    // HTML folds white space; line breaks survive as <br>. The footer is last.
    for (int r = 0; r <= src.rowCount(); ++r)
        for (int c = 0; c < src.columnCount(); ++c)
            QCOMPARE(text(r + 2, c).simplified(), (r < src.rowCount() ? src.text(r, c) : src.footer(c)).simplified());
    QCOMPARE(text(3, 5), QStringLiteral("第一行\n第二行"));

    // The grid's widths; dates, numbers and codes on one line, Chinese text
    // and memos wrapping; the footer marked as one.
    QStringList widths, wantWidths;
    for (const auto &m : QRegularExpression(QStringLiteral("<col width=\"(\\d+)\">")).globalMatch(html))
        widths << m.captured(1);
    for (const MemorySource::Col &c : src.cols)
        wantWidths << QString::number(c.width);
    QCOMPARE(widths, wantWidths);
    const QList<bool> oneLine = {true, false, true, true, true, false, true, true, true};
    const QString body = html.section(QStringLiteral("<tbody>"), 1).section(QStringLiteral("</tbody>"), 0, 0);
    QStringList cells;
    for (const auto &m : QRegularExpression(QStringLiteral("<td[^>]*>")).globalMatch(body))
        cells << m.captured(0);
    QCOMPARE(cells.size(), src.rowCount() * src.columnCount());
    for (int i = 0; i < cells.size(); ++i)
        QVERIFY2(cells[i].contains(QLatin1String("nowrap")) == oneLine[i % src.columnCount()], qPrintable(QString::number(i)));
    QVERIFY(html.section(QStringLiteral("</tbody>"), 1).startsWith(QStringLiteral("\r\n<tfoot>\r\n<tr><td>记录数</td>")));
}

void TstExport::rtfCompactOnThePrintsPage_data()
{
    QTest::addColumn<bool>("wide");
    QTest::newRow("orders, portrait") << false;
    QTest::newRow("16 columns, landscape") << true;
}

void TstExport::rtfCompactOnThePrintsPage()
{
    QFETCH(bool, wide);
    const MemorySource src = wide ? wideSample(200) : gridSample();
    QVERIFY(grid::writeRtf(src, path("a.rtf")));
    const QByteArray bytes = readAll(path("a.rtf"));
    QVERIFY(bytes.startsWith("{\\rtf1"));
    for (char c : bytes)
        QVERIFY2(uchar(c) < 0x80, "rich text must be 7-bit");
    // Each printed page a table under the title row, the footer after the last.
    const grid::GridPrinter printer(src, {});
    const grid::PageColumns fit = printer.pageColumns();
    QCOMPARE(fit.pageRows.size() > 1, wide);
    QCOMPARE(bytes.count("\\page"), fit.pageRows.size() - 1);
    const QStringList cells = rtfCells(bytes);
    const int cols = src.columnCount();
    QStringList want;
    for (int p = 0; p < fit.pageRows.size(); ++p) {
        for (int c = 0; c < cols; ++c)
            want << grid::flatTitle(src.title(c));
        for (int r = fit.pageRows[p]; r < fit.pageRows.value(p + 1, src.rowCount()); ++r)
            for (int c = 0; c < cols; ++c)
                want << src.text(r, c);
    }
    for (int c = 0; src.hasFooter() && c < cols; ++c)
        want << src.footer(c);
    QCOMPARE(cells, want);

    // A4 in the print's orientation, the columns filling its width between
    // the print's margins, as the print divides it.
    QCOMPARE(printer.orientation() == QPageLayout::Landscape, wide);
    QCOMPARE(bytes.contains("\\landscape"), wide);
    QVERIFY(bytes.contains(wide ? "\\paperw16838\\paperh11906" : "\\paperw11906\\paperh16838"));
    QStringList edges;
    for (const auto &m : QRegularExpression(QStringLiteral("\\\\cellx(\\d+)")).globalMatch(QString::fromLatin1(bytes)))
        edges << m.captured(1);
    // One row definition for a page's titles, one for its rows, one for the footer.
    QCOMPARE(edges.size(), cols * (2 * fit.pageRows.size() + (src.hasFooter() ? 1 : 0)));
    const int printable = (wide ? 16838 : 11906) - 2 * 113;   // 2 mm margins
    QVERIFY2(edges[cols - 1].toInt() <= printable && edges[cols - 1].toInt() > printable - 40, qPrintable(edges[cols - 1]));
    double edge = 0;
    for (int c = 0; c < cols; ++c)
        QVERIFY(qAbs(edges[c].toInt() - (edge += fit.widths[c]) * 20) <= 1);
    QVERIFY(bytes.contains("\\fs" + QByteArray::number(int(fit.cellPoints * 2))));

    // What a data row costs beyond its text: the cell ends, the row end, and
    // an alignment word where left and right alternate; no definition.
    if (wide) {
        qsizetype rowBytes = 0, text = 0;
        int start = 0;
        for (int end; (end = int(bytes.indexOf("\\row", start))) >= 0; start = end + 4) {
            QByteArray row = bytes.mid(start, end - start + 4);
            if (row.contains("\\trowd"))   // a page's first row or its titles, after their definition
                row = row.mid(row.indexOf("\\pard\\intbl", row.lastIndexOf("\\cellx")) + 11);
            if (!row.contains("\\qc"))
                rowBytes += row.size();
        }
        for (int r = 0; r < src.rowCount(); ++r)
            for (int c = 0; c < cols; ++c)
                text += src.text(r, c).size();
        const qsizetype perRow = (rowBytes - text) / src.rowCount();
        QVERIFY2(perRow <= cols * 6 + 2 * 3 + 6, qPrintable(QString::number(perRow)));
    }
}

void TstExport::xlsReadsBackWithXlrd_data()
{
    QTest::addColumn<MemorySource>("src");
    QTest::newRow("orders") << gridSample();

    // Big enough for a stream of many megabytes: more FAT sectors than the
    // header lists (DIFAT), and a string table spread over CONTINUE records,
    // with a string longer than one record.
    MemorySource big;
    for (int c = 0; c < 16; ++c) {
        const db::Kind kind = c < 2 ? db::Kind::Text : c == 2 ? db::Kind::Date : c == 3 ? db::Kind::DateTime
                            : c % 2 ? db::Kind::Money : db::Kind::Integer;
        big.cols << MemorySource::Col{c < 4 ? QStringLiteral("客户|名称%1").arg(c) : QStringLiteral("金额%1").arg(c), kind, 80, {}};
    }
    big.generatedRows = 30000;
    big.generate = [longText = QStringLiteral("长文本 long text ").repeated(700)](int r, int c) {
        if (r == 7 && c == 1)
            return longText;
        if ((r + c) % 97 == 0)
            return QString();
        switch (c) {
        case 0: case 1: return QStringLiteral("收货人%1-%2").arg(r).arg(c);
        case 2: return db::shortDate(QDate(2020, 1, 1).addDays(r % 2000));
        case 3: return r % 3 ? db::shortDateTime(QDateTime(QDate(2021, 6, 1).addDays(r % 900), QTime(r % 24, r % 60, r % 7)))
                             : db::shortDate(QDate(2021, 6, 1).addDays(r % 900));
        }
        return c % 2 ? db::Money::fromRaw(r * 12345LL % 100000000 - 5000000).toString() : QString::number(r - c * 1000);
    };
    QTest::newRow("30,000 rows") << big;

    // Over 65,536 rows: the rest and the footer on a second sheet.
    MemorySource longList;
    longList.cols = {{QStringLiteral("序号"), db::Kind::Integer, 50, QStringLiteral("70000")},
                     {QStringLiteral("车牌号"), db::Kind::Text, 80, QStringLiteral("记录数")}};
    longList.footerRow = true;
    longList.generatedRows = 70000;
    longList.generate = [](int r, int c) { return c == 0 ? QString::number(r) : QStringLiteral("鄂A%1").arg(r % 5000); };
    QTest::newRow("70,000 rows, two sheets") << longList;
}

void TstExport::xlsReadsBackWithXlrd()
{
    QFETCH(MemorySource, src);
    QString error;
    QVERIFY2(grid::writeXls(src, path("a.xls"), &error), qPrintable(error));
    const QByteArray bytes = readAll(path("a.xls"));
    QVERIFY(bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
    if (src.rowCount() == 30000)
        QVERIFY(bytes.size() > 109LL * 128 * 512);   // more FAT sectors than the header holds
    const QJsonObject book = readXls(path("a.xls"), &error);
    QVERIFY2(!book.isEmpty(), qPrintable(error));
    QVERIFY2(xlsMatches(book, src, &error), qPrintable(error));
}

void TstExport::officeReadsAsTheGridShows_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<MemorySource>("src");
    QTest::newRow("htm") << 3 << gridSample();
    QTest::newRow("rtf") << 4 << gridSample();
    QTest::newRow("rtf, 16 columns") << 4 << wideSample(300);
    QTest::newRow("xls") << 5 << gridSample();
}

void TstExport::officeReadsAsTheGridShows()
{
    QFETCH(int, format);
    QFETCH(MemorySource, src);
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        QSKIP("LibreOffice is not installed (soffice): exports are not opened in it");
    const QString ext = grid::exportExtension(format);
    const QString file = path("office." + ext);
    QVERIFY(grid::writeExport(format, src, file));
    const QString outDir = path("office");
    const auto convert = [&](const QString &to, QString *why) {
        const QByteArray out = run(QStringLiteral("soffice"),
                                   {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                    QStringLiteral("-env:UserInstallation=file://") + path("office-profile"),
                                    QStringLiteral("--convert-to"), to, QStringLiteral("--outdir"), outDir, file}, why);
        return out.isNull() ? QString() : outDir + QStringLiteral("/office.") + to.section(u':', 0, 0);
    };
    QString why;
    const grid::TitleBands bands = grid::titleBands(src);
    const auto shown = [&](int r, int c) { return r < src.rowCount() ? src.text(r, c) : src.footer(c); };
    const int lastRow = src.rowCount() + (src.hasFooter() ? 1 : 0);

    if (format == 5) {
        // Calc's csv holds each cell as Calc shows it.
        const QString csv = convert(QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), &why);
        QVERIFY2(!csv.isEmpty(), qPrintable(why));
        const QVector<QStringList> rows = parseCsv(QString::fromUtf8(readAll(csv)));
        QCOMPARE(rows.size(), bands.rows + lastRow);
        QCOMPARE(rows[0][0], bands.cells[0].text);
        for (int r = 0; r < lastRow; ++r)
            for (int c = 0; c < src.columnCount(); ++c)
                QCOMPARE(rows[bands.rows + r].value(c), shown(r, c));
        return;
    }

    // Writer's plain text has each cell's lines in order: every row and the
    // footer under the titles (as bands in htm; in rtf flat, over each
    // printed page).
    const QString txt = convert(QStringLiteral("txt:Text (encoded):UTF8"), &why);
    QVERIFY2(!txt.isEmpty(), qPrintable(why));
    const auto lines = [](const QString &text) {
        QStringList out;
        for (QString line : text.split(QRegularExpression(QStringLiteral("\r?\n")))) {
            line = line.replace(QChar(0xA0), u' ').replace(QChar(0xFEFF), u' ').simplified();
            if (!line.isEmpty())
                out << line;
        }
        return out;
    };
    const QVector<int> pageRows = format == 3 ? QVector<int>{0} : grid::GridPrinter(src, {}).pageColumns().pageRows;
    QString want;
    for (int r = 0; r < lastRow; ++r) {
        if (pageRows.contains(r) && format == 3)
            for (const grid::TitleCell &t : bands.cells)
                want += t.text + u'\n';
        else if (pageRows.contains(r))
            for (int c = 0; c < src.columnCount(); ++c)
                want += grid::flatTitle(src.title(c)) + u'\n';
        for (int c = 0; c < src.columnCount(); ++c)
            want += shown(r, c) + u'\n';
    }
    QCOMPARE(lines(QString::fromUtf8(readAll(txt))), lines(want));
    if (format == 3)
        return;

    // On paper: A4 in the print's orientation, and every word on the page
    // (the codes whole, so none broke).
    const QString pdf = convert(QStringLiteral("pdf"), &why);
    QVERIFY2(!pdf.isEmpty(), qPrintable(why));
    const QString box = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, &why));
    QVERIFY2(!box.isEmpty(), qPrintable(why));
    const auto page = QRegularExpression(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"")).match(box);
    QVERIFY(page.hasMatch());
    const bool landscape = grid::GridPrinter(src, {}).orientation() == QPageLayout::Landscape;
    QCOMPARE(qRound(page.captured(1).toDouble()), landscape ? 842 : 595);
    QCOMPARE(qRound(page.captured(2).toDouble()), landscape ? 595 : 842);
    int codes = 0;
    for (const auto &m : QRegularExpression(QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\"[^>]*>([^<]*)</word>")).globalMatch(box)) {
        QVERIFY2(m.captured(1).toDouble() <= page.captured(1).toDouble(), qPrintable(m.captured(2)));
        codes += QRegularExpression(QStringLiteral("^YS\\d+(-\\d+)?$")).match(m.captured(2)).hasMatch();
    }
    int wantCodes = 0;
    for (int r = 0; r < src.rowCount(); ++r)
        for (int c = 0; c < src.columnCount(); ++c)
            wantCodes += src.text(r, c).startsWith(QLatin1String("YS"));
    QCOMPARE(codes, wantCodes);
}

void TstExport::failedWriteLeavesNothing_data()
{
    QTest::addColumn<int>("format");
    for (int f = 1; f <= 5; ++f)
        QTest::newRow(qPrintable(grid::exportExtension(f))) << f;
}

void TstExport::failedWriteLeavesNothing()
{
    QFETCH(int, format);
    const MemorySource src = sampleOrders();
    const QString missing = path("no-such-folder/out." + grid::exportExtension(format));
    QString error;
    QVERIFY(!grid::writeExport(format, src, missing, &error));
    QVERIFY(error.contains(QStringLiteral("out.")));
    QVERIFY(!QFileInfo::exists(path("no-such-folder")));

    // A folder under the target name stays a folder.
    QDir(m_dir.path()).mkdir(QStringLiteral("taken"));
    error.clear();
    QVERIFY(!grid::writeExport(format, src, path("taken"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(path("taken")).isDir());

    // A full disk: even a small table that never leaves the write buffer
    // fails with the reason, and an earlier file of that name stays as it was.
    ScratchMount disk(64);
    if (!disk.ok())
        QSKIP(qPrintable(disk.why()));
    const QString target = disk.filePath("out." + grid::exportExtension(format));
    {
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    disk.fill();
    error.clear();
    QVERIFY(!grid::writeExport(format, src, target, &error));
    QVERIFY2(error.contains(QStringLiteral("No space left on device")), qPrintable(error));
    QCOMPARE(readAll(target), QByteArray("earlier"));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);   // the filler and the earlier file
}

void TstExport::fileNameFollowsChosenEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no extension") << "a" << 5 << "a.xls";
    QTest::newRow("upper case kept") << "a.XLS" << 5 << "a.XLS";
    QTest::newRow("other extension") << "a.txt" << 5 << "a.txt.xls";
    QTest::newRow("mixed case csv") << "报表.Csv" << 2 << "报表.Csv";
    QTest::newRow("html is not htm") << "page.html" << 3 << "page.html.htm";
    QTest::newRow("text entry") << "明细表.xls" << 1 << "明细表.xls.txt";
    QTest::newRow("rich text") << "r" << 4 << "r.rtf";
    QTest::newRow("folder with dot") << "/tmp/a.b/c" << 2 << "/tmp/a.b/c.csv";
}

void TstExport::fileNameFollowsChosenEntry()
{
    QFETCH(QString, name);
    QFETCH(int, entry);
    QFETCH(QString, expected);
    QCOMPARE(grid::exportFileName(name, entry), expected);
}

void TstExport::exportFlow()
{
    TestDb db;
    MessageScript messages;
    const MemorySource src = sampleOrders();
    QString seenName;
    QStringList seenFilters;
    int seenIndex = 0;
    std::optional<grid::SaveChoice> answer;
    const auto previous = grid::setSaveDialogHook([&](QWidget *, const QString &name, const QStringList &filters, int index) {
        seenName = name;
        seenFilters = filters;
        seenIndex = index;
        return answer;
    });

    // The format follows the entry, not the typed extension.
    answer = grid::SaveChoice{path("明细.txt"), 5};
    QVERIFY(grid::exportTable(nullptr, src, QStringLiteral("集装箱运输单明细表")));
    QCOMPARE(seenName, QStringLiteral("集装箱运输单明细表"));
    QCOMPARE(seenFilters, QStringList({"Text files (*.txt)", "Comma separated values (*.csv)", "HTML file (*.htm)",
                                       "Rich Text Format (*.rtf)", "Microsoft Excel Workbook (*.xls)"}));
    QCOMPARE(seenIndex, 5);
    QVERIFY(!QFileInfo::exists(path("明细.txt")));
    QVERIFY(readAll(path("明细.txt.xls")).startsWith("\xD0\xCF\x11\xE0"));

    // The shared dialog proposes the entry chosen last.
    answer = grid::SaveChoice{path("b"), 2};
    QVERIFY(grid::exportTable(nullptr, src, QStringLiteral("车辆信息")));
    QCOMPARE(seenName, QStringLiteral("车辆信息"));
    QCOMPARE(parseCsv(QString::fromUtf8(readAll(path("b.csv")).mid(3))).size(), src.rowCount() + 1);
    answer.reset();
    QVERIFY(!grid::exportTable(nullptr, src, QStringLiteral("车辆信息")));
    QCOMPARE(seenIndex, 2);
    QVERIFY(messages.seen().isEmpty());

    // A file that cannot be written is reported, not passed over.
    answer = grid::SaveChoice{path("missing/c"), 3};
    QVERIFY(!grid::exportTable(nullptr, src, QStringLiteral("车辆信息")));
    QCOMPARE(messages.seen().size(), 1);
    QCOMPARE(messages.seen()[0].caption, QStringLiteral("提示"));
    QVERIFY(messages.last().contains(QStringLiteral("c.htm")));
    grid::setSaveDialogHook(previous);
}

QTEST_MAIN(TstExport)
#include "tst_export.moc"
