#include "data/filewindow.h"
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace data {

DatabaseFileWindow::DatabaseFileWindow(const Decl &decl, db::Connection *database, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_dialog(decl.dialog), m_database(database)
{
    m_dialog.filters = {QStringLiteral("数据库文件 (*.mdb)"), QStringLiteral("所有文件 (*)")};
    setObjectName(decl.objectName);
    setWindowTitle(decl.caption);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto *label = new QLabel(QStringLiteral("目的数据库名："), panel);
    label->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setMinimumWidth(300);
    SpeedButton3 = new QToolButton(panel);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setText(QStringLiteral("..."));
    SpeedButton3->setToolTip(decl.dialog.title);
    auto *row = new QHBoxLayout(panel);
    row->addWidget(label);
    row->addWidget(Edit1, 1);
    row->addWidget(SpeedButton3);

    SpeedButton1 = new QPushButton(decl.action, this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton2 = new QPushButton(QStringLiteral("返回"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    for (auto *b : {SpeedButton1, SpeedButton2})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);

    auto *root = new QVBoxLayout(this);
    root->addWidget(panel);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(SpeedButton3, &QToolButton::clicked, this, &DatabaseFileWindow::SpeedButton3Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &DatabaseFileWindow::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void DatabaseFileWindow::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        centreOnScreen(this);
}

void centreOnScreen(QWidget *w)
{
    if (const QScreen *s = w->screen()) {
        QRect r = w->frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        w->move(r.topLeft());
    }
}

void DatabaseFileWindow::SpeedButton3Click()
{
    const QString path = filedlg::choose(this, m_dialog);
    if (!path.isEmpty())
        Edit1->setText(path);
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace data
