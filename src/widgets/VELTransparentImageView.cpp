#include "widgets/VELTransparentImageView.h"

#include <QPainter>

VELTransparentImageView::VELTransparentImageView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
}

void VELTransparentImageView::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void VELTransparentImageView::paintEvent(QPaintEvent*)
{
    if (m_image.isNull())
        return;
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    const qreal pictureHeight = m_image.deviceIndependentSize().height();
    painter.drawImage(QPointF(0, height() - pictureHeight), m_image);
}
