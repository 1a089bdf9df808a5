// harkener-scan: runs the discovery engine and the server registry for a while, then
// prints the servers found. Exit status 0 with servers, 1 without, 2 on an error.

#include "hosts/ServerManager.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "scan/ScanOptions.h"
#include "scan/ScanReport.h"
#include "snoop/Quake3TestSnoop.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

// Catches the first exception the engine thread hands to the funnel.
class EngineFailure {
public:
    void post(const Exception& exception)
    {
        std::lock_guard lock(m_mutex);
        if (!m_exception)
            m_exception = exception;
        m_posted.notify_all();
    }

    // Waits until the deadline or a failure; the failure, if one came.
    std::optional<Exception> waitUntil(Clock::time_point deadline)
    {
        std::unique_lock lock(m_mutex);
        m_posted.wait_until(lock, deadline, [this] { return m_exception.has_value(); });
        return m_exception;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::optional<Exception> m_exception;
};

Clock::duration searchTime(const ScanOptions& options, const Quake3TestSnoop& engine)
{
    if (options.seconds)
        return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(*options.seconds));
    // One sending sweep: every port listened to for one poll timeout.
    return std::chrono::milliseconds(engine.nPorts() * static_cast<std::uint32_t>(engine.psychologicalFrequency()));
}

// Searches, ageing the registry once a second as the application does.
std::optional<Exception> search(const ScanOptions& options, ServerManager& registry, EngineFailure& failure)
{
    auto engine = std::make_shared<Quake3TestSnoop>();
    engine->setSnoopSpeed(options.speed);
    registry.setTimeout((engine->smartTimeoutValueMs() + 500) / 1000);
    engine->snoop();
    const auto end = Clock::now() + searchTime(options, *engine);
    std::optional<Exception> exception;
    for (auto tick = Clock::now() + std::chrono::seconds(1); !exception; tick += std::chrono::seconds(1)) {
        exception = failure.waitUntil(std::min(tick, end));
        if (Clock::now() >= end)
            break;
        registry.timeout();
    }
    engine->suspend();
    engine->waitUntilStopped(std::chrono::seconds(5));
    return exception ? exception : failure.waitUntil(Clock::now());
}

int run(const std::vector<std::string>& arguments)
{
    ScanOptions options = ScanOptions::parse(arguments);
    if (options.help) {
        std::fputs(ScanOptions::usage().c_str(), stdout);
        return 0;
    }
    EngineFailure failure;
    setExceptionSink([&failure](const Exception& exception) { failure.post(exception); });
    ServerManager& registry = ServerManager::sharedInstance();
    auto exception = search(options, registry, failure);
    setExceptionSink({});
    if (exception) {
        std::fprintf(stderr, "harkener-scan: %s\n", exception->reason().c_str());
        return 2;
    }
    auto entries = registry.entries();
    const bool found = !entries.empty();
    ScanReport report(std::move(entries));
    std::fputs((options.json ? report.json() : report.table()).c_str(), stdout);
    return found ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "harkener-scan: %s\n", error.what());
        return 2;
    }
}
