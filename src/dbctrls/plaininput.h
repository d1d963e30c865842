#pragma once
#include <QString>
#include <QValidator>

class QLineEdit;

namespace dbctrls {

// The text without control characters: a pasted NUL would cut an SQL text
// short, and no column of the system holds the others. Multi-line text keeps
// its line breaks and tabs.
QString withoutControls(const QString &text, bool multiLine = false);
bool hasControls(const QString &text, bool multiLine = false);

// A line edit's validator that drops control characters from whatever is
// typed, pasted or dropped, and accepts the rest as it is.
class PlainInputValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

// Installs PlainInputValidator on a line edit that has no validator of its own.
void acceptPlainInputOnly(QLineEdit *edit);

} // namespace dbctrls
