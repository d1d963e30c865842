#pragma once
#include "data/searchdialog.h"

// 查询 of the dispatch side (dispatch, completion and payment windows): the
// found orders replace q_container_ysd's rows.
class TForm_container_ddb_cx : public data::SearchDialog {
    Q_OBJECT
public:
    explicit TForm_container_ddb_cx(QWidget *owner);
};

// Creates the dialog, fills its customer and carrier lists and shows it.
void openDispatchSearch(QWidget *owner);
