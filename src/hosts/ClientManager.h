#pragma once

#include "hosts/HostManager.h"

// The registry of game clients: fed by "SnoopClientFound", announces "ClientManagerChanged".
class ClientManager : public HostManager {
public:
    ClientManager();

    // The program's client registry, created at the first call and never destroyed.
    static ClientManager& sharedInstance();

    static constexpr const char* ReceiveNotificationName = "SnoopClientFound";
    static constexpr const char* SendNotificationName = "ClientManagerChanged";
};
