// The grid over a million rows: opening, footer sums, scrolling to the end.
#include "data/dm1.h"
#include "data/dbfile.h"
#include "grid/dbgrideh.h"
#include "grid/gridmodel.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>

using namespace grid;

namespace {

Column col(const char *field, const char *title, int width, FooterKind footer = FooterKind::None, const char *text = "")
{
    Column c;
    c.field = QString::fromUtf8(field);
    c.title = QString::fromUtf8(title);
    c.width = width;
    c.footer = footer;
    c.footerText = QString::fromUtf8(text);
    return c;
}

double ms(QElapsedTimer &t)
{
    const double v = t.nsecsElapsed() / 1e6;
    t.restart();
    return v;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000000;

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    dbfile::create(dir.filePath(QStringLiteral("data.mdb")), false);
    TDm1 dm;
    dm.ADO_system->open();

    QElapsedTimer t;
    t.start();
    dm.ADO_system->execute(QStringLiteral(
        "with recursive n(i) as (select 1 union all select i+1 from n where i<%1) "
        "insert into 集装箱运输单 (上游客户, 运输单号, 运输期限从, 箱号, 型号规格, 数量, 应收运费, 备注) "
        "select '武汉长江物流'||(i%50), 'YS'||i, '2024-01-01 00:00:00', 'TGHU'||i, '20', i%4+1, i*3701, "
        "'备注' from n").arg(rows));
    std::printf("insert %d rows:            %8.1f ms\n", rows, ms(t));

    db::Query *q = dm.q_container_ysd;
    q->reopenWith({QStringLiteral("select * from 集装箱运输单"), QStringLiteral("order by 运输单号")});
    // The grid's own costs over the whole list, as before lists were read
    // behind their first screen (bench_query measures that).
    q->fetchAll();
    std::printf("query open, every row:     %8.1f ms\n", ms(t));

    DBGridEh g;
    g.setColumns({col("上游客户", "上游客户", 110, FooterKind::Text, "记录数"), col("运输单号", "运输单号", 90, FooterKind::Count),
                  col("运输期限从", "运输期限|从", 80), col("箱号", "集装箱|箱号", 90), col("型号规格", "集装箱|型号规格", 60),
                  col("数量", "集装箱|数量", 50, FooterKind::Sum), col("应收运费", "运费|应收", 100, FooterKind::Sum),
                  col("备注", "备注", 120)});
    g.resize(900, 600);
    t.restart();
    g.setQuery(q);
    std::printf("grid over the query:       %8.1f ms\n", ms(t));
    g.show();
    app.processEvents();
    std::printf("first show and paint:      %8.1f ms\n", ms(t));

    g.gridModel()->recomputeFooter();
    std::printf("footer recompute (2 sums): %8.1f ms  (sum %s, count %s)\n", ms(t),
                qPrintable(g.footerText(6)), qPrintable(g.footerText(1)));

    g.scrollToBottom();
    g.viewport()->repaint();
    std::printf("scroll to end and paint:   %8.1f ms  (last row %d visible: %s)\n", ms(t), rows - 1,
                g.rowAt(g.viewport()->height() - 1) == rows - 1 ? "yes" : "no");

    q->first();
    g.viewport()->repaint();
    q->last();
    g.viewport()->repaint();
    std::printf("query first, last + paint: %8.1f ms\n", ms(t));

    q->edit();
    q->field(QStringLiteral("应收运费")).setAsString(QStringLiteral("1.5"));
    q->post();
    std::printf("post one row (+ footer):   %8.1f ms\n", ms(t));
    return 0;
}
