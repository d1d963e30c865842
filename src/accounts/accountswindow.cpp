#include "accounts/accountswindow.h"
#include "data/dm1.h"
#include "db/collation.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "grid/dbgrideh.h"
#include "grid/print.h"
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace data;

namespace accounts {

AccountsWindow::AccountsWindow(QWidget *owner, const QString &module, const QString &caption,
                               const QVector<ResultColumn> &columns)
    : RecordListWindow(owner), m_caption(caption), m_columns(columns)
{
    setObjectName(S("Form_") + module);
    m_result = new db::Query(Dm1->ADO_system, S("q_") + module, this);
    ListDecl d;
    d.caption = caption;
    d.module = module;
    d.query = m_result;
    d.search = Dm1->q_search;
    for (const ResultColumn &c : columns) {
        grid::Column g = c.grid;
        g.field = c.field;
        if (g.title.isEmpty())
            g.title = c.field;
        d.columns.append(g);
    }
    d.fit = true;
    d.printTitle = caption;
    d.exportName = caption;
    d.heading = S("单位：元");
    d.buttons = {
        {.role = Role::Export, .objectName = S("bitbtn_out"), .caption = S("导出")},
        {.role = Role::Print, .objectName = S("bitbtn_print"), .caption = S("打印"), .handler = [this] { printResult(); }},
        {.role = Role::ResetLayout, .objectName = S("SpeedButton1"), .caption = S("初始界面")},
        {.role = Role::Close, .objectName = S("SpeedButton4"), .caption = S("返回")},
    };
    build(d);
    // A result comes after the window opens: room for it from the start.
    setMinimumHeight(560);
    m_params = new QHBoxLayout;
    m_params->setSpacing(6);
    m_top->insertLayout(1, m_params);   // under the tool bar, above "单位：元"
}

AccountsWindow::~AccountsWindow()
{
    m_result->close();
    try {
        Dm1->ADO_system->execute(S("drop table if exists ") + table());
    } catch (const db::DbError &) {
        // The connection is gone; its temporary tables went with it.
    }
}

QString AccountsWindow::table() const
{
    return S("temp.acc_") + decl().module;
}

dbctrls::DBDateEdit *AccountsWindow::addDate(const QString &objectName, const QString &label, const QDate &value)
{
    auto *e = new dbctrls::DBDateEdit(this);
    e->setObjectName(objectName);
    e->setDate(value);
    e->setMinimumWidth(110);
    auto *l = new QLabel(label, this);
    m_params->addWidget(l);
    m_params->addWidget(e);
    m_enter << e;
    return e;
}

QComboBox *AccountsWindow::addCombo(const QString &objectName, const QString &label, const QStringList &items,
                                    bool editable, int width)
{
    QComboBox *c = nullptr;
    if (editable) {
        auto *db = new dbctrls::DBComboBox(this);
        db->setChineseText(true);
        db->setMaxVisibleItems(20);
        c = db;
    } else {
        c = new QComboBox(this);
    }
    c->setObjectName(objectName);
    c->addItems(items);
    if (editable)
        c->setEditText(QString());
    if (width)
        c->setMinimumWidth(width);
    m_params->addWidget(new QLabel(label, this));
    m_params->addWidget(c);
    m_enter << c;
    return c;
}

QStringList AccountsWindow::names(const QString &table, const QString &column)
{
    QStringList out;
    db::Query q(Dm1->ADO_system, S("q_accounts_names"));
    try {
        q.reopenWith({S("select ") + column + S(" from ") + table, S("order by ") + column});
        for (int r = 0; r < q.recordCount(); ++r)
            out << q.displayText(r, 0);
    } catch (const db::DbError &) {
        // An empty list: the name can still be typed.
    }
    return out;
}

void AccountsWindow::finishParameters()
{
    auto *compute = new QPushButton(S("统计"), this);
    compute->setObjectName(S("bitbtn_tj"));
    compute->setAutoDefault(false);
    compute->setMinimumWidth(64);
    m_params->addWidget(compute);
    m_params->addStretch(1);
    connect(compute, &QPushButton::clicked, this, &AccountsWindow::run);
    new dbctrls::EnterRing(m_enter, [] { return true; }, [this] { run(); }, this);
}

bool AccountsWindow::checkDates(dbctrls::DBDateEdit *from, dbctrls::DBDateEdit *to)
{
    for (auto *e : {from, to}) {
        if (e && (e->isEmpty() || !e->hasValidText())) {
            msg::hint(this, e->isEmpty() ? S("日期不能为空,请重新输入!") : e->refusal());
            e->setFocus();
            return false;
        }
    }
    if (from && to && from->date() > to->date()) {
        msg::hint(this, S("开始日期不能大于结束日期,请重新输入!"));
        from->setFocus();
        return false;
    }
    return true;
}

Business AccountsWindow::business() const
{
    const auto *c = findChild<QComboBox *>(S("ComboBox1"));
    return c ? Business(std::max(0, c->currentIndex())) : Business::All;
}

void AccountsWindow::run()
{
    if (!parametersOk())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        // Its reads and the rows it shows are one transaction: one state of
        // the tables, and nothing half written.
        db::Transaction tx(*Dm1->ADO_system);
        compute();
        tx.commit();
    } catch (const db::DbError &e) {
        QApplication::restoreOverrideCursor();
        msg::dbError(this, e.message());
        return;
    }
    QApplication::restoreOverrideCursor();
}

void AccountsWindow::present(const QVector<QVariantList> &rows)
{
    db::Connection &c = *Dm1->ADO_system;
    m_result->close();
    QStringList defs = {S("seq INTEGER")};
    for (const ResultColumn &col : m_columns)
        defs << col.field + QLatin1Char(' ') + col.type
                    + (col.type == S("TEXT") ? S(" COLLATE ") + QLatin1String(db::TextCollation) : QString());
    const auto literal = [](const QVariant &v, const QString &type) -> QString {
        if (v.isNull() || !v.isValid())
            return S("null");
        if (type == S("DATE_TEXT"))
            return v.toDate().isValid() ? S("'") + db::storedDate(v.toDate()) + S("'") : S("null");
        if (type == S("TEXT"))
            return S("'") + db::q(v.toString()) + S("'");
        if (type == S("REAL"))
            return QString::number(v.toDouble(), 'f', 4);
        return QString::number(v.toLongLong());
    };
    c.execute(S("create temp table if not exists %1 (%2)").arg(table(), defs.join(S(","))));
    c.execute(S("delete from ") + table());
    constexpr int batch = 200;
    for (int start = 0; start < rows.size(); start += batch) {
        QStringList values;
        for (int r = start; r < std::min<int>(start + batch, int(rows.size())); ++r) {
            QStringList cells = {QString::number(r + 1)};
            for (int i = 0; i < m_columns.size(); ++i)
                cells << literal(rows[r].value(i), m_columns[i].type);
            values << S("(") + cells.join(S(",")) + S(")");
        }
        c.execute(S("insert into ") + table() + S(" values ") + values.join(S(",")));
    }
    m_result->reopenWith({S("select * from ") + table(), S("order by seq")});
}

void AccountsWindow::setFooterText(const QString &field, const QString &text)
{
    grid::Columns cols = grid()->columns();
    for (grid::Column &c : cols)
        if (c.field == field) {
            c.footer = grid::FooterKind::Text;
            c.footerText = text;
        }
    grid()->setColumns(cols);
}

QString AccountsWindow::companyName() const
{
    db::Query q(Dm1->ADO_system, S("q_accounts_company"));
    try {
        q.reopenWith({S("select 公司名称 from 公司信息")});
        return q.isEmpty() ? QString() : q.displayText(0, 0).trimmed();
    } catch (const db::DbError &) {
        return {};
    }
}

void AccountsWindow::printResult()
{
    print();
}

void AccountsWindow::preparePrint(grid::PrintSettings &s)
{
    const QString company = companyName();
    s.title = company.isEmpty() ? m_caption : company + S(" ") + m_caption;
}

} // namespace accounts
