// Export writers read back by independent means, and the export flow.
#include "grid/export.h"
#include "grid/titlebands.h"
#include "memorysource.h"
#include "testsupport.h"
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextTable>
#ifdef VELORIN_HAVE_FREEXL
#include <freexl.h>
#endif

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// RFC 4180 reader: quoted fields may hold commas, quotes and line breaks.
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
        } else if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') {
            row << field;
            field.clear();
            rows << row;
            row.clear();
            ++i;
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
            if (word == "fonttbl")
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

struct Cell {
    enum Type { Null, Number, Text, Other } type = Null;
    double number = 0;
    QString text;
};

#ifdef VELORIN_HAVE_FREEXL
// An Excel file opened with FreeXL, an independent reader.
class Xls {
public:
    explicit Xls(const QString &path) { m_ok = freexl_open(QFile::encodeName(path).constData(), &m_h) == FREEXL_OK; }
    ~Xls()
    {
        if (m_h)
            freexl_close(m_h);
    }
    bool ok() const { return m_ok; }
    unsigned info(unsigned short what) const
    {
        unsigned v = 0;
        freexl_get_info(m_h, what, &v);
        return v;
    }
    bool select(int sheet) { return freexl_select_active_worksheet(m_h, ushort(sheet)) == FREEXL_OK; }
    QPair<unsigned, unsigned> size() const
    {
        unsigned rows = 0;
        unsigned short cols = 0;
        freexl_worksheet_dimensions(m_h, &rows, &cols);
        return {rows, cols};
    }
    Cell cell(int row, int col) const
    {
        FreeXL_CellValue v;
        Cell c;
        if (freexl_get_cell_value(m_h, unsigned(row), ushort(col), &v) != FREEXL_OK)
            return {Cell::Other};
        switch (v.type) {
        case FREEXL_CELL_NULL: break;
        case FREEXL_CELL_INT: c = {Cell::Number, double(v.value.int_value)}; break;
        case FREEXL_CELL_DOUBLE: c = {Cell::Number, v.value.double_value}; break;
        case FREEXL_CELL_TEXT:
        case FREEXL_CELL_SST_TEXT: c = {Cell::Text, 0, QString::fromUtf8(v.value.text_value)}; break;
        default: c.type = Cell::Other;
        }
        return c;
    }

private:
    const void *m_h = nullptr;
    bool m_ok = false;
};

// Compares one sheet's data rows with the source rows from `first`.
bool sheetMatches(const Xls &x, const MemorySource &src, int titleRows, int first, int count, QString *why)
{
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < src.columnCount(); ++c) {
            const Cell cell = x.cell(titleRows + r, c);
            const QString want = src.text(first + r, c);
            bool ok;
            if (want.isEmpty())
                ok = cell.type == Cell::Null;
            else if (MemorySource::numeric(src.kind(c)))
                ok = cell.type == Cell::Number && cell.number == want.toDouble();
            else
                ok = cell.type == Cell::Text && cell.text == want;
            if (!ok) {
                *why = QStringLiteral("row %1 col %2: want %3, got type %4 %5 %6")
                           .arg(first + r).arg(c).arg(want.left(40)).arg(cell.type).arg(cell.number).arg(cell.text.left(40));
                return false;
            }
        }
    }
    return true;
}
#endif

} // namespace

class TstExport : public QObject {
    Q_OBJECT
private slots:
    void titleBandsGroupNeighbours_data();
    void titleBandsGroupNeighbours();
    void csvReadsBackCellForCell();
    void textKeepsOneLinePerRow();
    void htmlTableWithGroupTitles();
    void rtfIsSevenBitWithUnicodeEscapes();
    void xlsSmallWorkbook();
    void xlsLargeWorkbook();
    void xlsLongTableContinuesOnNextSheet();
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
    const MemorySource src = sampleOrders();
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
    // Fields without special characters stay unquoted.
    QVERIFY(bytes.contains("YS0001,武汉长江物流,1200.50,"));
}

void TstExport::textKeepsOneLinePerRow()
{
    const MemorySource src = sampleOrders();
    QVERIFY(grid::writeText(src, path("a.txt")));
    const QByteArray bytes = readAll(path("a.txt"));
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
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
    const MemorySource src = sampleOrders();
    QVERIFY(grid::writeHtml(src, path("a.htm")));
    const QByteArray bytes = readAll(path("a.htm"));
    QVERIFY(bytes.contains("charset=utf-8"));
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(bytes));
    QTextTable *table = nullptr;
    for (QTextFrame *f : doc.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable *>(f)))
            break;
    QVERIFY(table);
    QCOMPARE(table->columns(), src.columnCount());
    QCOMPARE(table->rows(), 2 + src.rowCount());
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
    // HTML folds white space; line breaks survive as <br>.
    for (int r = 0; r < src.rowCount(); ++r)
        for (int c = 0; c < src.columnCount(); ++c)
            QCOMPARE(text(r + 2, c).simplified(), src.text(r, c).simplified());
    QCOMPARE(text(3, 5), QStringLiteral("第一行\n第二行"));
}

void TstExport::rtfIsSevenBitWithUnicodeEscapes()
{
    const MemorySource src = sampleOrders();
    QVERIFY(grid::writeRtf(src, path("a.rtf")));
    const QByteArray bytes = readAll(path("a.rtf"));
    QVERIFY(bytes.startsWith("{\\rtf1"));
    for (char c : bytes)
        QVERIFY2(uchar(c) < 0x80, "rich text must be 7-bit");
    QVERIFY(bytes.contains("\\u-28720?"));   // 运, U+8FD0 as a signed 16-bit number
    const QStringList cells = rtfCells(bytes);
    QCOMPARE(cells.size(), (src.rowCount() + 1) * src.columnCount());
    for (int c = 0; c < src.columnCount(); ++c)
        QCOMPARE(cells[c], grid::flatTitle(src.title(c)));
    for (int r = 0; r < src.rowCount(); ++r)
        for (int c = 0; c < src.columnCount(); ++c)
            QCOMPARE(cells[(r + 1) * src.columnCount() + c], src.text(r, c));
}

void TstExport::xlsSmallWorkbook()
{
#ifndef VELORIN_HAVE_FREEXL
    QSKIP("FreeXL is not installed");
#else
    const MemorySource src = sampleOrders();
    QString error;
    QVERIFY2(grid::writeXls(src, path("a.xls"), &error), qPrintable(error));
    QVERIFY(readAll(path("a.xls")).startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"));
    Xls x(path("a.xls"));
    QVERIFY(x.ok());
    QCOMPARE(x.info(FREEXL_BIFF_VERSION), 8u);
    QCOMPARE(x.info(FREEXL_BIFF_SHEET_COUNT), 1u);
    QVERIFY(x.select(0));
    QCOMPARE(x.size(), qMakePair(unsigned(2 + src.rowCount()), unsigned(src.columnCount())));
    QCOMPARE(x.cell(0, 0).text, QStringLiteral("运输单号"));
    QCOMPARE(x.cell(0, 2).text, QStringLiteral("运费"));
    QCOMPARE(x.cell(1, 2).text, QStringLiteral("应收"));
    QCOMPARE(x.cell(1, 3).text, QStringLiteral("实收"));
    QCOMPARE(x.cell(1, 0).type, Cell::Null);   // merged under 运输单号
    QString why;
    QVERIFY2(sheetMatches(x, src, 2, 0, src.rowCount(), &why), qPrintable(why));
#endif
}

void TstExport::xlsLargeWorkbook()
{
#ifndef VELORIN_HAVE_FREEXL
    QSKIP("FreeXL is not installed");
#else
    // Big enough for a stream of many megabytes: more FAT sectors than the
    // header lists (DIFAT), and a string table spread over CONTINUE records.
    MemorySource src;
    for (int c = 0; c < 16; ++c)
        src.cols << MemorySource::Col{c < 4 ? QStringLiteral("客户|名称%1").arg(c) : QStringLiteral("金额%1").arg(c),
                                      c < 4 ? db::Kind::Text : (c % 2 ? db::Kind::Money : db::Kind::Integer), 80, {}};
    // A string longer than one record; FreeXL 1.0.6 cannot read a string
    // that runs over more than two records, so it stays below that.
    const QString longText = QStringLiteral("长文本 long text ").repeated(250);
    src.generatedRows = 30000;
    src.generate = [&](int r, int c) {
        if (r == 7 && c == 1)
            return longText;
        if (c < 4)
            return (r + c) % 97 == 0 ? QString() : QStringLiteral("收货人%1-%2").arg(r).arg(c);
        if (c % 2)
            return QString::number(r * 0.25 + c, 'f', 2);
        return QString::number(r - c * 1000);
    };
    QVERIFY(grid::writeXls(src, path("big.xls")));
    QVERIFY(QFileInfo(path("big.xls")).size() > 109LL * 128 * 512);
    Xls x(path("big.xls"));
    QVERIFY(x.ok());
    QVERIFY(x.info(FREEXL_CFBF_FAT_COUNT) > 109u * 128);   // entries of more FAT sectors than the header holds
    QVERIFY(x.select(0));
    QCOMPARE(x.size(), qMakePair(unsigned(2 + src.rowCount()), 16u));
    QCOMPARE(x.cell(0, 0).text, QStringLiteral("客户"));
    QCOMPARE(x.cell(1, 3).text, QStringLiteral("名称3"));
    QCOMPARE(x.cell(0, 4).text, QStringLiteral("金额4"));
    QString why;
    QVERIFY2(sheetMatches(x, src, 2, 0, src.rowCount(), &why), qPrintable(why));
#endif
}

void TstExport::xlsLongTableContinuesOnNextSheet()
{
#ifndef VELORIN_HAVE_FREEXL
    QSKIP("FreeXL is not installed");
#else
    MemorySource src;
    src.cols = {{QStringLiteral("序号"), db::Kind::Integer}, {QStringLiteral("车牌号"), db::Kind::Text}};
    src.generatedRows = 70000;
    src.generate = [](int r, int c) { return c == 0 ? QString::number(r) : QStringLiteral("鄂A%1").arg(r % 5000); };
    QVERIFY(grid::writeXls(src, path("long.xls")));
    Xls x(path("long.xls"));
    QVERIFY(x.ok());
    QCOMPARE(x.info(FREEXL_BIFF_SHEET_COUNT), 2u);
    QVERIFY(x.select(0));
    QCOMPARE(x.size().first, 65536u);
    const int onFirst = 65535;
    QString why;
    QVERIFY2(sheetMatches(x, src, 1, 0, onFirst, &why), qPrintable(why));
    QVERIFY(x.select(1));
    QCOMPARE(x.size().first, unsigned(1 + src.rowCount() - onFirst));
    QCOMPARE(x.cell(0, 1).text, QStringLiteral("车牌号"));
    QVERIFY2(sheetMatches(x, src, 1, onFirst, src.rowCount() - onFirst, &why), qPrintable(why));
#endif
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
