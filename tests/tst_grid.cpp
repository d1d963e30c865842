// The data grid and its services over a real query: sorting, hiding and
// re-showing columns, two-tone rows, footers, fit, remembered layout.
#include "db/dates.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "grid/dbgrideh.h"
#include "grid/footerbar.h"
#include "grid/gridmodel.h"
#include "grid/gridtoolbar.h"
#include "grid/groupheader.h"
#include "grid/layoutstore.h"
#include "grid/tablesource.h"
#include "testsupport.h"
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>
#include <QToolButton>
#include <QVBoxLayout>

using namespace grid;
using db::Money;

namespace {

const QString Table = QStringLiteral("集装箱运输单");

Column col(const char *field, const char *title, int width = 80, bool sortable = false,
           FooterKind footer = FooterKind::None, const char *footerText = "")
{
    Column c;
    c.field = QString::fromUtf8(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    c.sortable = sortable;
    c.footer = footer;
    c.footerText = QString::fromUtf8(footerText);
    return c;
}

// The container order list's columns, titles grouped as a window might.
Columns orderColumns()
{
    return {col("上游客户", "上游客户", 100, true, FooterKind::Text, "记录数"),
            col("运输单号", "运输单号", 90, true, FooterKind::Count),
            col("运输期限从", "运输期限|从", 80, true),
            col("运输期限到", "运输期限|到", 80),
            col("箱号", "箱号", 90),
            col("型号规格", "型号规格", 60, true),
            col("数量", "数量", 50),
            col("应收运费", "运费|应收|金额", 90, false, FooterKind::Sum),
            col("备注", "备注", 120)};
}

// Orders 1..n: order number "D<i>", period starting n - i days after New
// Year so that date order is the reverse of insertion order, freight i * 0.1.
void addOrders(const TestDb &t, int n)
{
    for (int i = 1; i <= n; ++i)
        t.exec(QStringLiteral("insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 应收运费, 备注) values "
                              "('客户%1', 'D%2', '%3', %4, '第一行\n第二行')")
                   .arg(i % 3)
                   .arg(i, 2, 10, QLatin1Char('0'))
                   .arg(db::storedDate(QDate(2024, 1, 1).addDays(n - i)))
                   .arg(i * 1000));
}

db::Query *openOrders(const TestDb &t, const QString &order = QStringLiteral("order by 运输单号"))
{
    db::Query *q = t.dm()->q_container_ysd;
    q->reopenWith({QStringLiteral("select * from ") + Table, order});
    return q;
}

QStringList orderNumbers(db::Query *q)
{
    QStringList out;
    const int f = q->fieldIndex(QStringLiteral("运输单号"));
    for (int r = 0; r < q->recordCount(); ++r)
        out << q->displayText(r, f);
    return out;
}

QString fields(const Columns &cols, bool visibleOnly = false)
{
    QStringList out;
    for (const Column &c : cols)
        if (!visibleOnly || c.visible)
            out << c.field;
    return out.join(QLatin1Char(','));
}

struct Shown {
    explicit Shown(db::Query *q, const Columns &cols = orderColumns(), QSize size = QSize(700, 300))
    {
        grid.setColumns(cols);
        grid.setQuery(q);
        grid.resize(size);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    DBGridEh grid;
};

} // namespace

class TstGrid : public QObject {
    Q_OBJECT
private slots:
    void orderByLine_data();
    void orderByLine();
    void applySortRewritesLastLineOnlyWithRows();
    void titleClicksCycleMarkers();
    void hiddenCaption_data();
    void hiddenCaption();
    void hideAndReshow();
    void twoToneRowsByRecordNumber();
    void footerFollowsPostAndDelete();
    void footerSitsUnderTheRows();
    void groupTitlesSetHeaderHeight();
    void missingFieldShowsEmptyCells();
    void cellForms();
    void gridFollowsQueryAndMovesIt();
    void enterAndTabLeaveTheGrid();
    void autoFitFillsWidth();
    void layoutRoundTrip();
    void layoutToleratesOldFiles();
    void tableSourceShowsVisibleColumns();
};

void TstGrid::orderByLine_data()
{
    QTest::addColumn<SortMarkers>("markers");
    QTest::addColumn<QString>("line");
    QTest::newRow("none") << SortMarkers{} << QString();
    QTest::newRow("descending then ascending")
        << SortMarkers{{QStringLiteral("运输期限从"), true}, {QStringLiteral("运输单号"), false}}
        << QStringLiteral(" ORDER BY 运输期限从 DESC , 运输单号");
    QTest::newRow("ascending then descending")
        << SortMarkers{{QStringLiteral("上游客户"), false}, {QStringLiteral("运输单号"), true}}
        << QStringLiteral(" ORDER BY 上游客户, 运输单号 DESC ");
}

void TstGrid::orderByLine()
{
    QFETCH(SortMarkers, markers);
    QFETCH(QString, line);
    QCOMPARE(grid::orderByLine(markers), line);
}

void TstGrid::applySortRewritesLastLineOnlyWithRows()
{
    TestDb t;
    db::Query *q = openOrders(t);
    const QStringList before = q->sql();
    applySort(q, {{QStringLiteral("运输单号"), true}});
    QCOMPARE(q->sql(), before);     // no rows: the query is left alone
    QVERIFY(q->isActive());

    addOrders(t, 5);
    q = openOrders(t);
    const QStringList dbOrder = orderNumbers(q);
    applySort(q, {{QStringLiteral("运输单号"), true}});
    QCOMPARE(q->sql().first(), before.first());
    QCOMPARE(q->sql().last(), grid::orderByLine({{QStringLiteral("运输单号"), true}}));
    QStringList descending = dbOrder;
    std::sort(descending.begin(), descending.end(), std::greater<>());
    QCOMPARE(orderNumbers(q), descending);

    // By date first: the dates run opposite to the numbers.
    applySort(q, {{QStringLiteral("运输期限从"), false}, {QStringLiteral("运输单号"), false}});
    QCOMPARE(orderNumbers(q), descending);

    // Clearing every marker gives the database's own order back.
    q->reopenWith({QStringLiteral("select * from ") + Table, QString()});
    const QStringList natural = orderNumbers(q);
    applySort(q, {{QStringLiteral("运输单号"), true}});
    applySort(q, {});
    QCOMPARE(q->sql().last(), QString());
    QCOMPARE(orderNumbers(q), natural);

    // An engine error surfaces; the query is left closed.
    QVERIFY_THROWS_EXCEPTION(db::DbError, applySort(q, {{QStringLiteral("没有这列"), false}}));
    QVERIFY(!q->isActive());
}

void TstGrid::titleClicksCycleMarkers()
{
    TestDb t;
    addOrders(t, 3);
    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    QSignalSpy spy(&g, &DBGridEh::sortMarkingChanged);
    GroupHeaderView *h = g.groupHeader();
    auto click = [&](const char *field, bool onBand = false) {
        const int l = g.columnByField(QString::fromUtf8(field));
        const int x = h->sectionViewportPosition(l) + h->sectionSize(l) / 2;
        const int y = onBand ? h->lineHeight() / 2 : h->height() - 3;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, y));
    };
    const QString cust = QStringLiteral("上游客户"), no = QStringLiteral("运输单号"), from = QStringLiteral("运输期限从");

    click("上游客户");
    click("运输单号");
    QCOMPARE(g.sortMarkers(), (SortMarkers{{cust, false}, {no, false}}));
    click("上游客户");   // second click: descending, keeps its place
    QCOMPARE(g.sortMarkers(), (SortMarkers{{cust, true}, {no, false}}));
    click("上游客户");   // third click: unmarked
    QCOMPARE(g.sortMarkers(), (SortMarkers{{no, false}}));
    QCOMPARE(spy.count(), 4);

    click("箱号");                 // not a sort button
    click("运输期限从", true);      // the group band "运输期限" above it
    QCOMPARE(spy.count(), 4);
    click("运输期限从");
    QCOMPARE(g.sortMarkers(), (SortMarkers{{no, false}, {from, false}}));

    // Markers survive a new column set only for columns still sortable.
    Columns cols = orderColumns();
    cols[1].sortable = false;
    g.setColumns(cols);
    QCOMPARE(g.sortMarkers(), (SortMarkers{{from, false}}));
}

void TstGrid::hiddenCaption_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("one level") << "备注" << "备注";
    QTest::newRow("two levels") << "运输期限|到" << "运输期限\t到";
    QTest::newRow("three levels") << "运费|应收|金额" << "应收\t金额";
    QTest::newRow("four levels") << "a|b|c|d" << "c\td";
}

void TstGrid::hiddenCaption()
{
    QFETCH(QString, title);
    QFETCH(QString, caption);
    TestDb t;
    Columns cols = orderColumns();
    cols.last().title = title;
    Shown s(openOrders(t), cols);
    GridToolBar bar(&s.grid);
    bar.hideRightmost();
    QCOMPARE(bar.popupMenu()->actions().first()->text(), caption);
}

void TstGrid::hideAndReshow()
{
    TestDb t;
    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    GridToolBar bar(&g);
    const int n = g.columnCount();
    QVERIFY(!bar.toolButton1()->isEnabled());
    bar.setMinimumVisible(n - 3);
    for (int i = 0; i < 5; ++i)
        bar.toolButton2()->click();
    // Stopped at the minimum; the rightmost ones went.
    QCOMPARE(g.visibleColumnCount(), n - 3);
    QCOMPARE(bar.popupMenu()->actions().size(), 3);
    QVERIFY(bar.toolButton1()->isEnabled());
    // Newest at the top of the drop-down.
    QCOMPARE(bar.popupMenu()->actions().first()->data().toInt(), n - 3);
    QCOMPARE(bar.popupMenu()->actions().last()->data().toInt(), n - 1);

    // Choosing the oldest entry puts its column right after the visible ones.
    bar.popupMenu()->actions().last()->trigger();
    QList<int> expectVisible;
    for (int l = 0; l < n - 3; ++l)
        expectVisible << l;
    QCOMPARE(g.visibleColumns(), expectVisible << n - 1);
    QCOMPARE(g.displayOrder().mid(n - 3), (QList<int>{n - 1, n - 3, n - 2}));
    QCOMPARE(bar.popupMenu()->actions().size(), 2);

    // The button shows the column hidden last, the one after the visible ones.
    bar.toolButton1()->click();
    QCOMPARE(g.visibleColumns(), expectVisible << n - 3);
    QVERIFY(bar.toolButton1()->isEnabled());
    bar.toolButton1()->click();
    QCOMPARE(g.visibleColumnCount(), n);
    QVERIFY(!bar.toolButton1()->isEnabled());
    QVERIFY(bar.toolButton2()->isEnabled());
    QVERIFY(bar.popupMenu()->actions().isEmpty());
}

void TstGrid::twoToneRowsByRecordNumber()
{
    TestDb t;
    addOrders(t, 4);
    db::Query *q = openOrders(t);
    Shown s(q);
    DBGridEh &g = s.grid;
    q->last();      // keep the selection highlight off the rows sampled
    const int l = g.columnByField(QStringLiteral("数量"));   // empty cells
    auto pixel = [&](int row) {
        const QRect r = g.visualRect(g.gridModel()->index(row, l));
        const QPoint p = g.viewport()->mapTo(&g, r.center());
        return g.grab().toImage().pixelColor(p);
    };
    const QColor cyan(236, 249, 249);
    g.setDichromatic(true);
    QCOMPARE(pixel(0), cyan);              // record 1
    QCOMPARE(pixel(1), QColor(Qt::white)); // record 2
    QCOMPARE(pixel(2), cyan);              // record 3
    g.setDichromatic(false);
    QCOMPARE(pixel(0), g.palette().color(QPalette::Base));
    QCOMPARE(pixel(2), g.palette().color(QPalette::Base));
}

void TstGrid::footerFollowsPostAndDelete()
{
    TestDb t;
    addOrders(t, 3);
    db::Query *q = openOrders(t);
    Shown s(q);
    DBGridEh &g = s.grid;
    const int cnt = g.columnByField(QStringLiteral("运输单号"));
    const int sum = g.columnByField(QStringLiteral("应收运费"));
    QCOMPARE(g.footerText(g.columnByField(QStringLiteral("上游客户"))), QStringLiteral("记录数"));
    QCOMPARE(g.footerText(g.columnByField(QStringLiteral("箱号"))), QString());
    auto expectedSum = [&] {
        Money m;
        for (int r = 0; r < q->recordCount(); ++r)
            m += Money::fromRaw(q->storedValue(r, q->fieldIndex(QStringLiteral("应收运费"))).toLongLong());
        return m.toString();
    };
    QCOMPARE(g.footerText(cnt), QStringLiteral("3"));
    QCOMPARE(g.footerText(sum), expectedSum());
    QCOMPARE(g.footerText(sum), Money::fromRaw(6000).toString());   // 0.1 + 0.2 + 0.3, exactly

    q->append();
    q->field(QStringLiteral("运输单号")).setAsString(QStringLiteral("N1"));
    q->field(QStringLiteral("应收运费")).setAsString(QStringLiteral("1234567.0001"));
    q->post();
    QCOMPARE(g.footerText(cnt), QStringLiteral("4"));
    QCOMPARE(g.footerText(sum), expectedSum());
    QVERIFY(g.footerText(sum).contains(QStringLiteral("1234567.6001")));

    q->first();
    q->field(QStringLiteral("应收运费")).setAsString(QStringLiteral("2"));
    q->post();
    QCOMPARE(g.footerText(sum), expectedSum());

    q->last();
    q->deleteRecord();
    QCOMPARE(g.footerText(cnt), QStringLiteral("3"));
    QCOMPARE(g.footerText(sum), expectedSum());
    QCOMPARE(g.tableSource()->footer(g.visibleColumns().indexOf(sum)), g.footerText(sum));
}

void TstGrid::footerSitsUnderTheRows()
{
    TestDb t;
    addOrders(t, 40);
    Shown s(openOrders(t), orderColumns(), QSize(400, 250));
    DBGridEh &g = s.grid;
    FooterBar *f = g.footer();
    QVERIFY(f->isVisible());
    QCOMPARE(f->geometry().top(), g.viewport()->geometry().bottom() + 1);
    QCOMPARE(f->geometry().left(), g.viewport()->geometry().left());
    QCOMPARE(f->width(), g.viewport()->width());
    // Inside the grid's frame, above the horizontal scroll bar.
    QVERIFY(g.contentsRect().contains(f->geometry()));
    QScrollBar *hbar = g.horizontalScrollBar();
    QVERIFY(hbar->isVisible());
    QVERIFY(f->geometry().bottom() < hbar->mapTo(&g, QPoint(0, 0)).y());
    // The last row can be scrolled fully into view above the footer.
    g.scrollToBottom();
    const QRect last = g.visualRect(g.gridModel()->index(39, 0));
    QVERIFY2(last.bottom() < g.viewport()->height(), qPrintable(QString::number(last.bottom())));
    QVERIFY(last.top() >= 0);
    // Rows are one text line high.
    QCOMPARE(g.rowHeight(0), g.rowHeight(39));
    QVERIFY(g.rowHeight(0) < 2 * g.fontMetrics().height());

    // A total cut to its column's width is whole in the footer's tip.
    int col = -1;
    for (int l = 0; l < g.gridModel()->columnCount(); ++l)
        if (g.column(l).footer == FooterKind::Sum)
            col = l;
    QVERIFY(col >= 0);
    g.scrollTo(g.gridModel()->index(0, col));
    g.setColumnWidth(col, g.fontMetrics().horizontalAdvance(QStringLiteral("12")));
    const int x = g.horizontalHeader()->sectionViewportPosition(col) + 2;
    QHelpEvent tip(QEvent::ToolTip, QPoint(x, 3), f->mapToGlobal(QPoint(x, 3)));
    QApplication::sendEvent(f, &tip);
    QCOMPARE(QToolTip::text(), g.footerText(col));
}

void TstGrid::groupTitlesSetHeaderHeight()
{
    TestDb t;
    Columns cols = orderColumns();
    Shown s(openOrders(t), cols);
    GroupHeaderView *h = s.grid.groupHeader();
    QCOMPARE(h->levelCount(), 3);
    QCOMPARE(h->height(), 3 * h->lineHeight());
    QCOMPARE(h->leafTop(s.grid.columnByField(QStringLiteral("运输期限到"))), h->lineHeight());
    QCOMPARE(h->leafTop(s.grid.columnByField(QStringLiteral("箱号"))), 0);

    // Hiding the only three-level title lowers the header.
    s.grid.setColumnVisible(s.grid.columnByField(QStringLiteral("应收运费")), false);
    QCOMPARE(h->levelCount(), 2);
    for (Column &c : cols)
        c.title = c.title.section(QLatin1Char('|'), -1);
    s.grid.setColumns(cols);
    QCOMPARE(h->levelCount(), 1);
    QCOMPARE(h->height(), h->lineHeight());
}

void TstGrid::missingFieldShowsEmptyCells()
{
    TestDb t;
    addOrders(t, 2);
    Columns cols = orderColumns();
    cols << col("旧列", "旧列", 50, true, FooterKind::Sum);
    Shown s(openOrders(t), cols);
    DBGridEh &g = s.grid;
    const int l = g.columnByField(QStringLiteral("旧列"));
    QCOMPARE(g.gridModel()->data(g.gridModel()->index(1, l)).toString(), QString());
    QCOMPARE(g.footerText(l), QString());
    g.grab();   // painting the column must not throw either
    // Memo text is drawn on one line.
    const QString memo = g.gridModel()->data(g.gridModel()->index(0, g.columnByField(QStringLiteral("备注")))).toString();
    QCOMPARE(memo, QStringLiteral("第一行 第二行"));
    // Closing the query empties the grid.
    t.dm()->q_container_ysd->close();
    QCOMPARE(g.gridModel()->rowCount(), 0);
    QCOMPARE(g.footerText(g.columnByField(QStringLiteral("运输单号"))), QStringLiteral("0"));
}

void TstGrid::cellForms()
{
    TestDb t;
    t.exec(QStringLiteral("insert into 上游客户 (客户名称, 停用, 操作日期) values ('甲', 1, '2024-03-05 00:00:00'), "
                          "('乙', 0, '2024-11-20 08:30:00')"));
    db::Query *q = t.dm()->q_guestinfo;
    q->reopenWith({QStringLiteral("select * from 上游客户"), QStringLiteral("order by 操作日期")});
    Shown s(q, {col("客户名称", "客户名称"), col("停用", "停用"), col("操作日期", "操作日期")});
    GridModel *m = s.grid.gridModel();
    auto text = [&](int row, int c) { return m->data(m->index(row, c)).toString(); };
    QCOMPARE(text(0, 1), QStringLiteral("√"));       // yes-no as a check mark
    QCOMPARE(text(1, 1), QString());
    QCOMPARE(text(0, 2), QStringLiteral("2024-3-5"));
    QCOMPARE(m->data(m->index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    QCOMPARE(m->data(m->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
}

void TstGrid::gridFollowsQueryAndMovesIt()
{
    TestDb t;
    addOrders(t, 30);
    db::Query *q = openOrders(t);
    Shown s(q, orderColumns(), QSize(500, 200));
    DBGridEh &g = s.grid;
    QCOMPARE(g.currentIndex().row(), 0);

    q->moveTo(25);
    QCOMPARE(g.currentIndex().row(), 25);
    QVERIFY(g.selectionModel()->isRowSelected(25, {}));
    const QRect r = g.visualRect(g.currentIndex());
    QVERIFY(g.viewport()->rect().contains(r));      // scrolled into view

    // A click on a row moves the query there.
    const QModelIndex other = g.indexAt(QPoint(5, r.top() - g.rowHeight(25) * 2 + 2));
    QVERIFY(other.isValid());
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, g.visualRect(other).center());
    QCOMPARE(q->currentRow(), other.row());

    // Appending selects the new row and leaves the query inserting.
    q->append();
    QCOMPARE(q->state(), db::Query::Insert);
    QCOMPARE(g.gridModel()->rowCount(), 31);
    QCOMPARE(g.currentIndex().row(), 30);
    q->cancel();
    QCOMPARE(g.gridModel()->rowCount(), 30);
    QCOMPARE(g.currentIndex().row(), q->currentRow());

    // A reopen (as a sort does) keeps the user's column layout.
    g.moveColumn(g.columnByField(QStringLiteral("箱号")), 0);
    g.setColumnVisible(g.columnByField(QStringLiteral("数量")), false);
    const Columns before = g.columns();
    applySort(q, {{QStringLiteral("运输单号"), true}});
    QCOMPARE(fields(g.columns()), fields(before));
    QCOMPARE(fields(g.columns(), true), fields(before, true));
    QCOMPARE(g.currentIndex().row(), 0);
    QCOMPARE(g.gridModel()->data(g.gridModel()->index(0, g.columnByField(QStringLiteral("运输单号")))).toString(),
             QStringLiteral("D30"));
}

void TstGrid::enterAndTabLeaveTheGrid()
{
    TestDb t;
    addOrders(t, 3);
    db::Query *q = openOrders(t);
    QWidget w;
    auto *lay = new QVBoxLayout(&w);
    auto *g = new DBGridEh(&w);
    auto *next = new QLineEdit(&w);
    lay->addWidget(g);
    lay->addWidget(next);
    g->setColumns(orderColumns());
    g->setQuery(q);
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    // Whole rows are selected: Enter goes on like Tab, and Tab leaves the
    // grid instead of walking its cells.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
        g->setFocus();
        QTest::keyClick(g, key);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    QCOMPARE(q->currentRow(), 0);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(q->currentRow(), 1);
}

void TstGrid::autoFitFillsWidth()
{
    TestDb t;
    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    auto sectionSum = [&] {
        int w = 0;
        for (int l : g.visibleColumns())
            w += g.columnWidth(l);
        return w;
    };
    const int a = g.columnByField(QStringLiteral("上游客户")), b = g.columnByField(QStringLiteral("型号规格"));
    g.setAutoFit(true);
    QCOMPARE(sectionSum(), g.viewport()->width());
    // In proportion to the declared widths (100 : 60), give or take rounding.
    QVERIFY(qAbs(g.columnWidth(a) * 60 - g.columnWidth(b) * 100) <= 100);
    g.resize(900, 300);
    QTRY_COMPARE(sectionSum(), g.viewport()->width());
    g.setColumnVisible(a, false);
    QCOMPARE(sectionSum(), g.viewport()->width());
    g.setColumnVisible(a, true);
    g.setAutoFit(false);
    QCOMPARE(g.columnWidth(a), 100);
    QCOMPARE(g.columnWidth(b), 60);
}

void TstGrid::layoutRoundTrip()
{
    TestDb t;
    const QString file = QStringLiteral("container_ysd.ini");
    Columns design = orderColumns();
    {
        Shown s(openOrders(t));
        DBGridEh &g = s.grid;
        g.moveColumn(g.columnByField(QStringLiteral("应收运费")), 1);
        g.setColumnVisible(g.columnByField(QStringLiteral("备注")), false);
        g.setColumnWidth(g.columnByField(QStringLiteral("箱号")), 133);   // as a user drag does
        g.setAutoFit(true);
        LayoutStore(file).save(g);
    }
    QVERIFY(QFile::exists(t.dir() + QLatin1Char('/') + file));

    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    QVERIFY(LayoutStore(file).load(g));
    QVERIFY(g.autoFit());
    const Columns got = g.columns();
    QCOMPARE(got[1].field, QStringLiteral("应收运费"));
    QCOMPARE(got[1].title, design[7].title);
    QCOMPARE(got[1].footer, FooterKind::Sum);
    QCOMPARE(got[0].footerText, QStringLiteral("记录数"));
    QVERIFY(!got.last().visible);
    QCOMPARE(got.last().field, QStringLiteral("备注"));
    QCOMPARE(g.column(g.columnByField(QStringLiteral("箱号"))).width, 133);
    QVERIFY(g.column(g.columnByField(QStringLiteral("上游客户"))).sortable);   // design flags kept

    // A hidden column from the file can be shown again.
    GridToolBar bar(&g);
    QVERIFY(bar.toolButton1()->isEnabled());
    bar.reshowLast();
    QCOMPARE(g.visibleColumnCount(), design.size());

    QVERIFY(LayoutStore(file).remove());
    QVERIFY(!LayoutStore(file).exists());
    Shown fresh(openOrders(t));
    QVERIFY(!LayoutStore(file).load(fresh.grid));
    QCOMPARE(fields(fresh.grid.columns()), fields(design));
}

void TstGrid::layoutToleratesOldFiles()
{
    TestDb t;
    const QString file = QStringLiteral("container_ysd.ini");
    {
        QSettings old(file, QSettings::IniFormat);
        old.setValue(QStringLiteral("Grid/AutoFit"), false);
        old.beginWriteArray(QStringLiteral("Columns"));
        const char *names[] = {"箱号", "已删除的列", "上游客户", "运输单号"};
        const char *widths[] = {"150", "70", "abc", "-5"};
        for (int i = 0; i < 4; ++i) {
            old.setArrayIndex(i);
            old.setValue(QStringLiteral("Field"), QString::fromUtf8(names[i]));
            old.setValue(QStringLiteral("Width"), QString::fromLatin1(widths[i]));
            old.setValue(QStringLiteral("FooterType"), QStringLiteral("Bogus"));
        }
        old.endArray();
    }
    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    QVERIFY(LayoutStore(file).load(g));
    const Columns got = g.columns();
    const Columns design = orderColumns();
    QCOMPARE(got.size(), design.size());
    QCOMPARE(got[0].field, QStringLiteral("箱号"));
    QCOMPARE(got[0].width, 150);
    QCOMPARE(got[1].field, QStringLiteral("上游客户"));
    QCOMPARE(got[1].width, design[0].width);              // unreadable width: design's
    QCOMPARE(got[1].footerText, design[0].footerText);    // unknown footer type: design's
    QCOMPARE(got[2].width, design[1].width);
    // Fields the file does not know follow in design order.
    QCOMPARE(got[3].field, design[2].field);
    QCOMPARE(got.last().field, design.last().field);

    // A damaged file opens at once: an absurd count is not walked through,
    // absurd widths are cut to a sane bound, an absurd title is ignored.
    {
        QFile damaged(file);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("[Columns]\nsize=2147483647\n1\\Field=\xe7\xae\xb1\xe5\x8f\xb7\n1\\Width=2147483647\n"
                      "2\\Field=\xe4\xb8\x8a\xe6\xb8\xb8\xe5\xae\xa2\xe6\x88\xb7\n2\\Width=9999999\n2\\Title=");
        damaged.write(QByteArray(100000, 'x'));
        damaged.write("\n");
    }
    Shown damaged(openOrders(t));
    QVERIFY(LayoutStore(file).load(damaged.grid));
    QCOMPARE(damaged.grid.columns()[0].field, QStringLiteral("箱号"));
    QCOMPARE(damaged.grid.columns()[0].width, 2000);
    QCOMPARE(damaged.grid.columns()[1].width, 2000);
    QCOMPARE(damaged.grid.columns()[1].title, design[0].title);
    QCOMPARE(damaged.grid.columns().size(), design.size());

    // Something that is not an ini layout at all changes nothing.
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("garbage\n[[[\n=\n");
    f.close();
    Shown other(openOrders(t));
    QVERIFY(!LayoutStore(file).load(other.grid));
    QCOMPARE(fields(other.grid.columns()), fields(design));
}

void TstGrid::tableSourceShowsVisibleColumns()
{
    TestDb t;
    addOrders(t, 2);
    Shown s(openOrders(t));
    DBGridEh &g = s.grid;
    g.setColumnVisible(g.columnByField(QStringLiteral("箱号")), false);
    g.moveColumn(g.columnByField(QStringLiteral("应收运费")), 0);
    const auto src = g.tableSource();
    QCOMPARE(src->columnCount(), g.columnCount() - 1);
    QCOMPARE(src->title(0), QStringLiteral("运费|应收|金额"));
    QCOMPARE(src->kind(0), db::Kind::Money);
    QCOMPARE(src->rowCount(), 2);
    QCOMPARE(src->number(1, 0).toDouble(), 0.2);
    QCOMPARE(src->text(1, 0), Money::fromRaw(2000).toString());
    QVERIFY(!src->number(0, 1).isValid());                      // a text column
    QCOMPARE(src->text(0, 2), QStringLiteral("D01"));
    QVERIFY(src->hasFooter());
    for (int c = 0; c < src->columnCount(); ++c)
        QVERIFY(src->title(c) != QStringLiteral("箱号"));
}

QTEST_MAIN(TstGrid)
#include "tst_grid.moc"
