#include "grid/designwidth.h"
#include "db/schema.h"
#include <QFontMetrics>
#include <QHash>
#include <QStringList>

namespace grid {
namespace {

// Long values of each sort of column, as stored in a haulier's lists.
const QHash<QString, QStringList> &samples()
{
    static const QHash<QString, QStringList> map = [] {
        QHash<QString, QStringList> m;
        const auto add = [&m](std::initializer_list<const char *> names, std::initializer_list<const char *> values) {
            QStringList list;
            for (const char *v : values)
                list << QString::fromUtf8(v);
            for (const char *n : names)
                m.insert(QString::fromUtf8(n), list);
        };
        add({"上游客户", "客户名称", "单位名称", "承运单位", "所属单位", "收货人", "收货单位", "公司名称", "车主姓名",
             "修理厂", "明细"},
            {"东风汽车零部件(集团)有限公司", "麦当劳(McDonald's)华中配送中心"});
        add({"联系地址", "单位地址", "公司地址"}, {"武汉市东湖新技术开发区佛祖岭街"});
        add({"开户银行"}, {"中国农业银行武汉东西湖支行"});
        add({"银行帐号"}, {"3202 0056 0912 3456 789"});
        add({"电子信箱"}, {"service12@example.com.cn"});
        add({"联系电话"}, {"027-84561234"});
        add({"身份证号"}, {"420105198203154427"});
        add({"联系人", "驾驶员", "经办人", "操作员", "调度单操作员", "收款人", "付款人", "交单人", "姓名", "客户姓名"}, {"欧阳建国"});
        add({"船名航班"}, {"长航集运18/V2345"});
        add({"箱号"}, {"COSU1234567"});
        add({"运输单号", "调度单编号", "调度单号", "凭证号"}, {"JZ2026110801"});
        add({"运输动态"}, {"杨泗港-乌鲁木齐"});
        add({"起始地", "目的地", "起点", "终点"}, {"乌鲁木齐"});
        add({"区域", "省份"}, {"武汉东西湖区"});
        add({"车牌号"}, {"鄂AB1234C"});
        add({"车辆名称"}, {"解放J6P半挂牵引车"});
        add({"车型", "发动机号"}, {"CA4250P66K"});
        add({"货物名称"}, {"聚氯乙烯树脂"});
        add({"事故地点", "换油地点", "维修内容", "事故情况", "事故处理", "摘要"}, {"保险公司定损，我方全责"});
        return m;
    }();
    return map;
}

QStringList samplesOf(const Column &c)
{
    const QString leaf = c.title.section(QLatin1Char('|'), -1);
    for (const QString &key : {c.field, leaf})
        if (const auto it = samples().constFind(key); it != samples().constEnd())
            return *it;
    switch (db::schema::kindOfColumnName(c.field)) {
    case db::Kind::Date: return {QStringLiteral("2026-12-31")};
    case db::Kind::DateTime: return {QStringLiteral("2026-12-31 23:59:59")};
    case db::Kind::Money: return {QStringLiteral("-9999999.00")};
    default: return {};
    }
}

} // namespace

int designWidth(const Column &column, const QFontMetrics &fm)
{
    // Cell margins and the grid line; a sort arrow beside a sortable title.
    const int pad = fm.horizontalAdvance(QLatin1Char('0')) * 2;
    const int arrow = column.sortable ? fm.height() : 0;
    const QString leaf = column.title.section(QLatin1Char('|'), -1);
    int need = fm.horizontalAdvance(leaf) + arrow;
    for (const QString &sample : samplesOf(column))
        need = qMax(need, fm.horizontalAdvance(sample));
    need += pad;
    return qMax(column.width, need);
}

Columns withDesignWidths(Columns columns, const QFontMetrics &metrics)
{
    for (Column &c : columns)
        c.width = designWidth(c, metrics);
    return columns;
}

} // namespace grid
