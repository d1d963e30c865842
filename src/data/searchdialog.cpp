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
            const auto bound = [&](const QString &name) -> QWidget * {
                QWidget *e;
                if (f.kind == EditorKind::Money)
                    e = new dbctrls::DBNumberEdit(dbctrls::DBNumberEdit::Money, box);
                else
                    e = new dbctrls::DBDateEdit(box);
                e->setObjectName(name);
                return e;
            };
            QWidget *from = bound(f.objectName), *to = bound(f.objectName2);
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
    auto *seekBtn = new QPushButton(decl.seekCaption, this);
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

bool SearchDialog::checkRange(const SearchField &f, int i)
{
    const QString incomplete = !f.msgIncomplete.isEmpty() || f.kind == EditorKind::Money ? f.msgIncomplete
                                                                                       : m_decl.msgIncomplete;
    const QString order = !f.msgOrder.isEmpty() ? f.msgOrder : m_decl.msgOrder;
    auto *fromW = static_cast<QLineEdit *>(m_widgets[i]);
    auto *toW = static_cast<QLineEdit *>(m_widgets2[i]);
    const auto refuse = [&](const QString &message) {
        msg::hint(this, message);
        fromW->setFocus();
        return false;
    };
    if (f.kind == EditorKind::Money) {
        const auto from = db::Money::parse(fromW->text()), to = db::Money::parse(toW->text());
        if (from.has_value() != to.has_value() && !incomplete.isEmpty())
            return refuse(incomplete);
        if (from && to && *from > *to)
            return refuse(order);
        return true;
    }
    auto *from = static_cast<dbctrls::DBDateEdit *>(fromW);
    auto *to = static_cast<dbctrls::DBDateEdit *>(toW);
    // Text that is no date can be neither compared nor searched for.
    for (auto *d : {from, to})
        if (!d->hasValidText()) {
            msg::hint(this, d->refusal());
            d->setFocus();
            return false;
        }
    if (from->isEmpty() != to->isEmpty())
        return refuse(incomplete);
    if (!from->isEmpty() && from->date() > to->date())
        return refuse(order);
    return true;
}

// The range's term, empty unless both bounds are given.
QString SearchDialog::rangeTerm(const SearchField &f, int i) const
{
    QString from, to;
    if (f.kind == EditorKind::Money) {
        const auto a = db::Money::parse(static_cast<QLineEdit *>(m_widgets[i])->text());
        const auto b = db::Money::parse(static_cast<QLineEdit *>(m_widgets2[i])->text());
        if (!a || !b)
            return {};
        from = a->toPlainString();
        to = b->toPlainString();
    } else {
        auto *a = static_cast<dbctrls::DBDateEdit *>(m_widgets[i]);
        auto *b = static_cast<dbctrls::DBDateEdit *>(m_widgets2[i]);
        if (a->isEmpty() || b->isEmpty())
            return {};
        if (f.format.isEmpty())
            return db::dayRangeCondition(f.column, a->date(), b->date(), QStringLiteral("cvdate"));
        from = db::shortDate(a->date());
        to = db::shortDate(b->date());
    }
    return f.format.arg(db::q(from), db::q(to));
}

void SearchDialog::seek()
{
    // Each range: both bounds or neither, from not above to.
    for (int i = 0; i < m_decl.fields.size(); ++i)
        if (m_decl.fields[i].term == TermKind::Range && !checkRange(m_decl.fields[i], i))
            return;
    m_busy->show();
    // Stopped however the search ends, an engine error included.
    const auto stopBusy = qScopeGuard([this] { m_busy->hide(); });
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QStringList terms;
    for (int i = 0; i < m_decl.fields.size(); ++i) {
        const SearchField &f = m_decl.fields[i];
        if (f.term == TermKind::Range) {
            const QString t = rangeTerm(f, i);
            if (!t.isEmpty())
                terms << t;
            continue;
        }
        const QString v = valueOf(f, i);
        if (v.isEmpty())
            continue;
        if (!terms.isEmpty() && !f.formatLater.isEmpty())
            terms << f.formatLater.arg(db::q(v));
        else
            terms << searchTerm(f, v);
    }
    const QString cond = joinTerms(terms);
    if (cond.isEmpty()) {
        msg::hint(this, m_decl.msgNoCondition);
        m_busy->hide();
        if (!m_widgets.isEmpty())
            m_widgets.first()->setFocus();
        return;
    }
    QStringList lines = m_decl.headLines;
    if (lines.isEmpty())
        lines << QStringLiteral("select * from ") + m_decl.table;
    m_decl.target->reopenWith(lines << QStringLiteral(" where ") + cond << m_decl.orderLine);
    m_busy->hide();
    if (m_decl.target->isEmpty() && m_decl.askAgainWhenEmpty) {
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
