#include "app/windowregistry.h"
#include "data/modal.h"
#include "accounts/account_guest.h"
#include "accounts/account_trans.h"
#include "accounts/aging_guest.h"
#include "accounts/aging_trans.h"
#include "accounts/profit.h"
#include "app/about.h"
#include "data/dm1.h"
#include "app/enter.h"
#include "app/gsxx_edit.h"
#include "app/password.h"
#include "app/qxb.h"
#include "app/qxb_edit.h"
#include "container/container_ysd.h"
#include "data/backup.h"
#include "data/initialize.h"
#include "data/restore.h"
#include "container/container_ysd_fh.h"
#include "container/container_ysd_sk.h"
#include "masterdata/deliveryinfo.h"
#include "masterdata/xstp.h"
#include "container/container_ddb.h"
#include "container/container_ddb_cx.h"
#include "container/container_ddb_fk.h"
#include "container/container_ddb_zxwj.h"
#include "goods/freight_ddb.h"
#include "goods/freight_ddb_cx.h"
#include "goods/freight_ddb_edit.h"
#include "goods/freight_ddb_fk.h"
#include "goods/freight_ddb_zxwj.h"
#include "goods/freight_mxb_edit.h"
#include "goods/xzfreight_ysd.h"
#include "goods/freight_ysd.h"
#include "goods/freight_ysd_cx.h"
#include "goods/freight_ysd_edit.h"
#include "goods/freight_ysd_fh.h"
#include "goods/freight_ysd_list.h"
#include "goods/freight_ysd_sk.h"
#include "goods/xzfreight.h"
#include "masterdata/carinfo.h"
#include "masterdata/carinfo_edit.h"
#include "masterdata/guestinfo.h"
#include "masterdata/transportinfo.h"
#include "masterdata/woodinfo.h"
#include "masterdata/yslcinfo.h"
#include "other/vehiclelogs.h"
#include "other/xjrjz.h"
#include "other/xjrjz_cx.h"
#include "other/xjrjz_edit.h"
#include "masterdata/txcsb.h"
#include "masterdata/txcsb_edit.h"
#include "masterdata/txgn.h"
#include "statistics/sts_cont_sum.h"
#include "statistics/sts_cont_guest.h"
#include "statistics/sts_cont_trans.h"
#include "statistics/sts_cont_car.h"
#include "statistics/sts_cont_yue.h"
#include "statistics/sts_cont_sum1.h"
#include "statistics/sts_cont_trans1.h"
#include "statistics/sts_cont_car1.h"
#include "statistics/sts_cont_yue1.h"
#include "statistics/sts_freight_guest.h"
#include "statistics/sts_freight_yue.h"
#include "statistics/sts_freight_wood.h"
#include "statistics/sts_freight_yue1.h"
#include "statistics/sts_freight_trans1.h"
#include "statistics/sts_freight_car1.h"
#include <QDialog>
#include <QHash>

namespace app {
namespace {
QHash<QString, WindowRegistry::Factory> &factories()
{
    static QHash<QString, WindowRegistry::Factory> f;
    return f;
}
} // namespace

WindowRegistry::Factory WindowRegistry::add(const QString &className, Factory factory)
{
    Factory old = factories().value(className);
    factories().insert(className, std::move(factory));
    return old;
}

void WindowRegistry::remove(const QString &className)
{
    factories().remove(className);
}

bool WindowRegistry::has(const QString &className)
{
    return factories().contains(className);
}

QDialog *WindowRegistry::create(const QString &className, QWidget *owner)
{
    const auto it = factories().constFind(className);
    if (it == factories().constEnd() || !*it)
        return nullptr;
    return (*it)(owner);
}

template <class W>
void reg(const char *className)
{
    WindowRegistry::add(QString::fromLatin1(className), [](QWidget *owner) -> QDialog * { return new W(owner); });
}

// The data-layer windows are given the data module's connection or query.
template <class W, class Arg>
void reg(const char *className, Arg *TDm1::*member)
{
    WindowRegistry::add(QString::fromLatin1(className), [member](QWidget *owner) -> QDialog * { return new W(Dm1->*member, owner); });
}

void registerWindows()
{
    // One line per window class; a module adds its windows here.
    reg<TForm_Enter>("TForm_Enter");
    reg<TForm_password>("TForm_password");
    reg<Tform_About>("Tform_About");
    reg<TForm_qxb>("TForm_qxb");
    reg<TForm_qxb_edit>("TForm_qxb_edit");
    reg<TForm_gsxx_edit>("TForm_gsxx_edit");
    reg<TForm_guestinfo>("TForm_guestinfo");
    reg<TForm_deliveryinfo>("TForm_deliveryinfo");
    reg<TForm_container_ysd>("TForm_container_ysd");
    reg<TForm_container_ysd_fh>("TForm_container_ysd_fh");
    reg<TForm_container_ysd_sk>("TForm_container_ysd_sk");
    reg<TForm_transportinfo>("TForm_transportinfo");
    reg<TForm_yslcinfo>("TForm_yslcinfo");
    reg<TForm_woodinfo>("TForm_woodinfo");
    reg<TForm_xstp>("TForm_xstp");
    reg<TForm_carinfo>("TForm_carinfo");
    reg<TForm_carinfo_edit>("TForm_carinfo_edit");
    reg<TForm_container_ddb>("TForm_container_ddb");
    reg<TForm_container_ddb_cx>("TForm_container_ddb_cx");
    reg<TForm_container_ddb_zxwj>("TForm_container_ddb_zxwj");
    reg<TForm_container_ddb_fk>("TForm_container_ddb_fk");
    reg<TForm_freight_ysd>("TForm_freight_ysd");
    reg<TForm_freight_ysd_edit>("TForm_freight_ysd_edit");
    reg<TForm_freight_ysd_cx>("TForm_freight_ysd_cx");
    reg<TForm_xzfreight>("TForm_xzfreight");
    reg<TForm_freight_mxb_edit>("TForm_freight_mxb_edit");
    reg<TForm_freight_ysd_list>("TForm_freight_ysd_list");
    reg<TForm_freight_ysd_fh>("TForm_freight_ysd_fh");
    reg<TForm_freight_ysd_sk>("TForm_freight_ysd_sk");
    reg<TForm_freight_ddb>("TForm_freight_ddb");
    reg<TForm_freight_ddb_edit>("TForm_freight_ddb_edit");
    reg<TForm_xzfreight_ysd>("TForm_xzfreight_ysd");
    reg<TForm_freight_ddb_cx>("TForm_freight_ddb_cx");
    reg<TForm_freight_ddb_zxwj>("TForm_freight_ddb_zxwj");
    reg<TForm_freight_ddb_fk>("TForm_freight_ddb_fk");
    reg<TForm_hyjlb>("TForm_hyjlb");
    reg<TForm_hyjlb_edit>("TForm_hyjlb_edit");
    reg<TForm_hyjlb_cx>("TForm_hyjlb_cx");
    reg<TForm_wxjlb>("TForm_wxjlb");
    reg<TForm_wxjlb_edit>("TForm_wxjlb_edit");
    reg<TForm_wxjlb_cx>("TForm_wxjlb_cx");
    reg<TForm_sgjlb>("TForm_sgjlb");
    reg<TForm_sgjlb_edit>("TForm_sgjlb_edit");
    reg<TForm_sgjlb_cx>("TForm_sgjlb_cx");
    reg<TForm_xjrjz>("TForm_xjrjz");
    reg<TForm_xjrjz_edit>("TForm_xjrjz_edit");
    reg<TForm_xjrjz_cx>("TForm_xjrjz_cx");
    reg<TForm_txgn>("TForm_txgn");
    reg<TForm_txcsb>("TForm_txcsb");
    reg<TForm_txcsb_edit>("TForm_txcsb_edit");
    reg<TForm_sts_cont_sum>("TForm_sts_cont_sum");
    reg<TForm_sts_cont_guest>("TForm_sts_cont_guest");
    reg<TForm_sts_cont_trans>("TForm_sts_cont_trans");
    reg<TForm_sts_cont_car>("TForm_sts_cont_car");
    reg<TForm_sts_cont_yue>("TForm_sts_cont_yue");
    reg<TForm_sts_cont_sum1>("TForm_sts_cont_sum1");
    reg<TForm_sts_cont_trans1>("TForm_sts_cont_trans1");
    reg<TForm_sts_cont_car1>("TForm_sts_cont_car1");
    reg<TForm_sts_cont_yue1>("TForm_sts_cont_yue1");
    reg<TForm_sts_freight_guest>("TForm_sts_freight_guest");
    reg<TForm_sts_freight_yue>("TForm_sts_freight_yue");
    reg<TForm_sts_freight_wood>("TForm_sts_freight_wood");
    reg<TForm_sts_freight_yue1>("TForm_sts_freight_yue1");
    reg<TForm_sts_freight_trans1>("TForm_sts_freight_trans1");
    reg<TForm_sts_freight_car1>("TForm_sts_freight_car1");
    reg<TForm_account_guest>("TForm_account_guest");
    reg<TForm_aging_guest>("TForm_aging_guest");
    reg<TForm_account_trans>("TForm_account_trans");
    reg<TForm_aging_trans>("TForm_aging_trans");
    reg<TForm_profit>("TForm_profit");
    reg<TForm_backup>("TForm_backup", &TDm1::ADO_system);
    reg<TForm_restore>("TForm_restore", &TDm1::ADO_system);
    reg<TForm_initialize>("TForm_initialize", &TDm1::q_search);
}

} // namespace app
