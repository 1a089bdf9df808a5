// The main window's own costs: the one-second tick when nothing changed, and a full
// repaint of the skinned window with 50 servers in its table. Runs on the offscreen
// platform with the real settings store in a temporary directory; the engine and the
// registry are stand-ins, so nothing goes to the network.

#include "app/AppController.h"
#include "app/BarberPole.h"
#include "app/MainController.h"
#include "app/MainInterface.h"
#include "app/ServerTableModel.h"
#include "app/SettingsUserDefaults.h"
#include "bench/gui/BenchStandIns.h"
#include "platform/NotificationCenter.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The application as main() builds it, over the given registry, with its window open.
class Application {
public:
    explicit Application(std::size_t servers)
        : m_registry(servers)
        , m_controller(loadMainInterface(std::make_unique<IdleEngine>(), m_registry))
    {
        main().deiconize();
        // The first tick settles the speed, the pictures and the table.
        NotificationCenter::defaultCenter().postNotificationName("ServerManagerChanged", &m_registry);
        main().pollMyself();
        QApplication::processEvents();
    }

    MainController& main() const { return *m_controller->mainController(); }

private:
    FixedRegistry m_registry;
    std::unique_ptr<AppController> m_controller;
};

void tickWithoutChange(benchmark::State& state)
{
    Application application(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        application.main().pollMyself();
}
BENCHMARK(tickWithoutChange)->Arg(50)->Unit(benchmark::kMicrosecond)->UseRealTime();

void fullRepaint(benchmark::State& state)
{
    Application application(static_cast<std::size_t>(state.range(0)));
    if (application.main().tableModel()->rowCount() != state.range(0))
        state.SkipWithError("the table did not take every server");
    QWidget* window = application.main().window();
    for (auto _ : state)
        window->repaint();
}
BENCHMARK(fullRepaint)->Arg(50)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step of the barber pole while the search runs: a repaint of its own strip, the
// main thread's steady work between ticks (6 a second at speed 0, 30 at speed 2).
void barberPoleStep(benchmark::State& state)
{
    Application application(static_cast<std::size_t>(state.range(0)));
    auto* barberPole = application.main().window()->findChild<BarberPole*>();
    if (!barberPole) {
        state.SkipWithError("the window has no barber pole");
        return;
    }
    for (auto _ : state) {
        barberPole->step();
        barberPole->repaint();
    }
}
BENCHMARK(barberPoleStep)->Arg(50)->Unit(benchmark::kMicrosecond)->UseRealTime();

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns at every raise(); the tables are the output here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { });
    QApplication application(argc, argv);
    QTemporaryDir settings;
    UserDefaults::setStandardUserDefaults(std::make_unique<SettingsUserDefaults>(settings.filePath("Harkener.conf")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
