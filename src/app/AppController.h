#pragma once

#include "app/WindowController.h"
#include "platform/Exception.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class MainController;
class PreferencesController;
namespace Ui {
class AboutPanel;
}

// The application's delegate: owns the about panel and the exception funnel, the one road
// by which an exception raised on any thread reaches the user. Posting works from any
// thread; everything else runs on the main thread.
class AppController : public WindowController {
    Q_OBJECT
public:
    // Installs the funnel's sink, so worker threads reach postException() from now on.
    AppController();
    ~AppController() override;

    void setMainController(MainController* controller) { m_mainController = controller; }
    void setPreferencesController(PreferencesController* controller) { m_preferencesController = controller; }
    MainController* mainController() const { return m_mainController; }
    PreferencesController* preferencesController() const { return m_preferencesController; }

    void awakeFromNib();
    void resetVisuals();

    // Any thread: queues a copy; at most four wait, later ones are dropped.
    void postException(const Exception& exception);
    // Main thread: shows what is queued, oldest first; never waits for a posting thread.
    void handlePendingExceptions();
    // Shows the alert at once; never passes the exception on.
    void handleException(const Exception& exception) override;
    void handleFatalException(const Exception& exception);
    void handleNonFatalException(const Exception& exception);

    // Ends the application: leaves the event loop; nothing queued behind is shown.
    void terminate();
    bool isTerminating() const { return m_terminating; }
    // What terminate() does to the event loop; tests keep theirs running. An empty
    // function restores leaving the loop.
    static void setQuitHandler(std::function<void()> handler);

    // The address buttons' road: the text goes to the clipboard, then to the service the
    // user default names (or the given default). Answers whether a service took it.
    bool performService(const QString& userDefaultsKey, const QString& defaultServiceName, const QString& text);

public slots:
    void applicationDidFinishLaunching();
    void pushAbout();
    void pushWindow();
    void pushEmail();
    void pushWWW();
    void pushPreferences();

protected:
    // The about panel, built when first opened.
    void loadWindow() override;

private:
    Ui::AboutPanel& ui();

    std::unique_ptr<Ui::AboutPanel> m_ui;
    MainController* m_mainController = nullptr;
    PreferencesController* m_preferencesController = nullptr;
    bool m_terminating = false;

    std::mutex m_exceptionLock;
    // None until the first post and again after every drain.
    std::unique_ptr<std::vector<Exception>> m_pendingExceptions;
};
