#include "AppTestSupport.h"

#include "app/AppController.h"
#include "app/BarberPole.h"
#include "app/MainController.h"
#include "app/PictureButton.h"
#include "app/Preferences.h"
#include "app/ServerTableModel.h"
#include "platform/UserDefaults.h"
#include "widgets/VELReplROP.h"

#include <QAction>

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(QList<AlertPanel::Response>)

namespace {

constexpr std::uint32_t Ip10_0_0_5 = 0x0a000005;

// The application controller, a main controller over stand-ins, and the window built.
struct Fixture {
    CallLog log;
    AppController app;
    FakeEngine* engine = new FakeEngine(log);
    FakeRegistry registry { log };
    MainController* controller = new MainController(std::unique_ptr<DiscoveryEngine>(engine), registry, &app);

    explicit Fixture(bool awake = true)
    {
        app.setMainController(controller);
        if (awake)
            controller->awakeFromNib();
    }

    template<typename T = QWidget>
    T* view(const char* name) const { return controller->window()->findChild<T*>(QString::fromLatin1(name)); }
    PictureButton* button(const char* name) const { return view<PictureButton>(name); }

    // Servers change as the engine thread would announce it; then one tick.
    void serversBecome(std::vector<ServerRecord> servers)
    {
        registry.servers = std::move(servers);
        controller->serverManagerChanged();
        controller->pollMyself();
    }
    bool isIconized() const { return controller->window()->isMinimized(); }
};

std::vector<ServerRecord> servers(int count)
{
    std::vector<ServerRecord> result;
    for (int i = 0; i < count; ++i)
        result.push_back(makeServer(Ip10_0_0_5 + std::uint32_t(i), 27960, "server " + std::to_string(i)));
    return result;
}

// A stand-in program that appends its name and arguments to a log file.
QString writeRecordingProgram(const QString& path, const QString& name, const QString& logFile)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write(QStringLiteral("#!/bin/sh\necho \"%1 $*\" >> '%2'\n").arg(name, logFile).toUtf8());
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return path;
}

QStringList linesOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}

class MainControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
        Preferences::overrideSearchDirectories(QStringList());
        Preferences::resetBackground();
    }

    void layoutPutsEveryViewInsideTheFrame()
    {
        Fixture fixture(false);
        fixture.view("windowFrameView")->setGeometry(20, 40, 525, 229);
        fixture.view("closeButton")->move(30, 250);
        fixture.controller->awakeFromNib();

        QWidget* window = fixture.controller->window();
        QWidget* frameView = fixture.view("windowFrameView");
        QCOMPARE(window->size(), QSize(525, 229));
        QCOMPARE(frameView->geometry(), QRect(0, 0, 525, 229));
        QCOMPARE(fixture.view("closeButton")->parentWidget(), frameView);
        QCOMPARE(fixture.view("closeButton")->pos(), QPoint(10, 210));
        QCOMPARE(fixture.view("bottomView")->geometry(), QRect(1, 1, 523, 227));
        // The background lies below the frame picture, both in one content view.
        QWidget* content = frameView->parentWidget();
        QCOMPARE(fixture.view("bottomView")->parentWidget(), content);
        QVERIFY(content->children().indexOf(fixture.view("bottomView")) < content->children().indexOf(frameView));
        for (const char* name : { "moveButton", "miniButton", "mainBox", "moreBox" })
            QCOMPARE(fixture.view(name)->parentWidget(), frameView);
        QCOMPARE(window->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
        QCOMPARE(fixture.button("resumeButton")->geometry(), fixture.button("suspendButton")->geometry());
    }

    void launchingShowsTheWindowStartsTheSearchAndSetsTheTimeout()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        QVERIFY(fixture.controller->window()->isVisible());
        QVERIFY(!fixture.isIconized());
        QCOMPARE(fixture.controller->windowLevel(), MainController::FloatingLevel);
        QVERIFY(fixture.engine->isVirtuallyRunning());
        QCOMPARE(fixture.registry.timeoutSeconds, 33);
    }

    void launchingIconizedWhenAsked()
    {
        Preferences::setStartsIconized(true);
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        QVERIFY(fixture.isIconized());
        QCOMPARE(fixture.controller->windowLevel(), MainController::NormalLevel);
    }

    void theTickRunsItsStepsInOrder()
    {
        Fixture fixture;
        AlertRecorder alerts(&fixture.log);
        fixture.controller->applicationDidFinishLaunching();
        Preferences::setPollSpeed(1);
        fixture.app.postException(Exception("Test", "queued"));
        fixture.registry.servers = servers(1);
        fixture.controller->serverManagerChanged();
        fixture.controller->serverManagerChanged(); // two changes, one reload
        fixture.log.calls.clear();

        fixture.controller->pollMyself();
        QCOMPARE(fixture.log.calls, QStringList({ "alert", "setSnoopSpeed 1", "setTimeout 9", "timeout", "snapshot" }));
        QCOMPARE(fixture.controller->tableModel()->rowCount(), 1);

        fixture.log.calls.clear();
        fixture.controller->pollMyself(); // nothing changed: no reload, no speed change
        QCOMPARE(fixture.log.calls, QStringList({ "setSnoopSpeed 1", "timeout" }));
    }

    void aBackgroundChosenInThePreferencesReachesTheWindowAtTheNextTick()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        QImage picture(32, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        Preferences::setBackgroundImage(picture);
        fixture.controller->pollMyself();
        QCOMPARE(fixture.controller->backImage().cacheKey(), picture.cacheKey());
        QCOMPARE(fixture.view<VELReplROP>("bottomView")->image().cacheKey(), picture.cacheKey());
    }

    void aboutPreferencesAndQuitAreInTheContextMenuWithShortcuts()
    {
        Fixture fixture;
        AlertRecorder alerts;
        QWidget* window = fixture.controller->window();
        QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
        const QList<QAction*> actions = window->actions();
        QCOMPARE(actions.size(), 3);
        for (QAction* action : actions)
            QVERIFY2(!action->shortcut().isEmpty(), qPrintable(action->text()));
        actions[0]->trigger();
        QVERIFY(fixture.app.window()->isVisible()); // the about panel
        actions[2]->trigger();
        QVERIFY(fixture.app.isTerminating());
    }

    void speedChangesReachTheBarberPoleAndTheRegistry_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("timeoutSeconds");
        QTest::addColumn<double>("delay");
        QTest::newRow("slowest") << -1 << 161 << 0.33;
        QTest::newRow("fast") << 1 << 9 << 0.0825;
        QTest::newRow("fastest") << 2 << 3 << 0.033;
        QTest::newRow("hand-edited 3 means fastest") << 3 << 3 << 0.033;
    }

    void speedChangesReachTheBarberPoleAndTheRegistry()
    {
        QFETCH(int, speed);
        QFETCH(int, timeoutSeconds);
        QFETCH(double, delay);
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        Preferences::setPollSpeed(speed);
        fixture.controller->pollMyself();
        QCOMPARE(fixture.registry.timeoutSeconds, timeoutSeconds);
        QCOMPARE(fixture.view<BarberPole>("barberPole")->animationDelay(), delay);
    }

    void aSpeedChosenWhileStoppedWaitsForTheSearch()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        fixture.controller->pushSuspend();
        Preferences::setPollSpeed(2);
        fixture.controller->pollMyself();
        QCOMPARE(fixture.engine->speed, 0);
        fixture.controller->pushSuspend();
        fixture.controller->pollMyself();
        QCOMPARE(fixture.engine->speed, 2);
        QCOMPARE(fixture.registry.timeoutSeconds, 3);
    }

    void runStatusFollowsTheEngine_data()
    {
        QTest::addColumn<bool>("thread");
        QTest::addColumn<bool>("doSnoop");
        QTest::addColumn<bool>("suspendVisible");
        QTest::addColumn<bool>("animating");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("running") << true << true << true << true << true;
        QTest::newRow("winding down") << true << false << false << false << false;
        QTest::newRow("stopped") << false << false << false << false << true;
    }

    void runStatusFollowsTheEngine()
    {
        QFETCH(bool, thread);
        QFETCH(bool, doSnoop);
        QFETCH(bool, suspendVisible);
        QFETCH(bool, animating);
        QFETCH(bool, enabled);
        Fixture fixture;
        fixture.engine->thread = true; // start from the running display
        fixture.controller->displayRunStatusInButton();
        fixture.engine->thread = thread;
        fixture.engine->doSnoop = doSnoop;
        fixture.controller->displayRunStatusInButton();

        QCOMPARE(!fixture.button("suspendButton")->isTransparent(), suspendVisible);
        QCOMPARE(fixture.button("resumeButton")->isTransparent(), suspendVisible);
        QCOMPARE(fixture.view<BarberPole>("barberPole")->isAnimating(), animating);
        QCOMPARE(fixture.button("suspendButton")->isEnabled(), enabled);
        QCOMPARE(fixture.button("resumeButton")->isEnabled(), enabled);
    }

    void playIsEnabledOnlyWithServers()
    {
        Fixture fixture;
        fixture.controller->displayRunStatusInButton();
        QVERIFY(!fixture.button("playButton")->isEnabled());
        fixture.registry.servers = servers(1);
        fixture.controller->displayRunStatusInButton();
        QVERIFY(fixture.button("playButton")->isEnabled());
    }

    void suspendAndResumeToggleTheSearch()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        fixture.log.calls.clear();
        fixture.controller->pushSuspend();
        fixture.controller->pushSuspend();
        QCOMPARE(fixture.log.calls, QStringList({ "suspend engine", "suspend registry", "resume registry", "snoop" }));
    }

    // Each row: the rule, whether the window starts open, then server counts announced
    // one tick after another, and whether the window is iconized after each.
    void autoOpenRule_data()
    {
        QTest::addColumn<int>("autoOpen");
        QTest::addColumn<bool>("startsOpen");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QList<bool>>("iconized");
        QTest::newRow("0: opens on new servers, iconizes when empty") << 0 << false << QList<int> { 2, 0 } << QList<bool> { false, true };
        QTest::newRow("0: open by the user, iconizes when empty") << 0 << true << QList<int> { 1, 0 } << QList<bool> { false, true };
        QTest::newRow("0: shrinking list changes nothing") << 0 << true << QList<int> { 3, 1 } << QList<bool> { false, false };
        QTest::newRow("0: empty without growth stays open") << 0 << true << QList<int> { 0 } << QList<bool> { false };
        QTest::newRow("1: any change opens") << 1 << false << QList<int> { 0 } << QList<bool> { false };
        QTest::newRow("1: never iconizes") << 1 << true << QList<int> { 2, 0 } << QList<bool> { false, false };
        QTest::newRow("2: never opens") << 2 << false << QList<int> { 3 } << QList<bool> { true };
        QTest::newRow("2: never iconizes") << 2 << true << QList<int> { 3, 0 } << QList<bool> { false, false };
    }

    void autoOpenRule()
    {
        QFETCH(int, autoOpen);
        QFETCH(bool, startsOpen);
        QFETCH(QList<int>, counts);
        QFETCH(QList<bool>, iconized);
        Preferences::setAutoOpen(autoOpen);
        Preferences::setStartsIconized(!startsOpen);
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        for (int step = 0; step < counts.size(); ++step) {
            fixture.serversBecome(servers(counts[step]));
            QCOMPARE(fixture.isIconized(), iconized[step]);
        }
    }

    void iconizingSetsTheLevelAndOpeningRaisesIt()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        fixture.controller->pushMiniaturize();
        QVERIFY(fixture.isIconized());
        QCOMPARE(fixture.controller->windowLevel(), MainController::NormalLevel);
        QVERIFY(!fixture.controller->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!fixture.controller->window()->windowIcon().isNull());
        fixture.controller->deiconize();
        QVERIFY(!fixture.isIconized());
        QCOMPARE(fixture.controller->windowLevel(), MainController::FloatingLevel);
        QVERIFY(fixture.controller->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void aMinimiseByTheWindowSystemDropsTheLevel()
    {
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        fixture.controller->window()->setWindowState(Qt::WindowMinimized);
        QTRY_COMPARE(fixture.controller->windowLevel(), MainController::NormalLevel);
        QVERIFY(fixture.isIconized());
    }

    void doubleClickingAServerPlaysIt()
    {
        Preferences::setQ3TestPath(QString());
        Fixture fixture;
        AlertRecorder alerts;
        fixture.controller->applicationDidFinishLaunching();
        fixture.serversBecome(servers(1));
        QTableView* table = fixture.controller->tableView();
        QVERIFY(QTest::qWaitForWindowExposed(fixture.controller->window()));
        QCoreApplication::processEvents(); // lays the rows out
        const QPoint cell = table->visualRect(table->model()->index(0, 0)).center();
        QVERIFY(table->viewport()->rect().contains(cell));
        // A double click as the window system delivers it: a click, then the second press.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(alerts.requests.size(), 1); // Play ran and found no game
    }

    void launchPathLooksInsideAppBundles_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("launched");
        QTest::newRow("bundle") << "/Games/Q3Test.app" << "/Games/Q3Test.app/Q3Test";
        QTest::newRow("bundle with trailing slash") << "/Games/Q3Test.app/" << "/Games/Q3Test.app/Q3Test";
        QTest::newRow("plain executable") << "/usr/games/quake3" << "/usr/games/quake3";
        QTest::newRow("other extension") << "/Games/q3.sh" << "/Games/q3.sh";
        QTest::newRow("nothing") << "" << "";
    }

    void launchPathLooksInsideAppBundles()
    {
        QFETCH(QString, stored);
        QFETCH(QString, launched);
        Preferences::setQ3TestPath(stored);
        Fixture fixture;
        QCOMPARE(fixture.controller->launchPath(), launched);
    }

    void playWithoutAGameShowsTheAlertAndChangesNothing()
    {
        Preferences::setQ3TestPath(QString());
        Fixture fixture;
        AlertRecorder alerts;
        fixture.controller->applicationDidFinishLaunching();
        fixture.serversBecome(servers(1));
        fixture.controller->tableView()->selectRow(0);
        fixture.log.calls.clear();
        fixture.controller->pushPlay();
        QCOMPARE(alerts.requests.size(), 1);
        QCOMPARE(alerts.requests[0].message, QStringLiteral("Can't open Quake3 Arena. Check path in preferences."));
        QCOMPARE(alerts.requests[0].defaultButton, QStringLiteral("OK"));
        QVERIFY(fixture.log.calls.isEmpty());
    }

    void playRunsTheAutoStartProgramThenTheGameThenSearchesAgain()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("launches.log"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Q3Test.app")));
        writeRecordingProgram(dir.filePath(QStringLiteral("Q3Test.app/Q3Test")), QStringLiteral("game"), log);
        Preferences::setQ3TestPath(dir.filePath(QStringLiteral("Q3Test.app")));
        Preferences::setAutoStartPath(writeRecordingProgram(dir.filePath(QStringLiteral("voice")), QStringLiteral("autostart"), log));
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        // Sorted by name, the selected row is not the registry's first entry.
        fixture.serversBecome({ makeServer(0x0a000007, 27960, "zzz last"), makeServer(Ip10_0_0_5, 27961, "aaa first") });
        fixture.controller->tableView()->selectRow(0);
        // The game ends before the old engine thread has: Play must wait for it.
        fixture.engine->endsAtOnce = false;
        QTimer::singleShot(300, [&] { fixture.engine->thread = false; });
        fixture.log.calls.clear();

        fixture.controller->pushPlay();
        QCOMPARE(linesOf(log), QStringList({ "autostart +connect 10.0.0.5:27961", "game +connect 10.0.0.5:27961" }));
        QCOMPARE(fixture.log.calls, QStringList({ "suspend engine", "suspend registry", "snoop", "resume registry" }));
        QVERIFY(fixture.engine->isVirtuallyRunning());
        QVERIFY(!fixture.isIconized());
        QCOMPARE(fixture.controller->windowLevel(), MainController::FloatingLevel);
    }

    void anEngineStillWindingDownIsRestartedByTheTickOnceItEnds()
    {
        Preferences::setQ3TestPath(QStringLiteral("/bin/true"));
        Fixture fixture;
        fixture.controller->setEngineWindDownMilliseconds(50);
        fixture.controller->applicationDidFinishLaunching();
        fixture.serversBecome(servers(1));
        fixture.controller->tableView()->selectRow(0);
        fixture.engine->endsAtOnce = false;
        fixture.controller->pushPlay();
        QVERIFY(fixture.engine->isUncontrollable()); // Play did not try to start a second thread
        QVERIFY(!fixture.isIconized());
        fixture.controller->pollMyself();
        QVERIFY(fixture.engine->isUncontrollable());
        fixture.engine->thread = false;
        fixture.controller->pollMyself();
        QVERIFY(fixture.engine->isVirtuallyRunning());
    }

    void aGameThatCannotStartIsReportedAndTheSearchGoesOn()
    {
        Preferences::setQ3TestPath(QStringLiteral("/nonexistent/quake3"));
        Fixture fixture;
        AlertRecorder alerts;
        fixture.controller->applicationDidFinishLaunching();
        fixture.serversBecome(servers(1));
        fixture.controller->tableView()->selectRow(0);
        fixture.controller->pushPlay();
        QCOMPARE(alerts.requests.size(), 1);
        QVERIFY(alerts.requests[0].message.startsWith(QStringLiteral("An unexpected condition appeared:\n")));
        QVERIFY(alerts.requests[0].message.contains(QStringLiteral("/nonexistent/quake3")));
        QVERIFY(fixture.engine->isVirtuallyRunning());
        QVERIFY(!fixture.registry.suspended);
        QVERIFY(!fixture.isIconized());
    }

    void playWithoutSelectionDoesNothing()
    {
        Preferences::setQ3TestPath(QStringLiteral("/usr/games/quake3"));
        Fixture fixture;
        fixture.controller->applicationDidFinishLaunching();
        fixture.serversBecome(servers(2));
        fixture.log.calls.clear();
        fixture.controller->pushPlay();
        QVERIFY(fixture.log.calls.isEmpty());
    }

    void quitting_data()
    {
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<QList<AlertPanel::Response>>("answers");
        QTest::addColumn<int>("alerts");
        QTest::addColumn<bool>("terminates");
        QTest::newRow("no prompt") << false << QList<AlertPanel::Response> {} << 0 << true;
        QTest::newRow("prompt, OK") << true << QList<AlertPanel::Response> { AlertPanel::Response::Default } << 1 << true;
        QTest::newRow("prompt, Cancel") << true << QList<AlertPanel::Response> { AlertPanel::Response::Alternate } << 1 << false;
    }

    void quitting()
    {
        QFETCH(bool, prompt);
        QFETCH(QList<AlertPanel::Response>, answers);
        QFETCH(int, alerts);
        QFETCH(bool, terminates);
        Preferences::setPromptBeforeQuit(prompt);
        Fixture fixture;
        AlertRecorder recorder;
        recorder.responses = answers;
        fixture.controller->applicationDidFinishLaunching();

        // The window system's close goes the same way as the close button.
        QCloseEvent close;
        QCoreApplication::sendEvent(fixture.controller->window(), &close);
        QVERIFY(!close.isAccepted());
        QVERIFY(fixture.controller->window()->isVisible());
        QCOMPARE(recorder.requests.size(), alerts);
        if (alerts) {
            QCOMPARE(recorder.requests[0].title, QStringLiteral("Quake III Harkener"));
            QCOMPARE(recorder.requests[0].message, QStringLiteral("Quit the program ?"));
            QCOMPARE(recorder.requests[0].defaultButton, QStringLiteral("OK"));
            QCOMPARE(recorder.requests[0].alternateButton, QStringLiteral("Cancel"));
        }
        QCOMPARE(fixture.app.isTerminating(), terminates);
    }

    void aReloadKeepsTheSelectedServer()
    {
        Fixture fixture;
        fixture.serversBecome({ makeServer(0x0a000001, 27960, "bravo"), makeServer(0x0a000002, 27960, "charlie") });
        fixture.controller->tableView()->selectRow(1);
        QCOMPARE(fixture.controller->selectedServer()->ip, 0x0a000002u);
        fixture.serversBecome({ makeServer(0x0a000003, 27960, "alpha"), makeServer(0x0a000001, 27960, "bravo"),
            makeServer(0x0a000002, 27960, "charlie") });
        QCOMPARE(fixture.controller->selectedServer()->ip, 0x0a000002u);
    }
};

int runMainControllerTest(int argc, char** argv)
{
    MainControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainControllerTest.moc"
