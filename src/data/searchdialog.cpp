#include "data/searchdialog.h"
#include "db/dates.h"
#include "db/quote.h"
#include "dbctrls/dbctrls.h"
#include "dbctrls/enterring.h"
#include "dbctrls/messages.h"
#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScopeGuard>
#include <QPushButton>
#include <QVBoxLayout>

namespace data {

SearchDialog::SearchDialog(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("查询"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

QWidget *SearchDialog::fieldWidget(const QString &objectName) const
{
    return findChild<QWidget *>(objectName);
}

void SearchDialog::build(const SearchDecl &decl)
{
    m_decl = decl;
    auto *v = new QVBoxLayout(this);
    auto *g = new QGridLayout;
    g->setHorizontalSpacing(6);
    int i = 0;
    for (const SearchField &f : decl.fields) {
        const int row = i / decl.columns, col = (i % decl.columns) * 2;
        auto *l = new QLabel(f.label, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        g->addWidget(l, row, col);
        QWidget *w = nullptr, *w2 = nullptr;
        if (f.term == TermKind::Range) {
            auto *box = new QWidget(this);
            auto *h = new QHBoxLayout(box);
            h->setContentsMargins(0, 0, 0, 0);
            auto *from = new dbctrls::DBDateEdit(box);
            from->setObjectName(f.objectName);
            auto *to = new dbctrls::DBDateEdit(box);
            to->setObjectName(f.objectName2);
            h->addWidget(from);
            h->addWidget(new QLabel(f.label2, box));
            h->addWidget(to);
            g->addWidget(box, row, col + 1);
            w = from;
            w2 = to;
        } else if (f.kind == EditorKind::Combo) {
            auto *c = new dbctrls::DBComboBox(this);
            c->addItems(f.items);
            c->setChineseText(f.chinese);
            c->setObjectName(f.objectName);
            g->addWidget(c, row, col + 1);
            w = c;
        } else {
            auto *e = new dbctrls::DBEdit(this);
            e->setCharCaseUpper(f.upper);
            e->setChineseText(f.chinese);
            e->setObjectName(f.objectName);
            g->addWidget(e, row, col + 1);
            w = e;
        }
        w->setMinimumWidth(150);
        m_widgets << w;
        m_widgets2 << w2;
        ++i;
    }
    v->addLayout(g);
    m_busy = new QProgressBar(this);
    m_busy->setObjectName(QStringLiteral("Animate1"));
    m_busy->setRange(0, 0);
    m_busy->setMaximumHeight(10);
    m_busy->setTextVisible(false);
    // Its room is kept while hidden: shown, it must not squeeze the fields
    // of a dialog of fixed size.
    QSizePolicy keep = m_busy->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_busy->setSizePolicy(keep);
    m_busy->hide();
    v->addWidget(m_busy);
    auto *h = new QHBoxLayout;
    h->addStretch(1);
    auto *seekBtn = new QPushButton(QStringLiteral("查找 (&F)"), this);
    seekBtn->setObjectName(QStringLiteral("bitbtn_seek"));
    seekBtn->setAutoDefault(false);
    auto *closeBtn = new QPushButton(QStringLiteral("返回 (&R)"), this);
    closeBtn->setObjectName(QStringLiteral("bitbtn_close"));
    closeBtn->setAutoDefault(false);
    h->addWidget(seekBtn);
    h->addWidget(closeBtn);
    v->addLayout(h);
    connect(seekBtn, &QPushButton::clicked, this, &SearchDialog::seek);
    connect(closeBtn, &QPushButton::clicked, this, &QDialog::reject);

    QList<QWidget *> ring;
    for (const auto &n : decl.enterOrder)
        if (auto *w = findChild<QWidget *>(n))
            ring << w;
    auto *r = new dbctrls::EnterRing(ring, [] { return true; }, {}, this);
    r->setFinalAction([seekBtn] { seekBtn->click(); });
    for (auto it = decl.enterJumps.cbegin(); it != decl.enterJumps.cend(); ++it)
        if (auto *from = findChild<QWidget *>(it.key()))
            if (auto *to = findChild<QWidget *>(it.value()))
                r->addJump(from, to);
    dbctrls::applyInputMethod(this);
    setFixedSize(sizeHint());
    if (!m_widgets.isEmpty())
        m_widgets.first()->setFocus();
}

QString SearchDialog::valueOf(const SearchField &f, int index) const
{
    QWidget *w = m_widgets[index];
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText().trimmed();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text().trimmed();
    Q_UNUSED(f);
    return {};
}

void SearchDialog::seek()
{
    // The period: both dates or neither, from not after to.
    for (int i = 0; i < m_decl.fields.size(); ++i) {
        if (m_decl.fields[i].term != TermKind::Range)
            continue;
        auto *from = static_cast<dbctrls::DBDateEdit *>(m_widgets[i]);
        auto *to = static_cast<dbctrls::DBDateEdit *>(m_widgets2[i]);
        // Text that is no date can be neither compared nor searched for.
        for (auto *d : {from, to})
            if (!d->hasValidText()) {
                msg::hint(this, d->refusal());
                d->setFocus();
                return;
            }
        if (from->isEmpty() != to->isEmpty()) {
            msg::hint(this, m_decl.msgIncomplete);
            from->setFocus();
            return;
        }
        if (!from->isEmpty() && from->date() > to->date()) {
            msg::hint(this, m_decl.msgOrder);
            from->setFocus();
            return;
        }
    }
    m_busy->show();
    // Stopped however the search ends, an engine error included.
    const auto stopBusy = qScopeGuard([this] { m_busy->hide(); });
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QStringList terms;
    for (int i = 0; i < m_decl.fields.size(); ++i) {
        const SearchField &f = m_decl.fields[i];
        if (f.term == TermKind::Range) {
            auto *from = static_cast<dbctrls::DBDateEdit *>(m_widgets[i]);
            auto *to = static_cast<dbctrls::DBDateEdit *>(m_widgets2[i]);
            if (!from->isEmpty())
                terms << db::dayRangeCondition(f.column, from->date(), to->date(), QStringLiteral("cvdate"));
            continue;
        }
        const QString v = valueOf(f, i);
        if (!v.isEmpty())
            terms << searchTerm(f, v);
    }
    const QString cond = joinTerms(terms);
    if (cond.isEmpty()) {
        msg::hint(this, QStringLiteral("查询条件没有输入,请确认!"));
        m_busy->hide();
        if (!m_widgets.isEmpty())
            m_widgets.first()->setFocus();
        return;
    }
    m_decl.target->reopenWith({QStringLiteral("select * from ") + m_decl.table, QStringLiteral(" where ") + cond,
                               m_decl.orderLine});
    m_busy->hide();
    if (m_decl.target->isEmpty()) {
        const auto answer = msg::show(this, {QStringLiteral("提示"), QStringLiteral("没有找到合适的记录,是否重新查找!!"),
                                             msg::Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes});
        if (answer == QMessageBox::Yes)
            return;
        reject();
        return;
    }
    accept();
}

} // namespace data
