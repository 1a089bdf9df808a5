#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>

// An indeterminate progress bar whose stripes walk one step per animation delay, so
// the user sees the search running and how fast it goes. It steps only while it can be
// seen, and paints opaquely what lies under it with its frame, so a step repaints its
// own rectangle and not the see-through window behind it. Main thread only.
class BarberPole : public QWidget {
    Q_OBJECT
public:
    explicit BarberPole(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    // Whether the search is shown as running, seen or not.
    bool isAnimating() const { return m_animating; }
    // Whether the stripes are stepping now: animating and visible on the screen.
    bool isStepping() const { return m_timer.isActive(); }
    // Seconds between two steps of the stripes.
    void setAnimationDelay(double seconds);
    double animationDelay() const { return m_delaySeconds; }

    QSize sizeHint() const override;
    // Advances the stripes one position, as the timer does while animating.
    void step();
    // What lies under the pole changed (the window's picture): take it again.
    void backgroundChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    static constexpr int StripeWidth = 8;

    // Steps while animating and seen; a minimised or hidden window shows nobody.
    void updateStepping();
    // Takes what lies under the pole again; answers whether it changed. Never inside a
    // paint event: drawing the window there would repaint recursively.
    bool takeBackground();
    // After a paint that was not a step: takes the background again once the paint is
    // over and repaints if it changed, in case something the pole cannot see changed it.
    void checkBackgroundLater();
    // The picture for the current phase over what lies under the pole, drawn once per
    // background and size: the pole steps up to 30 times a second while the search runs,
    // and copying a picture costs far less than filling its antialiased paths every time.
    const QImage& frame();
    QImage renderFrame(bool animating) const;
    QImage grabBackground();

    QTimer m_timer;
    QImage m_background;
    bool m_animating = false;
    // Shown on the screen: spontaneous hide and show events tell minimising and restoring.
    bool m_seen = false;
    // The next paint only advances the stripes; anything else may have changed what is under the pole.
    bool m_stepPaint = false;
    // Set while the window under the pole is drawn into its background.
    bool m_grabbing = false;
    bool m_backgroundCheckPending = false;
    // Index 0 is the still pole, 1 + phase the moving one.
    std::array<QImage, 1 + 2 * StripeWidth> m_frames;
    double m_delaySeconds = 0.165;
    int m_phase = 0;
};
