#include "masterdata/xstp.h"
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setMinimumSize(1, 1);   // a large picture must not force the window's size
}

void PictureBox::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    render();
}

void PictureBox::clearPicture()
{
    m_picture = QPixmap();
    clear();
}

void PictureBox::setStretch(bool on)
{
    m_stretch = on;
    render();
}

void PictureBox::render()
{
    if (m_picture.isNull())
        return;
    // Stretching fills the box, as the picture's own stretch switch does:
    // the picture's proportions are not kept.
    setPixmap(m_stretch ? m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation) : m_picture);
}

void PictureBox::resizeEvent(QResizeEvent *e)
{
    QLabel::resizeEvent(e);
    if (m_stretch)
        render();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *e)
{
    QLabel::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

TForm_xstp::TForm_xstp(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("Form_xstp"));
    setWindowTitle(QStringLiteral("显示图片"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Image1 = new PictureBox(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->addWidget(Image1);
    connect(Image1, &PictureBox::doubleClicked, this, &QDialog::accept);
    // The window manager maximises; without one the screen's size is taken.
    if (const QScreen *s = owner ? owner->screen() : QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}
