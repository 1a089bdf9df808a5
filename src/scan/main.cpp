// harkener-scan: runs the discovery engine and the server registry for a while, then
// prints the servers found. Exit status 0 with servers, 1 without, 2 on an error.

#include "hosts/ServerManager.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"
#include "scan/ScanOptions.h"
#include "scan/ScanReport.h"
#include "snoop/Quake3TestSnoop.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
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

// Searches for the given time, or until the first sending sweep has ended, ageing the
// registry once a second as the application does. The list is complete then, so it goes
// to the report before the engine winds down (up to one more poll timeout).
std::optional<Exception> search(const ScanOptions& options, ServerManager& registry, EngineFailure& failure,
    const std::function<void(HostManager::EntryList)>& report)
{
    auto engine = std::make_shared<Quake3TestSnoop>();
    engine->setSnoopSpeed(options.speed);
    registry.setTimeout((engine->smartTimeoutValueMs() + 500) / 1000);
    engine->snoop();
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.seconds.value_or(0)));
    auto finished = [&] { return options.seconds ? Clock::now() >= end : engine->sweepCount() > 0; };
    auto nextAgeing = start + std::chrono::seconds(1);
    std::optional<Exception> exception;
    while (!exception && !finished()) {
        // The first sweep's end is not signalled: look at it every few milliseconds.
        auto wake = options.seconds ? std::min(nextAgeing, end) : Clock::now() + std::chrono::milliseconds(10);
        exception = failure.waitUntil(wake);
        if (Clock::now() >= nextAgeing) {
            registry.timeout();
            nextAgeing += std::chrono::seconds(1);
        }
    }
    if (!exception)
        exception = failure.waitUntil(Clock::now());
    if (!exception)
        report(registry.entries());
    engine->suspend();
    engine->waitUntilStopped(std::chrono::seconds(5));
    return exception;
}

int run(const std::vector<std::string>& arguments)
{
    ScanOptions options = ScanOptions::parse(arguments);
    if (options.help) {
        std::fputs(ScanOptions::usage().c_str(), stdout);
        return 0;
    }
    // The developer's log would clutter the output of a command-line tool.
    if (!options.verbose)
        setLogSink([](const std::string&) { });
    EngineFailure failure;
    setExceptionSink([&failure](const Exception& exception) { failure.post(exception); });
    ServerManager& registry = ServerManager::sharedInstance();
    bool found = false;
    auto exception = search(options, registry, failure, [&](HostManager::EntryList entries) {
        found = !entries.empty();
        ScanReport report(std::move(entries));
        std::fputs((options.json ? report.json() : report.table()).c_str(), stdout);
        std::fflush(stdout);
    });
    setExceptionSink({});
    if (exception) {
        std::fprintf(stderr, "harkener-scan: %s\n", exception->reason().c_str());
        return 2;
    }
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
