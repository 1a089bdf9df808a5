// The whole program graph against real game servers: the real engine and registry
// behind the real controllers and windows. Run only on a namespace LAN, by
// app_end_to_end_test.sh, which passes what to expect through the environment:
//   HK_E2E_SERVERS     the servers' addresses, "a.b.c.d:port,...", the first one played
//   HK_E2E_GAME        the stand-in game (records its arguments)
//   HK_E2E_GAME_LOG    where it records them
//   HK_E2E_SCREENSHOT  optional: where to save a picture of the main window; the about
//                      and preferences panels go beside it ("-about", "-preferences")
#include "app/AlertPanel.h"
#include "app/AppController.h"
#include "app/HarkenerApplication.h"
#include "app/MainController.h"
#include "app/MainInterface.h"
#include "app/PictureButton.h"
#include "app/PreferencesController.h"
#include "app/Preferences.h"
#include "app/ServerManagerRegistry.h"
#include "app/ServerTableModel.h"
#include "app/SnoopEngine.h"
#include "hosts/ServerManager.h"
#include "platform/UserDefaults.h"
#include "snoop/Quake3TestSnoop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTableView>
#include <QTest>

namespace {

QString environment(const char* name)
{
    return QString::fromLocal8Bit(qgetenv(name));
}

QSet<QString> listedAddresses(const ServerTableModel& model)
{
    QSet<QString> addresses;
    for (const ServerRecord& server : model.servers())
        addresses.insert(QString::fromStdString(server.address()));
    return addresses;
}

}

class AppEndToEnd : public QObject {
    Q_OBJECT
private slots:
    void findsTheServersPlaysOneAndSearchesAgain()
    {
        const QStringList servers = environment("HK_E2E_SERVERS").split(QLatin1Char(','), Qt::SkipEmptyParts);
        QVERIFY2(!servers.isEmpty(), "HK_E2E_SERVERS names no server");
        UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
        Preferences::setQ3TestPath(environment("HK_E2E_GAME"));
        Preferences::setPollSpeed(2);
        QStringList alerts;
        AlertPanel::setHandler([&](const AlertPanel::Request& request) {
            alerts.append(request.message);
            return AlertPanel::Response::Default;
        });

        ServerManagerRegistry registry(ServerManager::sharedInstance());
        auto appController = loadMainInterface(
            std::make_unique<SnoopEngine>(std::make_shared<Quake3TestSnoop>()), registry);
        MainController* controller = appController->mainController();
        QElapsedTimer sinceLaunch;
        sinceLaunch.start();
        appController->applicationDidFinishLaunching();

        // The first sweep asks every port at once; the table follows at the next tick.
        const QSet<QString> expected(servers.begin(), servers.end());
        QTRY_COMPARE_WITH_TIMEOUT(listedAddresses(*controller->tableModel()), expected, 2500);
        qInfo("servers listed %lld ms after launch", static_cast<long long>(sinceLaunch.elapsed()));
        QVERIFY(controller->window()->isVisible());

        if (const QString screenshot = environment("HK_E2E_SCREENSHOT"); !screenshot.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(!controller->window()->findChild<PictureButton*>("suspendButton")->isTransparent(), 3000);
            QTest::qWait(300); // let the barber pole take a step
            QVERIFY(controller->window()->grab().save(screenshot));
            const QString base = screenshot.left(screenshot.lastIndexOf(QLatin1Char('.')));
            appController->pushAbout();
            QVERIFY(appController->window()->grab().save(base + QStringLiteral("-about.png")));
            appController->pushWindow();
            appController->pushPreferences();
            QWidget* preferencesPanel = appController->preferencesController()->window();
            QVERIFY(preferencesPanel->grab().save(base + QStringLiteral("-preferences.png")));
            preferencesPanel->hide();
        }

        // Select the first server on the table as the user sees it, sorted.
        QTableView* table = controller->tableView();
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            if (table->model()->index(row, ServerTableModel::AddressColumn).data().toString() == servers.first())
                table->selectRow(row);
        }
        QCOMPARE(controller->selectedServer()->address(), servers.first().toStdString());
        QTest::mouseClick(controller->window()->findChild<PictureButton*>("playButton"), Qt::LeftButton);

        QFile log(environment("HK_E2E_GAME_LOG"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()).trimmed(), QStringLiteral("+connect ") + servers.first());
        QVERIFY2(alerts.isEmpty(), qPrintable(alerts.join(QLatin1Char('\n'))));
        // The search runs again and the window is back.
        QVERIFY(!controller->window()->isMinimized());
        QTRY_VERIFY_WITH_TIMEOUT(!controller->window()->findChild<PictureButton*>("suspendButton")->isTransparent(), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(listedAddresses(*controller->tableModel()), expected, 5000);
        AlertPanel::setHandler({});
    }
};

int main(int argc, char** argv)
{
    HarkenerApplication application(argc, argv);
    AppEndToEnd test;
    return QTest::qExec(&test, argc, argv);
}

#include "AppEndToEnd.moc"
