#include "widgets/VELTransparentClipView.h"

#include <QWidget>

namespace {
constexpr const char* variantProperty = "VELTransparentClipView";

bool paintsOpaquely(const QWidget* widget)
{
    return widget->autoFillBackground() || widget->testAttribute(Qt::WA_OpaquePaintEvent);
}
} // namespace

QWidget* VELTransparentClipView::morph(QWidget* clipView)
{
    clipView->setProperty(variantProperty, true);
    return clipView;
}

bool VELTransparentClipView::isMorphed(const QWidget* clipView)
{
    return clipView->property(variantProperty).toBool();
}

void VELTransparentClipView::setDrawsBackground(QWidget* clipView, bool drawsBackground)
{
    clipView->setAutoFillBackground(drawsBackground);
}

bool VELTransparentClipView::drawsBackground(const QWidget* clipView)
{
    return clipView->autoFillBackground();
}

QWidget* VELTransparentClipView::opaqueAncestor(QWidget* clipView)
{
    QWidget* widget = clipView;
    if (drawsBackground(widget))
        return widget;
    while (widget->parentWidget() && !widget->isWindow()) {
        widget = widget->parentWidget();
        if (paintsOpaquely(widget))
            return widget;
    }
    return widget;
}
