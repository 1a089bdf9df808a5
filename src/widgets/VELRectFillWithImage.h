#pragma once

class QColor;
class QPainter;
class QRectF;

// Fills `rect` with `color` laid over what the painter's device already holds, with the
// source-atop operation: colour x destination alpha + destination x (1 - colour alpha),
// the destination's alpha kept. A plain fill would replace the pixels, alpha included;
// this one lets a translucent selection band show the background through it.
// Main thread (or whichever thread owns the painter). The painter's state is restored.
void VELRectFillWithImage(QPainter& painter, const QRectF& rect, const QColor& color);
