#pragma once
// Small helpers for driving record list windows by object names.
#include "testsupport.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

// Clicks a named button, which must be there and enabled.
inline void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(QString::fromLatin1(name));
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

inline bool enabled(QWidget *w, const char *name)
{
    auto *c = w->findChild<QWidget *>(QString::fromLatin1(name));
    return c && c->isEnabled();
}

// Replaces the text of a named line edit, combo or date editor as the user
// would: select all, delete, type.
inline void put(QWidget *w, const char *name, const QString &text)
{
    QWidget *c = w->findChild<QWidget *>(QString::fromLatin1(name));
    QVERIFY2(c, name);
    QLineEdit *le = qobject_cast<QLineEdit *>(c);
    if (!le)
        if (auto *combo = qobject_cast<QComboBox *>(c))
            le = combo->lineEdit();
    QVERIFY2(le, name);
    le->setFocus();
    le->selectAll();
    QTest::keyClick(le, Qt::Key_Delete);
    typeText(le, text);
}

inline QString textOf(QWidget *w, const char *name)
{
    QWidget *c = w->findChild<QWidget *>(QString::fromLatin1(name));
    if (auto *le = qobject_cast<QLineEdit *>(c))
        return le->text();
    if (auto *combo = qobject_cast<QComboBox *>(c))
        return combo->currentText();
    return {};
}

inline QStringList itemsOf(QWidget *w, const char *name)
{
    QStringList l;
    if (auto *c = w->findChild<QComboBox *>(QString::fromLatin1(name)))
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
    return l;
}

// Object name of the widget holding the focus inside w (or of its combo).
inline QString focusName(QWidget *w)
{
    QWidget *f = w->focusWidget();
    if (f && f->objectName().isEmpty() && f->parentWidget())
        f = f->parentWidget();
    return f ? f->objectName() : QString();
}
