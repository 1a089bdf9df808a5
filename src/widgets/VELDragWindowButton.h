#pragma once

#include "widgets/VELClock.h"

#include <QPoint>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <optional>

// A button by which its window is dragged, and which still works as a button. A press
// released within 0.1 s is a click (with the user default "NSMiniaturizeOnDoubleClick" on,
// a double click miniaturises the window instead). Held longer, the window follows the
// pointer: the pointer is polled about 30 times a second and the window moved only for
// changes of more than one point, the final position being applied at release in any
// case. Where the window system places windows itself (Wayland), the drag is handed to it.
// Main thread only.
class VELDragWindowButton : public QPushButton {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds clickTime{100};
    static constexpr std::chrono::milliseconds pollInterval{33};

    explicit VELDragWindowButton(QWidget* parent = nullptr);
    explicit VELDragWindowButton(const QString& text, QWidget* parent = nullptr);

    // Replaces the monotonic clock that decides click or drag (tests).
    void setClock(VELClock clock) { m_clock = std::move(clock); }

    // The double-click setting is read once per process, at the first click of any such
    // button; this forgets the cached value (tests).
    static void resetCachedDoubleClickSetting();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private slots:
    // One look at the pointer; run by the poll timer while the button is held.
    void poll();

private:
    struct Press {
        std::chrono::milliseconds start;
        QPoint origin;  // the window's position, moved along with it
        QPoint anchor;  // where the press landed, in window coordinates
        QPoint pointer; // the pointer's latest global position
        int clickCount;
        bool dragging;
    };

    void press(QMouseEvent* event, int clickCount);
    void beginDrag();
    void follow(bool final);
    void performClick(int clickCount);
    void finish();

    VELClock m_clock = velSteadyClock();
    QTimer m_poll;
    std::optional<Press> m_press;
};
