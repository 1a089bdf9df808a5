#pragma once

#include "app/AlertPanel.h"
#include "app/DiscoveryEngine.h"
#include "app/ServerRegistry.h"
#include "platform/Exception.h"

#include <QStringList>

#include <array>
#include <memory>

// One list of what the stand-ins were asked to do, in order, so a test can check the
// order of a controller's steps across engine, registry and alerts.
struct CallLog {
    QStringList calls;
    void add(const QString& call) { calls.append(call); }
};

// An engine that never touches the network: its thread is a flag the test ends.
class FakeEngine final : public DiscoveryEngine {
public:
    explicit FakeEngine(CallLog& log)
        : m_log(log)
    {
    }

    void snoop() override
    {
        m_log.add(QStringLiteral("snoop"));
        if (thread)
            Exception::raise("Trying to run two threads on the same object");
        thread = true;
        doSnoop = true;
    }
    void suspend() override
    {
        m_log.add(QStringLiteral("suspend engine"));
        doSnoop = false;
        if (endsAtOnce)
            thread = false;
    }
    bool isRunning() const override { return thread; }
    bool isVirtuallyRunning() const override { return thread && doSnoop; }
    bool isUncontrollable() const override { return thread && !doSnoop; }
    bool setSnoopSpeed(int newSpeed) override
    {
        m_log.add(QStringLiteral("setSnoopSpeed %1").arg(newSpeed));
        if (newSpeed == speed)
            return false;
        speed = newSpeed;
        return true;
    }
    int psychologicalFrequency() const override { return PollMs[speed + 1]; }
    int smartTimeoutValueMs() const override { return 4 * PollMs[speed + 1] * SleepValues[speed + 1] * 4 + 1000; }

    bool thread = false;
    bool doSnoop = true;
    // Whether suspend() ends the thread at once, or the test ends it later.
    bool endsAtOnce = true;
    int speed = 0;

private:
    static constexpr std::array<int, 4> PollMs { 1000, 500, 250, 100 };
    static constexpr std::array<int, 4> SleepValues { 10, 4, 2, 1 };
    CallLog& m_log;
};

class FakeRegistry final : public ServerRegistry {
public:
    explicit FakeRegistry(CallLog& log)
        : m_log(log)
    {
    }

    std::size_t count() const override { return servers.size(); }
    std::vector<ServerRecord> snapshot() const override
    {
        m_log.add(QStringLiteral("snapshot"));
        return servers;
    }
    bool contains(const ServerRecord& server) const override
    {
        for (const ServerRecord& listed : servers) {
            if (listed.isSameServer(server))
                return true;
        }
        return false;
    }
    void setTimeout(int seconds) override
    {
        m_log.add(QStringLiteral("setTimeout %1").arg(seconds));
        timeoutSeconds = seconds;
    }
    void timeout() override { m_log.add(QStringLiteral("timeout")); }
    void suspend() override
    {
        m_log.add(QStringLiteral("suspend registry"));
        suspended = true;
    }
    void resume() override
    {
        m_log.add(QStringLiteral("resume registry"));
        suspended = false;
    }

    std::vector<ServerRecord> servers;
    int timeoutSeconds = 10;
    bool suspended = false;

private:
    CallLog& m_log;
};

// Answers every alert with the given response and remembers what was shown.
class AlertRecorder {
public:
    explicit AlertRecorder(CallLog* log = nullptr)
    {
        AlertPanel::setHandler([this, log](const AlertPanel::Request& request) {
            requests.append(request);
            if (log)
                log->add(QStringLiteral("alert"));
            return responses.isEmpty() ? AlertPanel::Response::Default : responses.takeFirst();
        });
    }
    ~AlertRecorder() { AlertPanel::setHandler({}); }

    QList<AlertPanel::Request> requests;
    QList<AlertPanel::Response> responses;
};

inline ServerRecord makeServer(std::uint32_t ip, std::uint16_t port, const std::string& name,
    const std::string& map = "q3dm17", int clients = 0, int maxClients = 16)
{
    ServerRecord server;
    server.ip = ip;
    server.port = port;
    server.info = { { "hostname", name }, { "mapname", map }, { "clients", std::to_string(clients) },
        { "sv_maxclients", std::to_string(maxClients) }, { "protocol", "48" } };
    return server;
}
