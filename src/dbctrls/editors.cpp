#include "dbctrls/editors.h"
#include "dbctrls/plaininput.h"
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include "db/dberror.h"
#include "db/query.h"
#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace dbctrls {
namespace {

// Sets the text only when it differs, so that a reload after a push keeps
// the cursor where the user left it.
void setLineText(QLineEdit *e, const QString &t)
{
    if (e->text() != t)
        e->setText(t);
}

void lineWritable(QLineEdit *e, bool writable, bool active)
{
    e->setReadOnly(!writable);
    e->setEnabled(active);
}

} // namespace

// ---------------------------------------------------------------- DBEdit

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent), DataAware(this)
{
    acceptPlainInputOnly(this);
    connect(this, &QLineEdit::textEdited, this, &DBEdit::onTextEdited);
}

DBEdit *DBEdit::bound(QWidget *parent, const QString &objectName, db::Query *query, const QString &field, bool chinese)
{
    auto *e = new DBEdit(parent);
    e->setObjectName(objectName);
    e->setDataSource(query, field);
    e->setChineseText(chinese);
    return e;
}

void DBEdit::onTextEdited(const QString &text)
{
    if (m_upper) {
        const QString up = text.toUpper();
        if (up != text) {
            const int pos = cursorPosition();
            setText(up);
            setCursorPosition(qMin(pos, int(up.size())));
        }
    }
    dataLink()->userChanged();
}

void DBEdit::loadValue(const db::Field &field)
{
    // Amounts and numbers shown in a text box line up as in the grid.
    const db::Kind k = field.kind();
    const bool number = k == db::Kind::Money || k == db::Kind::Integer || k == db::Kind::Float;
    setAlignment((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    setLineText(this, field.asString());
}
void DBEdit::loadEmpty() { setLineText(this, QString()); }
void DBEdit::storeValue(db::Field &field) { field.setAsString(text()); }
void DBEdit::applyWritable(bool writable, bool active) { lineWritable(this, writable, active); }

// ---------------------------------------------------------------- DBNumberEdit

DBNumberEdit::DBNumberEdit(QWidget *parent) : QLineEdit(parent), DataAware(this)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setChineseText(false);
    applyMode(Decimal);
    connect(this, &QLineEdit::textEdited, this, [this] { dataLink()->userChanged(); });
}

DBNumberEdit::DBNumberEdit(Mode mode, QWidget *parent) : DBNumberEdit(parent)
{
    setMode(mode);
}

void DBNumberEdit::setMode(Mode mode)
{
    m_modeSet = true;
    applyMode(mode);
}

void DBNumberEdit::applyMode(Mode mode)
{
    if (mode == m_mode && validator())
        return;
    m_mode = mode;
    QString re;
    switch (mode) {
    case Whole: re = QStringLiteral("-?[0-9]*"); break;
    case Decimal: re = QStringLiteral("-?[0-9]*\\.?[0-9]*"); break;
    case Money: re = QStringLiteral("-?[0-9,]*\\.?[0-9]{0,4}"); break;
    }
    delete validator();
    setValidator(new QRegularExpressionValidator(QRegularExpression(re), this));
    setInputMethodHints(mode == Whole ? Qt::ImhDigitsOnly : Qt::ImhFormattedNumbersOnly);
    refreshInputMethod(this);
}

void DBNumberEdit::loadValue(const db::Field &field)
{
    if (!m_modeSet) {
        switch (field.kind()) {
        case db::Kind::Integer: case db::Kind::AutoKey: applyMode(Whole); break;
        case db::Kind::Money: applyMode(Money); break;
        default: applyMode(Decimal); break;
        }
    }
    if (field.isNull()) {
        setLineText(this, QString());
        return;
    }
    QString t;
    switch (m_mode) {
    case Whole: t = QString::number(field.asInteger()); break;
    case Money: t = field.asMoney().toString(); break;
    case Decimal:
        t = field.kind() == db::Kind::Money ? field.asMoney().toPlainString() : field.asString();
        break;
    }
    setLineText(this, t);
}

void DBNumberEdit::loadEmpty() { setLineText(this, QString()); }

void DBNumberEdit::storeValue(db::Field &field)
{
    QString t = text().trimmed();
    t.remove(QLatin1Char(','));
    if (t.isEmpty()) {
        field.clear();
        return;
    }
    bool ok = false;
    switch (m_mode) {
    case Whole: {
        const qint64 v = t.toLongLong(&ok);
        if (!ok)
            throw db::DbError(QStringLiteral("'%1'不是有效的整数").arg(text().trimmed()));
        field.setAsInteger(v);
        return;
    }
    case Money: {
        const auto m = db::Money::parse(t);
        if (!m)
            throw db::DbError(QStringLiteral("'%1'不是有效的金额").arg(text().trimmed()));
        field.setAsMoney(*m);
        return;
    }
    case Decimal:
        if (field.kind() == db::Kind::Money) {
            const auto m = db::Money::parse(t);
            if (!m)
                throw db::DbError(QStringLiteral("'%1'不是有效的数值").arg(text().trimmed()));
            field.setAsMoney(*m);
            return;
        }
        const double v = t.toDouble(&ok);
        if (!ok)
            throw db::DbError(QStringLiteral("'%1'不是有效的数值").arg(text().trimmed()));
        field.setAsFloat(v);
        return;
    }
}

// Like the drop-downs, a number box is disabled (not merely read-only) when it
// cannot be written: in the browse state and where it is display-only.
void DBNumberEdit::applyWritable(bool writable, bool active)
{
    setReadOnly(!writable);
    setEnabled(writable && active);
}

// ---------------------------------------------------------------- DBMemo

void DBMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source->hasText())
        return;
    insertPlainText(withoutControls(source->text(), true));
}

void DBMemo::keyPressEvent(QKeyEvent *e)
{
    // A key event may carry several characters; only the first is vetted by Qt.
    if (hasControls(e->text(), true) && !withoutControls(e->text(), true).isEmpty()) {
        insertPlainText(withoutControls(e->text(), true));
        e->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void DBMemo::inputMethodEvent(QInputMethodEvent *e)
{
    if (hasControls(e->commitString(), true)) {
        QInputMethodEvent clean(e->preeditString(), e->attributes());
        clean.setCommitString(withoutControls(e->commitString(), true), e->replacementStart(), e->replacementLength());
        QPlainTextEdit::inputMethodEvent(&clean);
        return;
    }
    QPlainTextEdit::inputMethodEvent(e);
}

DBMemo::DBMemo(QWidget *parent) : QPlainTextEdit(parent), DataAware(this)
{
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!dataLink()->isLoading())
            dataLink()->userChanged();
    });
}

void DBMemo::loadValue(const db::Field &field)
{
    const QString t = field.asString();
    if (toPlainText() != t)
        setPlainText(t);
}

void DBMemo::loadEmpty()
{
    if (!toPlainText().isEmpty())
        clear();
}

void DBMemo::storeValue(db::Field &field) { field.setAsString(toPlainText()); }

void DBMemo::applyWritable(bool writable, bool active)
{
    setReadOnly(!writable);
    setEnabled(active);
}

void DBMemo::mouseDoubleClickEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseDoubleClickEvent(e);
    if (!isReadOnly())
        emit doubleClicked();
}

// ---------------------------------------------------------------- DBCheckBox

DBCheckBox::DBCheckBox(QWidget *parent) : QCheckBox(parent), DataAware(this) { init(); }
DBCheckBox::DBCheckBox(const QString &text, QWidget *parent) : QCheckBox(text, parent), DataAware(this) { init(); }

void DBCheckBox::init()
{
    m_checkedText = QStringLiteral("是");
    m_uncheckedText = QStringLiteral("否");
    // clicked() is the user's (setChecked does not emit it).
    connect(this, &QCheckBox::clicked, this, [this] {
        dataLink()->userChanged();
        dataLink()->push();
    });
}

void DBCheckBox::setValueTexts(const QString &checked, const QString &unchecked)
{
    m_checkedText = checked;
    m_uncheckedText = unchecked;
    m_textsSet = true;
    dataLink()->reload();
}

void DBCheckBox::loadValue(const db::Field &field)
{
    const db::Kind k = field.kind();
    const bool text = m_textsSet || k == db::Kind::Text || k == db::Kind::Memo || k == db::Kind::Unknown;
    setChecked(text ? field.asString().trimmed() == m_checkedText : field.asBoolean());
}

void DBCheckBox::loadEmpty() { setChecked(false); }

void DBCheckBox::storeValue(db::Field &field)
{
    if (m_textsSet && field.kind() != db::Kind::YesNo)
        field.setAsString(isChecked() ? m_checkedText : m_uncheckedText);
    else
        field.setAsBoolean(isChecked());   // 1/0, or "是"/"否" in a text column
}

void DBCheckBox::applyWritable(bool writable, bool active) { setEnabled(writable && active); }

// ---------------------------------------------------------------- DBComboBox

DBComboBox::DBComboBox(QWidget *parent) : QComboBox(parent), DataAware(this)
{
    QComboBox::setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    acceptPlainInputOnly(lineEdit());
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { dataLink()->userChanged(); });
    connect(this, &QComboBox::activated, this, [this] {
        dataLink()->userChanged();
        dataLink()->push();
    });
    // The value is the text, not the item list: filling the list keeps it.
    QAbstractItemModel *m = model();
    connect(m, &QAbstractItemModel::rowsAboutToBeInserted, this, &DBComboBox::saveText);
    connect(m, &QAbstractItemModel::rowsAboutToBeRemoved, this, &DBComboBox::saveText);
    connect(m, &QAbstractItemModel::modelAboutToBeReset, this, &DBComboBox::saveText);
    connect(m, &QAbstractItemModel::rowsInserted, this, &DBComboBox::restoreText);
    connect(m, &QAbstractItemModel::rowsRemoved, this, &DBComboBox::restoreText);
    connect(m, &QAbstractItemModel::modelReset, this, &DBComboBox::restoreText);
}

void DBComboBox::saveText()
{
    if (m_itemChanges++ == 0)
        m_keptText = currentText();
}

void DBComboBox::restoreText()
{
    if (m_itemChanges > 0 && --m_itemChanges == 0)
        showText(m_keptText);
}

void DBComboBox::showText(const QString &text)
{
    const int i = findText(text, Qt::MatchExactly);
    if (currentIndex() != i)
        setCurrentIndex(i);
    if (currentText() != text)
        setEditText(text);
}

void DBComboBox::loadValue(const db::Field &field) { showText(field.asString()); }
void DBComboBox::loadEmpty() { showText(QString()); }
void DBComboBox::storeValue(db::Field &field) { field.setAsString(currentText()); }
void DBComboBox::applyWritable(bool writable, bool active) { setEnabled(writable && active); }

// ---------------------------------------------------------------- DBRadioGroup

DBRadioGroup::DBRadioGroup(QWidget *parent) : QGroupBox(parent), DataAware(this) { init(); }
DBRadioGroup::DBRadioGroup(const QString &title, QWidget *parent) : QGroupBox(title, parent), DataAware(this) { init(); }

void DBRadioGroup::init()
{
    m_group = new QButtonGroup(this);
    m_layout = new QGridLayout(this);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        dataLink()->userChanged();
        dataLink()->push();
        emit itemChosen(id);
    });
}

void DBRadioGroup::setItems(const QStringList &items)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_items = items;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        m_buttons << b;
    }
    relayout();
    dataLink()->reload();
}

void DBRadioGroup::setColumns(int columns)
{
    m_columns = qMax(1, columns);
    relayout();
}

void DBRadioGroup::relayout()
{
    const int rows = (int(m_buttons.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_layout->removeWidget(m_buttons[i]);
        m_layout->addWidget(m_buttons[i], rows ? i % rows : 0, rows ? i / rows : 0);
    }
}

int DBRadioGroup::itemIndex() const { return m_group->checkedId(); }

void DBRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < m_buttons.size()) {
        m_buttons[index]->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last button by itself.
    m_group->setExclusive(false);
    for (QRadioButton *b : m_buttons)
        b->setChecked(false);
    m_group->setExclusive(true);
}

QString DBRadioGroup::value() const
{
    const int i = itemIndex();
    return i >= 0 ? m_items.value(i) : QString();
}

QRadioButton *DBRadioGroup::button(int index) const { return m_buttons.value(index); }

void DBRadioGroup::loadValue(const db::Field &field) { setItemIndex(int(m_items.indexOf(field.asString()))); }
void DBRadioGroup::loadEmpty() { setItemIndex(-1); }

void DBRadioGroup::storeValue(db::Field &field)
{
    if (itemIndex() < 0)
        field.clear();
    else
        field.setAsString(value());
}

void DBRadioGroup::applyWritable(bool writable, bool active) { setEnabled(writable && active); }

} // namespace dbctrls
