#pragma once
#include "dbctrls/datalink.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace dbctrls {

// Text editor for a column ("DBEdit1"). Optional upper-case conversion of
// what the user types, and the line edit's own maximum length.
class DBEdit : public QLineEdit, public DataAware {
    Q_OBJECT
public:
    explicit DBEdit(QWidget *parent = nullptr);
    // A named editor bound to (query, field), for the edit windows that lay
    // their editors out by hand.
    static DBEdit *bound(QWidget *parent, const QString &objectName, db::Query *query, const QString &field,
                         bool chinese);

    void setCharCaseUpper(bool on) { m_upper = on; }
    bool charCaseUpper() const { return m_upper; }

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;

private:
    void onTextEdited(const QString &text);
    bool m_upper = false;
};

// Number editor ("DBNumberEditEh1"): right-aligned, a validator by mode,
// empty means null. Without setMode the mode follows the column's kind.
// Disabled, not just read-only, while it cannot be written.
class DBNumberEdit : public QLineEdit, public DataAware {
    Q_OBJECT
public:
    enum Mode { Whole, Decimal, Money };
    Q_ENUM(Mode)

    explicit DBNumberEdit(QWidget *parent = nullptr);
    explicit DBNumberEdit(Mode mode, QWidget *parent = nullptr);

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;

private:
    void applyMode(Mode mode);
    Mode m_mode = Decimal;
    bool m_modeSet = false;
};

// Memo ("DBMemo1"). Tab moves the focus on, as in the windows' other editors.
class DBMemo : public QPlainTextEdit, public DataAware {
    Q_OBJECT
public:
    explicit DBMemo(QWidget *parent = nullptr);

signals:
    // A double click while the memo is writable (windows open the memo window).
    void doubleClicked();

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    // Pasted, dropped, typed or composed text loses its control characters.
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
};

// Check box ("DBCheckBoxEh1"). A yes-no column stores 1/0; a text column
// stores the checked/unchecked texts ("是"/"否" unless set otherwise).
// A click writes the column at once.
class DBCheckBox : public QCheckBox, public DataAware {
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget *parent = nullptr);
    explicit DBCheckBox(const QString &text, QWidget *parent = nullptr);

    void setValueTexts(const QString &checked, const QString &unchecked);
    QString checkedText() const { return m_checkedText; }
    QString uncheckedText() const { return m_uncheckedText; }

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;

private:
    void init();
    QString m_checkedText, m_uncheckedText;
    bool m_textsSet = false;
};

// Drop-down with free text ("DBComboBoxEh2"): an editable QComboBox whose
// items windows fill with clear()/addItem(). Choosing an item writes the
// column at once; typed text is written on focus-out or when the query asks.
// Changing the items never changes the shown value. Unbound it is a plain
// filter combo that starts empty.
//
// setEditable/isEditable here are the data-aware switch (browse: disabled);
// the combo always keeps its line edit.
class DBComboBox : public QComboBox, public DataAware {
    Q_OBJECT
public:
    explicit DBComboBox(QWidget *parent = nullptr);

    using DataAware::isEditable;
    using DataAware::setEditable;

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;

private:
    void showText(const QString &text);
    void saveText();
    void restoreText();
    QString m_keptText;
    int m_itemChanges = 0;
};

// Radio group ("RadioGroup1"): a captioned box of radio items; choosing an
// item writes its text; the column's text checks the matching item (none
// when nothing matches).
class DBRadioGroup : public QGroupBox, public DataAware {
    Q_OBJECT
public:
    explicit DBRadioGroup(QWidget *parent = nullptr);
    explicit DBRadioGroup(const QString &title, QWidget *parent = nullptr);

    void setItems(const QStringList &items);
    QStringList items() const { return m_items; }
    // Items laid out in this many columns (1 by default).
    void setColumns(int columns);
    int columns() const { return m_columns; }

    int itemIndex() const;               // -1 when none is checked
    void setItemIndex(int index);        // shows it; not a user change
    QString value() const;               // text of the checked item
    QRadioButton *button(int index) const;

signals:
    void itemChosen(int index);

protected:
    void loadValue(const db::Field &field) override;
    void loadEmpty() override;
    void storeValue(db::Field &field) override;
    void applyWritable(bool writable, bool active) override;

private:
    void init();
    void relayout();
    QStringList m_items;
    QList<QRadioButton *> m_buttons;
    QButtonGroup *m_group;
    QGridLayout *m_layout;
    int m_columns = 1;
};

} // namespace dbctrls
