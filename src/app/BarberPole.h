#pragma once

#include <QTimer>
#include <QWidget>

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
    void step();

    QTimer m_timer;
    double m_delaySeconds = 0.165;
    int m_phase = 0;
};
