#include "dbctrls/dateedit.h"
#include "db/dates.h"
#include "db/dberror.h"
#include "db/query.h"
#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace dbctrls {

DBDateEdit::DBDateEdit(QWidget *parent) : QLineEdit(parent), DataAware(this)
{
    // Digits and date separators only; whether it is a date is checked on push.
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 :/.\\-]*")), this));
    setInputMethodHints(Qt::ImhDate | Qt::ImhPreferNumbers);
    setChineseText(false);
    m_calendarAction = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    m_calendarAction->setToolTip(QStringLiteral("选择日期"));
    connect(m_calendarAction, &QAction::triggered, this, &DBDateEdit::showCalendar);
    connect(this, &QLineEdit::textEdited, this, [this] { dataLink()->userChanged(); });
}

QDate DBDateEdit::date() const
{
    const auto dt = db::parseDateTime(text().trimmed());
    return dt ? dt->date() : QDate();
}

void DBDateEdit::setDate(const QDate &date)
{
    setText(db::shortDate(date));
}

QString DBDateEdit::refusal() const
{
    return hasValidText() ? QString() : QStringLiteral("'%1'不是有效的日期").arg(text().trimmed());
}

QCalendarWidget *DBDateEdit::calendar()
{
    if (!m_calendar) {
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setFrameShape(QFrame::StyledPanel);
        auto *lay = new QVBoxLayout(m_popup);
        lay->setContentsMargins(1, 1, 1, 1);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setGridVisible(true);
        lay->addWidget(m_calendar);
        connect(m_calendar, &QCalendarWidget::clicked, this, &DBDateEdit::pick);
        connect(m_calendar, &QCalendarWidget::activated, this, &DBDateEdit::pick);
    }
    return m_calendar;
}

void DBDateEdit::showCalendar()
{
    if (isReadOnly() || !isEnabled())
        return;
    QCalendarWidget *cal = calendar();
    const QDate d = date();
    cal->setSelectedDate(d.isValid() ? d : QDate::currentDate());
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    cal->setFocus(Qt::PopupFocusReason);
}

void DBDateEdit::pick(const QDate &date)
{
    if (m_popup)
        m_popup->hide();
    if (isReadOnly() || !isEnabled())
        return;
    setDate(date);
    dataLink()->userChanged();
    dataLink()->push();
    setFocus(Qt::PopupFocusReason);
    emit datePicked(date);
}

void DBDateEdit::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_F4 || (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void DBDateEdit::loadValue(const db::Field &field)
{
    const QString t = db::shortDate(field.asDate());
    if (text() != t)
        setText(t);
}

void DBDateEdit::loadEmpty()
{
    if (!text().isEmpty())
        clear();
}

void DBDateEdit::storeValue(db::Field &field)
{
    if (isEmpty()) {
        field.clear();
        return;
    }
    const QDate d = date();
    if (!d.isValid())
        throw db::DbError(refusal());
    // The same day leaves a date-time column's time alone.
    if (field.isNull() || field.asDate() != d)
        field.setAsDate(d);
}

void DBDateEdit::applyWritable(bool writable, bool active)
{
    setReadOnly(!writable);
    setEnabled(active);
    m_calendarAction->setEnabled(writable && active);
}

} // namespace dbctrls
