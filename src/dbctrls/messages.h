#pragma once
#include "db/dberror.h"
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;
namespace db { class DbError; }

// The one way any window shows a message box. In the program it is a real
// QMessageBox; tests install a responder that answers by script.
namespace msg {

enum class Icon { None, Information, Exclamation, Question, Error };

struct Request {
    QString caption;
    QString text;
    Icon icon = Icon::Exclamation;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

using Responder = std::function<QMessageBox::StandardButton(const Request &)>;

QMessageBox::StandardButton show(QWidget *parent, const Request &r);
// Replaces the real box (nullptr restores it); returns the previous responder.
Responder setResponder(Responder r);

// Caption "提示", exclamation icon, OK: check failures and "保存完毕！".
void hint(QWidget *parent, const QString &text);
// Caption "提示", information icon, OK.
void info(QWidget *parent, const QString &text);
// Caption "请选择", question icon, Yes/No with No as default. True on Yes.
bool confirm(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("请选择"));
// Caption "提示", question icon, Yes/No (default Yes). True on Yes.
bool ask(QWidget *parent, const QString &text, const QString &caption = QStringLiteral("提示"));
// A plain message with the application's title and an OK button.
void plain(QWidget *parent, const QString &text);
// The consistent box for an unexpected database error.
void dbError(QWidget *parent, const QString &engineMessage);
// A failed write: a row another workstation changed is a hint with the
// engine's sentence alone; anything else is dbError(report).
void writeFailed(QWidget *parent, const db::DbError &e, const QString &report);

} // namespace msg
