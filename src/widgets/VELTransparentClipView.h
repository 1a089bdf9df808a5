#pragma once

class QWidget;

// The see-through variant of a scroll area's viewport (the widget that clips the scrolled
// content). Qt mapping: the viewport's "draws background" flag is its autoFillBackground;
// a viewport that does not fill is not opaque, so Qt paints what lies behind it first.
// Operates on existing widgets in place; main thread only.
class VELTransparentClipView {
public:
    VELTransparentClipView() = delete;

    // Marks `clipView` as the variant and answers it; nothing else changes until
    // setDrawsBackground(). Calling it again changes nothing.
    static QWidget* morph(QWidget* clipView);
    static bool isMorphed(const QWidget* clipView);

    // Records the flag only: no repaint, no other setting.
    static void setDrawsBackground(QWidget* clipView, bool drawsBackground);
    static bool drawsBackground(const QWidget* clipView);

    // Opacity follows the draws-background flag.
    static bool isOpaque(const QWidget* clipView) { return drawsBackground(clipView); }
    // The view itself when it draws its background, otherwise the nearest ancestor that
    // paints itself opaquely (the window at the latest).
    static QWidget* opaqueAncestor(QWidget* clipView);
};
