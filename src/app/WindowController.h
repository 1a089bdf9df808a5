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

    // Builds the window on first use (see loadWindow()).
    QWidget* window() const;
    // The controller that exceptions are passed on to; null at the top.
    WindowController* parentController() const;

    // Brings the window to the front as the active window.
    virtual void activate();
    // A hook for subclasses; does nothing here.
    virtual void deactivate();
    // Passes the exception to the parent controller; without one, raises it again.
    virtual void handleException(const Exception& exception);

protected:
    void setWindow(QWidget* window);
    // Builds the window when window() is first asked for. Panels not shown at start
    // build theirs here, so that the program's first paint does not wait for them.
    virtual void loadWindow() { }
    // The window if it has been built, without building it (for destructors).
    QWidget* loadedWindow() const { return m_window; }

private:
    QPointer<QWidget> m_window;
    mutable bool m_windowLoaded = false;
};
