#include "widgets/VELRectFillWithImage.h"

#include <QColor>
#include <QPainter>
#include <QRectF>

void VELRectFillWithImage(QPainter& painter, const QRectF& rect, const QColor& color)
{
    // Drawing the colour straight in source-atop mode gives the same pixels as filling an
    // offscreen picture and compositing it, without allocating one per call.
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(rect, color);
    painter.restore();
}
