#include "data/restore.h"
#include "data/safecopy.h"
#include "db/connection.h"
#include "db/text.h"
#include "dbctrls/messages.h"
#include <QLineEdit>

TForm_restore::TForm_restore(db::Connection *database, QWidget *owner)
    : DatabaseFileWindow({.objectName = QStringLiteral("Form_restore"),
                          .caption = S("系统恢复管理"),
                          .action = S("恢复"),
                          .dialog = {.title = S("恢复数据库文件")}},
                         database, owner)
{
}

void TForm_restore::SpeedButton1Click()
{
    const QString source = Edit1->text();
    if (source.trimmed().isEmpty()) {
        msg::hint(this, S("请先选择要恢复的数据库文件！"));
        return;
    }
    if (!msg::confirm(this, S("确实要恢复数据库吗? ")))
        return;
    try {
        data::WaitCursor wait;
        // The file is replaced under no open connection.
        const QString address = database()->address();
        database()->close();
        data::safecopy::replace(source, address);
    } catch (const db::DbError &e) {
        msg::hint(this, S("恢复失败: %1\n当前的数据没有改变。").arg(e.message()));
        return;
    }
    msg::hint(this, S("恢复完毕！"));
    accept();
}
