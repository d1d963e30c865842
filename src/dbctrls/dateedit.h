#pragma once
#include "dbctrls/datalink.h"
#include <QDate>
#include <QLineEdit>
#include <QPointer>

class QAction;
class QCalendarWidget;
class QFrame;

namespace dbctrls {

// Date editor ("DBDateTimeEditEh1"): date only, shown as "yyyy-M-d"; the
// user types "yyyy-M-d" (leading zeros optional) or picks from a calendar
// popup (the button at the right, Alt+Down or F4). Empty means null. Text
// that is not a date is refused when pushed: "'2024-13-1'不是有效的日期".
// Unbound it serves the search dialogs' date ranges.
class DBDateEdit : public QLineEdit, public DataAware {
    Q_OBJECT
public:
    explicit DBDateEdit(QWidget *parent = nullptr);

    // The date typed or picked; invalid when empty or not a date.
    QDate date() const;
    // Shows the date (an invalid date empties the editor). Only what is
    // shown: it writes nothing into a bound column.
    void setDate(const QDate &date);
    bool isEmpty() const { return text().trimmed().isEmpty(); }
    // Empty or a valid date.
    bool hasValidText() const { return isEmpty() || date().isValid(); }
    // The message that refuses text that is not a date; empty when valid.
    QString refusal() const;

    void showCalendar();
    // The popup's calendar (made on first use).
    QCalendarWidget *calendar();

signals:
    // The user picked a date from the calendar.
    void datePicked(const QDate &date);

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void pick(const QDate &date);
    QAction *m_calendarAction;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};

} // namespace dbctrls
