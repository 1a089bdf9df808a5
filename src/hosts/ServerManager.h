#pragma once

#include "hosts/HostManager.h"

// The registry of game servers: fed by "SnoopServerFound", announces "ServerManagerChanged".
class ServerManager : public HostManager {
public:
    ServerManager();

    // The program's registry, created at the first call (before the engine starts, so it
    // hears the first answer) and never destroyed.
    static ServerManager& sharedInstance();

    static constexpr const char* ReceiveNotificationName = "SnoopServerFound";
    static constexpr const char* SendNotificationName = "ServerManagerChanged";
};
