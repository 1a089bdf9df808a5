#pragma once

#include "app/WindowController.h"

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

class AppController;
class DiscoveryEngine;
class HarkenerIcon;
class QSortFilterProxyModel;
class QTableView;
class ServerRecord;
class ServerRegistry;
class ServerTableModel;
namespace Ui {
class MainWindow;
}

// Drives the application from the main thread: owns the search engine, runs the
// one-second tick (exceptions, preferences, run status, registry ageing, table reload,
// auto-open), suspends and resumes the search, launches the game on the selected server
// and iconizes or opens the skinned main window. Its parent controller is the
// application controller. Main thread only, except serverManagerChanged().
class MainController : public WindowController {
    Q_OBJECT
public:
    // Window levels: normal while iconized, above normal windows once opened again.
    static constexpr int NormalLevel = 0;
    static constexpr int FloatingLevel = 100;

    MainController(std::unique_ptr<DiscoveryEngine> engine, ServerRegistry& registry, AppController* parent);
    ~MainController() override;

    // Builds the skinned view tree and puts the pictures on it.
    void awakeFromNib();
    void resetVisuals();
    void applicationDidFinishLaunching();

    // The one-second tick.
    void pollMyself();
    // Any thread: marks the table as changed; the next tick reloads it.
    void serverManagerChanged();
    void displayRunStatusInButton();

    // The game's executable: inside a ".app" bundle the program named after it.
    QString launchPath() const;
    // Runs one program to its end; a failure to start is shown to the user, then returns.
    void startTaskForExecutable(const QString& path, const QStringList& arguments);
    // Quits, after asking when the user wants to be asked. Never lets the window close.
    bool windowShouldClose();

    void setBackImage(const QImage& image);
    QImage backImage() const { return m_backImage; }

    void iconize();
    void deiconize();
    void _iconize();
    void _deiconize();
    // The window system minimises the window by itself.
    void windowWillMiniaturize();
    int windowLevel() const { return m_windowLevel; }
    bool isAutoOpened() const { return m_autoOpened; }

    // The server the table's selection stands for, whatever the sort order.
    std::optional<ServerRecord> selectedServer() const;
    QTableView* tableView() const;
    ServerTableModel* tableModel() const { return m_model; }

    // How long Play waits for the old engine thread after a game before leaving the
    // restart to the tick (tests shorten it).
    void setEngineWindDownMilliseconds(int milliseconds) { m_engineWindDownMilliseconds = milliseconds; }

    // Moves a view into another, shifting its origin by minus the offset.
    static void reorderView(QWidget* view, QWidget* target, QPoint offset);

public slots:
    void pushSuspend();
    void pushPlay();
    void pushClose();
    void pushMiniaturize();
    void pushMore();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildViewTree();
    void setUpTable();
    void setUpActions();
    void followPreferences();
    void reloadTable();
    void applyAutoOpenRule(std::size_t count, int autoOpen);
    void restartSearchAfterPlay();
    void setWindowLevel(int level);
    void updateMiniwindowImage();
    bool isMiniaturized() const;

    std::unique_ptr<Ui::MainWindow> m_ui;
    std::unique_ptr<HarkenerIcon> m_icon;
    std::unique_ptr<DiscoveryEngine> m_woodstock;
    ServerRegistry& m_registry;
    ServerTableModel* m_model = nullptr;
    QSortFilterProxyModel* m_sortedModel = nullptr;
    QTimer m_timer;
    QImage m_backImage;
    // Set by whatever thread changes the registry, taken back by the tick.
    std::atomic<bool> m_gotStuff { false };
    bool m_autoOpened = false;
    std::size_t m_nEntries = 0;
    int m_windowLevel = NormalLevel;
    // Set while the tick, an alert it shows or a launched game holds the main thread in a
    // nested event loop, so that no second tick runs inside it.
    bool m_busy = false;
    // The old engine thread was still winding down after a game: the tick starts the
    // search as soon as it has ended.
    bool m_restartPending = false;
    // Set while the program itself miniaturizes the window.
    bool m_iconizing = false;
    qint64 m_miniwindowImageKey = 0;
    // The old thread checks its stop flag after every poll; the slowest poll lasts a second.
    int m_engineWindDownMilliseconds = 3000;
};
