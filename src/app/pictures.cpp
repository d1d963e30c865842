#include "app/pictures.h"
#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace app {

QPixmap badgeGlyph(QChar ch, const QColor &color, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(color.darker(130));
    p.setBrush(color);
    p.drawEllipse(QRectF(0.5, 0.5, size - 1, size - 1));
    QFont f(QStringLiteral("AR PL UMing CN"));
    f.setPixelSize(size * 2 / 3);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString(ch));
    return pm;
}

QPixmap lorryPicture(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(QColor(0xdd, 0xe8, 0xf4));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    p.scale(w / 100.0, h / 100.0);   // draw on a 100 x 100 canvas
    p.fillRect(QRectF(0, 72, 100, 28), QColor(0x70, 0x70, 0x78));
    p.setPen(QPen(Qt::white, 1.5, Qt::DashLine));
    p.drawLine(QPointF(0, 86), QPointF(100, 86));
    p.setPen(QPen(QColor(0x20, 0x30, 0x50), 1.2));
    p.setBrush(QColor(0x2f, 0x6f, 0xb0));
    p.drawRect(QRectF(8, 38, 56, 30));                       // container
    QPainterPath cab;
    cab.moveTo(66, 68);
    cab.lineTo(66, 44);
    cab.lineTo(82, 44);
    cab.lineTo(92, 56);
    cab.lineTo(92, 68);
    cab.closeSubpath();
    p.setBrush(QColor(0xc0, 0x40, 0x30));
    p.drawPath(cab);
    p.setBrush(QColor(0xcf, 0xe6, 0xff));
    p.drawRect(QRectF(70, 47, 11, 8));                       // window
    p.setBrush(QColor(0x20, 0x20, 0x20));
    for (qreal x : {20.0, 50.0, 80.0})
        p.drawEllipse(QPointF(x, 70), 6, 6);
    return pm;
}

} // namespace app
