#pragma once
#include "db/connection.h"
#include "db/query.h"
#include <QObject>

// The data module: the one connection and the shared queries, under their own
// names. Windows own no queries; they use these.
class TDm1 : public QObject {
    Q_OBJECT
public:
    explicit TDm1(QObject *parent = nullptr);
    ~TDm1() override;

    db::Connection *ADO_system;
    db::Query *q_qxb, *q_gsxx, *q_guestinfo, *q_deliveryinfo, *q_transportinfo, *q_carinfo, *q_yslcinfo,
        *q_woodinfo, *q_container_ysd, *q_freight_ysd, *q_freight_mxb, *q_freight_ddb, *q_xjrjz, *q_hyjlb,
        *q_wxjlb, *q_sgjlb, *q_txcsb, *q_tongyong, *q_search;

    // A shared query by its name ("q_container_ysd"); nullptr when unknown.
    db::Query *query(const QString &name) const;
    const QList<db::Query *> &queries() const { return m_queries; }


private:
    db::Query *make(const char *name);
    QList<db::Query *> m_queries;
};

// The process-wide data module (created after the main window).
extern TDm1 *Dm1;
