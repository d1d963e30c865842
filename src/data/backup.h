#pragma once
#include "data/filewindow.h"

// Copies the database file to a file the operator names, while the
// connection stays open.
class TForm_backup : public data::DatabaseFileWindow {
    Q_OBJECT
public:
    explicit TForm_backup(db::Connection *database, QWidget *owner = nullptr);

public slots:
    void SpeedButton1Click() override;   // "备份"
};
