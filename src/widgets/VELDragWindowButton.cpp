#include "widgets/VELDragWindowButton.h"

#include "platform/Log.h"
#include "platform/UserDefaults.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

#include <exception>

namespace {
enum class CachedSetting { NotRead, Off, On };
CachedSetting doubleClickSetting = CachedSetting::NotRead;

bool miniaturizesOnDoubleClick()
{
    if (doubleClickSetting == CachedSetting::NotRead) {
        bool on = false;
        // Runs inside a mouse event handler: a store that fails reads as the setting off.
        try {
            on = UserDefaults::standardUserDefaults().boolForKey("NSMiniaturizeOnDoubleClick");
        } catch (const std::exception& failure) {
            logMessage("NSMiniaturizeOnDoubleClick unreadable: %s", failure.what());
        }
        doubleClickSetting = on ? CachedSetting::On : CachedSetting::Off;
    }
    return doubleClickSetting == CachedSetting::On;
}

bool windowSystemPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

VELDragWindowButton::VELDragWindowButton(QWidget* parent)
    : VELDragWindowButton(QString(), parent)
{
}

VELDragWindowButton::VELDragWindowButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    m_poll.setInterval(pollInterval);
    m_poll.setTimerType(Qt::PreciseTimer);
    connect(&m_poll, &QTimer::timeout, this, &VELDragWindowButton::poll);
}

void VELDragWindowButton::resetCachedDoubleClickSetting()
{
    doubleClickSetting = CachedSetting::NotRead;
}

void VELDragWindowButton::mousePressEvent(QMouseEvent* event)
{
    press(event, 1);
}

void VELDragWindowButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    press(event, 2);
}

void VELDragWindowButton::press(QMouseEvent* event, int clickCount)
{
    if (event->button() != Qt::LeftButton || m_press) {
        event->ignore();
        return;
    }
    const QPoint pointer = event->globalPosition().toPoint();
    const QPoint origin = window()->pos();
    m_press = Press{m_clock(), origin, pointer - origin, pointer, clickCount, false};
    setDown(true);
    m_poll.start();
}

void VELDragWindowButton::mouseMoveEvent(QMouseEvent* event)
{
    // Only remembered: the window follows at the next poll, not at every event.
    if (m_press)
        m_press->pointer = event->globalPosition().toPoint();
}

void VELDragWindowButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_press || event->button() != Qt::LeftButton)
        return;
    m_press->pointer = event->globalPosition().toPoint();
    if (!m_press->dragging && m_clock() - m_press->start <= clickTime) {
        const int clickCount = m_press->clickCount;
        finish();
        performClick(clickCount);
        return;
    }
    if (!m_press->dragging)
        beginDrag();
    if (m_press)
        follow(true);
    finish();
    setFocus(Qt::MouseFocusReason);
}

void VELDragWindowButton::poll()
{
    if (!m_press)
        return;
    if (!m_press->dragging && m_clock() - m_press->start > clickTime)
        beginDrag();
    if (m_press && m_press->dragging)
        follow(false);
}

void VELDragWindowButton::beginDrag()
{
    setDown(false);
    m_press->dragging = true;
    QWindow* handle = window()->windowHandle();
    if (windowSystemPlacesWindows() && handle && handle->startSystemMove())
        finish(); // the window system owns the pointer until release
}

void VELDragWindowButton::follow(bool final)
{
    const QPoint candidate = m_press->pointer - m_press->anchor;
    const QPoint delta = candidate - m_press->origin;
    // Moves of one point or less wait for the release, so jitter does not move the window.
    if (final || std::abs(delta.x()) > 1 || std::abs(delta.y()) > 1) {
        window()->move(candidate);
        m_press->origin = candidate;
    }
}

void VELDragWindowButton::performClick(int clickCount)
{
    // Read at the first click of all, single or double, so later changes are not seen.
    const bool miniaturizes = miniaturizesOnDoubleClick();
    if (clickCount > 1 && miniaturizes)
        window()->showMinimized();
    else
        click();
}

void VELDragWindowButton::finish()
{
    m_poll.stop();
    m_press.reset();
    setDown(false);
}
