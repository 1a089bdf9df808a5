#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>

class QPainter;
class QPainterPath;

// Drawing helpers shared by the pictures: glows, metal, bevels and the swirl.
namespace Painting {

// A transparent premultiplied canvas.
QImage canvas(int width, int height);
// The picture blurred by three box passes of the radius (a soft glow source).
QImage blurred(const QImage& picture, int radius);
// A copy with every pixel's colour replaced, alpha kept (for glows and shadows).
QImage tinted(const QImage& picture, const QColor& colour);
// Brushed grey metal, lit from above.
void fillMetal(QPainter& painter, const QPainterPath& shape, const QRectF& bounds, int lightness);
// A one-pixel bevel: light upper-left edge, dark lower-right, or the reverse when sunk.
void bevel(QPainter& painter, const QRectF& rect, bool sunk, qreal radius = 0);
// The swirl, periodic in x and y with the given period: an angle in radians.
double swirlPhase(double x, double y, double period);
// The hot palette of the swirl: black, maroon, red, orange, gold, at 0..1.
QColor hotColour(double t, double brightness);
// Text centred in the rectangle, as a path (so it can be stroked and filled).
QPainterPath textPath(const QString& text, const QFont& font, const QRectF& rect);

}
