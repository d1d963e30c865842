#include "dbctrls/plaininput.h"
#include <QLineEdit>

namespace dbctrls {
namespace {
bool isControl(QChar c, bool multiLine)
{
    if (multiLine && (c == u'\n' || c == u'\t'))
        return false;
    return c.category() == QChar::Other_Control;
}
} // namespace

bool hasControls(const QString &text, bool multiLine)
{
    for (const QChar c : text)
        if (isControl(c, multiLine))
            return true;
    return false;
}

QString withoutControls(const QString &text, bool multiLine)
{
    if (!hasControls(text, multiLine))
        return text;
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (!isControl(c, multiLine))
            out += c;
    return out;
}

QValidator::State PlainInputValidator::validate(QString &input, int &pos) const
{
    if (hasControls(input)) {
        // The cursor stays behind what was kept of the text before it.
        pos = int(withoutControls(input.left(pos)).size());
        input = withoutControls(input);
    }
    return Acceptable;
}

void PlainInputValidator::fixup(QString &input) const
{
    input = withoutControls(input);
}

void acceptPlainInputOnly(QLineEdit *edit)
{
    if (edit && !edit->validator())
        edit->setValidator(new PlainInputValidator(edit));
}

} // namespace dbctrls
