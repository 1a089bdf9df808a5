#include "app/MainInterface.h"

#include "app/AppController.h"
#include "app/DiscoveryEngine.h"
#include "app/MainController.h"
#include "app/PreferencesController.h"

std::unique_ptr<AppController> loadMainInterface(std::unique_ptr<DiscoveryEngine> engine, ServerRegistry& registry)
{
    auto appController = std::make_unique<AppController>();
    auto* mainController = new MainController(std::move(engine), registry, appController.get());
    auto* preferencesController = new PreferencesController(appController.get());
    appController->setMainController(mainController);
    appController->setPreferencesController(preferencesController);

    appController->awakeFromNib();
    mainController->awakeFromNib();
    preferencesController->awakeFromNib();
    return appController;
}
