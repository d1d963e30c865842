#include "container/container_ddb.h"
#include "db/text.h"
#include "data/dm1.h"
#include "container/container_ddb_cx.h"
#include "masterdata/carinfo.h"

using namespace data;

namespace {

grid::Column column(const QString &field)
{
    using grid::FooterKind;
    struct Look { const char *field, *title; int width; bool sortable; FooterKind footer; };
    static const Look looks[] = {
        {"调度单编号", nullptr, 100, false, FooterKind::Text},
        {"承运单位", nullptr, 140, false, FooterKind::Count},
        {"车牌号", nullptr, 80, false, FooterKind::None},
        {"上游客户", nullptr, 140, true, FooterKind::None},
        {"运输单号", nullptr, 100, true, FooterKind::None},
        {"运输动态", nullptr, 120, false, FooterKind::None},
        {"运输金额", nullptr, 90, false, FooterKind::Sum},
        {"运输期限从", "发车日期", 90, true, FooterKind::None},
        {"运输期限到", "应到日期", 90, false, FooterKind::None},
        {"到达时间", nullptr, 90, false, FooterKind::None},
        {"执行完结", nullptr, 60, false, FooterKind::None},
        {"箱号", nullptr, 100, false, FooterKind::None},
        {"型号规格", nullptr, 80, true, FooterKind::None},
        {"数量", nullptr, 50, false, FooterKind::None},
        {"船名航班", nullptr, 100, false, FooterKind::None},
        {"驾驶员", nullptr, 70, false, FooterKind::None},
        {"下游帐款结清", nullptr, 80, false, FooterKind::None},
        {"付款日期", nullptr, 90, false, FooterKind::None},
        {"付款人", nullptr, 70, false, FooterKind::None},
        {"实付运费", nullptr, 80, false, FooterKind::Sum},
        {"路桥费", nullptr, 80, false, FooterKind::Sum},
        {"油费", nullptr, 80, false, FooterKind::Sum},
        {"罚款", nullptr, 80, false, FooterKind::Sum},
        {"其它费用", nullptr, 80, false, FooterKind::Sum},
        {"劳务费", nullptr, 80, false, FooterKind::Sum},
        {"应付运费", nullptr, 80, false, FooterKind::Sum},
        {"调度单操作员", nullptr, 80, false, FooterKind::None},
        {"调度单操作日期", nullptr, 130, false, FooterKind::None},
        {"调度单备注", nullptr, 160, false, FooterKind::None},
    };
    for (const Look &l : looks)
        if (field == QString::fromUtf8(l.field))
            return {field, l.title ? QString::fromUtf8(l.title) : field, l.width, true, l.sortable, l.footer,
                    l.footer == FooterKind::Text ? S("记录数") : QString()};
    return {field, field, 80, true, false, FooterKind::None, {}};
}
} // namespace

namespace container {

ListDecl dispatchDecl(QWidget *window, const QStringList &columns, const ButtonDecl &extra)
{
    ListDecl d;
    d.query = Dm1->q_container_ysd;
    d.search = Dm1->q_search;
    for (const auto &f : columns)
        d.columns << column(f);
    d.buttons = {
        {Role::Edit, S("bitbtn_edit"), S("编辑")},
        {Role::Save, S("bitbtn_save"), S("存盘")},
        {Role::Cancel, S("bitbtn_cancel"), S("取消")},
        {Role::Export, S("bitbtn_out"), S("导出")},
        {Role::Print, S("bitbtn_print"), S("打印")},
        {Role::ResetLayout, S("SpeedButton1"), S("初始界面")},
    };
    if (!extra.objectName.isEmpty())
        d.buttons << extra;
    d.buttons << ButtonDecl{Role::Search, S("SpeedButton5"), S("查找"), When::Always, [window] { openDispatchSearch(window); }}
              << ButtonDecl{Role::Close, S("SpeedButton4"), S("返回")}
              << ButtonDecl{Role::Search, S("SpeedButton2"), S("查找")};
    d.quickSearch = {
        {S("DBComboBoxEh3"), S("承运单位："), S("承运单位"), TermKind::Like, EditorKind::Combo, {}, true},
        {S("Edit1"), S("车牌号："), S("车牌号"), TermKind::Like},
        {S("Edit3"), S("运输动态："), S("运输动态"), TermKind::Like, EditorKind::Edit, {}, true},
        {S("DBDateTimeEditEh3"), S("发车日期："), S("运输期限从"), TermKind::Day, EditorKind::Date},
    };
    d.quickSearchHead = {S("select * from 集装箱运输单 ")};
    d.quickSearchOrder = S("order by 承运单位,运输期限从");
    d.quickSearchEnter = StripEnter::Nothing;
    d.stampOperator = S("调度单操作员");
    d.stampDate = S("调度单操作日期");
    d.memoField = S("调度单备注");
    d.editNeedsRow = true;   // dispatch adds to listed orders, never makes one
    d.panelColumns = 4;
    return d;
}

bool isYesNo(db::Query *q, const QString &field)
{
    const QString v = q->field(field).asString();
    return v == S("是") || v == S("否");
}

bool laterDay(db::Query *q, const QString &later, const QString &earlier)
{
    const QDate a = q->field(later).asDate(), b = q->field(earlier).asDate();
    return a.isValid() && b.isValid() && a > b;
}

} // namespace container

TForm_container_ddb::TForm_container_ddb(QWidget *owner) : RecordListWindow(owner)
{
    setObjectName(S("Form_container_ddb"));
    ListDecl d = container::dispatchDecl(
        this,
        {S("调度单编号"), S("承运单位"), S("车牌号"), S("上游客户"), S("运输单号"), S("运输动态"), S("运输金额"),
         S("运输期限从"), S("运输期限到"), S("箱号"), S("型号规格"), S("数量"), S("船名航班"), S("驾驶员"),
         S("调度单操作员"), S("调度单操作日期"), S("调度单备注")},
        {Role::Choose, S("choose_shr"), S("选择运输车辆"), When::Editing, [this] { pickVehicle(this, S("集装箱")); }});
    d.caption = S("集装箱调度单录入");
    d.module = S("container_ddb");
    d.printTitle = S("集装箱调度单明细表打印清单");
    d.exportName = S("集装箱调度单明细表");
    const bool ro = true;
    d.editors = {
        {S("运输单号"), S("运输单编号："), EditorKind::Edit, S("DBEdit2"), {}, false, ro},
        {S("运输期限从"), S("发车日期："), EditorKind::Edit, S("DBEdit3"), {}, false, ro},
        {S("运输期限到"), S("应到日期："), EditorKind::Edit, S("DBEdit5"), {}, false, ro},
        {S("运输动态"), S("运输动态："), EditorKind::Edit, S("DBEdit4"), {}, false, ro},
        {S("调度单编号"), S("调度单编号："), EditorKind::Edit, S("DBEdit6"), {}, false, false, true},
        {S("运输金额"), S("运输金额："), EditorKind::Money, S("DBNumberEditEh2")},
        {S("承运单位"), S("承运单位："), EditorKind::Edit, S("DBEdit1"), {}, false, ro},
        {S("车牌号"), S("车牌号："), EditorKind::Edit, S("DBEdit8"), {}, true, ro},
        {S("驾驶员"), S("驾驶员："), EditorKind::Edit, S("DBEdit9"), {}, true},
        {S("调度单备注"), S("备注："), EditorKind::Memo, S("DBMemo1"), {}, true, false, false, 3},
    };
    d.enterRing = {S("调度单编号"), S("运输金额"), S("驾驶员"), S("调度单备注")};
    build(d);
}

bool TForm_container_ddb::checks()
{
    return requireText(S("调度单编号"), S("调度单编号不能为空,请重新输入!")) &&
           requireText(S("车牌号"), S("车牌号不能为空,请重新输入!"));
}
