#pragma once

#include "widgets/VELClock.h"

#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <optional>

class QMimeData;

// A button whose title is an address that can be dragged out of the window as plain text,
// and which still works as a button. A press released within 0.3 s without moving is a
// click; a move, or holding still for 0.3 s, starts a drag of the title with dragImage().
// Drops are offered a copy only, whatever modifier keys are held. Main thread only.
class VELDragURLButton : public QPushButton {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds clickTime{300};

    explicit VELDragURLButton(QWidget* parent = nullptr);
    explicit VELDragURLButton(const QString& text, QWidget* parent = nullptr);

    // Replaces the monotonic clock that decides click or drag (tests).
    void setClock(VELClock clock) { m_clock = std::move(clock); }

    // The picture dragged with the title: 4 points wider and higher than the button, a
    // black one-point outline, a transparent one-point ring, then the button's own drawing
    // over a pale yellow fill, laid at 95% opacity.
    QImage dragImage();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Runs the drag; `hotSpot` is the pointer's place in `picture`. Blocks until the drop
    // like any Qt drag. Overridden by tests, which cannot complete a real drag.
    virtual void execDrag(QMimeData* mime, const QImage& picture, const QPoint& hotSpot);

private:
    struct Press {
        std::chrono::milliseconds start;
        QPoint position;
    };

    void startDrag();

    VELClock m_clock = velSteadyClock();
    QTimer m_holdTimer;
    std::optional<Press> m_press;
};
