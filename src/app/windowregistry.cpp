#include "app/windowregistry.h"
#include "app/about.h"
#include "app/enter.h"
#include "app/gsxx_edit.h"
#include "app/password.h"
#include "app/qxb.h"
#include "app/qxb_edit.h"
#include "container/container_ysd.h"
#include "container/container_ysd_fh.h"
#include "container/container_ysd_sk.h"
#include "masterdata/deliveryinfo.h"
#include "app/xstp.h"
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
#include <QDialog>
#include <QHash>

namespace app {
namespace {
QHash<QString, WindowRegistry::Factory> &factories()
{
    static QHash<QString, WindowRegistry::Factory> f;
    return f;
}

ShowHook &showHook()
{
    static ShowHook h;
    return h;
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
}

ShowHook setShowHook(ShowHook hook)
{
    ShowHook old = showHook();
    showHook() = std::move(hook);
    return old;
}

int showModal(QDialog *window)
{
    if (showHook())
        return showHook()(window);
    return window->exec();
}

} // namespace app
