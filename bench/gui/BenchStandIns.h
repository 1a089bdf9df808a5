#pragma once

#include "app/DiscoveryEngine.h"
#include "app/ServerRegistry.h"

#include <string>
#include <vector>

// An engine that reads as running at speed 0 and never touches the network.
class IdleEngine final : public DiscoveryEngine {
public:
    void snoop() override { m_running = true; }
    void suspend() override { m_running = false; }
    bool isRunning() const override { return m_running; }
    bool isVirtuallyRunning() const override { return m_running; }
    bool isUncontrollable() const override { return false; }
    bool setSnoopSpeed(int speed) override
    {
        const bool changed = speed != m_speed;
        m_speed = speed;
        return changed;
    }
    int psychologicalFrequency() const override { return 500; }
    int smartTimeoutValueMs() const override { return 33000; }

private:
    bool m_running = true;
    int m_speed = 0;
};

// A registry holding a fixed list of servers that never expire.
class FixedRegistry final : public ServerRegistry {
public:
    explicit FixedRegistry(std::size_t count)
    {
        for (std::size_t n = 0; n < count; ++n) {
            ServerRecord server;
            server.ip = 0x0A4D0000u + static_cast<std::uint32_t>(n + 11);
            server.port = static_cast<std::uint16_t>(27960 + n % 4);
            server.hostname = "host" + std::to_string(n);
            server.info = { { "hostname", "^1Arena ^7number " + std::to_string(n) }, { "mapname", "oa_dm" + std::to_string(n % 9) },
                { "clients", std::to_string(n % 9) }, { "sv_maxclients", "16" }, { "protocol", "71" } };
            m_servers.push_back(server);
        }
    }

    std::size_t count() const override { return m_servers.size(); }
    std::vector<ServerRecord> snapshot() const override { return m_servers; }
    bool contains(const ServerRecord& server) const override
    {
        for (const ServerRecord& listed : m_servers) {
            if (listed.isSameServer(server))
                return true;
        }
        return false;
    }
    void setTimeout(int) override { }
    void timeout() override { }
    void suspend() override { }
    void resume() override { }

private:
    std::vector<ServerRecord> m_servers;
};
