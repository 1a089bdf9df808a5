#pragma once

#include "app/ServerRegistry.h"

class HostInfo;
class ServerManager;

// The program's server registry as the main controller sees it.
class ServerManagerRegistry final : public ServerRegistry {
public:
    explicit ServerManagerRegistry(ServerManager& manager);

    std::size_t count() const override;
    std::vector<ServerRecord> snapshot() const override;
    bool contains(const ServerRecord& server) const override;
    void setTimeout(int seconds) override;
    void timeout() override;
    void suspend() override;
    void resume() override;

    static ServerRecord recordOf(const HostInfo& entry);

private:
    ServerManager& m_manager;
};
