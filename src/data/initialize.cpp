#include "data/initialize.h"
#include "data/filewindow.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "db/query.h"
#include "db/text.h"
#include "dbctrls/messages.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

const QList<TForm_initialize::Item> &TForm_initialize::items()
{
    static const QList<Item> list = {
        {S("上游客户资料"), S("上游客户")},         {S("收货单位资料"), S("收货单位")},
        {S("集装箱运输单"), S("集装箱运输单")},     {S("运输货物资料"), S("货物信息")},
        {S("下游承运商"), S("下游运输商")},         {S("下游承运车辆"), S("承运车辆")},
        {S("现金日记帐"), S("现金日记帐")},         {S("普通货物运输单"), S("普通货物运输单")},
        {S("普通货物调度单"), S("普通货物调度单")}, {S("车辆换油明细表"), S("换油记录表")},
        {S("车辆维修明细表"), S("车辆维修记录表")}, {S("车辆事故明细表"), S("事故登记表")},
        {S("公路里程"), S("公路里程")},             {S("普通货物运输明细"), S("普通货物运输单明细")},
    };
    return list;
}

TForm_initialize::TForm_initialize(db::Query *search, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_search(search)
{
    setObjectName(QStringLiteral("Form_initialize"));
    setWindowTitle(S("数据初始化"));

    auto *boxes = new QGroupBox(this);
    boxes->setObjectName(QStringLiteral("GroupBox1"));
    auto *grid = new QGridLayout(boxes);
    for (int i = 0; i < items().size(); ++i) {
        auto *c = new QCheckBox(items()[i].caption, boxes);
        c->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        grid->addWidget(c, i / 2, i % 2);   // two columns, in running order
        CheckBoxes << c;
    }
    Button_all = new QPushButton(S("全选"), this);
    Button_all->setObjectName(QStringLiteral("Button_all"));
    Button_none = new QPushButton(S("不选"), this);
    Button_none->setObjectName(QStringLiteral("Button_none"));
    BitBtn1 = new QPushButton(S("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(S("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    for (auto *b : {Button_all, Button_none, BitBtn1})
        b->setAutoDefault(false);
    BitBtn2->setDefault(true);

    auto *note = new QFrame(this);
    note->setObjectName(QStringLiteral("Panel1"));
    note->setFrameShape(QFrame::StyledPanel);
    auto *noteLayout = new QVBoxLayout(note);
    for (const char *text : {"提示：数据初始化就是清空选中项目数据库中的数据。",
                             "  如果用户第一次使用本系统时或者需要清空数据库时，请使用本功能，清除原来的数据，便于录入新的数据。"}) {
        auto *l = new QLabel(S(text), note);
        l->setWordWrap(true);
        noteLayout->addWidget(l);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button_all);
    buttons->addWidget(Button_none);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *root = new QVBoxLayout(this);
    root->addWidget(boxes);
    root->addLayout(buttons);
    root->addWidget(note);
    note->setFixedWidth(boxes->sizeHint().width() < 360 ? 360 : boxes->sizeHint().width());
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button_all, &QPushButton::clicked, this, [this] { checkAll(true); });
    connect(Button_none, &QPushButton::clicked, this, [this] { checkAll(false); });
    connect(BitBtn1, &QPushButton::clicked, this, &TForm_initialize::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm_initialize::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        data::centreOnScreen(this);
}

void TForm_initialize::checkAll(bool checked)
{
    for (auto *c : CheckBoxes)
        c->setChecked(checked);
}

void TForm_initialize::BitBtn1Click()
{
    if (!msg::confirm(this, S("要初始化选中的数据库吗? "))) {
        reject();
        return;
    }
    // All chosen tables are emptied together or none is: a half-emptied
    // database helps nobody.
    QString running;
    try {
        db::Transaction tx(*m_search->connection());
        for (int i = 0; i < CheckBoxes.size(); ++i) {
            if (!CheckBoxes[i]->isChecked())
                continue;
            running = items()[i].statement();
            m_search->close();
            m_search->setSql({running});
            m_search->execSql();
        }
        tx.commit();
    } catch (const db::DbError &e) {
        m_search->close();
        msg::dbError(this, S("初始化没有完成, 所有表的数据都保持不变。\n出错的语句: %1\n%2").arg(running, e.message()));
        return;
    }
    m_search->close();
    msg::hint(this, S("初始化完毕！"));
    accept();
}
