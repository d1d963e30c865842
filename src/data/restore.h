#pragma once
#include "data/filewindow.h"

// Puts a backup copy in place of the database file. The main window closes
// the connection before this window opens and reopens it afterwards.
class TForm_restore : public data::DatabaseFileWindow {
    Q_OBJECT
public:
    explicit TForm_restore(db::Connection *database, QWidget *owner = nullptr);

public slots:
    void SpeedButton1Click() override;   // "恢复"
};
