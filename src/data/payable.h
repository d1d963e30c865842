#pragma once
#include "db/money.h"
#include "db/query.h"

namespace data {

// What a carrier is owed for a dispatch: the agreed amount less the costs the
// business bore, each empty cost counting as 0, subtracted in this order in
// exact money; a negative result (costs above the amount) is kept.
inline db::Money payableOf(db::Query &dispatch)
{
    const auto m = [&](const char *f) { return dispatch.field(QString::fromUtf8(f)).asMoney(); };
    return m("运输金额") - m("路桥费") - m("劳务费") - m("油费") - m("罚款") - m("其它费用");
}

} // namespace data
