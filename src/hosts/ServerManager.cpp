#include "hosts/ServerManager.h"

ServerManager::ServerManager()
    : HostManager(ReceiveNotificationName, SendNotificationName)
{
}

ServerManager& ServerManager::sharedInstance()
{
    // Never destroyed: the engine thread may still announce while the process exits.
    static ServerManager* instance = new ServerManager;
    return *instance;
}
