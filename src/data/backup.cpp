#include "data/backup.h"
#include "data/safecopy.h"
#include "db/connection.h"
#include "db/text.h"
#include "dbctrls/messages.h"
#include <QLineEdit>

TForm_backup::TForm_backup(db::Connection *database, QWidget *owner)
    : DatabaseFileWindow({.objectName = QStringLiteral("Form_backup"),
                          .caption = S("系统备份管理"),
                          .action = S("备份"),
                          .dialog = {.title = S("备份数据库文件"),
                                     .save = true,
                                     .defaultSuffix = QStringLiteral("mdb")}},
                         database, owner)
{
}

void TForm_backup::SpeedButton1Click()
{
    const QString target = Edit1->text();
    if (target.trimmed().isEmpty()) {
        msg::hint(this, S("请先选择备份的目的文件！"));
        return;
    }
    try {
        data::WaitCursor wait;
        data::safecopy::copy(database()->address(), target);
    } catch (const db::DbError &e) {
        msg::hint(this, S("备份失败: %1\n原来的目的文件没有改变。").arg(e.message()));
        return;
    }
    msg::hint(this, S("备份完毕！"));
    accept();
}
