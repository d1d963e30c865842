#include "goods/xzfreight_ysd.h"
#include "data/dm1.h"
#include "data/recordlist.h"
#include "data/savestep.h"
#include "db/quote.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include "grid/dbgrideh.h"
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm_xzfreight_ysd::TForm_xzfreight_ysd(QWidget *owner) : QDialog(owner)
{
    setObjectName(S("Form_xzfreight_ysd"));
    setWindowTitle(S("选择运输单"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *v = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(S("调度单号："), this));
    m_number = new QLabel(this);
    m_number->setObjectName(S("Label1"));
    top->addWidget(m_number);
    top->addStretch(1);
    auto *mode = new dbctrls::DBComboBox(this);
    mode->setObjectName(S("DBComboBoxEh1"));
    mode->addItems({S("按上游客户查找"), S("查找全部的材料")});
    mode->setCurrentIndex(0);
    mode->setMinimumContentsLength(10);
    mode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_mode = mode;
    auto *customer = new dbctrls::DBEdit(this);
    customer->setObjectName(S("Edit3"));
    customer->setCharCaseUpper(true);
    customer->setChineseText(true);
    m_customer = customer;
    auto *seek = new QPushButton(S("查找"), this);
    seek->setObjectName(S("bitbtn_seek"));
    seek->setAutoDefault(false);
    top->addWidget(m_mode);
    top->addWidget(m_customer);
    top->addWidget(seek);
    v->addLayout(top);

    auto *group = new QGroupBox(S("只能选择没有执行完结的运输单"), this);
    auto *g = new QVBoxLayout(group);
    m_grid = new grid::DBGridEh(group);
    m_grid->setObjectName(S("DBGrideh1"));
    m_grid->setColumns({
        {.field = S("上游客户"), .title = S("上游客户"), .width = 200},
        {.field = S("运输单号"), .title = S("运输单号"), .width = 110},
        {.field = S("运输动态"), .title = S("运输动态"), .width = 120},
        {.field = S("调度单号"), .title = S("调度单号"), .width = 110},
    });
    m_grid->setQuery(Dm1->q_search);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->addWidget(m_grid);
    v->addWidget(group, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const auto button = [&](const char *name, const char *caption) {
        auto *b = new QPushButton(S(caption), this);
        b->setObjectName(S(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    connect(button("SpeedButton2", "选中"), &QPushButton::clicked, this, &TForm_xzfreight_ysd::SpeedButton2Click);
    connect(button("SpeedButton1", "取消"), &QPushButton::clicked, this, &TForm_xzfreight_ysd::SpeedButton1Click);
    connect(button("SpeedButton3", "退出"), &QPushButton::clicked, this, &QDialog::reject);
    v->addLayout(buttons);
    connect(seek, &QPushButton::clicked, this, &TForm_xzfreight_ysd::bitbtn_seekClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TForm_xzfreight_ysd::toggle);
    new dbctrls::EnterRing({m_customer}, [] { return true; }, [seek] { seek->click(); }, this);
    dbctrls::applyInputMethod(this);
    resize(640, 460);
}

void TForm_xzfreight_ysd::setDispatchNumber(const QString &number)
{
    m_number->setText(number);
}

bool TForm_xzfreight_ysd::currentAttached() const
{
    return !Dm1->q_search->field(S("调度单号")).asString().isEmpty();
}

void TForm_xzfreight_ysd::setOrder(const QString &dispatchNumber)
{
    db::Query *order = Dm1->q_search, *dispatch = Dm1->q_freight_ddb;
    // Attaching is no edit of the order: it keeps its stamp.
    if (data::saveRow(this, {.query = order,
                             .stampOperator = {},
                             .stampDate = {},
                             .refuseReadOnly = true,
                             .beforePost = [=] { order->field(S("调度单号")).setAsString(dispatchNumber); },
                             .savedMessage = {}})
        != data::SaveOutcome::Saved)
        return;
    // The dispatch names the customer and places of the order chosen last.
    dispatch->edit();
    for (const char *f : {"上游客户", "起始地", "目的地"})
        dispatch->field(S(f)).setAsString(dispatchNumber.isEmpty() ? QString() : order->field(S(f)).asString());
    if (!dispatchNumber.isEmpty() && m_attached)
        m_attached(order->bookmark());
}

void TForm_xzfreight_ysd::SpeedButton2Click()
{
    db::Query *order = Dm1->q_search;
    if (!order->isActive() || order->isEmpty() || currentAttached())
        return;
    if (msg::ask(this, S("确实要选择该货物吗?")))
        setOrder(m_number->text());
}

void TForm_xzfreight_ysd::SpeedButton1Click()
{
    db::Query *order = Dm1->q_search;
    if (!order->isActive() || order->isEmpty() || !currentAttached())
        return;
    if (msg::ask(this, S("确实要取消该货物?")))
        setOrder(QString());
}

void TForm_xzfreight_ysd::toggle()
{
    db::Query *order = Dm1->q_search;
    if (!order->isActive() || order->isEmpty())
        return;
    if (currentAttached())
        SpeedButton1Click();
    else
        SpeedButton2Click();
}

void TForm_xzfreight_ysd::bitbtn_seekClick()
{
    const QString mode = m_mode->currentText().trimmed();
    QString head;
    if (!mode.isEmpty() && mode != S("查找全部的材料"))
        head = S("select * from 普通货物运输单 where (执行完结='否')and(上游客户 like '%") + db::q(m_customer->text())
               + S("%')");
    else
        head = S("select * from 普通货物运输单 where 执行完结='否'");
    Dm1->q_search->reopenWith({head, S("order by 上游客户,运输单号")});
}
