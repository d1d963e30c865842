#include "masterdata/txcsb_edit.h"
#include "app/dm1.h"
#include "data/session.h"
#include "db/dberror.h"
#include "db/text.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
constexpr int MaxLead = 5000;
}

TForm_txcsb_edit::TForm_txcsb_edit(QWidget *owner) : QDialog(owner)
{
    setObjectName(S("Form_txcsb_edit"));
    setWindowTitle(S("提醒功能初始表编辑 (txcsb)"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    db::Query *q = Dm1->q_txcsb;
    DBEdit1 = dbctrls::DBEdit::bound(this, S("DBEdit1"), q, S("项目"), true);
    DBEdit1->setAlwaysReadOnly(true);
    DBNumberEditEh1 = new dbctrls::DBNumberEdit(dbctrls::DBNumberEdit::Whole, this);
    DBNumberEditEh1->setObjectName(S("DBNumberEditEh1"));
    DBNumberEditEh1->setDataSource(q, S("期限"));
    // Whole days or kilometres, four digits at most; above the limit is refused on save.
    DBNumberEditEh1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), DBNumberEditEh1));

    const auto button = [this](const char *name, const char *caption) {
        auto *b = new QPushButton(S(caption), this);
        b->setObjectName(S(name));
        b->setAutoDefault(false);
        b->setMinimumWidth(80);
        return b;
    };
    bitbtn_add = button("bitbtn_add", "增加 (&A)");
    bitbtn_save = button("bitbtn_save", "存盘 (&S)");
    bitbtn_cancel = button("bitbtn_cancel", "取消 (&C)");
    bitbtn_close = button("bitbtn_close", "返回 (&R)");
    bitbtn_add->setEnabled(false);
    bitbtn_add->hide();

    auto *g = new QGridLayout;
    g->addWidget(new QLabel(S("提醒项目："), this), 0, 0, Qt::AlignRight);
    g->addWidget(DBEdit1, 0, 1);
    g->addWidget(new QLabel(S("提前提醒单位(天/公里)："), this), 1, 0, Qt::AlignRight);
    g->addWidget(DBNumberEditEh1, 1, 1);
    g->setColumnMinimumWidth(1, 160);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (auto *b : {bitbtn_add, bitbtn_save, bitbtn_cancel, bitbtn_close})
        buttons->addWidget(b);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(14, 14, 14, 10);
    v->addLayout(g);
    v->addSpacing(8);
    v->addLayout(buttons);
    v->setSizeConstraint(QLayout::SetFixedSize);

    auto *ring = new dbctrls::EnterRing({DBNumberEditEh1}, this);
    ring->setFinalButton(bitbtn_save);
    connect(bitbtn_save, &QPushButton::clicked, this, &TForm_txcsb_edit::bitbtn_saveClick);
    connect(bitbtn_cancel, &QPushButton::clicked, this, [q] { q->cancel(); });
    connect(bitbtn_close, &QPushButton::clicked, this, &QDialog::reject);
    dbctrls::applyInputMethod(this);
    DBNumberEditEh1->setFocus();
}

bool TForm_txcsb_edit::refuse(const QString &message, QWidget *editor)
{
    msg::hint(this, message);
    editor->setFocus();
    return false;
}

void TForm_txcsb_edit::bitbtn_saveClick()
{
    db::Query *q = Dm1->q_txcsb;
    if (!q->isActive() || q->isEmpty())
        return;
    if (!q->isEditing())
        q->edit();
    if (!dbctrls::updateRecord(q))
        return;
    if (q->field(S("项目")).asString().trimmed().isEmpty()) {
        refuse(S("提醒项目不能为空，请从新输入！"), DBEdit1);
        return;
    }
    const db::Field lead = q->field(S("期限"));
    if (lead.isNull() || lead.asInteger() < 0) {
        refuse(S("提前提醒单位必须大于零，请重新输入！"), DBNumberEditEh1);
        return;
    }
    if (lead.asInteger() > MaxLead) {
        refuse(S("提前提醒单位不能大于5000，请重新输入！"), DBNumberEditEh1);
        return;
    }
    try {
        q->field(S("操作员")).setAsString(velorin::operator_name);
        q->post();
    } catch (const db::DbError &e) {
        q->cancel();
        msg::dbError(this, S("保存失败，修改已取消：\n%1").arg(e.message()));
        return;
    }
    msg::hint(this, S("存盘完毕！"));
    bitbtn_add->setEnabled(true);   // as after any save; it stays hidden
    bitbtn_close->setEnabled(true);
}

void TForm_txcsb_edit::done(int r)
{
    Dm1->q_txcsb->cancel();
    QDialog::done(r);
}
