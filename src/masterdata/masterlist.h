#pragma once
#include "data/recordlist.h"

namespace masterdata {

// The master-data list windows (customers, carriers, routes, goods): the
// panel variant with one tool bar (选中 stays disabled, nothing is picked
// here), drop-downs that show 20 rows, and rows marked in use
// (开始使用 = "是") that may not be deleted.
class MasterListWindow : public data::RecordListWindow {
    Q_OBJECT
protected:
    MasterListWindow(QWidget *owner, const QString &inUseMessage);

    // Adds the tool bar to the declaration and builds the window; choose is
    // what 选中 does where a window can be a picker.
    void buildMaster(data::ListDecl decl, std::function<void()> choose = {});
    bool canDelete() override;

private:
    QString m_inUseMessage;
};

// The contact, bank and remark columns and editors customers and carriers
// share, after their own name and grouping fields.
grid::Columns partyColumns();
QVector<data::EditorDecl> partyEditors();

} // namespace masterdata
