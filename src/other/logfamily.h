#pragma once
#include "data/editorwindow.h"
#include "data/searchdialog.h"
#include <functional>

class QComboBox;
class TDm1;

// The per-vehicle logs (oil changes, repairs, accidents): each is a list, a
// modal editor on the list's current row and a search dialog, built alike.
// A log is one LogDecl; the three window classes below read it.
namespace other {

struct LogDecl {
    QString module;                         // "hyjlb": the windows' names
    QString table;                          // 换油记录表
    db::Query *TDm1::*query = nullptr;      // the list's dataset (q_hyjlb)
    QString listCaption, editCaption, searchCaption;
    grid::Columns columns;                  // with footers and sortable titles
    QString printTitle, exportName;

    QVector<data::EditorDecl> editors;      // the plate drop-down first
    QStringList enterRing;                  // Enter in the last field presses 存盘
    QHash<QString, QString> enterExtra = {};   // fields outside the ring: where Enter goes
    // Inside the save's transaction: the computed column before the post, and
    // what else the save writes after it.
    std::function<void(db::Query &row)> compute = {};
    std::function<void(db::Query &row)> alsoWrite = {};

    // Search: plate and handler are every log's; these follow the handler.
    QVector<data::SearchField> moreCriteria = {};
    QString dateField;                      // the period searched, "换油时间"
    QString periodLabel;                    // "换油时间  从："
    QString msgDateIncomplete, msgDateOrder;

    std::function<data::EditorWindow *(QWidget *owner)> newEditor;
    std::function<data::SearchDialog *(QWidget *owner)> newSearch;
};

// The plate drop-down every log editor starts with; the handler drop-down
// with its empty list, a money editor, and the remark edit.
data::EditorDecl plateEditor();
data::EditorDecl handlerCombo(const char *objectName);
data::EditorDecl moneyEditor(const char *field, const char *label, const char *objectName, bool readOnly = false);
data::EditorDecl remarkEditor();
// Every 车牌号 of 承运车辆 in plate order into the combo (q_carinfo).
void fillPlates(QComboBox *combo);

// The log's list: 编辑 (and a double click), 删除, 查询, 打印, 导出, 返回.
class LogList : public data::RecordListWindow {
    Q_OBJECT
public:
    LogList(QWidget *owner, const LogDecl &log);
    const LogDecl &log() const { return m_log; }
    void openSearch();

protected:
    void openEditor() override;

private:
    const LogDecl &m_log;
};

// The log's editor: 增加, 存盘, 取消, 返回 over the list's current row; the
// plate is required, the computed column and the save's other writes go in
// the same transaction; no message after a save.
class LogEditor : public data::EditorWindow {
    Q_OBJECT
public:
    LogEditor(QWidget *owner, const LogDecl &log);

protected:
    bool checks() override;
    void beforePost() override;
    void afterPost() override;
    void showEvent(QShowEvent *e) override;

private:
    const LogDecl &m_log;
};

// The log's search: exact plate and handler (and the log's further
// criteria), the whole days of a period; an empty result shows an empty list.
class LogSearch : public data::SearchDialog {
    Q_OBJECT
public:
    LogSearch(QWidget *owner, const LogDecl &log);
};

} // namespace other
