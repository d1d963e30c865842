#include "statistics/summary.h"
#include "data/dm1.h"
#include "data/scratchrun.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/footerbar.h"
#include "grid/print.h"
#include "statistics/summarychart.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QHeaderView>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QVBoxLayout>

using namespace data;

namespace stats {
namespace {

const QString ScratchTable = S("通用");

db::Query *sharedQuery(const QString &name)
{
    db::Query *q = Dm1 ? Dm1->query(name) : nullptr;
    if (!q)
        throw db::DbError(S("没有共享查询 %1").arg(name));
    return q;
}

QString splitKey(const QString &module)
{
    return QStringLiteral("charts/") + module + QStringLiteral("_split");
}

QString chartKey(const QString &module)
{
    return QStringLiteral("charts/") + module;
}

// The table of an aggregate "select … from <table>".
QString tableOf(const QString &select)
{
    static const QRegularExpression re(QStringLiteral("\\bfrom\\s+(\\S+)"), QRegularExpression::CaseInsensitiveOption);
    return re.match(select).captured(1);
}

QLabel *label(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

QVector<MonthRange> monthRanges(int year, const QString &dateColumn, const QString &customer)
{
    QVector<MonthRange> months;
    const QString y = QString::number(year);
    for (int m = 1; m <= 12; ++m) {
        const QString mm = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        const QString from = QStringLiteral("'") + y + QStringLiteral("-") + mm + QStringLiteral("-") + QStringLiteral("1")
                             + QStringLiteral(" 0:0:0'");
        const QString to = QStringLiteral("'") + y + QStringLiteral("-") + mm + QStringLiteral("-")
                           + QString::number(db::lastDayOfMonth(year, m)) + QStringLiteral(" 23:59:59'");
        const QString range = dateColumn + QStringLiteral(" between cdate(") + from + QStringLiteral(") and cdate(") + to
                              + QStringLiteral(")");
        const QString condition = customer.isEmpty()
                                      ? range
                                      : S("(上游客户='") + db::q(customer) + QStringLiteral("')and(") + range + QStringLiteral(")");
        months.append({mm + S("月"), condition});
    }
    return months;
}

QStringList yearItems(db::Query *lookup, const QString &table, const QString &dateColumn)
{
    const int now = QDate::currentDate().year();
    int first = now;
    try {
        lookup->reopenWith({QStringLiteral("select min(") + dateColumn + QStringLiteral(") as first from ") + table});
        const QString earliest = lookup->field(QStringLiteral("first")).asString();
        lookup->close();
        const int y = earliest.left(4).toInt();
        if (y >= 1900 && y < now)
            first = y;
    } catch (const db::DbError &) {
        lookup->close();   // no dates to offer: this year alone
    }
    QStringList items;
    for (int y = first; y <= now; ++y)
        items << QString::number(y) + S("年");
    return items;
}

QString SummaryWindow::settingsFile()
{
    return QDir::current().filePath(QStringLiteral("velorin.ini"));
}

SummaryWindow::SummaryWindow(QWidget *owner, const SummaryDecl &decl) : RecordListWindow(owner), m_summary(decl)
{
    setObjectName(QStringLiteral("Form_") + decl.module);
    ListDecl d;
    d.caption = decl.caption;
    d.module = decl.module;
    d.query = Dm1->q_tongyong;
    d.search = Dm1->q_search;
    d.columns = decl.columns;
    d.fit = decl.fit;
    d.printTitle = decl.printTitle;
    d.exportName = decl.exportName;
    d.layoutStore = false;
    d.heading = S("单位：元");
    d.buttons = {
        {.role = Role::Delete, .objectName = QStringLiteral("bitbtn_delete"), .caption = S("删除")},
        {.role = Role::Export, .objectName = QStringLiteral("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Print, .objectName = QStringLiteral("bitbtn_print"), .caption = S("打印")},
        {.role = Role::Close, .objectName = QStringLiteral("SpeedButton4"), .caption = S("返回")},
    };
    build(d);
    buildParameters();
}

SummaryWindow::~SummaryWindow() = default;

void SummaryWindow::buildParameters()
{
    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    QList<QWidget *> editors;
    if (m_summary.parameters == Parameters::Period) {
        m_from = new dbctrls::DBDateEdit(this);
        m_from->setObjectName(QStringLiteral("DBDateTimeEditEh1"));
        m_to = new dbctrls::DBDateEdit(this);
        m_to->setObjectName(QStringLiteral("DBDateTimeEditEh2"));
        // This year so far, the period an owner asks about most.
        const QDate today = QDate::currentDate();
        m_from->setDate(QDate(today.year(), 1, 1));
        m_to->setDate(today);
        for (auto *e : {m_from, m_to})
            e->setMinimumWidth(110);
        row->addWidget(label(m_summary.fromLabel, this));
        row->addWidget(m_from);
        row->addWidget(label(S("到："), this));
        row->addWidget(m_to);
    } else {
        auto *year = new dbctrls::DBComboBox(this);
        year->setObjectName(QStringLiteral("DBComboBoxEh1"));
        year->addItems(yearItems(Dm1->q_search, tableOf(m_summary.select), m_summary.dateColumn));
        year->setEditText(QString::number(QDate::currentDate().year()) + S("年"));
        year->setMinimumWidth(100);
        m_year = year;
        row->addWidget(label(S("统计年度："), this));
        row->addWidget(m_year);
    }
    if (m_summary.customer != CustomerUse::None) {
        auto *customer = new dbctrls::DBComboBox(this);
        customer->setObjectName(m_summary.customerCombo);
        customer->setChineseText(true);
        customer->setMinimumWidth(220);
        customer->setMaxVisibleItems(20);
        m_customer = customer;
        row->addWidget(label(S("上游客户："), this));
        row->addWidget(m_customer);
    }
    auto *compute = new QPushButton(S("统计"), this);
    compute->setObjectName(QStringLiteral("SpeedButton1"));
    compute->setAutoDefault(false);
    compute->setMinimumWidth(64);
    row->addWidget(compute);
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("Animate1"));
    m_busy->setRange(0, 0);
    m_busy->setTextVisible(false);
    m_busy->setFixedSize(80, 12);
    m_busy->hide();
    row->addWidget(m_busy);
    row->addStretch(1);
    m_showChart = new QCheckBox(S("显示图表"), this);
    m_showChart->setObjectName(QStringLiteral("CheckBox_chart"));
    row->addWidget(m_showChart);
    m_top->insertLayout(1, row);   // under the tool bar, above "单位：元"

    m_chart = new SummaryChart(Dm1->q_tongyong, m_summary.columns, m_summary.chartLabel, m_summary.totalLabel, this);
    m_chart->setObjectName(QStringLiteral("Chart1"));
    m_chart->setMinimumHeight(200);
    m_chart->hide();
    // Grid over chart, the line between them where the clerk left it.
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setObjectName(QStringLiteral("Splitter1"));
    m_split->setChildrenCollapsible(false);
    m_top->replaceWidget(grid(), m_split);
    m_split->addWidget(grid());
    m_split->addWidget(m_chart);
    m_split->setStretchFactor(0, 1);
    m_split->setStretchFactor(1, 1);
    connect(m_split, &QSplitter::splitterMoved, this, [this] {
        QSettings(settingsFile(), QSettings::IniFormat).setValue(splitKey(m_summary.module), m_split->saveState());
    });

    connect(compute, &QPushButton::clicked, this, &SummaryWindow::run);
    const bool shown = QSettings(settingsFile(), QSettings::IniFormat).value(chartKey(m_summary.module), false).toBool();
    m_showChart->setChecked(shown);
    showChart(shown);
    connect(m_showChart, &QCheckBox::toggled, this, [this](bool on) {
        QSettings(settingsFile(), QSettings::IniFormat).setValue(chartKey(m_summary.module), on);
        showChart(on);
    });

    for (const QString &name : m_summary.enterOrder)
        if (auto *w = findChild<QWidget *>(name))
            editors << w;
    new dbctrls::EnterRing(editors, [] { return true; }, [this] { run(); }, this);
}

void SummaryWindow::showChart(bool on)
{
    // With the chart the grid still shows ten rows, its titles and its
    // 合计 footer: the splitter cannot push it smaller.
    grid::DBGridEh *g = grid();
    const int rows = 10 * g->verticalHeader()->defaultSectionSize();
    const int bars = m_summary.fit ? 0 : g->horizontalScrollBar()->sizeHint().height();
    g->setMinimumHeight(on ? 2 * g->frameWidth() + g->horizontalHeader()->sizeHint().height() + g->footer()->barHeight() +
                                 rows + bars
                           : 0);
    m_chart->setVisible(on);
    if (!on)
        return;
    const QByteArray state = QSettings(settingsFile(), QSettings::IniFormat).value(splitKey(m_summary.module)).toByteArray();
    if (state.isEmpty() || !m_split->restoreState(state))
        m_split->setSizes({1, 1});
}

QString SummaryWindow::customerText() const
{
    return m_customer ? m_customer->currentText() : QString();
}

bool SummaryWindow::periodChecked()
{
    const auto refuse = [this](const QString &message) {
        msg::hint(this, message);
        m_from->setFocus();
        return false;
    };
    if (m_from->isEmpty() || m_to->isEmpty())
        return refuse(m_summary.msgIncomplete);
    // Text that is no date would otherwise reach the database's date conversion.
    for (auto *e : {m_from, m_to})
        if (!e->hasValidText()) {
            msg::hint(this, e->refusal());
            e->setFocus();
            return false;
        }
    if (m_from->date() > m_to->date())
        return refuse(m_summary.msgOrder);
    return true;
}

bool SummaryWindow::yearChecked(int &year)
{
    const auto refuse = [this](const QString &message) {
        msg::hint(this, message);
        m_year->setFocus();
        return false;
    };
    const QString text = m_year->currentText().trimmed();
    if (text.isEmpty())
        return refuse(S("没有输入统计年度,请重新输入!"));
    bool ok = false;
    year = text.left(4).toInt(&ok);
    if (!ok || year < 1900 || year > 9999)
        return refuse(S("统计年度输入错误,请重新输入!"));
    return true;
}

bool SummaryWindow::periodGroups(QVector<Group> &groups)
{
    QString base = db::dayRangeCondition(m_summary.dateColumn, m_from->date(), m_to->date());
    const QString customer = customerText();
    if (m_summary.customer == CustomerUse::Filter && !customer.isEmpty())
        base += S("and(上游客户 = '") + db::q(customer) + QStringLiteral("')");
    if (!m_summary.fixedGroups.isEmpty()) {
        for (const FixedGroup &g : m_summary.fixedGroups)
            groups.append({{{QStringLiteral("texta"), g.label}}, base + g.term});
        return true;
    }
    const GroupList &gl = m_summary.groupList;
    db::Query *list = sharedQuery(gl.dataset);
    QStringList lines = gl.lines;
    if (m_summary.customer == CustomerUse::GroupList && !customer.isEmpty())
        lines.insert(lines.size() - 1, gl.customerWhere.arg(db::q(customer)));
    list->reopenWith(lines);
    if (list->isEmpty()) {
        list->close();
        return false;
    }
    static const QString targets[] = {QStringLiteral("texta"), QStringLiteral("textb"), QStringLiteral("textc")};
    QVector<int> labelCols;
    for (const QString &f : gl.labels)
        labelCols << list->field(f).index();
    QVector<QPair<QString, int>> termCols;
    for (const auto &t : gl.terms)
        termCols.append({t.first, list->field(t.second).index()});
    const bool pick = m_summary.customer == CustomerUse::PickGroup && !customer.trimmed().isEmpty();
    for (int r = 0; r < list->recordCount(); ++r) {
        Group g;
        for (int i = 0; i < labelCols.size() && i < 3; ++i)
            g.labels.append({targets[i], list->displayText(r, labelCols[i])});
        if (pick && g.labels.value(0).second != customer)
            continue;
        g.condition = base;
        for (const auto &t : termCols)
            g.condition += QStringLiteral("and(") + t.first + QStringLiteral(" = '") + db::q(list->displayText(r, t.second))
                           + QStringLiteral("')");
        groups.append(g);
    }
    list->close();
    return true;
}

void SummaryWindow::run()
{
    // The result is written into 通用.
    if (refuseReadOnly(this, Dm1->ADO_system))
        return;
    QVector<Group> groups;
    try {
        if (m_summary.parameters == Parameters::Period) {
            if (!periodChecked() || !periodGroups(groups))
                return;
        } else {
            int year = 0;
            if (!yearChecked(year))
                return;
            const QString customer = m_summary.customer == CustomerUse::None ? QString() : customerText();
            const QString yearText = m_year->currentText();
            for (const MonthRange &m : monthRanges(year, m_summary.dateColumn, customer))
                groups.append({{{m_summary.yearColumn, yearText}, {m_summary.monthColumn, m.label}}, m.condition});
        }
    } catch (const db::DbError &e) {
        msg::dbError(this, e.message());
        return;
    }
    execute(groups);
}

bool SummaryWindow::passes(db::Query *orders) const
{
    switch (m_summary.rowTest) {
    case RowTest::Always:
        return true;
    case RowTest::QuantityAboveZero:
        return orders->field(m_summary.testAlias).asInteger() > 0;
    case RowTest::MoneyAboveZero:
        return orders->field(m_summary.testAlias).asMoney() > db::Money();
    case RowTest::MoneyRoundsAboveZero:
        return orders->field(m_summary.testAlias).asInteger() > 0;
    }
    return false;
}

void SummaryWindow::execute(const QVector<Group> &groups)
{
    db::Query *scratch = Dm1->q_tongyong;
    db::Query *orders = sharedQuery(m_summary.dataset);
    const bool period = m_summary.parameters == Parameters::Period;
    const QStringList scratchLines = period ? QStringList{S("select * from 通用"), QStringLiteral(" order by texta,textb")}
                                            : QStringList{QStringLiteral("select * from "), ScratchTable,
                                                          QStringLiteral(" order by textb,textc")};
    const QDate from = period ? m_from->date() : QDate();
    const QDate to = period ? m_to->date() : QDate();
    const auto work = [&] {
        // One run lands whole: nobody sees half a result, and a thousand
        // appended rows cost one commit.
        db::Transaction tx(*Dm1->ADO_system);
        // On a shared server the whole run reads one moment of the data.
        if (Dm1->ADO_system->isServer())
            Dm1->ADO_system->execute(S("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ"));
        Dm1->ADO_system->execute(S("delete from 通用"));
        scratch->reopenWith(scratchLines);
        const int datea = scratch->field(QStringLiteral("datea")).index();
        const int dateb = scratch->field(QStringLiteral("dateb")).index();
        const int numbera = scratch->field(QStringLiteral("numbera")).index();
        for (const Group &g : groups) {
            orders->close();
            orders->setSql({m_summary.select, QStringLiteral(" where "), g.condition});
            orders->open();
            if (!passes(orders))
                continue;
            scratch->append();
            if (period) {
                scratch->fieldByIndex(datea).setAsDate(from);
                scratch->fieldByIndex(dateb).setAsDate(to);
            }
            for (const auto &l : g.labels)
                scratch->field(l.first).setAsString(l.second);
            if (!m_summary.quantityAlias.isEmpty())
                scratch->fieldByIndex(numbera).setAsInteger(orders->field(m_summary.quantityAlias).asInteger());
            for (const Assign &a : m_summary.money) {
                db::Money v = orders->field(a.alias).asMoney();
                if (!a.minus.isEmpty())
                    v -= orders->field(a.minus).asMoney();
                scratch->field(a.column).setAsMoney(v);
            }
            scratch->post();
        }
        orders->close();
        tx.commit();
    };
    if (!data::runOnScratch(this, scratch, work, m_busy))
        orders->close();
}

void SummaryWindow::preparePrint(grid::PrintSettings &s)
{
    if (!m_showChart->isChecked())
        return;
    s.trailer = [this](QPainter &p, const QRectF &r) { m_chart->render(p, r); };
}

} // namespace stats
