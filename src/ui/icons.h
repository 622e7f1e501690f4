#pragma once

#include <QIcon>

class QPainter;
class QRect;

// The window's icons: the desktop theme's where it has them, simple drawn ones where not (a
// desktop without an icon theme, the offscreen platform).
namespace Icons {

enum Glyph {
    Add,
    Remove,
    Previous,
    Next,
    Apply,
    Clear,
    Link,
};

QIcon icon(Glyph glyph);
// The application's own icon.
QIcon application();
// The "drop" placeholder of the cover panel: a dashed frame inviting a dropped picture, with
// its text, drawn into the rectangle.
void paintDropPlaceholder(QPainter &painter, const QRect &rect, const QString &text);

} // namespace Icons
