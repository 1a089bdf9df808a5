#pragma once

#include <QtGlobal>

class QColor;
class QPainter;
class QRect;
class QTableView;

// The see-through variant of a table: no background, rows drawn cell by cell through the
// table's item delegates without their selection look, and selected rows marked by a pale
// yellow translucent band over whatever lies behind the table. Qt mapping: the table's
// viewport is where the rows are painted, so the variant replaces the viewport's painting
// in place; the table keeps its model, selection, delegates and place in the tree.
// Main thread only.
class VELTransparentTableView {
public:
    VELTransparentTableView() = delete;

    // Bits of makeTransparent(), combined by OR.
    enum Flag : quint32 {
        ReplaceCornerView = 1, // an empty plain widget where the scroll bars meet
        TransparentHeader = 2, // framed see-through header sections, transparent header viewport
        TransparentRows = 4,   // no grid, rows drawn by the variant
    };

    // Device RGB (0.9, 0.9, 0.75) at alpha 0.45.
    static QColor selectionColor();

    // Installs the variant's drawing on `table` and answers it; again, nothing changes.
    static QTableView* morph(QTableView* table);
    static bool isMorphed(const QTableView* table);

    // Makes the table's viewport and scroll area see-through whatever the flags, then
    // applies the flags in the order corner, header, rows.
    static void makeTransparent(QTableView* table, quint32 flags);

    // The variant's drawing of `dirty` (viewport coordinates): the selection band, then
    // every row that meets it, then the grid if the table shows one. Paints no background.
    static void drawRect(const QTableView& table, QPainter& painter, const QRect& dirty);
    static void highlightSelectionInClipRect(const QTableView& table, QPainter& painter, const QRect& clip);
    static void drawRow(const QTableView& table, QPainter& painter, int row, const QRect& clip);
};
