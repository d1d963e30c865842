#include "masterdata/carinfo.h"
#include "db/text.h"
#include "data/dm1.h"
#include "data/modal.h"
#include "masterdata/carinfo_edit.h"
#include <QAbstractButton>
#include <QLabel>

using namespace data;

TForm_carinfo::TForm_carinfo(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_carinfo"));
    ListDecl d;
    d.caption = S("承运车辆资料设置");
    d.module = S("carinfo");
    d.query = Dm1->q_carinfo;
    d.search = Dm1->q_search;
    d.columns = columns({
        {.field = "所属单位", .width = 160, .sortable = true, .footer = grid::FooterKind::Text},
        {.field = "车牌号", .width = 90, .sortable = true, .footer = grid::FooterKind::Count},
        {.field = "车型", .width = 90, .sortable = true},
        {.field = "发动机号", .width = 110},
        {.field = "车主姓名", .width = 70},
        {.field = "联系电话", .width = 100},
        {.field = "驾驶员", .width = 70},
        {.field = "操作员", .width = 70},
        {.field = "操作日期", .width = 130},
        {.field = "备注", .width = 180},
    });
    d.dichromaticCaption = S("区分网格");
    d.printTitle = S("轿运车辆打印列表");
    d.pageNumberRight = true;
    d.exportName = S("承运车辆明细表");
    d.gridDoubleClickEdits = true;
    d.buttons = {
        {.role = Role::Edit, .objectName = S("bitbtn_edit"), .caption = S("编辑")},
        {.role = Role::Delete, .objectName = S("bitbtn_delete"), .caption = S("删除")},
        {.role = Role::Refresh, .objectName = S("bitbtn_refresh"), .caption = S("刷新")},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印")},
        {.role = Role::Export, .objectName = S("SpeedButton2"), .caption = S("导出")},
        {.role = Role::Custom, .objectName = S("SpeedButton1"), .caption = S("选中"), .when = When::Never, .handler = [this] { choose(); }},
        {.role = Role::Close, .objectName = S("bitbtn_close"), .caption = S("返回")},
    };
    build(d);
    m_mode = new QLabel(this);
    m_mode->setObjectName(S("Label11"));
    m_mode->hide();
}

void TForm_carinfo::setPicker(const QString &callerLabel)
{
    m_mode->setText(callerLabel);
    setButtonWhen(S("SpeedButton1"), When::Always);
}

void TForm_carinfo::choose()
{
    auto *b = button(S("SpeedButton1"));
    if (!b || !b->isEnabled())
        return;
    db::Query *car = query();
    // Nothing to choose from an empty list; the caller's row stays as it was.
    if (!car->isActive() || car->isEmpty())
        return;
    db::Query *target = m_mode->text() == S("集装箱") ? Dm1->q_container_ysd : Dm1->q_freight_ddb;
    if (!target->isActive() || target->isEmpty())
        return;
    target->edit();
    target->field(S("承运单位")).setAsString(car->field(S("所属单位")).asString());
    target->field(S("车牌号")).setAsString(car->field(S("车牌号")).asString());
    target->field(S("驾驶员")).setAsString(car->field(S("驾驶员")).asString());
    close();
}

void TForm_carinfo::openEditor()
{
    TForm_carinfo_edit editor(this);
    db::Query *carriers = Dm1->q_transportinfo;
    carriers->reopenWith({S("select * from 下游运输商 "), S("order by 单位名称")});
    QStringList names;
    for (int row = 0; row < carriers->recordCount(); ++row)
        names << carriers->displayText(row, carriers->fieldIndex(S("单位名称")));
    carriers->close();
    editor.setOwnerList(names);
    data::showModal(&editor);
}

void pickVehicle(QWidget *owner, const QString &callerLabel)
{
    TForm_carinfo list(owner);
    Dm1->q_carinfo->reopenWith({QString::fromUtf8("select * from 承运车辆 "), QString::fromUtf8("order by 车牌号")});
    list.setPicker(callerLabel);
    list.keepClear(owner, {S("承运单位"), S("车牌号"), S("驾驶员")});
    data::showModal(&list);
    Dm1->q_carinfo->close();
}
