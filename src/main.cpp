#include "app/application.h"
#include "app/dm1.h"
#include "db/dberror.h"
#include "dbctrls/messages.h"
#include <QHeaderView>
#include <QTableWidget>

int main(int argc, char **argv)
{
    VelorinApplication app(argc, argv);
    TDm1 dm;
    try {
        dm.ADO_system->open();
    } catch (const db::DbError &e) {
        msg::plain(nullptr, QStringLiteral("系统数据库没有连接，请与软件公司联系！"));
        return 1;
    }
    QTableWidget w;
    w.setColumnCount(2);
    w.setHorizontalHeaderLabels({QStringLiteral("表"), QStringLiteral("记录数")});
    int r = 0;
    for (const auto &t : db::schema::tables()) {
        dm.q_search->reopenWith({QStringLiteral("select count(*) as n from ") + t.name});
        w.insertRow(r);
        w.setItem(r, 0, new QTableWidgetItem(t.name));
        w.setItem(r, 1, new QTableWidgetItem(dm.q_search->field(QStringLiteral("n")).asString()));
        ++r;
    }
    dm.q_search->close();
    w.resize(400, 600);
    w.show();
    return app.exec();
}
