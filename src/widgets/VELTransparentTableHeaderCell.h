#pragma once

class QHeaderView;
class QPainter;
class QRect;

// The see-through variant of a table's header cells: each section gets a one-point frame
// in the header's text colour (ButtonText) and its title drawn 2 points in from every edge, with no
// background. Qt mapping: a header view draws all its sections, so the variant is imposed
// on the header view as a whole, in place. Main thread only.
class VELTransparentTableHeaderCell {
public:
    VELTransparentTableHeaderCell() = delete;

    // Installs the variant's drawing on `header` and answers it; again, nothing changes.
    static QHeaderView* morph(QHeaderView* header);
    static bool isMorphed(const QHeaderView* header);

    // Draws `section` of `header` into `frame` (viewport coordinates): the outline, then
    // the interior in `frame` inset by 2 on every side.
    static void drawWithFrame(QPainter& painter, const QRect& frame, const QHeaderView& header, int section);
    static void drawInteriorWithFrame(QPainter& painter, const QRect& frame, const QHeaderView& header, int section);
};
