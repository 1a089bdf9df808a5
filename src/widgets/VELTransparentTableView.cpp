#include "widgets/VELTransparentTableView.h"

#include "widgets/PaintOverride.h"
#include "widgets/VELRectFillWithImage.h"
#include "widgets/VELTransparentClipView.h"
#include "widgets/VELTransparentScrollView.h"
#include "widgets/VELTransparentTableHeaderCell.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>
#include <QTableView>

namespace {
constexpr const char* variantName = "VELTransparentTableView";
constexpr const char* opaqueTableName = "VELOpaqueTableBackground";

// Logical indexes of the visible sections of `header` that meet [from, to], in visual
// order (the toolkit's rowsInRect:/columnsInRect:).
QList<int> sectionsIn(const QHeaderView& header, int from, int to)
{
    QList<int> sections;
    const int first = header.visualIndexAt(std::max(from, 0));
    if (first < 0 || to < 0)
        return sections;
    int last = header.visualIndexAt(to);
    if (last < 0)
        last = header.count() - 1;
    for (int visual = first; visual <= last; ++visual) {
        const int logical = header.logicalIndex(visual);
        if (!header.isSectionHidden(logical))
            sections.append(logical);
    }
    return sections;
}

QList<int> rowsIn(const QTableView& table, const QRect& rect)
{
    return sectionsIn(*table.verticalHeader(), rect.top(), rect.bottom());
}

QList<int> columnsIn(const QTableView& table, const QRect& rect)
{
    return sectionsIn(*table.horizontalHeader(), rect.left(), rect.right());
}

QRect rectOfRow(const QTableView& table, int row)
{
    return QRect(0, table.rowViewportPosition(row), table.viewport()->width(), table.rowHeight(row));
}

bool isRowSelected(const QTableView& table, int row)
{
    const QItemSelectionModel* selection = table.selectionModel();
    return selection && selection->isRowSelected(row, table.rootIndex());
}

QStyleOptionViewItem cellOption(const QTableView& table, const QRect& rect)
{
    QStyleOptionViewItem option;
    option.initFrom(&table);
    // Never drawn as selected or focused: the band drawn before the cells shows that.
    option.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.rect = rect;
    option.widget = &table;
    option.font = table.font();
    option.decorationSize = table.iconSize().isValid() ? table.iconSize() : QSize(16, 16);
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = table.textElideMode();
    option.showDecorationSelected = false;
    if (table.wordWrap())
        option.features |= QStyleOptionViewItem::WrapText;
    return option;
}

void drawGridInClipRect(const QTableView& table, QPainter& painter, const QRect& clip)
{
    QStyleOptionViewItem option = cellOption(table, clip);
    const QRgb color = static_cast<QRgb>(table.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &table));
    painter.save();
    painter.setPen(QPen(QColor::fromRgba(color), 0, table.gridStyle()));
    for (const int row : rowsIn(table, clip)) {
        const int bottom = table.rowViewportPosition(row) + table.rowHeight(row) - 1;
        painter.drawLine(clip.left(), bottom, clip.right(), bottom);
    }
    for (const int column : columnsIn(table, clip)) {
        const int right = table.columnViewportPosition(column) + table.columnWidth(column) - 1;
        painter.drawLine(right, clip.top(), right, clip.bottom());
    }
    painter.restore();
}

void paintRows(QWidget& viewport, QPainter& painter, const QPaintEvent& event)
{
    const auto& table = static_cast<const QTableView&>(*viewport.parentWidget());
    for (const QRect& dirty : event.region())
        VELTransparentTableView::drawRect(table, painter, dirty);
}

void replaceCornerView(QTableView* table)
{
    // Where the scroll bars meet the scroll area paints an opaque square of its own; an
    // empty plain widget there lets the background through.
    auto* corner = new QWidget;
    if (const QWidget* old = table->cornerWidget())
        corner->setGeometry(old->geometry());
    table->setCornerWidget(corner);
}

// In Qt the table and its clip view are one widget, the viewport. A table that keeps its
// own drawing stays opaque over the now see-through clip view, as before: its background
// is painted under the rows.
void keepTableOpaque(QTableView* table)
{
    const auto fillBase = [](QWidget& viewport, QPainter& painter, const QPaintEvent& event) {
        const QTableView& owner = static_cast<const QTableView&>(*viewport.parentWidget());
        painter.fillRect(event.rect(), owner.palette().brush(QPalette::Base));
    };
    PaintOverride::install(table->viewport(), opaqueTableName, fillBase, PaintOverride::Mode::Underlay);
}

void makeHeaderTransparent(QTableView* table)
{
    QHeaderView* header = table->horizontalHeader();
    VELTransparentTableHeaderCell::morph(header);
    header->setAutoFillBackground(false);
    QWidget* headerClip = VELTransparentClipView::morph(VELTransparentScrollView::headerClipView(table));
    VELTransparentClipView::setDrawsBackground(headerClip, false);
}
} // namespace

QColor VELTransparentTableView::selectionColor()
{
    return QColor::fromRgbF(0.9f, 0.9f, 0.75f, 0.45f);
}

QTableView* VELTransparentTableView::morph(QTableView* table)
{
    PaintOverride::install(table->viewport(), variantName, paintRows);
    return table;
}

bool VELTransparentTableView::isMorphed(const QTableView* table)
{
    return PaintOverride::isInstalled(table->viewport(), variantName);
}

void VELTransparentTableView::makeTransparent(QTableView* table, quint32 flags)
{
    if (flags & ReplaceCornerView)
        replaceCornerView(table);
    QWidget* clipView = VELTransparentClipView::morph(table->viewport());
    VELTransparentScrollView::morph(table);
    VELTransparentClipView::setDrawsBackground(clipView, false);
    if (flags & TransparentHeader)
        makeHeaderTransparent(table);
    if (flags & TransparentRows) {
        table->setShowGrid(false);
        morph(table);
    } else {
        keepTableOpaque(table);
    }
}

void VELTransparentTableView::drawRect(const QTableView& table, QPainter& painter, const QRect& dirty)
{
    highlightSelectionInClipRect(table, painter, dirty);
    for (const int row : rowsIn(table, dirty))
        drawRow(table, painter, row, dirty);
    if (table.showGrid())
        drawGridInClipRect(table, painter, dirty);
}

void VELTransparentTableView::highlightSelectionInClipRect(const QTableView& table, QPainter& painter, const QRect& clip)
{
    const QColor band = selectionColor();
    for (const int row : rowsIn(table, clip)) {
        if (isRowSelected(table, row))
            VELRectFillWithImage(painter, rectOfRow(table, row).intersected(clip), band);
    }
}

void VELTransparentTableView::drawRow(const QTableView& table, QPainter& painter, int row, const QRect& clip)
{
    const QAbstractItemModel* model = table.model();
    if (!model)
        return;
    const QRect rowRect = rectOfRow(table, row);
    for (const int column : columnsIn(table, clip)) {
        const QModelIndex index = model->index(row, column, table.rootIndex());
        const QRect cell(table.columnViewportPosition(column), rowRect.y(), table.columnWidth(column), rowRect.height());
        // A fresh option per cell, so nothing set for one cell reaches the next.
        table.itemDelegateForIndex(index)->paint(&painter, cellOption(table, cell), index);
    }
}
