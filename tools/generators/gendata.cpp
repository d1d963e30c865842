// Large synthetic databases for benchmarks: ten years of container and goods
// work for a thousand customers. The hot loops build UTF-8 byte strings and
// look dates up in a table, because a million rows of QString formatting
// would cost more than the inserts themselves.
#include "data/containerno.h"
#include "data/dbfile.h"
#include "generators/generators.h"
#include "db/dates.h"
#include "db/schema.h"
#include <QStringList>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace dbfile {
namespace {

using detail::Insert;
using detail::Rng;
using std::string;

constexpr int years = 10;
constexpr int customerCount = 1000, carrierCount = 300, vehicleCount = 800;

struct City { const char *name, *province; int km; };
const City cities[] = {
    {"孝感", "湖北", 70},   {"黄石", "湖北", 100},  {"荆州", "湖北", 230},  {"宜昌", "湖北", 320},  {"襄阳", "湖北", 330},
    {"十堰", "湖北", 450},  {"岳阳", "湖南", 230},  {"长沙", "湖南", 350},  {"南昌", "江西", 350},  {"九江", "江西", 220},
    {"合肥", "安徽", 380},  {"郑州", "河南", 520},  {"信阳", "河南", 200},  {"南京", "江苏", 540},  {"上海", "上海", 830},
    {"杭州", "浙江", 750},  {"重庆", "重庆", 870},  {"成都", "四川", 1150}, {"广州", "广东", 980},  {"西安", "陕西", 750},
    {"鄂州", "湖北", 80},   {"咸宁", "湖北", 90},   {"荆门", "湖北", 240},  {"随州", "湖北", 170},  {"株洲", "湖南", 400},
    {"常德", "湖南", 380},  {"洛阳", "河南", 650},  {"济南", "山东", 950},  {"苏州", "江苏", 780},  {"福州", "福建", 900},
};
constexpr int cityCount = int(std::size(cities));
const char *const cores[] = {"华盛", "鑫源", "宏达", "金鼎", "恒通", "天成", "瑞丰", "兴业", "永安", "汇丰",
                             "长城", "东方", "新世纪", "正大", "中鼎", "嘉禾", "远大", "博远", "同兴", "鼎盛",
                             "顺发", "和信", "万通", "三江", "楚天", "荆楚", "江汉", "中南", "光明", "新华",
                             "盛世", "联创", "凯旋", "富源", "安泰", "宏图", "鸿基", "腾飞", "志诚", "泰和"};
const char *const trades[] = {"贸易", "物资", "实业", "制造", "科技", "化工", "食品", "机械", "建材", "电器"};
const char *const carrierKinds[] = {"运输有限公司", "物流有限公司", "汽车运输公司", "货运车队"};
const char *const surnames[] = {"王", "李", "张", "刘", "陈", "杨", "黄", "赵", "周", "吴",
                                "徐", "孙", "胡", "朱", "高", "林", "何", "郭", "马", "罗"};
const char *const givenNames[] = {"建国", "志强", "伟", "军", "卫东", "海涛", "德明", "国庆", "红兵", "小平",
                                  "春生", "立新", "长江", "汉生", "明华", "俊杰", "文斌", "国平", "志刚", "丽华"};
const char *const vessels[] = {"汉亚1号", "长航集运18", "中远汉口", "集海之星", "汉海5号", "江海通12", "民生荣华", "汉申线3号"};
const char *const owners[] = {"COSU", "CBHU", "TGHU", "MSKU", "OOLU", "TRLU", "CSLU", "EGHU"};
const char *const remarks[] = {"重箱，注意限高", "客户要求上午送达", "提前一天到港提箱", "冷箱，全程插电",
                               "危险品，需押运员随车", "到场后电话联系收货人", "超重箱，走国道", "返空箱至杨泗港码头"};
const char *const operators[] = {"系统管理员", "李调度", "张会计", "王出纳"};
struct GoodsKind { const char *name, *category, *unit, *spec; };
const GoodsKind goodsKinds[] = {
    {"热轧卷板", "钢材", "吨", "Q235B 4.75×1500"}, {"冷轧薄板", "钢材", "吨", "SPCC 1.0×1250"},  {"螺纹钢", "钢材", "吨", "HRB400 Φ20"},
    {"变速箱总成", "汽车配件", "台", "DF6S900"},    {"铝合金轮毂", "汽车配件", "个", "22.5×8.25"}, {"室外光缆", "通信器材", "包", "GYTA-24B1"},
    {"中成药", "药品", "包", "整件"},              {"日用百货", "百货", "包", "混装"},            {"食用调和油", "粮油", "公斤", "5L桶装"},
    {"大米", "粮油", "吨", "25kg袋装"},            {"尿素", "化肥", "吨", "N≥46.4%"},           {"聚氯乙烯树脂", "化工原料", "吨", "SG-5"},
    {"空调室外机", "家电", "台", "KFR-35W"},        {"压缩机", "家电配件", "台", "ASN98D22UFZ"},  {"床身铸件", "毛坯", "吨", "HT300"},
    {"啤酒", "酒水", "包", "500ml×12瓶"},          {"水泥", "建材", "吨", "P.O 42.5"},          {"瓷砖", "建材", "包", "800×800"},
    {"纸箱", "包装物", "个", "五层瓦楞"},           {"冷冻食品", "食品", "公斤", "冷链"},
};
constexpr int goodsKindCount = int(std::size(goodsKinds));

class Generator {
public:
    Generator(detail::NewFile &f, int orders) : m_db(f.db()), m_orders(orders)
    {
        // Day 0 is ten years back; a few weeks ahead are included for orders
        // entered in advance.
        m_first = QDate::currentDate().addYears(-years);
        m_todayIndex = int(m_first.daysTo(QDate::currentDate()));
        for (int d = 0; d <= m_todayIndex + 40; ++d) {
            const QByteArray s = db::storedDate(m_first.addDays(d)).toUtf8();
            m_days.emplace_back(s.constData(), size_t(s.size()));
        }
    }

    void run()
    {
        // Each big table is indexed right after it is filled, while its pages
        // are still in the cache: indexing sorted data once is much faster than
        // keeping indexes up to date through a million inserts.
        masters();
        containerOrders();
        index("集装箱运输单");
        goodsOrders();
        index("普通货物运输单");
        index("普通货物运输单明细");
        index("普通货物调度单");
        logsAndJournal();
        for (const auto &t : db::schema::tables())
            if (!m_indexed.contains(t.name))
                db::schema::createIndexes(m_db, t.name);
    }

private:
    void index(const char *table)
    {
        m_indexed << QString::fromUtf8(table);
        db::schema::createIndexes(m_db, m_indexed.last());
    }

    const string &day(int d) const { return m_days[size_t(std::clamp(d, 0, int(m_days.size()) - 1))]; }
    // An entry stamp: the day at a working hour, never after today.
    string stamp(int d)
    {
        string s = day(std::min(d, m_todayIndex)).substr(0, 11);
        char t[9];
        std::snprintf(t, sizeof t, "%02d:%02d:%02d", m_rng.between(8, 18), m_rng.below(60), m_rng.below(60));
        return s + t;
    }
    string person() { return string(surnames[m_rng.below(20)]) + givenNames[m_rng.below(20)]; }
    string digits(int n)
    {
        string s;
        for (int i = 0; i < n; ++i)
            s += char('0' + m_rng.below(10));
        return s;
    }
    string mobile() { return "13" + digits(9); }
    const char *op() { return operators[m_rng.below(4)]; }
    // Money in whole yuan, as raw ten-thousandths.
    static qint64 yuan(qint64 v) { return v * db::Money::Scale; }
    const char *remark(double p) { return m_rng.chance(p) ? remarks[m_rng.below(8)] : nullptr; }

    void masters()
    {
        Insert customer(m_db, "上游客户");
        Insert consignee(m_db, "收货单位");
        Insert goods(m_db, "货物信息");
        for (int i = 0; i < customerCount; ++i) {
            const City &home = cities[i % cityCount];
            const char *core = cores[(i / cityCount) % 40], *trade = trades[(i * 7) % 10];
            const string stem = string(home.name) + core + trade;
            const string name = stem + "有限公司";
            m_customers.push_back(name);
            const string address = string(home.name) + "市" + cores[(i * 3) % 40] + "路" + std::to_string(1 + i % 300) + "号";
            customer.add(name).add(trade).add(std::string(1, char('A' + i % 4)) + "类").add(home.name).add(person())
                .add(mobile()).add(address).add("中国工商银行" + string(home.name) + "分行").add("4200" + digits(15))
                .add("sales" + std::to_string(i) + "@example.cn").add(remark(0.05)).add(i % 97 == 0).add(i % 5 == 0 ? "是" : "")
                .add(op()).add(stamp(m_rng.below(365))).row();
            for (int k = 0; k < 2; ++k) {
                const int c = (i * 3 + k * 7 + 1) % cityCount;
                m_consignees.push_back({string(cities[c].name) + core + (k ? "配送中心" : "经销部") + "(" + home.name + ")", c});
                const string to = string(cities[c].name) + "市" + cores[(i + k) % 40] + "大道" + std::to_string(10 + i % 90) + "号";
                consignee.add(m_consignees.back().name).add(name).add(cities[c].province).add(to).add(to).add(person())
                    .add(mobile()).add(nullptr).add(false).add("").add(op()).add(stamp(m_rng.below(365))).row();
            }
            for (int k = 0; k < 3; ++k) {
                const GoodsKind &g = goodsKinds[(i * 3 + k) % goodsKindCount];
                goods.add(name).add(g.name).add(g.category).add(g.unit).add(g.spec).add(name).add(nullptr).add(false)
                    .add("").add(op()).add(stamp(m_rng.below(365))).row();
            }
        }

        Insert carrier(m_db, "下游运输商");
        for (int i = 0; i < carrierCount; ++i) {
            const City &home = cities[i % cityCount];
            m_carriers.push_back(string(home.name) + cores[(i / cityCount + 17) % 40] + carrierKinds[i % 4]);
            char code[8];
            std::snprintf(code, sizeof code, "YS%04d", i + 1);
            carrier.add(m_carriers.back()).add(code).add(std::string(1, char('A' + i % 7))).add(std::string(1, char('A' + i / 7 % 7)))
                .add(person()).add(mobile()).add(string(home.name) + "市物流园" + std::to_string(i % 50 + 1) + "号")
                .add("中国农业银行" + string(home.name) + "支行").add("6228" + digits(15)).add(nullptr).add(remark(0.03))
                .add(i % 53 == 0).add(i % 3 == 0 ? "是" : "").add(op()).add(stamp(m_rng.below(365))).row();
        }

        Insert vehicle(m_db, "承运车辆");
        static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
        static const char *const models[][2] = {{"解放J6P半挂牵引车", "CA4250P66"}, {"东风天龙牵引车", "DFL4251A"},
                                                {"重汽豪沃牵引车", "ZZ4257N324"},   {"陕汽德龙牵引车", "SX4250XC4"},
                                                {"东风天锦厢式货车", "DFH5160"},    {"江淮格尔发载货车", "HFC1161P3"}};
        for (int i = 0; i < vehicleCount; ++i) {
            // (letter, number) differ for every i, so plates are unique.
            const string plate = string("鄂") + "ABCEFGHJK"[i % 9] + letters[i % 24] + std::to_string(1000 + (i / 24) * 263);
            const int owner = i % carrierCount;   // every tenth carrier is an own fleet
            const int odometer = m_rng.between(20, 600) * 1000 + m_rng.below(1000);
            const int lastService = odometer - m_rng.between(0, 15000);
            auto due = [&](int lo, int hi) { return m_todayIndex + m_rng.between(lo, hi); };
            const int insurance = due(-30, 360), road = due(-10, 90), inspection = due(-20, 360), tax = due(-30, 360);
            const auto &model = models[i % 6];
            m_vehicles.push_back({plate, owner, person()});
            vehicle.add(plate).add(m_carriers[size_t(owner)]).add(owner % 10 == 0 ? "自有车辆" : "社会车辆").add(model[0]).add(model[1])
                .add(string(model[1]).substr(0, 2) + digits(8)).add(person()).add(mobile()).add(m_vehicles.back().driver)
                .add(day(insurance - 365)).add(day(insurance)).add(day(road - 365)).add(day(road)).add(day(inspection - 365))
                .add(day(inspection)).add(day(tax - 365)).add(day(tax)).add(lastService).add(lastService + 15000).add(odometer)
                .add(plate + ".JPG").add(remark(0.02)).add(false).add(op()).add(stamp(m_rng.below(365))).row();
        }

        Insert route(m_db, "公路里程");
        for (const char *from : {"武汉", "杨泗港"})
            for (int c = 0; c < cityCount; ++c) {
                const int km = cities[c].km + (string(from) == "武汉" ? 0 : 12);
                route.add(from).add(cities[c].name).add(string(from) + "-" + cities[c].name).add(km)
                    .add(string(from) + "经高速公路至" + cities[c].name).add(nullptr).add(false).add("").add(op())
                    .add(stamp(m_rng.below(365))).row();
            }
    }

    struct Consignee { string name; int city; };
    struct Vehicle { string plate; int carrier; string driver; };

    // Customers are skewed: a few large ones and a long tail of small ones.
    int pickCustomer() { const double u = m_rng.unit(); return std::min(customerCount - 1, int(customerCount * u * u)); }
    const Consignee &consigneeOf(int customer) { return m_consignees[size_t(customer * 2 + m_rng.below(2))]; }

    // What happened to a job started on day d: each stage is done when its day
    // has come, with a small share of stragglers at every stage.
    struct Stages { bool dispatched, completed, receipt, collected, paid; int arrival, receiptDay, collectDay, payDay; };
    Stages stages(int from, int transit)
    {
        Stages s{};
        s.arrival = from + transit;
        s.receiptDay = s.arrival + m_rng.between(2, 12);
        s.collectDay = s.receiptDay + m_rng.between(5, 45);
        s.payDay = s.arrival + m_rng.between(10, 40);
        s.dispatched = from - 1 <= m_todayIndex && m_rng.chance(0.98);
        s.completed = s.dispatched && s.arrival <= m_todayIndex && m_rng.chance(0.98);
        s.receipt = s.completed && s.receiptDay <= m_todayIndex && m_rng.chance(0.97);
        s.collected = s.receipt && s.collectDay <= m_todayIndex && m_rng.chance(0.95);
        s.paid = s.completed && s.payDay <= m_todayIndex && m_rng.chance(0.96);
        return s;
    }

    // Binds the five costs, the payable and the paid amount of a paid trip.
    void bindPayment(Insert &ins, qint64 amount, bool ownVehicle)
    {
        const detail::TripCosts c = detail::tripCosts(m_rng, db::Money::fromRaw(amount), ownVehicle);
        detail::addCosts(ins, c);
    }

    string number(const char *prefix, int d, long n)
    {
        char b[48];
        std::snprintf(b, sizeof b, "%s%.4s%.2s%.2s%07ld", prefix, day(d).c_str(), day(d).c_str() + 5, day(d).c_str() + 8, n);
        return b;
    }

    int orderDay(long n) const { return int(n * (long(m_todayIndex) + 20) / std::max(1, m_orders)); }

    void containerOrders()
    {
        Insert ins(m_db, "集装箱运输单");
        for (long n = 0; n < m_orders; ++n) {
            const int from = orderDay(n);
            const int customer = pickCustomer();
            const Consignee &to = consigneeOf(customer);
            const City &city = cities[to.city];
            const bool forty = m_rng.chance(0.6);
            const int transit = 1 + city.km / 450;
            const int until = from + transit + m_rng.between(0, 2);
            const qint64 receivable = yuan((forty ? 900 + city.km * 8 : 600 + city.km * 6) / 50 * 50);
            const char *origin = m_rng.chance(0.7) ? "杨泗港" : "武汉";
            const Stages s = stages(from, transit);
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount))];
            const qint64 amount = receivable / 100 * m_rng.between(74, 82);

            const QString box = data::containerNumber(QString::fromLatin1(owners[m_rng.below(8)]), m_rng.below(1000000));
            char voyage[48];
            std::snprintf(voyage, sizeof voyage, "%s/V%d", vessels[m_rng.below(8)], m_rng.between(1001, 2452));
            ins.add(m_customers[size_t(customer)]).add(number("JZ", from, n)).add(day(from)).add(day(until)).add(box)
                .add(forty ? "40" : "20").add(1.0).add(voyage).add(receivable).add(origin).add(city.name)
                .add(string(origin) + "-" + city.name).add(to.name).add(remark(0.2)).add(op()).add(stamp(from - 2));
            if (s.receipt)
                ins.add("是").add(day(s.receiptDay)).add(v.driver);
            else
                ins.add("否").nulls(2);
            if (s.collected)
                ins.add("是").add(m_rng.chance(0.9) ? receivable : receivable - yuan(50)).add(day(s.collectDay)).add("张会计");
            else
                ins.add("否").nulls(3);
            if (s.dispatched)
                ins.add(number("DD", from, n)).add(m_carriers[size_t(v.carrier)]).add(v.plate).add(v.driver).add(amount)
                    .add(remark(0.1)).add(op()).add(stamp(from - 1));
            else
                ins.nulls(8);
            if (s.completed)
                ins.add("是").add(day(s.arrival));
            else
                ins.add("否").null();
            if (s.paid) {
                ins.add("是");
                bindPayment(ins, amount, v.carrier % 10 == 0);
                ins.add(day(std::max(s.payDay, until))).add("张会计");
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
        long n = 0;
        while (n < m_orders) {
            // One trip: one to three orders of one customer for one place.
            const int ship = orderDay(n);
            const int customer = pickCustomer();
            const Consignee &to = consigneeOf(customer);
            const City &city = cities[to.city];
            const int transit = 1 + city.km / 450;
            const int due = ship + transit + m_rng.below(2);
            const Stages s = stages(ship, transit);
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount))];
            const string dispatchNo = number("HD", ship, n);
            const string route = string("武汉-") + city.name;
            const int count = int(std::min<long>(m_rng.between(1, 3), m_orders - n));
            qint64 tripFreight = 0;
            double tripQuantity = 0;
            for (int k = 0; k < count; ++k, ++n) {
                const string no = number("HY", ship, n);
                const int received = ship - m_rng.below(2);
                const int lines = m_rng.between(1, 3);
                qint64 freight = 0;
                double quantity = 0;
                const GoodsKind *firstGoods = nullptr;
                for (int l = 0; l < lines; ++l) {
                    const GoodsKind &g = goodsKinds[(customer * 3 + (l + k) % 3) % goodsKindCount];
                    if (!firstGoods)
                        firstGoods = &g;
                    const double q = m_rng.between(10, 3000) / 10.0;
                    const qint64 f = yuan(std::max(20, int(q * city.km / 250)) * 10);
                    freight += f;
                    quantity += q;
                    line.add(no).add(m_customers[size_t(customer)]).add(day(ship)).add(day(due)).add(day(received)).add(g.name)
                        .add(g.spec).add(g.category).add(g.unit).add(q).add(f).add(remark(0.05)).add(op()).add(stamp(received)).row();
                }
                tripFreight += freight;
                tripQuantity += quantity;
                order.add(m_customers[size_t(customer)]).add(no).add(day(received)).add(day(ship)).add(day(due)).add(quantity)
                    .add(freight).add("武汉").add(city.name).add(route).add(to.name).add(firstGoods->name).add(remark(0.1))
                    .add(op()).add(stamp(received));
                const bool receipt = s.receipt && m_rng.chance(0.98), collected = receipt && s.collected;
                if (receipt)
                    order.add("是").add(day(s.receiptDay)).add(v.driver);
                else
                    order.add("否").nulls(2);
                if (collected)
                    order.add("是").add(freight).add(day(s.collectDay)).add("王出纳");
                else
                    order.add("否").nulls(3);
                if (s.dispatched)
                    order.add(dispatchNo).add(m_carriers[size_t(v.carrier)]).add(v.plate).add(v.driver);
                else
                    order.add("").nulls(3);
                if (s.completed)
                    order.add("是").add(day(s.arrival));
                else
                    order.add("否").null();
                order.row();
            }
            if (!s.dispatched)
                continue;
            const qint64 amount = tripFreight / 100 * 78;
            dispatch.add(dispatchNo).add(m_customers[size_t(customer)]).add(day(ship)).add(day(due)).add("武汉").add(city.name)
                .add(route).add(tripQuantity).add(amount).add(m_carriers[size_t(v.carrier)]).add(v.plate).add(v.driver)
                .add(remark(0.1)).add(op()).add(stamp(ship - 1));
            if (s.completed)
                dispatch.add("是").add(day(s.arrival));
            else
                dispatch.add("否").null();
            if (s.paid) {
                bindPayment(dispatch, amount, v.carrier % 10 == 0);
                dispatch.add("是").add(day(s.payDay)).add("张会计");
            } else {
                dispatch.nulls(detail::CostColumns).add("否").nulls(2);
            }
            dispatch.row();
        }
    }

    void logsAndJournal()
    {
        Insert oil(m_db, "换油记录表");
        Insert repair(m_db, "车辆维修记录表");
        Insert accident(m_db, "事故登记表");
        const int logs = std::max(20, m_orders / 50);
        for (int i = 0; i < logs; ++i) {
            const Vehicle &v = m_vehicles[size_t(m_rng.below(vehicleCount))];
            const int d = int(long(i) * m_todayIndex / logs);
            const qint64 price = m_rng.between(650, 760) * 500;       // 32.50 to 38.00 a litre
            const int halfLitres = m_rng.between(36, 48);
            oil.add(v.plate).add(m_rng.between(20, 600) * 1000).add(day(d)).add("汉阳润滑油服务站").add(price)
                .add(halfLitres / 2.0).add(price * halfLitres / 2).add(v.driver).add(nullptr).add(op()).add(stamp(d)).row();
            const qint64 parts = yuan(10 * m_rng.between(8, 300)), labour = yuan(10 * m_rng.between(5, 60));
            repair.add(v.plate).add(day(d)).add("武汉汉阳汽修厂").add("二级保养，更换刹车片").add(parts).add(labour).null()
                .add(parts + labour).add(v.driver).add(remark(0.05)).add(op()).add(stamp(d)).row();
            if (i % 10 == 0)
                accident.add(v.plate).add(m_customers[size_t(pickCustomer())]).add(v.driver).add(day(d)).add("京港澳高速咸宁段")
                    .add("追尾前车，车头受损").add("保险公司定损").add(yuan(100 * m_rng.between(5, 90))).nulls(2)
                    .add("陈卫东").add(nullptr).add(op()).add(stamp(d)).row();
        }

        // Every month of the ten years, each starting from a zero balance.
        Insert cash(m_db, "现金日记帐");
        const QDate today = QDate::currentDate();
        for (QDate month(m_first.year(), m_first.month(), 1); month <= today; month = month.addMonths(1)) {
            qint64 balance = 0;
            const int base = int(m_first.daysTo(month));
            for (int e = 0; e < 40; ++e) {
                const int d = base + e * month.daysInMonth() / 40;
                const bool income = e == 0 || balance < yuan(3000) || m_rng.chance(0.3);
                const qint64 amount = income ? yuan(10 * m_rng.between(100, 2000)) : yuan(10 * m_rng.between(5, 300));
                balance += income ? amount : -amount;
                cash.add(day(d)).add(income ? "收入" : "支出").add(income ? "收零星运费" : "支付路桥费");
                if (income)
                    cash.add(amount).null();
                else
                    cash.null().add(amount);
                cash.add(balance).add((income ? "现收" : "现付") + std::to_string(e + 1)).add("王出纳").add(nullptr).add(op())
                    .add(stamp(d)).row();
            }
        }
    }

    db::Driver &m_db;
    int m_orders;
    Rng m_rng{19980504};
    QDate m_first;
    int m_todayIndex = 0;
    std::vector<string> m_days;
    std::vector<string> m_customers, m_carriers;
    std::vector<Consignee> m_consignees;
    std::vector<Vehicle> m_vehicles;
    QStringList m_indexed;
};

} // namespace

void createGenerated(const QString &path, int orders, bool force)
{
    detail::NewFile f(path, force);
    f.begin();
    db::schema::createTables(f.db());
    db::schema::seed(f.db());
    Generator(f, std::max(0, orders)).run();
    f.commitTransaction();
    f.commit();
}

} // namespace dbfile
