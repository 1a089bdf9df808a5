#include "app/BarberPole.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

BarberPole::BarberPole(QWidget* parent)
    : QWidget(parent)
{
    // The pole paints what lies under it itself: a step then repaints only its rectangle,
    // not the see-through window behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_timer, &QTimer::timeout, this, &BarberPole::step);
    setAnimationDelay(m_delaySeconds);
}

void BarberPole::startAnimation()
{
    m_animating = true;
    updateStepping();
    update();
}

void BarberPole::stopAnimation()
{
    m_animating = false;
    updateStepping();
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

void BarberPole::backgroundChanged()
{
    if (takeBackground())
        update();
}

void BarberPole::updateStepping()
{
    if (m_animating && m_seen)
        m_timer.start();
    else
        m_timer.stop();
}

bool BarberPole::takeBackground()
{
    // A pole that is not shown takes its background when it is.
    QImage background = isVisible() ? grabBackground() : QImage();
    if (background == m_background && !background.isNull())
        return false;
    m_background = std::move(background);
    std::fill(m_frames.begin(), m_frames.end(), QImage());
    return true;
}

void BarberPole::checkBackgroundLater()
{
    if (std::exchange(m_backgroundCheckPending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_backgroundCheckPending = false;
        if (takeBackground()) {
            m_stepPaint = true;
            update();
        }
    });
}

void BarberPole::step()
{
    m_phase = (m_phase + 1) % (2 * StripeWidth);
    m_stepPaint = true;
    update();
}

void BarberPole::paintEvent(QPaintEvent*)
{
    if (m_grabbing)
        return;
    // Any paint but a step's may come from a change under the pole (an expose, a window
    // the pole does not know of).
    if (!std::exchange(m_stepPaint, false))
        checkBackgroundLater();
    const QImage& image = frame();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image);
}

void BarberPole::showEvent(QShowEvent*)
{
    m_seen = true;
    updateStepping();
    takeBackground();
}

void BarberPole::hideEvent(QHideEvent*)
{
    m_seen = false;
    updateStepping();
}

void BarberPole::resizeEvent(QResizeEvent*)
{
    takeBackground();
}

void BarberPole::moveEvent(QMoveEvent*)
{
    takeBackground();
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

QImage BarberPole::grabBackground()
{
    QImage image(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatioF());
    image.fill(Qt::transparent);
    QWidget* top = window();
    if (top == this)
        return image;
    // The window under the pole, drawn as if the pole were not there.
    m_grabbing = true;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    top->render(&image, QPoint(), QRegion(QRect(mapTo(top, QPoint(0, 0)), size())),
        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    m_grabbing = false;
    return image;
}

QImage BarberPole::renderFrame(bool animating) const
{
    QImage image = m_background;
    if (image.size() != size() * devicePixelRatioF()) {
        // Not taken yet: the window's own colour until it is.
        image = QImage(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(devicePixelRatioF());
        image.fill(Qt::transparent);
    }
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
