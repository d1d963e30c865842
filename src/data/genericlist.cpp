#include "data/genericlist.h"
#include "grid/dbgrideh.h"
#include "grid/designwidth.h"

namespace data {

grid::Columns GenericListWindow::columnsOf(db::Query *query)
{
    grid::Columns cols;
    for (int i = 0; query->isActive() && i < query->fieldCount(); ++i) {
        grid::Column c;
        c.field = query->fieldName(i);
        c.title = c.field;
        c.sortable = true;
        const db::Kind k = query->fieldKind(i);
        if (i == 0) {
            c.footer = grid::FooterKind::Text;
            c.footerText = QStringLiteral("记录数");
        } else if (i == 1) {
            c.footer = grid::FooterKind::Count;
        } else if (k == db::Kind::Money) {
            c.footer = grid::FooterKind::Sum;
        }
        cols << c;
    }
    return cols;
}

void GenericListWindow::showEvent(QShowEvent *e)
{
    // Opened by a menu handler, the query is filled after the window exists.
    if (grid()->columnCount() == 0)
        grid()->setColumns(grid::withDesignWidths(columnsOf(query()), grid()->fontMetrics()));
    RecordListWindow::showEvent(e);
}

GenericListWindow::GenericListWindow(QWidget *owner, db::Query *query, const QString &caption, const QString &module)
    : RecordListWindow(owner)
{
    ListDecl d;
    d.caption = caption;
    d.module = module;
    d.query = query;
    d.printTitle = caption;
    d.exportName = caption;
    d.columns = columnsOf(query);
    d.buttons = {
        {Role::Refresh, QStringLiteral("bitbtn_refresh"), QStringLiteral("刷新")},
        {Role::Print, QStringLiteral("bitbtn_print"), QStringLiteral("打印")},
        {Role::Export, QStringLiteral("bitbtn_out"), QStringLiteral("导出")},
        {Role::ResetLayout, QStringLiteral("SpeedButton1"), QStringLiteral("初始界面")},
        {Role::Close, QStringLiteral("bitbtn_close"), QStringLiteral("返回")},
    };
    build(d);
}

} // namespace data
