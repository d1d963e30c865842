#include "data/stagewindow.h"
#include "db/query.h"

namespace data {

QVector<ButtonDecl> StageWindow::stageButtons(const QVector<ButtonDecl> &own, const std::function<void()> &openSearch)
{
    QVector<ButtonDecl> b = {
        {Role::Edit, QStringLiteral("bitbtn_edit"), QStringLiteral("编辑"), When::Browse, [this] {
             // Without a listed order there is nothing to edit; a save would
             // otherwise create a bare order row.
             if (query()->isEmpty())
                 return;
             edit();
             if (auto *w = editorFor(m_checks.flagField); w && editing())
                 w->setFocus();
         }},
        {Role::Save, QStringLiteral("bitbtn_save"), QStringLiteral("存盘")},
        {Role::Cancel, QStringLiteral("bitbtn_cancel"), QStringLiteral("取消")},
        {Role::Export, QStringLiteral("bitbtn_out"), QStringLiteral("导出")},
        {Role::Print, QStringLiteral("bitbtn_print"), QStringLiteral("打印")},
        {Role::ResetLayout, QStringLiteral("SpeedButton1"), QStringLiteral("初始界面")},
    };
    b += own;
    b += {
        {Role::Custom, QStringLiteral("SpeedButton3"), QStringLiteral("查找"), When::Always, openSearch},
        {Role::Close, QStringLiteral("SpeedButton4"), QStringLiteral("返回")},
        {Role::Search, QStringLiteral("SpeedButton2"), QStringLiteral("查找")},
    };
    return b;
}

void StageWindow::build(ListDecl d, const Checks &checks)
{
    m_checks = checks;
    d.memoField = QStringLiteral("备注");
    RecordListWindow::build(d);
}

void StageWindow::markAllReturned()
{
    const QString limit = m_checks.limitField;
    markListed(
        QStringLiteral("以下记录回单确实都返回了吗? "), QStringLiteral("全部返回"),
        [limit](db::Query &q) {
            q.field(QStringLiteral("回单返回时间")).setValue(q.field(limit).value());
            q.field(QStringLiteral("回单返回")).setAsString(QStringLiteral("是"));
            q.field(QStringLiteral("交单人")).setAsString(q.field(QStringLiteral("驾驶员")).asString());
        },
        [](db::Query &q) { return QStringLiteral("运输单号 ") + q.field(QStringLiteral("运输单号")).asString(); });
}

bool StageWindow::checks()
{
    auto *q = query();
    const QString flag = q->field(m_checks.flagField).asString();
    if (flag != QStringLiteral("是") && flag != QStringLiteral("否"))
        return fail(m_checks.flagMessage, m_checks.flagField);
    // Compared by day: a return on the limit's own day is in time.
    const QDate date = q->field(m_checks.dateField).asDate(), limit = q->field(m_checks.limitField).asDate();
    if (date.isValid() && limit.isValid() && limit > date)
        return fail(m_checks.dateMessage, m_checks.dateField);
    return true;
}

} // namespace data
