#include "hosts/ClientManager.h"

ClientManager::ClientManager()
    : HostManager(ReceiveNotificationName, SendNotificationName)
{
}

ClientManager& ClientManager::sharedInstance()
{
    static ClientManager* instance = new ClientManager;
    return *instance;
}
