#include "app/WindowController.h"

#include "platform/Exception.h"

#include <QWidget>

WindowController::WindowController(WindowController* parent)
    : QObject(parent)
{
}

QWidget* WindowController::window() const
{
    if (!m_windowLoaded) {
        m_windowLoaded = true;
        // Building the window does not change what the controller stands for.
        const_cast<WindowController*>(this)->loadWindow();
    }
    return m_window;
}

void WindowController::setWindow(QWidget* window)
{
    m_window = window;
    m_windowLoaded = true;
}

WindowController* WindowController::parentController() const
{
    return qobject_cast<WindowController*>(parent());
}

void WindowController::activate()
{
    QWidget* shown = window();
    if (!shown)
        return;
    shown->show();
    shown->raise();
    shown->activateWindow();
}

void WindowController::deactivate()
{
}

void WindowController::handleException(const Exception& exception)
{
    if (auto* parent = parentController()) {
        parent->handleException(exception);
        return;
    }
    throw exception;
}
