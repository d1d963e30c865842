#include "app/password.h"
#include "data/dm1.h"
#include "app/enterkeys.h"
#include "app/passwordedit.h"
#include "data/session.h"
#include "db/dberror.h"
#include "dbctrls/messages.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TForm_password::TForm_password(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Form_password"));
    setWindowTitle(QStringLiteral("修改当前操作员口令"));

    Label_name = new QLabel(this);
    Label_name->setObjectName(QStringLiteral("Label_name"));
    MaskEdit3 = app::newPasswordEdit(this, QStringLiteral("MaskEdit3"), 10);
    MaskEdit1 = app::newPasswordEdit(this, QStringLiteral("MaskEdit1"), 10);
    MaskEdit2 = app::newPasswordEdit(this, QStringLiteral("MaskEdit2"), 10);
    bitbtn_ok = new QPushButton(QStringLiteral("保存"), this);
    bitbtn_ok->setObjectName(QStringLiteral("bitbtn_ok"));
    bitbtn1 = new QPushButton(QStringLiteral("返回"), this);
    bitbtn1->setObjectName(QStringLiteral("bitbtn1"));
    for (auto *b : {bitbtn_ok, bitbtn1})
        b->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    const auto label = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };
    grid->addWidget(label("用户名称："), 0, 0, Qt::AlignRight);
    grid->addWidget(Label_name, 0, 1);
    grid->addWidget(label("旧口令："), 1, 0, Qt::AlignRight);
    grid->addWidget(MaskEdit3, 1, 1);
    grid->addWidget(label("新口令："), 2, 0, Qt::AlignRight);
    grid->addWidget(MaskEdit1, 2, 1);
    grid->addWidget(label("确认新口令："), 3, 0, Qt::AlignRight);
    grid->addWidget(MaskEdit2, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bitbtn_ok);
    buttons->addWidget(bitbtn1);
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    MaskEdit3->setMinimumWidth(150);

    connect(bitbtn_ok, &QPushButton::clicked, this, &TForm_password::bitbtn_okClick);
    connect(bitbtn1, &QPushButton::clicked, this, &QDialog::reject);
    app::enterMovesTo(MaskEdit3, MaskEdit1);
    app::enterMovesTo(MaskEdit1, MaskEdit2);
    app::enterPresses(MaskEdit2, bitbtn_ok);
    setTabOrder(MaskEdit3, MaskEdit1);
    setTabOrder(MaskEdit1, MaskEdit2);
}

void TForm_password::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    Label_name->setText(velorin::operator_name);
    MaskEdit3->setFocus();
}

void TForm_password::bitbtn_okClick()
{
    if (MaskEdit3->text() != velorin::login_password) {
        msg::hint(this, QStringLiteral("旧操作口令不正确,请重新输入!"));
        MaskEdit3->setFocus();
        return;
    }
    if (MaskEdit1->text() != MaskEdit2->text()) {
        msg::hint(this, QStringLiteral("两次输入的操作口令不一致,请重新输入!"));
        MaskEdit1->setFocus();
        return;
    }
    if (MaskEdit1->text().trimmed().isEmpty()) {
        msg::hint(this, QStringLiteral("没有输入新操作口令,请重新输入!"));
        MaskEdit1->setFocus();
        return;
    }
    db::Query *q = Dm1->q_qxb;
    try {
        // An operator renamed meanwhile has no row here: nothing to change.
        if (!q->isActive() || q->isEmpty())
            throw db::DbError(QStringLiteral("权限表中没有操作员 %1").arg(velorin::operator_name));
        q->edit();
        q->field(QStringLiteral("操作口令")).setAsString(MaskEdit1->text());
        q->post();
    } catch (const db::DbError &e) {
        if (q->isEditing())
            q->cancel();
        msg::dbError(this, e.message());
        return;
    }
    msg::info(this, QStringLiteral("已经成功的修改了操作口令,请牢记!"));
    velorin::login_password = MaskEdit1->text();
    accept();
}
