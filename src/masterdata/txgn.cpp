#include "masterdata/txgn.h"
#include "data/dm1.h"
#include "data/scratchrun.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "db/text.h"

using namespace data;

namespace masterdata {

void computeAlarms(db::Connection &connection, db::Query *scratch, db::Query *settings, db::Query *vehicles,
                   const QDate &today)
{
    struct Item { QString label; qint64 lead; };
    settings->reopenWith({S("select * from 提醒功能初始表")});
    QVector<Item> items;
    for (settings->first(); !settings->eof() && items.size() < 5; settings->next())
        items.append({settings->field(S("项目")).asString(), settings->field(S("期限")).asInteger()});
    settings->close();

    db::Transaction tx(connection);
    connection.execute(S("delete from 通用"));
    vehicles->reopenWith({S("select * from 承运车辆 "), S("order by 车牌号")});
    static const char *const dateColumns[] = {"养路费截止时间", "年审截止时间", "保险截止时间", "车船税截止时间"};
    QVector<int> dates;
    for (const char *c : dateColumns)
        dates << vehicles->field(S(c)).index();
    const int plate = vehicles->field(S("车牌号")).index();
    const int next = vehicles->field(S("下次二保里程")).index();
    const int odometer = vehicles->field(S("公里数")).index();
    // A date alarms from lead days before it: when it is at most today + lead.
    QVector<QString> lastQuiet;
    for (int k = 0; k < items.size() && k < 4; ++k)
        lastQuiet << db::storedDate(today.addDays(items[k].lead)).left(10);

    // The alarms go in as multi-row inserts, in the order they are found:
    // thousands of single-row posts would cost most of the time.
    QStringList values;
    const auto flush = [&] {
        if (values.isEmpty())
            return;
        connection.execute(S("insert into 通用 (texta, textb, datea, numbera) values ") + values.join(QLatin1Char(',')));
        values.clear();
    };
    const auto alarm = [&](int row, const Item &item, const QString &date, const QString &mileage) {
        values << QStringLiteral("(%1,%2,%3,%4)").arg(db::lit(vehicles->displayText(row, plate)), db::lit(item.label), date, mileage);
        if (values.size() >= 400)
            flush();
    };
    const QString none = QStringLiteral("null");
    for (int r = 0; r < vehicles->recordCount(); ++r) {
        for (int k = 0; k < lastQuiet.size(); ++k) {
            const QString expiry = vehicles->storedValue(r, dates[k]).toString();
            if (expiry.isEmpty() || expiry.left(10) > lastQuiet[k])
                continue;   // no date never alarms; a date far enough ahead not yet
            alarm(r, items[k], db::lit(expiry), none);
        }
        if (items.size() < 5)
            continue;
        const QVariant due = vehicles->storedValue(r, next), km = vehicles->storedValue(r, odometer);
        if (due.isNull() || km.isNull() || !due.isValid() || !km.isValid())
            continue;
        if (due.toLongLong() > 0 && km.toLongLong() >= due.toLongLong() - items[4].lead)
            alarm(r, items[4], none, QString::number(due.toLongLong()));
    }
    flush();
    vehicles->close();
    scratch->reopenWith({QStringLiteral("select * from "), S("通用")});
    tx.commit();
}

} // namespace masterdata

TForm_txgn::TForm_txgn(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_txgn"));
    ListDecl d;
    d.caption = S("提醒功能清单");
    d.module = S("txgn");
    d.query = Dm1->q_tongyong;
    d.search = Dm1->q_search;
    d.columns = {
        {.field = S("texta"), .title = S("车牌号"), .width = 110},
        {.field = S("textb"), .title = S("提醒项目"), .width = 140},
        {.field = S("datea"), .title = S("办理日期"), .width = 110},
        {.field = S("numbera"), .title = S("下次二保里程(公里)"), .width = 140},
    };
    d.fit = true;
    d.dichromaticCaption = S("区分网格");
    d.printTitle = S("提醒功能清单打印清单");
    d.exportName = S("提醒功能清单");
    d.layoutStore = false;
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("提醒"), .when = When::Always, .handler = [this] { remind(); }},
        {.role = Role::Print, .objectName = S("SpeedButton3"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
    };
    build(d);
    resize(760, 560);
}

void TForm_txgn::remind()
{
    if (data::refuseReadOnly(this, Dm1->ADO_system))
        return;
    db::Query *vehicles = Dm1->q_carinfo;
    const bool done = data::runOnScratch(this, Dm1->q_tongyong, [&] {
        masterdata::computeAlarms(*Dm1->ADO_system, Dm1->q_tongyong, Dm1->q_txcsb, vehicles, QDate::currentDate());
    });
    if (!done)
        vehicles->close();
}
