#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <array>

// An indeterminate progress bar whose stripes walk one step per animation delay, so
// the user sees the search running and how fast it goes. Main thread only.
class BarberPole : public QWidget {
    Q_OBJECT
public:
    explicit BarberPole(QWidget* parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_timer.isActive(); }
    // Seconds between two steps of the stripes.
    void setAnimationDelay(double seconds);
    double animationDelay() const { return m_delaySeconds; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int StripeWidth = 8;

    void step();
    // The picture for the current phase, drawn once per size: the pole steps up to 30
    // times a second while the search runs, and copying a picture costs far less than
    // filling its antialiased paths every time.
    const QImage& frame();
    QImage renderFrame(bool animating) const;

    QTimer m_timer;
    // Index 0 is the still pole, 1 + phase the moving one.
    std::array<QImage, 1 + 2 * StripeWidth> m_frames;
    double m_delaySeconds = 0.165;
    int m_phase = 0;
};
