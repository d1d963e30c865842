#pragma once
#include <QDialog>

class QPushButton;

// The about box: product line and date of the last update.
class Tform_About : public QDialog {
    Q_OBJECT
public:
    explicit Tform_About(QWidget *owner = nullptr);
    QPushButton *bitbtn_close;
};
