#pragma once

class QAbstractScrollArea;
class QWidget;

// The see-through variant of a scroll area: it paints no frame, no background and no
// corner of its own, while its viewport, scroll bars and header still paint themselves
// (in Qt they are child widgets, so they redraw without being asked). The frame's room is
// kept, so nothing moves. Operates on an existing scroll area in place; main thread only.
class VELTransparentScrollView {
public:
    VELTransparentScrollView() = delete;

    // Installs the variant's drawing on `scrollView` and answers it; again, nothing changes.
    static QAbstractScrollArea* morph(QAbstractScrollArea* scrollView);
    static bool isMorphed(const QAbstractScrollArea* scrollView);

    // The widget that shows the table's column header inside the scroll area: the header
    // view's viewport. Null when the scroll area has no column header.
    static QWidget* headerClipView(const QAbstractScrollArea* scrollView);
};
