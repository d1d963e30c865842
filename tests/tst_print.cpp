// Grid print read back from PDF with poppler's pdftotext.
#include "db/dates.h"
#include "grid/print.h"
#include "memorysource.h"
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
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
                .replace(QLatin1String("&gt;"), QLatin1String(">")).replace(QLatin1String("&quot;"), QLatin1String("\""));
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
    QVERIFY(qAbs(words.width - 210 * PointsPerMm) < 1);    // A4 portrait
    QVERIFY(qAbs(words.height - 297 * PointsPerMm) < 1);
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
    const auto previous = grid::setPreviewRunner([&](QPrintPreviewDialog &dlg) {
        title = dlg.windowTitle();
        layout = dlg.printer()->pageLayout();
        dlg.show();
        auto *preview = dlg.findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        QTRY_VERIFY(preview->pageCount() > 0);
        shownPages = preview->pageCount();
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
}

QTEST_MAIN(TstPrint)
#include "tst_print.moc"
