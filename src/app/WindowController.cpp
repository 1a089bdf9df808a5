#include "app/WindowController.h"

#include "platform/Exception.h"

#include <QWidget>

WindowController::WindowController(WindowController* parent)
    : QObject(parent)
{
}

WindowController* WindowController::parentController() const
{
    return qobject_cast<WindowController*>(parent());
}

void WindowController::activate()
{
    if (!m_window)
        return;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
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
