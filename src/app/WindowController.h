#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class Exception;

// Base of the three window controllers: one window each, and a parent controller (the
// QObject parent) that takes the exceptions this one cannot handle. Main thread only.
class WindowController : public QObject {
    Q_OBJECT
public:
    explicit WindowController(WindowController* parent = nullptr);

    QWidget* window() const { return m_window; }
    // The controller that exceptions are passed on to; null at the top.
    WindowController* parentController() const;

    // Brings the window to the front as the active window.
    virtual void activate();
    // A hook for subclasses; does nothing here.
    virtual void deactivate();
    // Passes the exception to the parent controller; without one, raises it again.
    virtual void handleException(const Exception& exception);

protected:
    void setWindow(QWidget* window) { m_window = window; }

private:
    QPointer<QWidget> m_window;
};
