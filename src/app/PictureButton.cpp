#include "app/PictureButton.h"

#include <QPainter>

PictureButton::PictureButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void PictureButton::setAlternateImage(const QImage& image)
{
    m_alternateImage = image;
    update();
}

void PictureButton::setTransparent(bool transparent)
{
    m_transparent = transparent;
    setVisible(!transparent);
}

QSize PictureButton::sizeHint() const
{
    return m_image.isNull() ? QSize(16, 16) : m_image.size();
}

void PictureButton::paintEvent(QPaintEvent*)
{
    const QImage& picture = isDown() && !m_alternateImage.isNull() ? m_alternateImage : m_image;
    QPainter painter(this);
    if (!isEnabled())
        painter.setOpacity(0.4);
    if (picture.isNull()) {
        // Without its picture the button still says what it does.
        painter.setPen(QColor(250, 210, 140));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
        return;
    }
    // Centred, never scaled: the skin's pictures are drawn pixel for pixel.
    const QPoint origin((width() - picture.width()) / 2, (height() - picture.height()) / 2);
    painter.drawImage(origin, picture);
}
