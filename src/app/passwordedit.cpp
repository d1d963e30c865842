#include "app/passwordedit.h"
#include "dbctrls/plaininput.h"
#include <QValidator>

namespace app {
namespace {

class UpperCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        input = dbctrls::withoutControls(input).toUpper();
        return Acceptable;
    }
    void fixup(QString &input) const override { input = dbctrls::withoutControls(input).toUpper(); }
};

} // namespace

QLineEdit *newPasswordEdit(QWidget *parent, const QString &objectName, int maxLength)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));   // '*', not the style's dot
    e->setValidator(new UpperCase(e));
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

} // namespace app
