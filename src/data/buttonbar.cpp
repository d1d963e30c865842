#include "data/buttonbar.h"
#include "dbctrls/icons.h"
#include <QBoxLayout>
#include <QPushButton>
#include <QToolButton>

namespace data {
namespace {

bool isNavigation(Role r)
{
    return r == Role::First || r == Role::Prior || r == Role::Next || r == Role::Last;
}

QString navigationHint(Role r)
{
    switch (r) {
    case Role::First: return QStringLiteral("第一条");
    case Role::Prior: return QStringLiteral("上一条");
    case Role::Next: return QStringLiteral("下一条");
    default: return QStringLiteral("最后一条");
    }
}

} // namespace

QIcon buttonIcon(const ButtonDecl &d)
{
    switch (d.role) {
    case Role::Add: return dbctrls::themeIcon({"list-add", "document-new"});
    case Role::Edit: return dbctrls::themeIcon({"document-edit"});
    case Role::Save: return dbctrls::themeIcon({"document-save"});
    case Role::Cancel: return dbctrls::themeIcon({"dialog-cancel"});
    case Role::Delete: return dbctrls::themeIcon({"edit-delete"});
    case Role::Refresh: return dbctrls::themeIcon({"view-refresh"});
    case Role::Search: return dbctrls::themeIcon({"edit-find"});
    case Role::Print: return dbctrls::themeIcon({"document-print"});
    case Role::Export: return dbctrls::themeIcon({"document-export"});
    case Role::ResetLayout: return dbctrls::themeIcon({"view-restore"});
    case Role::Choose: return dbctrls::themeIcon({"edit-select", "dialog-ok"});
    case Role::Close: return dbctrls::themeIcon({"window-close"});
    case Role::First: return dbctrls::themeIcon({"go-first"}, QStyle::SP_MediaSkipBackward);
    case Role::Prior: return dbctrls::themeIcon({"go-previous"}, QStyle::SP_MediaSeekBackward);
    case Role::Next: return dbctrls::themeIcon({"go-next"}, QStyle::SP_MediaSeekForward);
    case Role::Last: return dbctrls::themeIcon({"go-last"}, QStyle::SP_MediaSkipForward);
    case Role::Custom: break;
    }
    if (d.caption.startsWith(QStringLiteral("查找")) || d.caption.startsWith(QStringLiteral("查询")))
        return dbctrls::themeIcon({"edit-find"});
    if (d.caption.startsWith(QStringLiteral("选")))
        return dbctrls::themeIcon({"dialog-ok-apply", "dialog-ok"});
    return {};
}

void ButtonBar::add(QWidget *owner, QBoxLayout *row, const QVector<ButtonDecl> &decls, const RoleWhen &roleWhen,
                    const RoleAction &standard, bool alwaysEnabled)
{
    for (const ButtonDecl &d : decls) {
        QAbstractButton *b;
        if (isNavigation(d.role)) {
            auto *t = new QToolButton(owner);
            t->setIcon(buttonIcon(d));
            t->setToolTip(navigationHint(d.role));
            t->setAutoRaise(true);
            b = t;
        } else {
            auto *p = new QPushButton(d.caption, owner);
            p->setAutoDefault(false);
            p->setIcon(buttonIcon(d));
            p->setMinimumWidth(64);
            b = p;
        }
        b->setObjectName(d.objectName);
        ButtonDecl stored = d;
        if (alwaysEnabled)
            stored.when = When::Always;
        else if (d.role != Role::Custom)
            stored.when = roleWhen(d.role);
        m_buttons.append({b, stored});
        QObject::connect(b, &QAbstractButton::clicked, owner, [d, standard] {
            if (d.handler)
                d.handler();
            else
                standard(d.role);
        });
        row->addWidget(b);
    }
}

QAbstractButton *ButtonBar::button(const QString &objectName) const
{
    for (const auto &b : m_buttons)
        if (b.first->objectName() == objectName)
            return b.first;
    return nullptr;
}

QAbstractButton *ButtonBar::button(Role role) const
{
    for (const auto &b : m_buttons)
        if (b.second.role == role)
            return b.first;
    return nullptr;
}

void ButtonBar::setWhen(const QString &objectName, When when)
{
    for (auto &b : m_buttons)
        if (b.first->objectName() == objectName)
            b.second.when = when;
}

void ButtonBar::update(bool editing, bool adding, bool firstPrior, bool nextLast) const
{
    for (const auto &[b, d] : m_buttons) {
        if (isNavigation(d.role)) {
            const bool early = d.role == Role::First || d.role == Role::Prior;
            b->setEnabled(!editing && (early ? firstPrior : nextLast));
            continue;
        }
        switch (d.when) {
        case When::Browse: b->setEnabled(!editing); break;
        case When::Editing: b->setEnabled(editing); break;
        case When::Always: b->setEnabled(true); break;
        case When::Never: b->setEnabled(false); break;
        case When::NotAdding: b->setEnabled(!adding); break;
        }
    }
}

} // namespace data
