#include "goods/xzfreight.h"
#include "data/dm1.h"
#include "data/recordlist.h"
#include "data/savestep.h"
#include "db/quote.h"
#include "goods/rules.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include "grid/dbgrideh.h"
#include "grid/sorting.h"
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

TForm_xzfreight::TForm_xzfreight(QWidget *owner) : QDialog(owner)
{
    setObjectName(S("Form_xzfreight"));
    setWindowTitle(S("选择货物名称"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    using grid::FooterKind;

    m_group = new QGroupBox(this);
    m_group->setObjectName(S("GroupBox1"));
    auto *left = new QVBoxLayout(m_group);
    auto *bar = new QHBoxLayout;
    auto *mode = new dbctrls::DBComboBox(m_group);
    mode->setObjectName(S("DBComboBoxEh1"));
    mode->addItems({S("按货物名称查找"), S("查找全部的材料")});
    mode->setCurrentIndex(0);
    mode->setMinimumContentsLength(10);
    mode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_mode = mode;
    auto *name = new dbctrls::DBEdit(m_group);
    name->setObjectName(S("Edit3"));
    name->setCharCaseUpper(true);
    name->setChineseText(true);
    m_name = name;
    auto *seek = new QPushButton(S("查找"), m_group);
    seek->setObjectName(S("bitbtn_seek"));
    seek->setAutoDefault(false);
    bar->addWidget(m_mode);
    bar->addWidget(m_name, 1);
    bar->addWidget(seek);
    left->addLayout(bar);
    m_goods = new grid::DBGridEh(m_group);
    m_goods->setObjectName(S("DBGrideh1"));
    m_goods->setColumns({
        {.field = S("货物名称"), .title = S("货物名称"), .width = 130, .sortable = true},
        {.field = S("类别"), .title = S("类别"), .width = 70},
        {.field = S("型号规格"), .title = S("型号规格"), .width = 120, .sortable = true},
    });
    m_goods->setQuery(Dm1->q_woodinfo);
    m_goods->setEditTriggers(QAbstractItemView::NoEditTriggers);
    left->addWidget(m_goods, 1);

    auto *middle = new QVBoxLayout;
    const auto picture = [this](const char *objectName, QStyle::StandardPixmap pixmap, const char *hint) {
        auto *b = new QToolButton(this);
        b->setObjectName(S(objectName));
        b->setIcon(style()->standardIcon(pixmap));
        b->setIconSize(QSize(24, 24));
        b->setToolTip(S(hint));
        return b;
    };
    auto *add = picture("SpeedButton2", QStyle::SP_ArrowRight, "选择上游运输单");
    auto *remove = picture("SpeedButton1", QStyle::SP_ArrowLeft, "取消上游运输单");
    auto *quit = picture("SpeedButton3", QStyle::SP_DialogCloseButton, "退出");
    middle->addStretch(1);
    for (auto *b : {add, remove, quit})
        middle->addWidget(b);
    middle->addStretch(1);

    auto *right = new QVBoxLayout;
    right->addWidget(new QLabel(S("运输货物名称："), this));
    m_lines = new grid::DBGridEh(this);
    m_lines->setObjectName(S("DBGridEh2"));
    m_lines->setColumns({
        {.field = S("运输单号"), .title = S("运输单号"), .width = 100},
        {.field = S("货物名称"), .title = S("货物名称"), .width = 130},
    });
    m_lines->setQuery(Dm1->q_freight_mxb);
    m_lines->setEditTriggers(QAbstractItemView::NoEditTriggers);
    right->addWidget(m_lines, 1);

    auto *row = new QHBoxLayout(this);
    row->addWidget(m_group, 3);
    row->addLayout(middle);
    row->addLayout(right, 2);

    connect(seek, &QPushButton::clicked, this, &TForm_xzfreight::bitbtn_seekClick);
    connect(add, &QToolButton::clicked, this, &TForm_xzfreight::SpeedButton2Click);
    connect(remove, &QToolButton::clicked, this, &TForm_xzfreight::SpeedButton1Click);
    connect(quit, &QToolButton::clicked, this, &QDialog::reject);
    connect(m_goods, &QAbstractItemView::doubleClicked, this, &TForm_xzfreight::SpeedButton2Click);
    connect(m_goods, &grid::DBGridEh::sortMarkingChanged, this,
            [this] { grid::applySort(Dm1->q_woodinfo, m_goods->sortMarkers()); });
    new dbctrls::EnterRing({m_name}, [] { return true; }, [seek] { seek->click(); }, this);
    dbctrls::applyInputMethod(this);
    setFixedSize(720, 420);
}

void TForm_xzfreight::setCustomer(const QString &name)
{
    m_group->setTitle(name);
}

void TForm_xzfreight::SpeedButton2Click()
{
    db::Query *goodsList = Dm1->q_woodinfo, *lines = Dm1->q_freight_mxb, *order = Dm1->q_freight_ysd;
    if (!goodsList->isActive() || goodsList->isEmpty())
        return;
    if (!msg::ask(this, S("确实要选择该货物吗?")))
        return;
    const auto copy = [=] {
        // The order's values as they stand in its editor, saved or not.
        for (const QString &c : goods::columnsLentToLines())
            lines->field(c).setValue(order->field(c).value());
        for (const char *c : {"货物名称", "型号规格", "类别", "计量单位"})
            lines->field(S(c)).setAsString(goodsList->field(S(c)).asString());
    };
    if (data::saveRow(this, {.query = lines, .refuseReadOnly = true, .appendRow = true, .beforePost = copy,
                             .savedMessage = {}})
            == data::SaveOutcome::Saved
        && m_lineStored)
        m_lineStored(lines->bookmark());
}

void TForm_xzfreight::SpeedButton1Click()
{
    db::Query *lines = Dm1->q_freight_mxb;
    if (!lines->isActive() || lines->isEmpty())
        return;
    if (msg::ask(this, S("确实要取消该货物?")))
        data::deleteCurrentRow(this, lines);
}

void TForm_xzfreight::bitbtn_seekClick()
{
    const QString mode = m_mode->currentText().trimmed();
    const QString customer = db::q(m_group->title());
    QString where;
    if (!mode.isEmpty() && mode != S("查找全部的材料"))
        where = S("select * from 货物信息 where (客户名称='") + customer + S("')and(货物名称 like '%")
                + db::q(m_name->text()) + S("%')");
    else
        where = S("select * from 货物信息 where 客户名称='") + customer + S("'");
    Dm1->q_woodinfo->reopenWith({where, S("order by 客户名称,货物名称")});
}
