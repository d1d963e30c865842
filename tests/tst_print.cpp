// Grid print read back from PDF with poppler's pdftotext.
#include "db/dates.h"
#include "grid/print.h"
#include "memorysource.h"
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Word {
    int page;
    double x0, y0, x1, y1;   // points from the page's top-left corner
    QString text;
};

struct PdfWords {
    double width = 0, height = 0;
    int pages = 0;
    QVector<Word> words;
    QVector<Word> find(const QString &text) const
    {
        QVector<Word> found;
        for (const Word &w : words)
            if (w.text == text)
                found << w;
        return found;
    }
};

PdfWords pdfWords(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    PdfWords out;
    static const QRegularExpression tag(QStringLiteral(
        R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (!m.captured(1).isEmpty()) {
            out.width = m.captured(1).toDouble();
            out.height = m.captured(2).toDouble();
            ++out.pages;
        } else {
            QString t = m.captured(7);
            t.replace(QLatin1String("&amp;"), QLatin1String("&")).replace(QLatin1String("&lt;"), QLatin1String("<"))
                .replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&quot;"), QLatin1String("\""))
                .replace(QLatin1String("&apos;"), QLatin1String("'"));
            out.words << Word{out.pages, m.captured(3).toDouble(), m.captured(4).toDouble(), m.captured(5).toDouble(),
                              m.captured(6).toDouble(), t};
        }
    }
    return out;
}

constexpr double PointsPerMm = 72.0 / 25.4;

MemorySource longList(int rows)
{
    MemorySource src = sampleOrders();
    src.rows.clear();
    for (int r = 0; r < rows; ++r)
        src.rows << QStringList{QStringLiteral("YS%1").arg(r, 4, 10, QLatin1Char('0')), QStringLiteral("客户%1").arg(r % 7),
                                QString::number(r * 10.5, 'f', 2), QString(), QString::number(r % 3), QString()};
    return src;
}

int pagesOf(const MemorySource &src, const grid::PrintSettings &s)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    grid::GridPrinter::setupPrinter(printer);
    return grid::GridPrinter(src, s).pageCount(&printer);
}

} // namespace

class TstPrint : public QObject {
    Q_OBJECT
private slots:
    void pageHoldsHeaderGridAndNote_data();
    void pageHoldsHeaderGridAndNote();
    void longListBreaksIntoNumberedPages();
    void pageNumberSide_data();
    void pageNumberSide();
    void wideGridFitsThePage();
    void orientationFollowsTheColumns_data();
    void orientationFollowsTheColumns();
    void noValueBreaksInTwo();
    void longTextStretchesItsRow();
    void previewShowsEveryPage();

private:
    QTemporaryDir m_dir;
    QString pdf(const QString &name) const { return m_dir.filePath(name); }
};

void TstPrint::pageHoldsHeaderGridAndNote_data()
{
    QTest::addColumn<bool>("withRows");
    QTest::newRow("rows") << true;
    QTest::newRow("empty list") << false;
}

void TstPrint::pageHoldsHeaderGridAndNote()
{
    QFETCH(bool, withRows);
    MemorySource src = sampleOrders();
    if (!withRows)
        src.rows.clear();
    const auto settings = grid::PrintSettings::standard(QStringLiteral("集装箱运输单明细表"), QStringLiteral("张三"));
    QString error;
    QVERIFY2(grid::printToPdf(src, settings, pdf("one.pdf"), &error), qPrintable(error));
    const QString text = pdfText(pdf("one.pdf"));
    QCOMPARE(text.count(u'\f'), 1);
    for (const QString &s : {QStringLiteral("集装箱运输单明细表"), QStringLiteral("第1页"), QStringLiteral("运输单号"),
                             QStringLiteral("运费"), QStringLiteral("应收"), QStringLiteral("实收"),
                             QStringLiteral("记录数"), QStringLiteral("2700.75"), QStringLiteral("制表:张三 ."),
                             QStringLiteral("打印时间:") + db::shortDate(QDate::currentDate())})
        QVERIFY2(text.contains(s), qPrintable(s + QStringLiteral(" missing in:\n") + text));
    QVERIFY(!text.contains(QStringLiteral("%[")));
    // The note line comes after the grid's footer row.
    QVERIFY(text.indexOf(QStringLiteral("打印时间:")) > text.indexOf(QStringLiteral("记录数")));
    for (int r = 0; r < src.rowCount(); ++r)
        for (int c : {0, 2})
            QVERIFY2(text.contains(src.text(r, c)), qPrintable(src.text(r, c)));
}

void TstPrint::longListBreaksIntoNumberedPages()
{
    const MemorySource src = longList(160);
    const auto settings = grid::PrintSettings::standard(QStringLiteral("集装箱运输单明细表"), QStringLiteral("张三"));
    QVERIFY(grid::printToPdf(src, settings, pdf("long.pdf")));
    QStringList pages = pdfText(pdf("long.pdf")).split(u'\f');
    QCOMPARE(pages.takeLast().trimmed(), QString());
    QVERIFY(pages.size() >= 2);
    QCOMPARE(pages.size(), pagesOf(src, settings));
    int next = 0;   // rows come in order, each exactly once
    for (int n = 0; n < pages.size(); ++n) {
        const QString &page = pages[n];
        QVERIFY(page.contains(QStringLiteral("第%1页").arg(n + 1)));
        QVERIFY(page.contains(QStringLiteral("集装箱运输单明细表")));
        QVERIFY2(page.contains(QStringLiteral("运输单号")), "titles repeat on every page");
        const bool last = n + 1 == pages.size();
        QCOMPARE(page.contains(QStringLiteral("打印时间:")), last);
        QCOMPARE(page.contains(QStringLiteral("记录数")), last);
        static const QRegularExpression id(QStringLiteral("YS(\\d{4})"));
        for (auto it = id.globalMatch(page); it.hasNext();)
            QCOMPARE(it.next().captured(1).toInt(), next++);
    }
    QCOMPARE(next, src.rowCount());

    // Nothing is drawn into the bottom margin.
    const PdfWords words = pdfWords(pdf("long.pdf"));
    for (const Word &w : words.words)
        QVERIFY2(w.y1 <= words.height - 2 * PointsPerMm + 0.5, qPrintable(w.text));
}

void TstPrint::pageNumberSide_data()
{
    QTest::addColumn<bool>("right");
    QTest::newRow("left") << false;
    QTest::newRow("right") << true;
}

void TstPrint::pageNumberSide()
{
    QFETCH(bool, right);
    const auto settings = grid::PrintSettings::standard(QStringLiteral("车辆信息"), QStringLiteral("李四"), right);
    QVERIFY(grid::printToPdf(sampleOrders(), settings, pdf("side.pdf")));
    const PdfWords words = pdfWords(pdf("side.pdf"));
    const auto number = words.find(QStringLiteral("第1页"));
    const auto title = words.find(QStringLiteral("车辆信息"));
    QCOMPARE(number.size(), 1);
    QCOMPARE(title.size(), 1);
    QCOMPARE(number[0].x0 > words.width / 2, right);
    QVERIFY(qAbs((title[0].x0 + title[0].x1) / 2 - words.width / 2) < 3);
    // The number sits on the header's second line, under the title.
    QVERIFY(number[0].y0 >= title[0].y1 - 1);
}

void TstPrint::wideGridFitsThePage()
{
    MemorySource src;
    for (int c = 0; c < 24; ++c)
        src.cols << MemorySource::Col{QStringLiteral("列%1").arg(c), db::Kind::Integer, 120, {}};
    for (int r = 0; r < 5; ++r) {
        QStringList row;
        for (int c = 0; c < 24; ++c)
            row << QString::number(r * 100 + c);
        src.rows << row;
    }
    QVERIFY(grid::printToPdf(src, grid::PrintSettings::standard(QStringLiteral("宽表"), QStringLiteral("张三")),
                             pdf("wide.pdf")));
    const PdfWords words = pdfWords(pdf("wide.pdf"));
    QCOMPARE(words.pages, 1);
    QVERIFY(qAbs(words.width - 297 * PointsPerMm) < 1);    // A4, turned by itself
    QVERIFY(qAbs(words.height - 210 * PointsPerMm) < 1);
    double left = words.width, right = 0;
    for (int c = 0; c < 24; ++c) {
        const auto found = words.find(QStringLiteral("列%1").arg(c));
        QCOMPARE(found.size(), 1);
        left = qMin(left, found[0].x0);
        right = qMax(right, found[0].x1);
    }
    QVERIFY(left >= 2 * PointsPerMm);
    QVERIFY(right <= words.width - 2 * PointsPerMm);
    // Fitted rather than squeezed into a corner: the grid spans the page.
    QVERIFY(right - left > words.width * 0.8);
    QCOMPARE(words.find(QStringLiteral("423")).size(), 1);
}

// A list as the container order window prints it: sixteen columns of
// names, codes, dates, money and remarks at their screen widths.
MemorySource containerList(int rows)
{
    MemorySource src;
    const struct { const char *title; db::Kind kind; int width; } cols[] = {
        {"上游客户", db::Kind::Text, 200},  {"运输单号", db::Kind::Text, 100}, {"运输期限从", db::Kind::Date, 85},
        {"运输期限到", db::Kind::Date, 85}, {"箱号", db::Kind::Text, 100},     {"型号规格", db::Kind::Text, 60},
        {"数量", db::Kind::Float, 45},      {"船名航班", db::Kind::Text, 110}, {"应收运费", db::Kind::Money, 85},
        {"起始地", db::Kind::Text, 70},     {"目的地", db::Kind::Text, 70},    {"运输动态", db::Kind::Text, 130},
        {"收货人", db::Kind::Text, 170},    {"操作员", db::Kind::Text, 60},    {"操作日期", db::Kind::DateTime, 135},
        {"备注", db::Kind::Memo, 130},
    };
    for (const auto &c : cols)
        src.cols << MemorySource::Col{QString::fromUtf8(c.title), c.kind, c.width, {}};
    const QStringList customers = {QStringLiteral("东风汽车零部件(集团)有限公司"), QStringLiteral("麦当劳(McDonald's)华中配送中心"),
                                   QStringLiteral("武汉钢铁物资贸易有限公司")};
    for (int r = 0; r < rows; ++r) {
        const QString day = QStringLiteral("2026-11-%1").arg(10 + r % 19);
        src.rows << QStringList{customers[r % 3], QStringLiteral("JZ202611%1%2").arg(10 + r % 19).arg(r % 100, 2, 10, QLatin1Char('0')),
                                day, QStringLiteral("2026-12-%1").arg(10 + r % 19),
                                QStringLiteral("COSU%1").arg(1234560 + r), QStringLiteral("40"), QStringLiteral("1"),
                                QStringLiteral("长航集运18/V%1").arg(2301 + r), QStringLiteral("12,%1.00").arg(100 + r),
                                QStringLiteral("杨泗港"), QStringLiteral("十堰"), QStringLiteral("杨泗港-十堰"),
                                QStringLiteral("东风商用车十堰总装厂"), QStringLiteral("李调度"),
                                day + QStringLiteral(" 09:%1:00").arg(10 + r % 50),
                                r % 4 ? QString() : QStringLiteral("重箱，注意限高 check ISO6346")};
    }
    return src;
}

void TstPrint::orientationFollowsTheColumns_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("landscape");
    QTest::newRow("six columns") << 6 << 100 << false;
    QTest::newRow("ten narrow columns") << 10 << 70 << false;
    QTest::newRow("twelve columns") << 12 << 90 << true;
    QTest::newRow("twenty-four columns") << 24 << 120 << true;
}

void TstPrint::orientationFollowsTheColumns()
{
    QFETCH(int, columns);
    QFETCH(int, width);
    QFETCH(bool, landscape);
    MemorySource src;
    for (int c = 0; c < columns; ++c)
        src.cols << MemorySource::Col{QStringLiteral("列%1").arg(c), db::Kind::Text, width, {}};
    src.rows << QStringList(columns, QStringLiteral("AB12345"));
    const grid::GridPrinter gp(src, grid::PrintSettings::standard(QStringLiteral("表"), QStringLiteral("张三")));
    QCOMPARE(gp.orientation(), landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    gp.setup(printer);
    // Readable in the chosen orientation; a portrait list would have turned
    // before going below that.
    QVERIFY2(gp.cellPointSize(&printer) >= (landscape ? 6.0 : 8.0), qPrintable(QString::number(gp.cellPointSize(&printer))));
}

void TstPrint::noValueBreaksInTwo()
{
    const MemorySource src = containerList(40);
    const auto settings = grid::PrintSettings::standard(QStringLiteral("集装箱运输单明细表打印清单"), QStringLiteral("张三"));
    QVERIFY(grid::printToPdf(src, settings, pdf("sixteen.pdf")));
    const PdfWords words = pdfWords(pdf("sixteen.pdf"));
    QVERIFY(words.width > words.height);   // landscape by itself
    // Every number, date, code and Latin word reads back whole, once per row
    // it stands in.
    static const QRegularExpression token(QStringLiteral("[0-9A-Za-z][0-9A-Za-z,.:/'-]*[0-9A-Za-z]"));
    QHash<QString, int> expected;
    for (int r = 0; r < src.rowCount(); ++r)
        for (int c = 0; c < src.columnCount(); ++c)
            for (auto it = token.globalMatch(src.text(r, c)); it.hasNext();)
                ++expected[it.next().captured()];
    QHash<QString, int> found;
    for (const Word &w : words.words)
        for (auto it = token.globalMatch(w.text); it.hasNext();)
            ++found[it.next().captured()];
    QVERIFY(expected.size() > 150);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(found.value(it.key()) >= it.value(),
                 qPrintable(QStringLiteral("%1: %2 of %3").arg(it.key()).arg(found.value(it.key())).arg(it.value())));
    // The Chinese texts wrap between their characters and still read in full.
    const QString text = pdfText(pdf("sixteen.pdf")).remove(QRegularExpression(QStringLiteral("\\s")));
    QVERIFY(text.contains(QStringLiteral("东风商用车十堰总装厂")) || text.contains(QStringLiteral("东风商用车")));
}

void TstPrint::longTextStretchesItsRow()
{
    MemorySource src;
    src.cols = {{QStringLiteral("单号"), db::Kind::Text, 60, {}}, {QStringLiteral("备注"), db::Kind::Memo, 80, {}},
                {QStringLiteral("客户"), db::Kind::Text, 400, {}}};
    const QString memo = QStringLiteral("货物于港区堆场装箱后经长江大桥运往城东仓库需提前联系收货人确认卸货时间并核对铅封号码");
    src.rows = {{QStringLiteral("A1"), memo, QStringLiteral("甲")}, {QStringLiteral("A2"), QString(), QStringLiteral("乙")}};
    QVERIFY(grid::printToPdf(src, grid::PrintSettings::standard(QStringLiteral("备注"), QStringLiteral("张三")),
                             pdf("memo.pdf")));
    const PdfWords words = pdfWords(pdf("memo.pdf"));
    const auto first = words.find(QStringLiteral("A1")), second = words.find(QStringLiteral("A2"));
    QCOMPARE(first.size(), 1);
    QCOMPARE(second.size(), 1);
    // The memo's words lie between the two rows' ids, in its own column, on
    // several lines, and read back whole.
    QVector<Word> parts;
    for (const Word &w : words.words)
        if (w.y0 >= first[0].y0 - 30 && w.y1 <= second[0].y0 && w.x0 > first[0].x1 && memo.contains(w.text))
            parts << w;
    std::sort(parts.begin(), parts.end(), [](const Word &a, const Word &b) {
        return qAbs(a.y0 - b.y0) > 1 ? a.y0 < b.y0 : a.x0 < b.x0;
    });
    QString joined;
    QSet<int> lines;
    for (const Word &w : parts) {
        joined += w.text;
        lines.insert(qRound(w.y0));
    }
    QCOMPARE(joined, memo);
    QVERIFY(lines.size() >= 3);
}

void TstPrint::previewShowsEveryPage()
{
    const MemorySource src = longList(120);
    const auto settings = grid::PrintSettings::standard(QStringLiteral("货物运输单"), QStringLiteral("张三"), true);
    QString title;
    int shownPages = 0;
    QPageLayout layout;
    QSize size;
    QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
    const auto previous = grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        title = dlg.windowTitle();
        layout = dlg.printer()->pageLayout();
        size = dlg.size();
        dlg.show();
        auto *preview = dlg.findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        QTRY_VERIFY(preview->pageCount() > 0);
        shownPages = preview->pageCount();
        zoom = preview->zoomMode();
        dlg.close();
    });
    grid::printPreview(nullptr, src, settings);
    grid::setPreviewRunner(previous);
    QCOMPARE(title, QStringLiteral("打印预览"));
    QCOMPARE(shownPages, pagesOf(src, settings));
    QVERIFY(shownPages >= 2);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(2, 2, 2, 2));
    // Large, pages as wide as the window.
    QCOMPARE(zoom, QPrintPreviewWidget::FitToWidth);
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(size.width() >= avail.width() * 8 / 10 && size.height() >= avail.height() * 8 / 10);
}

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
