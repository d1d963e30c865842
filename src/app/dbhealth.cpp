#include "app/dbhealth.h"
#include "db/connection.h"
#include "db/dberror.h"
#include "dbctrls/messages.h"
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace app {

QString damageMessage(const QString &path, const QStringList &problems)
{
    return QStringLiteral("数据库文件“%1”已损坏：\n%2\n\n请通过【系统维护】→“数据恢复”恢复一个备份。")
        .arg(QDir::toNativeSeparators(path), problems.mid(0, 3).join(QLatin1Char('\n')));
}

void reportDatabaseHealth(QWidget *parent, db::Connection &connection)
{
    const QString path = connection.filePath();
    if (connection.isServer()) {
        // The server keeps its own pages sound; what can go wrong under the
        // program is an index ordered by another libicu than today's.
        const QStringList problems = connection.quickCheck();
        if (!problems.isEmpty())
            msg::show(parent, {QStringLiteral("提示"),
                               QStringLiteral("数据库服务器 %1 需要维护：\n%2").arg(path, problems.mid(0, 3).join(QLatin1Char('\n'))),
                               msg::Icon::Exclamation});
        if (connection.isReadOnly())
            msg::show(parent, {QStringLiteral("提示"), QStringLiteral("数据库 %1 只读：可以查看数据，但不能增加、修改或删除记录。").arg(path),
                               msg::Icon::Exclamation});
        return;
    }
    if (QFileInfo(path).size() <= QuickCheckMaxBytes) {
        QStringList problems;
        try {
            problems = connection.quickCheck();
        } catch (const db::DbError &e) {
            problems << e.message();
        }
        if (!problems.isEmpty())
            msg::show(parent, {QStringLiteral("提示"), damageMessage(path, problems), msg::Icon::Error});
    }
    if (connection.isReadOnly())
        msg::show(parent, {QStringLiteral("提示"),
                           QStringLiteral("数据库文件只读：%1\n可以查看数据，但不能增加、修改或删除记录。"
                                          "请检查该文件及其所在文件夹的写入权限。")
                               .arg(QDir::toNativeSeparators(path)),
                           msg::Icon::Exclamation});
}

} // namespace app
