#include "data/dm1.h"
#include "db/database.h"

TDm1 *Dm1 = nullptr;

TDm1::TDm1(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("Dm1"));
    ADO_system = new db::Connection(this);
    ADO_system->setObjectName(QStringLiteral("ADO_system"));
    ADO_system->setDatabaseName(db::configuredDatabase());
    q_qxb = make("q_qxb");
    q_gsxx = make("q_gsxx");
    q_guestinfo = make("q_guestinfo");
    q_deliveryinfo = make("q_deliveryinfo");
    q_transportinfo = make("q_transportinfo");
    q_carinfo = make("q_carinfo");
    q_yslcinfo = make("q_yslcinfo");
    q_woodinfo = make("q_woodinfo");
    q_container_ysd = make("q_container_ysd");
    q_freight_ysd = make("q_freight_ysd");
    q_freight_mxb = make("q_freight_mxb");
    q_freight_ddb = make("q_freight_ddb");
    q_xjrjz = make("q_xjrjz");
    q_hyjlb = make("q_hyjlb");
    q_wxjlb = make("q_wxjlb");
    q_sgjlb = make("q_sgjlb");
    q_txcsb = make("q_txcsb");
    q_tongyong = make("q_tongyong");
    q_search = make("q_search");
    if (!Dm1)
        Dm1 = this;
}

TDm1::~TDm1()
{
    if (Dm1 == this)
        Dm1 = nullptr;
}

db::Query *TDm1::make(const char *name)
{
    auto *q = new db::Query(ADO_system, QString::fromLatin1(name), this);
    // The design-time text; every user replaces it before opening.
    q->setSql({QStringLiteral("select * from 收费项目")});
    m_queries << q;
    return q;
}

db::Query *TDm1::query(const QString &name) const
{
    for (auto *q : m_queries)
        if (q->objectName() == name)
            return q;
    return nullptr;
}
