#pragma once
// Driving record list windows by object names.
#include "testsupport.h"
#include "db/text.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>


// Clicks a named button, which must be there and enabled.
inline void click(QWidget *w, const char *name)
{
    auto *b = w->findChild<QAbstractButton *>(S(name));
    QVERIFY2(b && b->isEnabled(), name);
    b->click();
}

// Replaces the text of a named line edit, combo or date editor as a user would.
inline void put(QWidget *w, const char *name, const QString &text)
{
    QWidget *c = w->findChild<QWidget *>(S(name));
    auto *combo = qobject_cast<QComboBox *>(c);
    QLineEdit *le = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(c);
    QVERIFY2(le, name);
    le->setFocus();
    le->selectAll();
    QTest::keyClick(le, Qt::Key_Delete);
    typeText(le, text);
}

inline QString textOf(QWidget *w, const char *name)
{
    QWidget *c = w->findChild<QWidget *>(S(name));
    if (auto *combo = qobject_cast<QComboBox *>(c))
        return combo->currentText();
    auto *le = qobject_cast<QLineEdit *>(c);
    return le ? le->text() : QString();
}

inline QStringList itemsOf(QWidget *w, const char *name)
{
    QStringList l;
    if (auto *c = w->findChild<QComboBox *>(S(name)))
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
    return l;
}

// Object name of the editor holding the focus (a combo for its line edit).
inline QString focusName(QWidget *w)
{
    QWidget *f = w->focusWidget();
    if (f && f->objectName().isEmpty() && f->parentWidget())
        f = f->parentWidget();
    return f ? f->objectName() : QString();
}

// A real double click on a grid's cell: press and release, then the double click.
inline void doubleClickRow(QAbstractItemView *view, int row)
{
    const QPoint cell = view->visualRect(view->model()->index(row, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
}

inline void doubleClickFirstRow(QAbstractItemView *view)
{
    doubleClickRow(view, 0);
}

// A column of the query's rows, joined by commas.
inline QString columnOf(db::Query *q, const char *field)
{
    QStringList l;
    for (int r = 0; r < q->recordCount(); ++r)
        l << q->displayText(r, q->fieldIndex(S(field)));
    return l.join(QLatin1Char(','));
}
