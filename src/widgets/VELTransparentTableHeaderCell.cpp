#include "widgets/VELTransparentTableHeaderCell.h"

#include "widgets/PaintOverride.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOptionHeader>

namespace {
constexpr const char* variantName = "VELTransparentTableHeaderCell";

QRect sectionRect(const QHeaderView& header, int section)
{
    const int position = header.sectionViewportPosition(section);
    const int size = header.sectionSize(section);
    const QRect area = header.viewport()->rect();
    return header.orientation() == Qt::Horizontal ? QRect(position, 0, size, area.height())
                                                  : QRect(0, position, area.width(), size);
}

void paintSections(QWidget& viewport, QPainter& painter, const QPaintEvent& event)
{
    const auto& header = static_cast<const QHeaderView&>(*viewport.parentWidget());
    for (int visual = 0; visual < header.count(); ++visual) {
        const int section = header.logicalIndex(visual);
        const QRect frame = sectionRect(header, section);
        if (!header.isSectionHidden(section) && event.region().intersects(frame))
            VELTransparentTableHeaderCell::drawWithFrame(painter, frame, header, section);
    }
}
} // namespace

QHeaderView* VELTransparentTableHeaderCell::morph(QHeaderView* header)
{
    PaintOverride::install(header->viewport(), variantName, paintSections);
    return header;
}

bool VELTransparentTableHeaderCell::isMorphed(const QHeaderView* header)
{
    return PaintOverride::isInstalled(header->viewport(), variantName);
}

void VELTransparentTableHeaderCell::drawWithFrame(QPainter& painter, const QRect& frame, const QHeaderView& header, int section)
{
    painter.save();
    painter.setPen(header.palette().color(QPalette::ButtonText));
    painter.setBrush(Qt::NoBrush);
    // A Qt outline of a w x h rectangle covers w + 1 x h + 1 pixels; this one stays inside.
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.restore();
    drawInteriorWithFrame(painter, frame.adjusted(2, 2, -2, -2), header, section);
}

void VELTransparentTableHeaderCell::drawInteriorWithFrame(QPainter& painter, const QRect& frame, const QHeaderView& header, int section)
{
    QStyleOptionHeader option;
    option.initFrom(&header);
    option.rect = frame;
    option.section = section;
    option.orientation = header.orientation();
    if (const QAbstractItemModel* model = header.model()) {
        option.text = model->headerData(section, header.orientation(), Qt::DisplayRole).toString();
        const QVariant alignment = model->headerData(section, header.orientation(), Qt::TextAlignmentRole);
        option.textAlignment = alignment.isValid() ? Qt::Alignment(alignment.toInt()) : header.defaultAlignment();
    }
    painter.save();
    painter.setClipRect(frame, Qt::IntersectClip);
    header.style()->drawControl(QStyle::CE_HeaderLabel, &option, &painter, &header);
    painter.restore();
}
