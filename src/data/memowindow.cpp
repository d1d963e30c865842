#include "data/memowindow.h"
#include "dbctrls/dbctrls.h"
#include "db/query.h"
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm_bz::TForm_bz(QWidget *owner, db::Query *query, const QString &field) : QDialog(owner)
{
    setObjectName(QStringLiteral("Form_bz"));
    setWindowTitle(QStringLiteral("备忘录"));
    auto *v = new QVBoxLayout(this);
    auto *l = new QLabel(QStringLiteral("内容："), this);
    l->setObjectName(QStringLiteral("Label1"));
    v->addWidget(l);
    auto *memo = new dbctrls::DBMemo(this);
    memo->setObjectName(QStringLiteral("DBMemo1"));
    memo->setDataSource(query, field);
    memo->setChineseText(true);
    memo->setEditable(true);
    v->addWidget(memo, 1);
    auto *back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("bitbtn_close"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, [this, query] {
        query->updateRecord();
        accept();
    });
    auto *h = new QHBoxLayout;
    h->addStretch(1);
    h->addWidget(back);
    v->addLayout(h);
    dbctrls::applyInputMethod(this);
    resize(520, 360);
}
