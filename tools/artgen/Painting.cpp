#include "Painting.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace Painting {
namespace {

void boxPass(QImage& image, int radius, bool horizontal)
{
    const int width = image.width();
    const int height = image.height();
    const int lines = horizontal ? height : width;
    const int length = horizontal ? width : height;
    std::vector<int> sums(length + 1);
    for (int line = 0; line < lines; ++line) {
        auto at = [&](int i) -> QRgb& {
            return reinterpret_cast<QRgb*>(image.scanLine(horizontal ? line : i))[horizontal ? i : line];
        };
        for (int channel = 0; channel < 4; ++channel) {
            const int shift = channel * 8;
            sums[0] = 0;
            for (int i = 0; i < length; ++i)
                sums[i + 1] = sums[i] + int((at(i) >> shift) & 0xff);
            std::vector<int> values(length);
            for (int i = 0; i < length; ++i) {
                const int from = std::max(0, i - radius);
                const int to = std::min(length, i + radius + 1);
                values[i] = (sums[to] - sums[from]) / (2 * radius + 1);
            }
            for (int i = 0; i < length; ++i)
                at(i) = (at(i) & ~(0xffu << shift)) | (QRgb(values[i]) << shift);
        }
    }
}

}

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage blurred(const QImage& picture, int radius)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, radius, true);
        boxPass(image, radius, false);
    }
    return image;
}

QImage tinted(const QImage& picture, const QColor& colour)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    return image;
}

void fillMetal(QPainter& painter, const QPainterPath& shape, const QRectF& bounds, int lightness)
{
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0.0, QColor::fromHsl(210, 12, std::min(255, lightness + 60)));
    gradient.setColorAt(0.45, QColor::fromHsl(210, 10, lightness));
    gradient.setColorAt(0.55, QColor::fromHsl(210, 10, std::max(0, lightness - 18)));
    gradient.setColorAt(1.0, QColor::fromHsl(210, 14, std::max(0, lightness - 45)));
    painter.fillPath(shape, gradient);
}

void bevel(QPainter& painter, const QRectF& rect, bool sunk, qreal radius)
{
    const QColor light(255, 255, 255, 120);
    const QColor dark(0, 0, 0, 170);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPainterPath upperLeft;
    upperLeft.moveTo(r.bottomLeft() + QPointF(0, -radius));
    upperLeft.lineTo(r.topLeft() + QPointF(0, radius));
    upperLeft.quadTo(r.topLeft(), r.topLeft() + QPointF(radius, 0));
    upperLeft.lineTo(r.topRight() + QPointF(-radius, 0));
    QPainterPath lowerRight;
    lowerRight.moveTo(r.topRight() + QPointF(0, radius));
    lowerRight.lineTo(r.bottomRight() + QPointF(0, -radius));
    lowerRight.quadTo(r.bottomRight(), r.bottomRight() + QPointF(-radius, 0));
    lowerRight.lineTo(r.bottomLeft() + QPointF(radius, 0));
    painter.setPen(QPen(sunk ? dark : light, 1));
    painter.drawPath(upperLeft);
    painter.setPen(QPen(sunk ? light : dark, 1));
    painter.drawPath(lowerRight);
    painter.restore();
}

double swirlPhase(double x, double y, double period)
{
    // Only whole multiples of the warped angles appear, so the field repeats exactly.
    const double u = 2 * std::numbers::pi * x / period;
    const double v = 2 * std::numbers::pi * y / period;
    const double wu = u + 1.1 * std::sin(v + 0.8 * std::sin(2 * u)) + 0.45 * std::sin(2 * v - u);
    const double wv = v + 1.1 * std::cos(u - 0.6 * std::cos(2 * v)) + 0.45 * std::cos(2 * u + v);
    return std::sin(2 * wu + std::cos(wv)) + std::sin(3 * wv - 1.5 * std::sin(wu))
        + 0.6 * std::sin(wu + 2 * wv + 0.5 * std::cos(3 * wu));
}

QColor hotColour(double t, double brightness)
{
    struct Stop {
        double at;
        QColor colour;
    };
    static const Stop stops[] = {
        { 0.00, QColor(6, 2, 8) },     { 0.30, QColor(58, 6, 18) },  { 0.55, QColor(150, 22, 12) },
        { 0.75, QColor(226, 92, 14) }, { 0.90, QColor(252, 176, 52) }, { 1.00, QColor(255, 232, 150) },
    };
    t = std::clamp(t, 0.0, 1.0);
    const auto* upper = std::find_if(std::begin(stops), std::end(stops), [t](const Stop& s) { return s.at >= t; });
    const auto* lower = upper == std::begin(stops) ? upper : upper - 1;
    const double f = upper->at > lower->at ? (t - lower->at) / (upper->at - lower->at) : 0.0;
    auto mix = [&](int a, int b) { return std::clamp(int((a + (b - a) * f) * brightness), 0, 255); };
    return QColor(mix(lower->colour.red(), upper->colour.red()), mix(lower->colour.green(), upper->colour.green()),
                  mix(lower->colour.blue(), upper->colour.blue()));
}

QPainterPath textPath(const QString& text, const QFont& font, const QRectF& rect)
{
    QPainterPath path;
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    path.addText(rect.center().x() - width / 2, baseline, font, text);
    return path;
}

}
