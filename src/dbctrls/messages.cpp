#include "dbctrls/messages.h"
#include <QAbstractButton>
#include <QApplication>

namespace msg {
namespace {
Responder &responder()
{
    static Responder r;
    return r;
}
} // namespace

QMessageBox::StandardButton show(QWidget *parent, const Request &r)
{
    if (responder())
        return responder()(r);
    QMessageBox box(parent);
    box.setWindowTitle(r.caption);
    box.setText(r.text);
    switch (r.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    box.setStandardButtons(r.buttons);
    if (r.buttons & QMessageBox::Yes)
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
    if (r.buttons & QMessageBox::No)
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
    if (r.buttons & QMessageBox::Ok)
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (r.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(r.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

Responder setResponder(Responder r)
{
    Responder old = responder();
    responder() = std::move(r);
    return old;
}

void hint(QWidget *parent, const QString &text)
{
    show(parent, {QStringLiteral("提示"), text, Icon::Exclamation, QMessageBox::Ok, QMessageBox::Ok});
}

void info(QWidget *parent, const QString &text)
{
    show(parent, {QStringLiteral("提示"), text, Icon::Information, QMessageBox::Ok, QMessageBox::Ok});
}

bool confirm(QWidget *parent, const QString &text, const QString &caption)
{
    return show(parent, {caption, text, Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No}) ==
           QMessageBox::Yes;
}

bool ask(QWidget *parent, const QString &text, const QString &caption)
{
    return show(parent, {caption, text, Icon::Question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes}) ==
           QMessageBox::Yes;
}

void plain(QWidget *parent, const QString &text)
{
    show(parent, {QApplication::applicationName(), text, Icon::None, QMessageBox::Ok, QMessageBox::Ok});
}

void dbError(QWidget *parent, const QString &engineMessage)
{
    show(parent, {QStringLiteral("数据库错误"), engineMessage, Icon::Error, QMessageBox::Ok, QMessageBox::Ok});
}

void writeFailed(QWidget *parent, const db::DbError &e, const QString &report)
{
    if (e.changedByOthers())
        hint(parent, e.message());
    else
        dbError(parent, report);
}

} // namespace msg
