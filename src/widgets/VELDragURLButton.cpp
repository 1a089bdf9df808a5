#include "widgets/VELDragURLButton.h"

#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {
QImage blankImage(const QSize& points, qreal ratio)
{
    QImage image(points * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}
} // namespace

VELDragURLButton::VELDragURLButton(QWidget* parent)
    : VELDragURLButton(QString(), parent)
{
}

VELDragURLButton::VELDragURLButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    m_holdTimer.setSingleShot(true);
    m_holdTimer.setInterval(clickTime);
    connect(&m_holdTimer, &QTimer::timeout, this, &VELDragURLButton::startDrag);
}

void VELDragURLButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_press) {
        event->ignore();
        return;
    }
    m_press = Press{m_clock(), event->position().toPoint()};
    setDown(true);
    m_holdTimer.start();
}

void VELDragURLButton::mouseMoveEvent(QMouseEvent*)
{
    // Any movement with the button held means the title is being dragged.
    if (m_press)
        startDrag();
}

void VELDragURLButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_press || event->button() != Qt::LeftButton)
        return;
    const bool inTime = m_clock() - m_press->start <= clickTime;
    m_holdTimer.stop();
    m_press.reset();
    setDown(false);
    // A release later than that belongs to a drag the event loop was too busy to start.
    if (inTime)
        click();
}

void VELDragURLButton::startDrag()
{
    if (!m_press)
        return;
    const QPoint pressedAt = m_press->position;
    m_holdTimer.stop();
    m_press.reset();
    setDown(false);
    auto* mime = new QMimeData;
    mime->setText(text());
    // The picture hangs 4 points above the button's top-left corner and covers the button
    // below it, so the pointer keeps its place on the button's drawing.
    execDrag(mime, dragImage(), pressedAt + QPoint(0, 4));
}

void VELDragURLButton::execDrag(QMimeData* mime, const QImage& picture, const QPoint& hotSpot)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->setPixmap(QPixmap::fromImage(picture));
    drag->setHotSpot(hotSpot);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

QImage VELDragURLButton::dragImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = this->size();
    QImage content = blankImage(size, ratio);
    {
        QPainter painter(&content);
        painter.fillRect(QRect(QPoint(), size), QColor::fromRgbF(0.9f, 0.9f, 0.75f, 0.75f));
    }
    render(&content, QPoint(), QRegion(), QWidget::DrawChildren);

    QImage framed = blankImage(size + QSize(4, 4), ratio);
    QPainter painter(&framed);
    painter.fillRect(QRect(QPoint(), size + QSize(4, 4)), Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(QPoint(1, 1), size + QSize(2, 2)), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(0.95);
    painter.drawImage(QPoint(2, 2), content);
    return framed;
}
