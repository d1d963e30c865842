#pragma once
#include "data/recordlist.h"

class QLabel;

// 承运车辆资料设置: the vehicle register. Browse list with the editor
// TForm_carinfo_edit; as a picker (选中) it copies the chosen vehicle's
// carrier, plate and driver into the calling dispatch's row.
class TForm_carinfo : public data::RecordListWindow {
    Q_OBJECT
public:
    explicit TForm_carinfo(QWidget *owner);

    // Picker mode: 选中 enabled, caller label "集装箱" or "普通货物".
    void setPicker(const QString &callerLabel);
    // 选中: copy into the caller's dataset and close.
    void choose();

protected:
    void openEditor() override;
    QString deleteQuestion() const override { return QStringLiteral("确实要删除当前记录?"); }
    QString deleteCaption() const override { return QStringLiteral("提示"); }

private:
    QLabel *m_mode;   // Label11: the caller's business word, hidden
};

// Opens the vehicle list as a picker over q_carinfo for the container
// dispatch ("集装箱", into q_container_ysd) or the goods dispatch
// ("普通货物", into q_freight_ddb); q_carinfo is closed afterwards.
void pickVehicle(QWidget *owner, const QString &callerLabel);
