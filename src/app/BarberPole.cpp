#include "app/BarberPole.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

BarberPole::BarberPole(QWidget* parent)
    : QWidget(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &BarberPole::step);
    setAnimationDelay(m_delaySeconds);
}

void BarberPole::startAnimation()
{
    m_timer.start();
    update();
}

void BarberPole::stopAnimation()
{
    m_timer.stop();
    update();
}

void BarberPole::setAnimationDelay(double seconds)
{
    m_delaySeconds = seconds;
    // Qt timers cannot go below a millisecond; nobody could see that anyway.
    m_timer.setInterval(std::max(1, static_cast<int>(std::lround(seconds * 1000.0))));
}

QSize BarberPole::sizeHint() const
{
    return { 120, 12 };
}

void BarberPole::step()
{
    m_phase = (m_phase + 1) % (2 * StripeWidth);
    update();
}

void BarberPole::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, frame());
}

const QImage& BarberPole::frame()
{
    const bool animating = isAnimating();
    QImage& cached = m_frames[animating ? 1 + m_phase : 0];
    const QSize pixels = size() * devicePixelRatioF();
    if (cached.size() != pixels || cached.devicePixelRatio() != devicePixelRatioF())
        cached = renderFrame(animating);
    return cached;
}

QImage BarberPole::renderFrame(bool animating) const
{
    QImage image(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatioF());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath clip;
    clip.addRoundedRect(frame, 3, 3);
    painter.fillPath(clip, QColor(20, 8, 4, 200));
    if (animating) {
        painter.save();
        painter.setClipPath(clip);
        const QColor stripe(230, 110, 30, 220);
        const int h = height();
        for (int x = -h - 2 * StripeWidth + m_phase; x < width() + h; x += 2 * StripeWidth) {
            const QPointF band[] = { { double(x), double(h) }, { double(x + h), 0.0 },
                { double(x + h + StripeWidth), 0.0 }, { double(x + StripeWidth), double(h) } };
            painter.setPen(Qt::NoPen);
            painter.setBrush(stripe);
            painter.drawPolygon(band, 4);
        }
        painter.restore();
    }
    painter.setPen(QColor(150, 90, 50));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(clip);
    return image;
}
