#include "app/AppController.h"
#include "app/HarkenerApplication.h"
#include "app/MainInterface.h"
#include "app/ServerManagerRegistry.h"
#include "app/SettingsUserDefaults.h"
#include "app/SnoopEngine.h"
#include "hosts/ServerManager.h"
#include "snoop/Quake3TestSnoop.h"

#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    if (!HarkenerApplication::canShowWindows(argc, argv)) {
        std::fputs("harkener: no display to show the window on (set DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    HarkenerApplication application(argc, argv);
    UserDefaults::setStandardUserDefaults(std::make_unique<SettingsUserDefaults>());
    // The minimised window shows the animated icon in this presentation; written at
    // every start, whatever the user left there.
    UserDefaults::standardUserDefaults().setString("NSMiniWindowStyle", "NextStep");

    // The registry must hear the engine's first answer.
    ServerManagerRegistry registry(ServerManager::sharedInstance());
    auto engine = std::make_unique<SnoopEngine>(std::make_shared<Quake3TestSnoop>());
    const auto appController = loadMainInterface(std::move(engine), registry);
    QTimer::singleShot(0, appController.get(), &AppController::applicationDidFinishLaunching);
    return application.exec();
}
