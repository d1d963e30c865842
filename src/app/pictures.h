#pragma once
#include <QColor>
#include <QPixmap>

namespace app {

// A round coloured badge with one character: the tool-bar glyphs.
QPixmap badgeGlyph(QChar ch, const QColor &color, int size = 22);
// A small drawn lorry on a road: the picture of the login window and the about box.
QPixmap lorryPicture(const QSize &size);

} // namespace app
