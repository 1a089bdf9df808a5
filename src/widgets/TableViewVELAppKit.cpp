#include "widgets/TableViewVELAppKit.h"

#include <QHeaderView>
#include <QRectF>
#include <QTableView>

#include <cmath>

bool needsVerticalScrollerForFrame(const QTableView& table, const QRectF& frame)
{
    const int rows = table.model() ? table.model()->rowCount(table.rootIndex()) : 0;
    const float rowHeight = static_cast<float>(table.verticalHeader()->defaultSectionSize());
    if (rowHeight <= 0.0f)
        return rows > 0;
    // Truncated toward zero, as the scroll bar decision always was: a partly visible row
    // does not count as fitting.
    const float fitting = std::trunc(static_cast<float>(frame.height()) / rowHeight);
    return fitting < static_cast<float>(rows);
}
