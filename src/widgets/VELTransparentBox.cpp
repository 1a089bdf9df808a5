#include "widgets/VELTransparentBox.h"

VELTransparentBox::VELTransparentBox(QWidget* parent)
    : QFrame(parent)
{
    setAutoFillBackground(false);
}

void VELTransparentBox::paintEvent(QPaintEvent*)
{
}
