#pragma once
#include <QDialog>
#include <QLabel>
#include <QPixmap>

// A picture ("Image1"): centred at its own size, or stretched to fill when
// switched; reports double clicks.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);
    void setPicture(const QPixmap &picture);
    void clearPicture();
    bool hasPicture() const { return !m_picture.isNull(); }
    void setStretch(bool on);
    bool stretch() const { return m_stretch; }

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void render();
    QPixmap m_picture;
    bool m_stretch = false;
};

// 显示图片: one picture, maximised, closed by a double click on it. The
// opener loads the picture before showing the window.
class TForm_xstp : public QDialog {
    Q_OBJECT
public:
    explicit TForm_xstp(QWidget *owner = nullptr);
    PictureBox *Image1;
};
