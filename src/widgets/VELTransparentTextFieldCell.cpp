#include "widgets/VELTransparentTextFieldCell.h"

void VELTransparentTextFieldCell::paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const
{
}
