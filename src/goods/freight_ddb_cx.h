#pragma once
#include "data/searchdialog.h"

// 查询 over the goods dispatches: its result replaces the calling list's
// rows (q_freight_ddb).
class TForm_freight_ddb_cx : public data::SearchDialog {
    Q_OBJECT
public:
    explicit TForm_freight_ddb_cx(QWidget *owner);
};

// The dispatch search of the dispatch list, completion and payment: the
// customer and carrier combos filled, shown modally.
void showFreightDispatchSearch(QWidget *owner);
