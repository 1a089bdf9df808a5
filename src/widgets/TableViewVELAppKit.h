#pragma once

class QRectF;
class QTableView;

// Whether `table` needs a vertical scroll bar when shown in `frame` (usually its scroll
// area's geometry): true when fewer whole rows of the default row height fit in the
// frame's height than the table has rows. The header's height is not subtracted.
// Main thread only.
bool needsVerticalScrollerForFrame(const QTableView& table, const QRectF& frame);
