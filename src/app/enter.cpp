#include "app/enter.h"
#include "data/dm1.h"
#include "app/enterkeys.h"
#include "app/main.h"
#include "app/passwordedit.h"
#include "app/pictures.h"
#include "data/session.h"
#include "dbctrls/messages.h"
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TForm_Enter::TForm_Enter(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Form_Enter"));
    setWindowTitle(QStringLiteral("系统登录"));

    auto *picture = new QLabel(this);
    picture->setPixmap(app::lorryPicture(QSize(110, 110)));
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);

    DBLookupComboBox1 = new QComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setMaxVisibleItems(8);
    DBLookupComboBox1->setMinimumWidth(150);
    Edit1 = app::newPasswordEdit(this, QStringLiteral("Edit1"));

    bitbtn_ok = new QPushButton(QStringLiteral("确认"), this);
    bitbtn_ok->setObjectName(QStringLiteral("bitbtn_ok"));
    bitbtn_cancel = new QPushButton(QStringLiteral("终止"), this);
    bitbtn_cancel->setObjectName(QStringLiteral("bitbtn_cancel"));
    for (auto *b : {bitbtn_ok, bitbtn_cancel}) {
        b->setFlat(true);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
    }

    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("操作员："), this), 0, 0, Qt::AlignRight);
    fields->addWidget(DBLookupComboBox1, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("操作口令："), this), 1, 0, Qt::AlignRight);
    fields->addWidget(Edit1, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bitbtn_ok);
    buttons->addWidget(bitbtn_cancel);
    fields->addLayout(buttons, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);

    auto *root = new QHBoxLayout(this);
    root->addWidget(picture);
    root->addLayout(fields);
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(bitbtn_ok, &QPushButton::clicked, this, &TForm_Enter::bitbtn_okClick);
    connect(bitbtn_cancel, &QPushButton::clicked, this, &TForm_Enter::bitbtn_cancelClick);
    app::enterMovesTo(DBLookupComboBox1, Edit1);
    app::enterPresses(Edit1, bitbtn_ok);
    setTabOrder(DBLookupComboBox1, Edit1);
}

void TForm_Enter::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormActivate();
}

void TForm_Enter::FormActivate()
{
    m_failures = 0;
    // The list shows q_qxb's rows; nothing is chosen until the operator picks.
    DBLookupComboBox1->clear();
    if (Dm1->q_qxb->isActive())
        for (int row = 0; row < Dm1->q_qxb->recordCount(); ++row)
            DBLookupComboBox1->addItem(Dm1->q_qxb->displayText(row, Dm1->q_qxb->fieldIndex(QStringLiteral("姓名"))));
    DBLookupComboBox1->setCurrentIndex(-1);
    Edit1->clear();
    DBLookupComboBox1->setFocus();
}

bool TForm_Enter::failed()
{
    if (++m_failures > 2) {
        bitbtn_cancelClick();
        return true;
    }
    return false;
}

void TForm_Enter::bitbtn_okClick()
{
    db::Query *q = Dm1->q_qxb;
    const QString name = DBLookupComboBox1->currentText().trimmed();
    if (name.isEmpty()) {
        if (failed())
            return;
        msg::hint(this, QStringLiteral("请选择操作人员！  "));
        DBLookupComboBox1->setFocus();
        return;
    }
    // Choosing a name positions q_qxb on the first row with that name: of two
    // operators sharing a name, the first one's password is checked.
    const bool found = q->isActive() && q->locate(QStringLiteral("姓名"), DBLookupComboBox1->currentText());
    const QString typed = Edit1->text();
    if (!found || typed != q->field(QStringLiteral("操作口令")).asString().toUpper()) {
        if (failed())
            return;
        msg::hint(this, QStringLiteral("密码不对，第") + QString::number(m_failures) + QStringLiteral("次！  "));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    velorin::login_password = typed;
    velorin::operator_name = q->field(QStringLiteral("姓名")).asString();
    velorin::operator_ime = q->field(QStringLiteral("输入法")).asString();
    accept();
}

void TForm_Enter::bitbtn_cancelClick()
{
    // Before the first login there is nobody to keep: the program ends.
    if (!velorin::startup_done && Form_main)
        Form_main->close();
    QDialog::reject();
}
