// The demo business: a Wuhan haulier with a year and a bit of container and
// goods work at every stage, so that every window has something to show.
#include "data/containerno.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dates.h"
#include "db/schema.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace dbfile {
namespace {

using db::Money;
using detail::Insert;
using detail::Rng;

Money yuan(qint64 v) { return Money::fromRaw(v * Money::Scale); }
// Amounts quoted to the customer are round figures.
Money roundYuan(double v, int step) { return yuan(qint64(std::llround(v / step)) * step); }

struct City { const char *name, *province; int km; const char *road; };
const City cities[] = {
    {"孝感", "湖北", 70, "福银高速"},        {"黄石", "湖北", 100, "沪渝高速"},   {"荆州", "湖北", 230, "沪渝高速"},
    {"宜昌", "湖北", 320, "沪渝高速"},       {"襄阳", "湖北", 330, "福银高速"},   {"十堰", "湖北", 450, "福银高速、十房高速"},
    {"岳阳", "湖南", 230, "京港澳高速"},     {"长沙", "湖南", 350, "京港澳高速"}, {"南昌", "江西", 350, "福银高速"},
    {"九江", "江西", 220, "福银高速"},       {"合肥", "安徽", 380, "沪渝高速"},   {"郑州", "河南", 520, "京港澳高速"},
    {"信阳", "河南", 200, "京港澳高速"},     {"南京", "江苏", 540, "沪渝高速"},   {"上海", "上海", 830, "沪渝高速"},
    {"杭州", "浙江", 750, "沪渝高速、杭瑞高速"}, {"重庆", "重庆", 870, "沪渝高速"}, {"成都", "四川", 1150, "沪蓉高速"},
    {"广州", "广东", 980, "京港澳高速"},     {"西安", "陕西", 750, "福银高速"},
};

// 客户名称|行业|类别|区域|联系地址|开户银行
const char *const customerRows[] = {
    "武汉钢铁物资贸易有限公司|钢铁|A类|武汉|武汉市青山区和平大道1208号|中国工商银行武汉青山支行",
    "东风汽车零部件(集团)有限公司|汽车配件|A类|十堰|十堰市张湾区车城西路2号|中国建设银行十堰分行",
    "湖北长飞光纤光缆有限公司|通信器材|B类|武汉|武汉市东湖高新区光谷大道9号|招商银行武汉光谷支行",
    "武汉健民药业集团股份有限公司|医药|B类|武汉|武汉市汉阳区鹦鹉大道484号|中国银行武汉汉阳支行",
    "中百仓储超市有限公司配送中心|商贸|A类|武汉|武汉市东西湖区吴家山街8号|中国农业银行武汉东西湖支行",
    "湖北宜化化工股份有限公司|化工|B类|宜昌|宜昌市猇亭区沿江大道52号|中国工商银行宜昌猇亭支行",
    "九州通医药物流(武汉)有限公司|医药|A类|武汉|武汉市汉阳区龙阳大道特8号|交通银行武汉汉阳支行",
    "武汉周黑鸭食品工业园有限公司|食品|C类|武汉|武汉市东西湖区走马岭汇通大道|中国民生银行武汉分行",
    "美的集团武汉制冷设备有限公司|家电|A类|武汉|武汉市东西湖区张柏路218号|中国建设银行武汉东西湖支行",
    "武汉重型机床集团有限公司|机械|C类|武汉|武汉市东湖新技术开发区佛祖岭街|中国工商银行武汉关山支行",
    "麦当劳(McDonald's)华中配送中心|餐饮|B类|武汉|武汉市江夏区藏龙岛科技园|花旗银行武汉分行",
    "湖北金龙泉啤酒集团有限公司|酒水饮料|C类|荆门|荆门市东宝区金龙泉大道1号|中国农业银行荆门分行",
    "武汉江汉纸业有限公司|造纸|D类|武汉|武汉市江汉区发展大道166号|中国银行武汉江汉支行",   // retired, no orders
};
constexpr int customerCount = int(std::size(customerRows));
constexpr int retiredCustomer = customerCount - 1;

// customer|单位名称|city|单位地址
const char *const consigneeRows[] = {
    "0|襄阳东风车桥钢材配送中心|4|襄阳市高新区东风大道6号",  "0|长沙三一重工物资采购部|7|长沙市经开区三一路1号",
    "0|上海宝钢国际贸易公司仓库|14|上海市宝山区牡丹江路1813号", "1|东风商用车十堰总装厂|5|十堰市张湾区车城路2号",
    "1|郑州宇通客车配套部|11|郑州市管城区宇通路6号",       "1|重庆长安汽车采购中心|16|重庆市江北区建新东路260号",
    "2|南京中天光缆销售公司|13|南京市江宁区秣陵街道胜太路", "2|成都电信物资仓库|17|成都市金牛区蜀汉路88号",
    "3|长沙老百姓大药房配送中心|7|长沙市开福区金霞路18号",  "3|南昌医药采购供应站|8|南昌市青山湖区湖滨东路",
    "3|合肥华源医药仓库|10|合肥市瑶海区站北路66号",       "4|孝感中百仓储超市|0|孝感市孝南区城站路",
    "4|黄石中百购物广场|1|黄石市黄石港区交通路",          "4|荆州中百仓储超市|2|荆州市沙市区北京中路",
    "5|信阳农资有限公司|12|信阳市浉河区工区路",           "5|九江化工物资仓库|9|九江市濂溪区十里大道",
    "5|宜昌港务集团仓库|3|宜昌市猇亭区港区路",            "6|襄阳九州通医药仓|4|襄阳市樊城区人民路",
    "6|岳阳医药配送站|6|岳阳市岳阳楼区金鹗中路",          "7|上海周黑鸭直营仓库|14|上海市闵行区莘庄工业区",
    "7|杭州周黑鸭配送中心|15|杭州市余杭区仓前街道",        "7|长沙周黑鸭配送中心|7|长沙市雨花区环保中路",
    "8|广州美的华南销售公司|18|广州市白云区太和镇",        "8|郑州美的中原仓储中心|11|郑州市经开区第八大街",
    "8|西安美的西北配送中心|19|西安市未央区凤城十二路",     "9|西安重型机械研究所|19|西安市碑林区东元路209号",
    "9|宜昌船舶柴油机厂|3|宜昌市西陵区西陵二路93号",      "10|长沙麦当劳物流中心|7|长沙市望城区金星北路",
    "10|南昌麦当劳配送仓|8|南昌市新建区长堎工业园",        "10|合肥麦当劳配送仓|10|合肥市蜀山区经开区",
    "11|荆州金龙泉经销部|2|荆州市荆州区荆北路",            "11|孝感金龙泉啤酒批发部|0|孝感市孝南区槐荫大道",
    "11|岳阳啤酒批发市场|6|岳阳市岳阳楼区五里牌",
};

// customer|货物名称|类别|计量单位|型号规格
const char *const goodsRows[] = {
    "0|热轧卷板|钢材|吨|Q235B 4.75×1500",  "0|冷轧薄板|钢材|吨|SPCC 1.0×1250",    "0|螺纹钢|钢材|吨|HRB400 Φ20",
    "1|变速箱总成|汽车配件|台|DF6S900",     "1|铝合金轮毂|汽车配件|个|22.5×8.25",  "1|驾驶室座椅|汽车配件|个|KL-01",
    "2|室外光缆|通信器材|包|GYTA-24B1",     "2|光纤预制棒|通信器材|个|Φ150×1200",
    "3|龙牡壮骨颗粒|药品|包|5g×30袋",       "3|健胃消食片|药品|包|0.8g×32片",
    "4|日用百货|百货|包|混装",              "4|食用调和油|粮油|公斤|5L桶装",       "4|大米|粮油|吨|25kg袋装",
    "5|尿素|化肥|吨|N≥46.4%",               "5|聚氯乙烯树脂|化工原料|吨|SG-5",
    "6|中成药|药品|包|整件",                "6|医疗器械|器械|台|便携式B超",
    "7|卤鸭脖|食品|公斤|冷链锁鲜装",        "7|包装材料|辅料|包|锁鲜盒",
    "8|空调室外机|家电|台|KFR-35W",         "8|压缩机|家电配件|台|ASN98D22UFZ",
    "9|数控立式车床|机床|台|CK5116",        "9|床身铸件|毛坯|吨|HT300",
    "10|冷冻薯条|冷冻食品|包|2.04kg×6",     "10|汉堡面包|食品|包|整箱",
    "11|金龙泉啤酒|酒水|包|500ml×12瓶",     "11|回收空瓶|包装物|个|640ml",
};

// 单位名称|单位代码|类别|区域|联系地址|开户银行
const char *const carrierRows[] = {
    "本公司自有车队|ZY001|A|武汉汉阳|武汉市汉阳区杨泗港路88号|中国工商银行武汉汉阳支行",
    "武汉顺达运输有限公司|YS002|B|武汉汉阳|武汉市汉阳区江城大道508号|中国农业银行武汉汉阳支行",
    "湖北鸿运物流有限公司|YS003|B|武汉东西湖|武汉市东西湖区新沟镇|中国建设银行武汉东西湖支行",
    "武汉江城集装箱运输有限公司|YS004|A|武汉江岸|武汉市江岸区沿江大道9号|交通银行武汉江岸支行",
    "孝感恒通汽车运输公司|YS005|C|孝感|孝感市孝南区长征路33号|孝感农村商业银行",
    "黄石平安货运有限公司|YS006|C|黄石|黄石市西塞山区八泉街道|黄石银行西塞山支行",
    "鄂州远航物流车队|YS007|D|鄂州|鄂州市鄂城区寒溪路|中国邮政储蓄银行鄂州分行",
    "武汉汉阳通宇汽车运输公司|YS008|B|武汉沌口|武汉市汉阳区沌口经济开发区|中国银行武汉沌口支行",
};
constexpr int ownFleet = 0;

// carrier|车辆名称|车型
const char *const vehicleRows[] = {
    "0|解放J6P半挂牵引车|CA4250P66", "0|东风天龙牵引车|DFL4251A",   "0|解放J6L载货车|CA1180P62",
    "0|重汽豪沃牵引车|ZZ4257N324",   "0|东风天锦厢式货车|DFH5160",  "1|陕汽德龙牵引车|SX4250XC4",
    "1|福田欧曼牵引车|BJ4259SMF",     "1|江淮格尔发载货车|HFC1161P3", "2|东风天龙牵引车|DFL4251A",
    "2|解放J6L厢式货车|CA5180XXY",   "3|重汽豪沃牵引车|ZZ4257N324", "3|解放J6P半挂牵引车|CA4250P66",
    "3|陕汽德龙牵引车|SX4250XC4",    "3|东风天龙牵引车|DFL4251A",   "4|江淮格尔发载货车|HFC1161P3",
    "4|福田欧曼牵引车|BJ4259SMF",     "5|东风天锦厢式货车|DFH5160",  "6|解放J6P半挂牵引车|CA4250P66",
    "6|重汽豪沃牵引车|ZZ4257N324",   "7|陕汽德龙牵引车|SX4250XC4",
};
constexpr int vehicleCount = int(std::size(vehicleRows));

const char *const surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴",
                                "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗"};
const char *const givenNames[] = {"建国", "志强", "伟", "军", "卫东", "海涛", "德明", "国庆", "红兵", "小平",
                                  "春生", "立新", "长江", "汉生", "明华", "俊杰", "文斌", "国平", "志刚", "秋菊",
                                  "丽华", "晓燕", "桂芳", "玉兰"};
const char *const vessels[] = {"汉亚1号", "长航集运18", "中远汉口", "集海之星", "汉海5号", "江海通12", "民生荣华"};
const char *const origins[] = {"杨泗港", "武汉"};
const char *const cashiers[] = {"张会计", "王出纳"};
const char *const dispatcher = "李调度";

QStringList fields(const char *row) { return QString::fromUtf8(row).split(QLatin1Char('|')); }

struct Consignee { int customer; QString name; int city; };
struct Goods { int customer; QString name, category, unit, spec; };
struct Vehicle { int carrier; QString plate, driver; int odometer; };

// A side view of a lorry with its plate, for the vehicle list's picture page.
// Needs a QGuiApplication (fonts); written only where no picture is yet.
void drawVehicle(const QString &file, const QString &plate, const QString &name, int hue)
{
    if (QFileInfo::exists(file) || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    QImage img(640, 400, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 270);
    sky.setColorAt(0, QColor(140, 185, 235));
    sky.setColorAt(1, QColor(228, 238, 248));
    p.fillRect(0, 0, 640, 270, sky);
    p.fillRect(0, 270, 640, 130, QColor(90, 92, 98));
    p.setPen(QPen(QColor(235, 235, 200), 5, Qt::DashLine));
    p.drawLine(0, 350, 640, 350);
    const QColor body = QColor::fromHsv(hue % 360, 140, 205);
    p.setPen(QPen(body.darker(160), 2));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(40, 110, 390, 150), 6, 6);                       // the box
    p.setBrush(body.darker(125));
    p.drawPolygon(QPolygonF({QPointF(440, 262), QPointF(440, 130), QPointF(530, 130), QPointF(590, 195),
                             QPointF(596, 262)}));                                  // the cab
    p.setBrush(QColor(205, 228, 250));
    p.drawPolygon(QPolygonF({QPointF(455, 145), QPointF(522, 145), QPointF(570, 198), QPointF(455, 198)}));
    p.setPen(QPen(Qt::black, 2));
    for (const int x : {110, 190, 370, 530}) {
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(QPointF(x, 266), 30, 30);
        p.setBrush(QColor(170, 170, 175));
        p.drawEllipse(QPointF(x, 266), 12, 12);
    }
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(40, 120, 390, 80), Qt::AlignCenter, name);
    const QRectF plateBox(170, 205, 170, 42);
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(QColor(20, 70, 160));
    p.drawRoundedRect(plateBox, 4, 4);
    f.setPixelSize(28);
    p.setFont(f);
    p.drawText(plateBox, Qt::AlignCenter, plate);
    p.end();
    QDir().mkpath(QFileInfo(file).absolutePath());
    img.save(file, "JPG", 85);
}

class Demo {
public:
    Demo(detail::NewFile &f, const QString &pictureDir) : m_file(f), m_db(f.db()), m_pictures(pictureDir) {}

    void run()
    {
        company();
        operators();
        customers();
        consignees();
        carriers();
        vehicles();
        routes();
        goods();
        containerOrders();
        goodsOrders();
        vehicleLogs();
        cashJournal();
        statisticsYearStart();
    }

private:
    QString person() { return QString::fromUtf8(surnames[m_rng.below(20)]) + QString::fromUtf8(givenNames[m_rng.below(24)]); }
    QString mobile() { return QStringLiteral("13%1%2").arg(m_rng.between(0, 9)).arg(m_rng.between(10000000, 99999999)); }
    QString account() { return QStringLiteral("4200 %1 %2 %3").arg(m_rng.between(1000, 9999)).arg(m_rng.between(1000, 9999)).arg(m_rng.between(100, 999)); }
    QDateTime at(const QDate &d) { return QDateTime(d, QTime(m_rng.between(8, 17), m_rng.below(60), m_rng.below(60))); }
    // Never stamped in the future: entering happens on or before the day itself.
    QDateTime stamp(const QDate &d) { return at(std::min(d, m_today)); }
    QDate daysAgo(int n) const { return m_today.addDays(-n); }
    bool reached(const QDate &d) const { return d.isValid() && d <= m_today; }

    void company()
    {
        // The fresh file's company row is replaced by the demo company's.
        m_file.exec("DELETE FROM 公司信息");
        Insert ins(m_db, "公司信息");
        ins.add("武汉长江通达物流有限公司").add("武汉市汉阳区杨泗港路88号").add("430050").add("王建国").add("027-84561234")
            .add("中国工商银行武汉汉阳支行").add("3202 0056 0912 3456 789").add("Velorin 物流管理系统")
            .add("安全第一  诚信经营  ——  武汉长江通达物流有限公司欢迎您！")
            .add(QDate(m_today.year(), m_today.month(), 1)).add(true).row();
    }

    void operators()
    {
        // The seeded administrator keeps an empty password; the accountant's
        // is stored in lower case (login compares in upper case).
        Insert ins(m_db, "权限表");
        ins.add("张会计").add("abc").add("420105198203154427").add("13871234567").add("").add("财务，负责收付款")
            .add("系统管理员").add(stamp(daysAgo(430))).row();
        ins.add("李调度").add("1234").add("420106197910082231").add("13907195566").add("").add("调度员")
            .add("系统管理员").add(stamp(daysAgo(430))).row();
        ins.add("王出纳").add("").add("420103199005217748").add("15927340012").add("").add(nullptr)
            .add("张会计").add(stamp(daysAgo(200))).row();
    }

    void customers()
    {
        Insert ins(m_db, "上游客户");
        for (int i = 0; i < customerCount; ++i) {
            const QStringList f = fields(customerRows[i]);
            m_customers << f[0];
            const bool retired = i == retiredCustomer;
            ins.add(f[0]).add(f[1]).add(f[2]).add(f[3]).add(person()).add(mobile()).add(f[4]).add(f[5]).add(account())
                .add(QStringLiteral("service%1@example.cn").arg(i + 1))
                .add(retired ? QStringLiteral("已停止合作") : i == 0 ? QStringLiteral("长期合同客户，月结") : QString())
                .add(retired).add(i < 2 ? "是" : "").add(dispatcher).add(stamp(daysAgo(440 - i))).row();
        }
    }

    void consignees()
    {
        Insert ins(m_db, "收货单位");
        for (const char *row : consigneeRows) {
            const QStringList f = fields(row);
            const Consignee c{f[0].toInt(), f[1], f[2].toInt()};
            m_consignees.push_back(c);
            ins.add(c.name).add(m_customers[c.customer]).add(cities[c.city].province).add(f[3]).add(f[3])
                .add(person()).add(mobile()).add(nullptr).add(false).add("").add(dispatcher)
                .add(stamp(daysAgo(435))).row();
        }
    }

    void carriers()
    {
        Insert ins(m_db, "下游运输商");
        int i = 0;
        for (const char *row : carrierRows) {
            const QStringList f = fields(row);
            m_carriers << f[0];
            ins.add(f[0]).add(f[1]).add(f[2]).add(f[3]).add(person()).add(mobile()).add(f[4]).add(f[5]).add(account())
                .add(i ? QStringLiteral("yunshu%1@example.cn").arg(i) : QString())
                .add(i == ownFleet ? QStringLiteral("公司自有车辆，油费由公司承担") : QString())
                .add(false).add(i < 4 ? "是" : "").add(dispatcher).add(stamp(daysAgo(438))).row();
            ++i;
        }
    }

    void vehicles()
    {
        Insert ins(m_db, "承运车辆");
        const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
        for (int i = 0; i < vehicleCount; ++i) {
            const QStringList f = fields(vehicleRows[i]);
            Vehicle v;
            v.carrier = f[0].toInt();
            // A letter, four digits and a letter; the letters differ per vehicle.
            v.plate = QStringLiteral("鄂A%1%2%3").arg(QLatin1Char(letters[i])).arg(m_rng.between(1000, 9999))
                          .arg(QLatin1Char(letters[m_rng.below(24)]));
            v.driver = person();
            v.odometer = m_rng.between(60, 420) * 1000 + m_rng.below(1000);

            // Due dates: most are months away; a few vehicles are due within the
            // reminder leads (or overdue) so that the expiry alarms list rows.
            auto due = [&](int lo, int hi) { return m_today.addDays(m_rng.between(lo, hi)); };
            QDate insurance = due(40, 330), roadFee = due(20, 80), inspection = due(45, 300), tax = due(40, 330);
            int lastService = v.odometer - m_rng.between(2000, 12000);
            int nextService = lastService + 15000;
            switch (i) {
            case 1: insurance = m_today.addDays(10); break;
            case 4: roadFee = m_today.addDays(5); break;
            case 7: inspection = m_today.addDays(-20); break;          // already overdue
            case 10: tax = m_today.addDays(25); insurance = m_today.addDays(28); break;
            case 13: nextService = v.odometer + 400; lastService = nextService - 15000; break;
            case 16: nextService = v.odometer - 300; lastService = nextService - 15000; break;
            default: break;
            }
            const bool unregistered = i == vehicleCount - 1;   // papers not entered yet: never alarms
            auto bought = [&](const QDate &until) { return unregistered ? QDate() : until.addYears(-1).addDays(1); };
            auto until = [&](const QDate &d) { return unregistered ? QDate() : d; };

            ins.add(v.plate).add(m_carriers[v.carrier]).add(v.carrier == ownFleet ? "自有车辆" : "社会车辆").add(f[1]).add(f[2])
                .add(QStringLiteral("%1%2").arg(f[2].left(2)).arg(m_rng.between(10000000, 99999999)))
                .add(v.carrier == ownFleet ? QStringLiteral("武汉长江通达物流有限公司") : person()).add(mobile()).add(v.driver)
                .add(bought(insurance)).add(until(insurance)).add(bought(roadFee)).add(until(roadFee))
                .add(bought(inspection)).add(until(inspection)).add(bought(tax)).add(until(tax));
            if (unregistered)
                ins.nulls(2);
            else
                ins.add(lastService).add(nextService);
            // Two vehicles in three have been photographed.
            if (i % 3 != 2)
                drawVehicle(QDir(m_pictures).filePath(v.plate + QStringLiteral(".JPG")), v.plate, f[1], 25 + i * 47);
            ins.add(v.odometer).add(v.plate + QStringLiteral(".JPG"))
                .add(i == 7 ? QStringLiteral("年审已过期，尽快安排") : QString()).add(false)
                .add(dispatcher).add(stamp(daysAgo(m_rng.between(30, 400)))).row();
            m_vehicles.push_back(v);
        }
    }

    void routes()
    {
        Insert ins(m_db, "公路里程");
        auto add = [&](const QString &from, const City &c, int km, bool used) {
            ins.add(from).add(c.name).add(from + QLatin1Char('-') + QString::fromUtf8(c.name)).add(km)
                .add(from + QStringLiteral("经") + QString::fromUtf8(c.road) + QStringLiteral("至") + QString::fromUtf8(c.name))
                .add(nullptr).add(false).add(used ? "是" : "").add(dispatcher).add(stamp(daysAgo(436))).row();
        };
        for (const City &c : cities)
            add(QStringLiteral("武汉"), c, c.km, c.km < 400);
        for (int i : {0, 1, 7, 11, 14, 16})
            add(QStringLiteral("杨泗港"), cities[i], cities[i].km + 12, false);
    }

    void goods()
    {
        Insert ins(m_db, "货物信息");
        for (const char *row : goodsRows) {
            const QStringList f = fields(row);
            const Goods g{f[0].toInt(), f[1], f[2], f[3], f[4]};
            m_goods.push_back(g);
            ins.add(m_customers[g.customer]).add(g.name).add(g.category).add(g.unit).add(g.spec).add(m_customers[g.customer])
                .add(nullptr).add(false).add("").add(dispatcher).add(stamp(daysAgo(434))).row();
        }
    }

    const Consignee &consigneeOf(int customer)
    {
        std::vector<const Consignee *> list;
        for (const auto &c : m_consignees)
            if (c.customer == customer)
                list.push_back(&c);
        return *list[size_t(m_rng.below(int(list.size())))];
    }

    // ISO 6346 container number with its check digit.
    QString containerNumber()
    {
        static const char *const owners[] = {"COSU", "CBHU", "TGHU", "MSKU", "OOLU", "TRLU", "CSLU"};
        const QString owner = QString::fromLatin1(owners[m_rng.below(7)]);
        return data::containerNumber(owner, m_rng.between(100000, 999999));
    }

    void containerOrders()
    {
        Insert ins(m_db, "集装箱运输单");
        const int orders = 150, span = 425;
        QDate prevDay;
        int seq = 0;
        for (int n = 0; n < orders; ++n) {
            // Spread evenly from about fourteen months ago to a few days ahead.
            const QDate from = daysAgo(span - (span + 5) * n / orders - m_rng.below(3));
            seq = from == prevDay ? seq + 1 : 1;
            prevDay = from;
            const int customer = m_rng.below(customerCount - 1);
            const Consignee &to = consigneeOf(customer);
            const City &city = cities[to.city];
            const bool forty = m_rng.chance(0.6);
            const int boxes = !forty && m_rng.chance(0.25) ? 2 : 1;
            const int transit = 1 + city.km / 450;
            const QDate until = from.addDays(transit + m_rng.between(0, 2));
            const Money receivable = roundYuan(boxes * (forty ? 900 + city.km * 8.0 : 600 + city.km * 6.0), 50);
            const QString origin = QString::fromUtf8(origins[m_rng.below(2)]);
            const QString stampDay = from.toString(QStringLiteral("yyyyMMdd"));

            // Each stage happens only when its day has come, in order; every
            // so many orders stall at each stage, so that each list shows work
            // whatever today's date.
            const QDate dispatchDay = from.addDays(-m_rng.between(0, 1));
            const bool dispatched = reached(dispatchDay) && n % 29 != 9;
            const QDate arrival = from.addDays(transit);
            const bool completed = dispatched && reached(arrival) && n % 17 != 8;
            const QDate receiptDay = arrival.addDays(m_rng.between(2, 12));
            const bool receipt = completed && reached(receiptDay) && n % 11 != 5;
            const QDate collectDay = receiptDay.addDays(m_rng.between(5, 45));
            const bool collected = receipt && reached(collectDay) && n % 13 != 6;
            const QDate payDay = std::max(until, arrival).addDays(m_rng.between(10, 40));
            const bool paid = completed && reached(payDay) && n % 10 != 7;

            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount - 1))];
            const Money amount = roundYuan(receivable.toDouble() * (0.74 + m_rng.below(8) / 100.0), 10);

            ins.add(m_customers[customer]).add(QStringLiteral("JZ%1%2").arg(stampDay).arg(seq, 2, 10, QLatin1Char('0')))
                .add(from).add(until).add(containerNumber()).add(forty ? "40" : "20").add(double(boxes))
                .add(QStringLiteral("%1/V%2").arg(QString::fromUtf8(vessels[m_rng.below(7)])).arg(m_rng.between(2301, 2452)))
                .add(receivable).add(origin).add(city.name).add(origin + QLatin1Char('-') + QString::fromUtf8(city.name))
                .add(to.name).add(m_rng.chance(0.1) ? QStringLiteral("重箱，注意限高") : QString())
                .add(dispatcher).add(stamp(from.addDays(-2)));
            // receipt return
            if (receipt)
                ins.add("是").add(receiptDay).add(v.driver);
            else
                ins.add("否").nulls(2);
            // collection
            if (collected) {
                const Money got = m_rng.chance(0.85) ? receivable : receivable - yuan(50 * m_rng.between(1, 4));
                ins.add("是").add(got).add(collectDay).add(cashiers[m_rng.below(2)]);
            } else {
                ins.add("否").nulls(3);
            }
            // dispatch
            if (dispatched)
                ins.add(QStringLiteral("DD%1%2").arg(stampDay).arg(seq, 2, 10, QLatin1Char('0'))).add(m_carriers[v.carrier])
                    .add(v.plate).add(v.driver).add(amount).add(m_rng.chance(0.1) ? QStringLiteral("提前一天到港提箱") : QString())
                    .add(dispatcher).add(stamp(dispatchDay));
            else
                ins.nulls(8);
            // completion
            if (completed)
                ins.add("是").add(arrival);
            else
                ins.add("否").null();
            // payment
            if (paid) {
                const detail::TripCosts p = detail::tripCosts(m_rng, amount, v.carrier == ownFleet);
                ins.add("是");
                detail::addCosts(ins, p);
                ins.add(payDay).add("张会计");
            } else if (completed && n % 3 == 0) {
                // The trip's costs are in, the payment is still to come.
                ins.add("否");
                detail::addCosts(ins, detail::tripCosts(m_costRng, amount, v.carrier == ownFleet), false);
                ins.nulls(2);
            } else {
                ins.add("否").nulls(detail::CostColumns + 2);   // costs, payment date, payer
            }
            ins.row();
        }
    }

    void goodsOrders()
    {
        Insert order(m_db, "普通货物运输单");
        Insert line(m_db, "普通货物运输单明细");
        Insert dispatch(m_db, "普通货物调度单");
        // Freight per unit and kilometre.
        auto rate = [](const QString &unit) {
            if (unit == QStringLiteral("吨")) return 0.4;
            if (unit == QStringLiteral("公斤")) return 0.0004;
            if (unit == QStringLiteral("台")) return 0.5;
            if (unit == QStringLiteral("个")) return 0.01;
            return 0.02;   // 包
        };
        auto quantity = [&](const QString &unit) {
            if (unit == QStringLiteral("吨")) return m_rng.between(50, 300) / 10.0;
            if (unit == QStringLiteral("公斤")) return double(m_rng.between(20, 300) * 10);
            if (unit == QStringLiteral("台")) return double(m_rng.between(2, 30));
            return double(m_rng.between(2, 50) * 10);
        };

        // One trip takes one to three orders for the same city; about 80
        // orders in all, spread like the container work.
        const int trips = 46, span = 425;
        int orderSeq = 0;
        for (int t = 0; t < trips; ++t) {
            // The last trip lies a few days ahead and is not dispatched yet.
            const QDate ship = daysAgo(span - (span + 3) * t / (trips - 1) - m_rng.below(3));
            const QString shipDay = ship.toString(QStringLiteral("yyyyMMdd"));
            const int firstCustomer = m_rng.below(customerCount - 1);
            const Consignee &first = consigneeOf(firstCustomer);
            const City &city = cities[first.city];
            std::vector<const Consignee *> stops{&first};
            for (const auto &c : m_consignees)
                if (c.city == first.city && c.customer != firstCustomer && stops.size() < 3 && m_rng.chance(0.7))
                    stops.push_back(&c);
            if (stops.size() == 1 && m_rng.chance(0.5))
                stops.push_back(&first);   // a second order for the same consignee
            const int transit = 1 + city.km / 450;
            const QDate arrivalDue = ship.addDays(transit + m_rng.between(0, 1));
            const QDate arrival = ship.addDays(transit);
            const bool dispatched = reached(ship.addDays(-1)) && t % 15 != 7;
            const bool completed = dispatched && reached(arrival) && t % 9 != 4;
            const QDate payDay = arrivalDue.addDays(m_rng.between(10, 40));
            const bool paid = completed && reached(payDay) && t % 7 != 3;
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount - 1))];
            const QString dispatchNo = QStringLiteral("HD%1%2").arg(shipDay).arg(t % 100, 2, 10, QLatin1Char('0'));
            const QString origin = QStringLiteral("武汉");
            const QString route = origin + QLatin1Char('-') + QString::fromUtf8(city.name);

            Money tripFreight;
            double tripQuantity = 0;
            QString lastCustomer;
            for (const Consignee *stop : stops) {
                const QString customer = m_customers[stop->customer];
                lastCustomer = customer;
                const QString number = QStringLiteral("HY%1%2").arg(shipDay)
                                           .arg(++orderSeq % 1000, 3, 10, QLatin1Char('0'));
                const QDate received = ship.addDays(-m_rng.between(0, 1));
                std::vector<const Goods *> own;
                for (const auto &g : m_goods)
                    if (g.customer == stop->customer)
                        own.push_back(&g);
                const int lines = m_rng.between(1, 4);
                Money freight;
                double qty = 0;
                QString firstGoods;
                for (int l = 0; l < lines; ++l) {
                    const Goods &g = *own[size_t(l < int(own.size()) ? l : m_rng.below(int(own.size())))];
                    if (firstGoods.isEmpty())
                        firstGoods = g.name;
                    const double q = quantity(g.unit);
                    const Money f = roundYuan(std::max(200.0, q * rate(g.unit) * city.km), 10);
                    freight += f;
                    qty += q;
                    line.add(number).add(customer).add(ship).add(arrivalDue).add(received).add(g.name).add(g.spec)
                        .add(g.category).add(g.unit).add(q).add(f).add(l == 0 && m_rng.chance(0.15) ? QStringLiteral("易碎，轻放") : QString())
                        .add(dispatcher).add(stamp(received)).row();
                }
                tripFreight += freight;
                tripQuantity += qty;

                const QDate receiptDay = arrival.addDays(m_rng.between(2, 10));
                const bool receipt = completed && reached(receiptDay) && orderSeq % 11 != 5;
                const QDate collectDay = receiptDay.addDays(m_rng.between(5, 40));
                const bool collected = receipt && reached(collectDay) && orderSeq % 13 != 6;
                order.add(customer).add(number).add(received).add(ship).add(arrivalDue).add(qty).add(freight).add(origin)
                    .add(city.name).add(route).add(stop->name).add(firstGoods)
                    .add(m_rng.chance(0.1) ? QStringLiteral("客户自提部分货物") : QString()).add(dispatcher).add(stamp(received));
                if (receipt)
                    order.add("是").add(receiptDay).add(v.driver);
                else
                    order.add("否").nulls(2);
                if (collected)
                    order.add("是").add(freight).add(collectDay).add(cashiers[m_rng.below(2)]);
                else
                    order.add("否").nulls(3);
                if (dispatched)
                    order.add(dispatchNo).add(m_carriers[v.carrier]).add(v.plate).add(v.driver);
                else
                    order.add("").nulls(3);
                if (completed)
                    order.add("是").add(arrival);
                else
                    order.add("否").null();
                order.row();
            }
            if (!dispatched)
                continue;
            const Money amount = roundYuan(tripFreight.toDouble() * 0.78, 10);
            // The dispatch window copies customer and places from the last order chosen.
            dispatch.add(dispatchNo).add(lastCustomer).add(ship).add(arrivalDue).add(origin).add(city.name).add(route)
                .add(tripQuantity).add(amount).add(m_carriers[v.carrier]).add(v.plate).add(v.driver)
                .add(stops.size() > 1 ? QStringLiteral("拼车%1单").arg(stops.size()) : QString()).add(dispatcher)
                .add(stamp(ship.addDays(-1)));
            if (completed)
                dispatch.add("是").add(arrival);
            else
                dispatch.add("否").null();
            if (paid) {
                const detail::TripCosts p = detail::tripCosts(m_rng, amount, v.carrier == ownFleet);
                detail::addCosts(dispatch, p);
                dispatch.add("是").add(payDay).add("张会计");
            } else if (completed && t % 3 == 0) {
                detail::addCosts(dispatch, detail::tripCosts(m_costRng, amount, v.carrier == ownFleet), false);
                dispatch.add("否").nulls(2);
            } else {
                dispatch.nulls(detail::CostColumns).add("否").nulls(2);
            }
            dispatch.row();
        }
    }

    void vehicleLogs()
    {
        Insert oil(m_db, "换油记录表");
        Insert repair(m_db, "车辆维修记录表");
        Insert accident(m_db, "事故登记表");
        static const char *const stations[] = {"汉阳壳牌润滑油服务站", "杨泗港车队维修点", "沌口美孚快保中心"};
        static const char *const garages[] = {"武汉汉阳汽修厂", "东风商用车特约维修站", "杨泗港车队修理间", "孝感华通汽修"};
        static const char *const jobs[] = {"更换刹车片", "更换轮胎两条", "二级保养", "更换离合器片", "发电机维修",
                                           "补胎及动平衡", "更换蓄电池", "空调系统检修"};
        const QString foreman = QStringLiteral("陈卫东");

        // Own vehicles change oil about every two months; the odometer grows
        // by up to 250 km a day back to today's reading, never below 20,000 km
        // at the first change logged.
        for (int i = 0; i < vehicleCount; ++i) {
            const Vehicle &v = m_vehicles[size_t(i)];
            if (v.carrier != ownFleet)
                continue;
            const int perDay = std::min(250, (v.odometer - 20000) / 400);
            for (int ago = 400 - i * 9; ago > 0; ago -= m_rng.between(55, 75)) {
                const QDate day = daysAgo(ago);
                const Money price = Money::fromRaw(m_rng.between(650, 760) * 500);   // 32.50 to 38.00
                const double litres = m_rng.between(36, 48) / 2.0;
                oil.add(v.plate).add(v.odometer - ago * perDay).add(day).add(stations[m_rng.below(3)]).add(price).add(litres)
                    .add(price * Money::fromDouble(litres)).add(v.driver).add(nullptr).add(dispatcher).add(stamp(day)).row();
            }
        }
        for (int n = 0; n < 18; ++n) {
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount))];
            const QDate day = daysAgo(410 - n * 22 - m_rng.below(10));
            const Money parts = yuan(m_rng.between(8, 300) * 10), labour = yuan(m_rng.between(5, 60) * 10);
            const std::optional<Money> other = m_rng.chance(0.3) ? std::optional(yuan(m_rng.between(2, 20) * 10)) : std::nullopt;
            repair.add(v.plate).add(day).add(garages[m_rng.below(4)]).add(jobs[m_rng.below(8)]).add(parts).add(labour).add(other)
                .add(parts + labour + other.value_or(Money())).add(foreman).add(nullptr).add(dispatcher).add(stamp(day)).row();
        }
        struct Crash { int ago; const char *place, *what, *settled; int damage, claim; };
        const Crash crashes[] = {
            {380, "京港澳高速咸宁段", "追尾前车，车头受损", "保险公司定损，我方全责", 8600, 8000},
            {250, "杨泗港码头堆场", "倒车刮碰集装箱", "与码头协商赔偿", 1500, 0},
            {150, "沪渝高速潜江段", "爆胎后撞护栏", "高速路政处理，赔偿护栏", 4200, 3800},
            {60, "武汉三环线汉阳段", "变道刮擦小轿车", "双方协商，对方全责", 0, 0},
            {12, "十堰市车城路", "卸货时货物倾倒砸伤车厢", "待保险公司理赔", 2300, 0},
        };
        for (const Crash &c : crashes) {
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount))];
            const QDate day = daysAgo(c.ago);
            const bool claimed = c.claim > 0;
            accident.add(v.plate).add(m_customers[m_rng.below(customerCount - 1)]).add(v.driver).add(day).add(c.place).add(c.what)
                .add(c.settled).add(yuan(c.damage)).add(claimed ? std::optional(yuan(c.claim)) : std::nullopt)
                .add(claimed ? day.addDays(m_rng.between(20, 45)) : QDate()).add(foreman).add(nullptr).add(dispatcher)
                .add(stamp(day)).row();
        }
    }

    // Current accounting month and the one before, each starting from zero
    // as the journal's recomputation does.
    void cashJournal()
    {
        Insert ins(m_db, "现金日记帐");
        static const char *const incomes[] = {"收零星运费", "收司机还借款", "收废旧轮胎处理款", "收客户现金运费"};
        static const char *const expenses[] = {"支付路桥费", "购买办公用品", "支付司机出差补助", "支付装卸费", "支付电话费",
                                               "支付水电费", "报销业务招待费", "支付车辆年检费", "支付停车费"};
        const QDate thisMonth(m_today.year(), m_today.month(), 1);
        for (const QDate &first : {thisMonth.addMonths(-1), thisMonth}) {
            const int lastDay = first == thisMonth ? m_today.day() : first.daysInMonth();
            const int entries = std::max(3, 18 * lastDay / 31);
            std::vector<int> days{1};
            for (int i = 1; i < entries; ++i)
                days.push_back(m_rng.between(1, lastDay));
            std::sort(days.begin(), days.end());
            Money balance;
            int in = 0, out = 0;
            for (size_t i = 0; i < days.size(); ++i) {
                const QDate day(first.year(), first.month(), days[i]);
                Money debit, credit;
                QString detail;
                if (i == 0) {
                    debit = yuan(20000);
                    detail = QStringLiteral("从银行提取备用金");
                } else if (m_rng.chance(0.35)) {
                    debit = yuan(m_rng.between(20, 800) * 10);
                    detail = m_rng.chance(0.5) ? QString::fromUtf8(incomes[m_rng.below(4)])
                                               : QStringLiteral("收%1运费").arg(m_customers[m_rng.below(customerCount - 1)]);
                } else {
                    credit = std::min(balance, yuan(m_rng.between(5, 300) * 10));
                    detail = QString::fromUtf8(expenses[m_rng.below(9)]);
                    if (credit.isZero()) {
                        debit = yuan(5000);
                        detail = QStringLiteral("从银行提取备用金");
                    }
                }
                balance += debit - credit;
                const bool income = !debit.isZero();
                const QString voucher = income ? QStringLiteral("现收%1").arg(++in, 3, 10, QLatin1Char('0'))
                                               : QStringLiteral("现付%1").arg(++out, 3, 10, QLatin1Char('0'));
                ins.add(day).add(income ? "收入" : "支出").add(detail)
                    .add(income ? std::optional(debit) : std::nullopt).add(income ? std::nullopt : std::optional(credit))
                    .add(balance).add(voucher).add(cashiers[m_rng.below(2)]).add(nullptr).add("王出纳").add(stamp(day)).row();
            }
        }
    }

    // ---- Statistics: work on New Year's day ------------------------------
    // The summaries open on this year so far. Whatever today's date, a 20-
    // and a 40-foot order, a goods order with its line and a goods dispatch
    // stand on the year's first day, dispatched and not yet further, so that
    // every summary shows rows on opening even in the first days of January.
    void statisticsYearStart()
    {
        const QDate day(m_today.year(), 1, 1);
        const QString ymd = day.toString(QStringLiteral("yyyyMMdd"));
        const Vehicle &v = m_vehicles[0];
        const QString customer = m_customers[0];
        const Consignee &to = consigneeOf(0);
        const City &city = cities[to.city];
        const QString route = QStringLiteral("杨泗港-") + QString::fromUtf8(city.name);
        Insert order(m_db, "集装箱运输单");
        for (const bool forty : {false, true}) {
            const Money receivable = roundYuan(forty ? 900 + city.km * 8.0 : 600 + city.km * 6.0, 50);
            const QString seq = forty ? QStringLiteral("91") : QStringLiteral("90");
            order.add(customer).add(QStringLiteral("JZ") + ymd + seq).add(day).add(day.addDays(2)).add(containerNumber())
                .add(forty ? "40" : "20").add(1.0).add("汉亚1号/V2401").add(receivable).add("杨泗港").add(city.name).add(route)
                .add(to.name).add(nullptr).add(dispatcher).add(stamp(day))
                .add("否").nulls(2).add("否").nulls(3)
                .add(QStringLiteral("DD") + ymd + seq).add(m_carriers[v.carrier]).add(v.plate).add(v.driver)
                .add(roundYuan(receivable.toDouble() * 0.78, 10)).add(nullptr).add(dispatcher).add(stamp(day))
                .add("否").null().add("否").nulls(detail::CostColumns + 2);
            order.row();
        }
        const Goods &g = m_goods[0];
        const QString number = QStringLiteral("HY") + ymd + QStringLiteral("990");
        const QString dispatchNo = QStringLiteral("HD") + ymd + QStringLiteral("99");
        const double quantity = 12.5;
        const Money freight = roundYuan(std::max(200.0, quantity * 0.4 * city.km), 10);
        Insert line(m_db, "普通货物运输单明细");
        line.add(number).add(customer).add(day).add(day.addDays(2)).add(day).add(g.name).add(g.spec).add(g.category)
            .add(g.unit).add(quantity).add(freight).add(nullptr).add(dispatcher).add(stamp(day)).row();
        Insert goods(m_db, "普通货物运输单");
        goods.add(customer).add(number).add(day).add(day).add(day.addDays(2)).add(quantity).add(freight).add("武汉")
            .add(city.name).add(QStringLiteral("武汉-") + QString::fromUtf8(city.name)).add(to.name).add(g.name).add(nullptr)
            .add(dispatcher).add(stamp(day)).add("否").nulls(2).add("否").nulls(3)
            .add(dispatchNo).add(m_carriers[v.carrier]).add(v.plate).add(v.driver).add("否").null().row();
        Insert dispatch(m_db, "普通货物调度单");
        dispatch.add(dispatchNo).add(customer).add(day).add(day.addDays(2)).add("武汉").add(city.name)
            .add(QStringLiteral("武汉-") + QString::fromUtf8(city.name)).add(quantity).add(roundYuan(freight.toDouble() * 0.78, 10))
            .add(m_carriers[v.carrier]).add(v.plate).add(v.driver).add(nullptr).add(dispatcher).add(stamp(day))
            .add("否").null().nulls(detail::CostColumns).add("否").nulls(2).row();
    }

    detail::NewFile &m_file;
    db::Driver &m_db;
    Rng m_rng{20060301};
    Rng m_costRng{20061108};   // its own, so that the other rows stay as they were
    QString m_pictures;
    const QDate m_today = QDate::currentDate();
    QStringList m_customers, m_carriers;
    std::vector<Consignee> m_consignees;
    std::vector<Goods> m_goods;
    std::vector<Vehicle> m_vehicles;
};

} // namespace

void createDemo(const QString &path, bool force)
{
    detail::NewFile f(path, force);
    db::schema::create(f.db());
    db::schema::seed(f.db());
    f.begin();
    Demo(f, QFileInfo(path).absoluteDir().filePath(QStringLiteral("jpg"))).run();
    f.commitTransaction();
    f.commit();
}

} // namespace dbfile
