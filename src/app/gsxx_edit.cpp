#include "app/gsxx_edit.h"
#include "data/recordlist.h"
#include "data/savestep.h"
#include "db/text.h"
#include "data/dm1.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/messages.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

TForm_gsxx_edit::TForm_gsxx_edit(QWidget *owner) : QDialog(owner)
{
    setObjectName(S("Form_gsxx_edit"));
    setWindowTitle(S("公司信息编辑"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    db::Query *q = Dm1->q_gsxx;

    const auto edit = [&](const char *name, const char *field, bool chinese) {
        return dbctrls::DBEdit::bound(this, S(name), q, S(field), chinese);
    };
    DBEdit7 = edit("DBEdit7", "公司名称", true);
    DBEdit1 = edit("DBEdit1", "公司地址", true);
    DBEdit3 = edit("DBEdit3", "联系人", true);
    DBEdit4 = edit("DBEdit4", "联系电话", false);
    DBEdit2 = edit("DBEdit2", "邮政编码", false);
    DBEdit8 = edit("DBEdit8", "开户银行", true);
    DBEdit9 = edit("DBEdit9", "银行帐号", false);
    DBEdit5 = edit("DBEdit5", "系统标题", true);
    DBEdit6 = edit("DBEdit6", "动态文字", true);
    DBDateTimeEditEh1 = new dbctrls::DBDateEdit(this);
    DBDateTimeEditEh1->setObjectName(S("DBDateTimeEditEh1"));
    DBDateTimeEditEh1->setDataSource(q, S("核算时间"));
    DBCheckBoxEh1 = new dbctrls::DBCheckBox(S("自动提醒："), this);
    DBCheckBoxEh1->setObjectName(S("DBCheckBoxEh1"));
    DBCheckBoxEh1->setLayoutDirection(Qt::RightToLeft);   // caption left of the box, like the other labels
    DBCheckBoxEh1->setDataSource(q, S("自动提醒"));

    bitbtn2 = new QPushButton(S("保存 (&S)"), this);
    bitbtn2->setObjectName(S("bitbtn2"));
    SpeedButton2 = new QPushButton(S("返回 (&R)"), this);
    SpeedButton2->setObjectName(S("SpeedButton2"));
    for (auto *b : {bitbtn2, SpeedButton2}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(90);
    }

    auto *g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(6);
    const auto row = [&](int r, int c, const char *label, QWidget *w, int span = 1) {
        auto *l = new QLabel(S(label), this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setBuddy(w);
        g->addWidget(l, r, c);
        g->addWidget(w, r, c + 1, 1, span);
    };
    row(0, 0, "公司名称：", DBEdit7, 3);
    row(1, 0, "公司地址：", DBEdit1, 3);
    row(2, 0, "联系人：", DBEdit3);
    row(2, 2, "联系电话：", DBEdit4);
    row(3, 0, "邮政编码：", DBEdit2);
    row(3, 2, "开户银行：", DBEdit8);
    row(4, 0, "银行帐号：", DBEdit9, 3);
    row(5, 0, "系统标题：", DBEdit5, 3);
    row(6, 0, "动态文字：", DBEdit6, 3);
    row(7, 0, "核算时间：", DBDateTimeEditEh1);
    auto *remind = new QHBoxLayout;
    remind->addWidget(DBCheckBoxEh1);
    remind->addWidget(new QLabel(S("(是否自动提醒养路费、年检日期。)"), this), 1);
    g->addLayout(remind, 7, 2, 1, 2);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    g->setColumnMinimumWidth(1, 180);
    g->setColumnMinimumWidth(3, 180);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bitbtn2);
    buttons->addWidget(SpeedButton2);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(14, 14, 14, 10);
    v->addLayout(g);
    v->addSpacing(8);
    v->addLayout(buttons);
    v->setSizeConstraint(QLayout::SetFixedSize);

    auto *ring = new dbctrls::EnterRing({DBEdit7, DBEdit1, DBEdit4, DBEdit3, DBEdit2, DBEdit8, DBEdit9, DBEdit5,
                                         DBEdit6, DBDateTimeEditEh1},
                                        this);
    ring->setFinalButton(bitbtn2);
    ring->addJump(DBCheckBoxEh1, DBDateTimeEditEh1);

    connect(bitbtn2, &QPushButton::clicked, this, &TForm_gsxx_edit::bitbtn2Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm_gsxx_edit::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    // The operator may have changed since the window was made.
    dbctrls::applyInputMethod(this);
    DBEdit7->setFocus();
    // Nothing typed here could be stored: say so now and keep the record shown only.
    if (data::refuseReadOnly(this, Dm1->ADO_system)) {
        dbctrls::setEditable(this, false);
        bitbtn2->setEnabled(false);
    }
}

bool TForm_gsxx_edit::required(bool missing, const QString &message, QWidget *editor)
{
    if (!missing)
        return true;
    msg::hint(this, message);
    editor->setFocus();
    return false;
}

void TForm_gsxx_edit::bitbtn2Click()
{
    db::Query *q = Dm1->q_gsxx;
    // The company record has no stamp columns.
    data::saveRow(this, {.query = q,
                         .stampOperator = {},
                         .stampDate = {},
                         .checks = [this, q] {
                             return required(q->field(S("公司名称")).asString().trimmed().isEmpty(),
                                             S("公司名称不能为空,请重新输入!"), DBEdit7)
                                    && required(q->field(S("系统标题")).asString().trimmed().isEmpty(),
                                                S("系统标题不能为空,请重新输入!"), DBEdit5)
                                    && required(q->field(S("核算时间")).isNull(), S("核算时间不能为空,请重新输入!"),
                                                DBDateTimeEditEh1);
                         }});
}

void TForm_gsxx_edit::done(int r)
{
    // What was not saved is dropped, so the banner the main window takes from
    // the record afterwards is the stored one.
    Dm1->q_gsxx->cancel();
    QDialog::done(r);
}
