// flood_watch SECONDS BASELINE_AT: searches the LAN as the program does (engine at top
// speed, registry aged by a one-second tick on the main thread) for SECONDS, and prints
// a JSON report: memory and registry size when BASELINE_AT seconds have passed (before
// the flood), at their peak and at the end; the longest gap between two ticks; whether
// the engine ran throughout; exceptions that reached the funnel; and the servers listed
// at the end with their data.
#include "hosts/ServerManager.h"
#include "platform/Exception.h"
#include "platform/ExceptionFunnel.h"
#include "platform/Log.h"
#include "snoop/InfoResponse.h"
#include "snoop/Quake3TestSnoop.h"

#include <nlohmann/json.hpp>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using nlohmann::json;

struct Sample {
    long rssKilobytes = 0;
    std::size_t heapInUse = 0;
    std::uint32_t entries = 0;
};

Sample sample(const ServerManager& registry)
{
    long pages = 0, residentPages = 0;
    std::ifstream("/proc/self/statm") >> pages >> residentPages;
    return { residentPages * (sysconf(_SC_PAGESIZE) / 1024), mallinfo2().uordblks, registry.count() };
}

// Sanitizers bring their own allocator, which keeps freed memory on purpose.
constexpr bool Instrumented =
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    true;
#else
    false;
#endif

json toJson(const Sample& s) { return { { "rss_kb", s.rssKilobytes }, { "heap_in_use", s.heapInUse }, { "entries", s.entries } }; }

std::string text(const HostInfo& entry, const char* key)
{
    auto value = entry.objectForKey(key);
    return value ? value->description() : std::string();
}

json servers(const ServerManager& registry)
{
    json list = json::array();
    for (const auto& entry : registry.entries()) {
        json server;
        for (const char* key : { "Ip", "Port", "Hostname", "hostname", "mapname", "clients", "sv_maxclients", "protocol" })
            server[key] = json::string_t(text(*entry, key));
        list.push_back(server);
    }
    return list;
}

}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: flood_watch SECONDS BASELINE_AT\n");
        return 2;
    }
    const auto seconds = std::chrono::seconds(std::atoi(argv[1]));
    const auto baselineAt = std::chrono::seconds(std::atoi(argv[2]));
    std::mutex exceptionsMutex;
    json exceptions = json::array();
    setExceptionSink([&](const Exception& exception) {
        std::lock_guard lock(exceptionsMutex);
        exceptions.push_back(exception.name() + ": " + exception.reason());
    });
    setLogSink([](const std::string&) { });

    ServerManager& registry = ServerManager::sharedInstance();
    auto engine = std::make_shared<Quake3TestSnoop>();
    engine->setSnoopSpeed(2);
    registry.setTimeout((engine->smartTimeoutValueMs() + 500) / 1000);
    engine->snoop();

    const auto start = Clock::now();
    Sample baseline, peak, last;
    bool alive = true;
    Clock::duration longestGap {};
    auto lastTick = start;
    for (auto tick = start + std::chrono::seconds(1); tick <= start + seconds; tick += std::chrono::seconds(1)) {
        // Samples between ticks, so a peak of entries is not missed.
        for (auto at = tick - std::chrono::milliseconds(900); at < tick; at += std::chrono::milliseconds(100)) {
            std::this_thread::sleep_until(at);
            Sample now = sample(registry);
            peak = { std::max(peak.rssKilobytes, now.rssKilobytes), std::max(peak.heapInUse, now.heapInUse), std::max(peak.entries, now.entries) };
        }
        std::this_thread::sleep_until(tick);
        const auto now = Clock::now();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        registry.timeout();
        alive = alive && engine->isVirtuallyRunning();
        if (now - start >= baselineAt && baseline.rssKilobytes == 0)
            baseline = sample(registry);
    }
    last = sample(registry);
    json report = {
        { "baseline", toJson(baseline) }, { "peak", toJson(peak) }, { "final", toJson(last) },
        { "longest_tick_gap_ms", std::chrono::duration_cast<std::chrono::milliseconds>(longestGap).count() },
        { "engine_alive", alive }, { "instrumented", Instrumented }, { "sweeps", engine->sweepCount() }, { "servers", servers(registry) },
    };
    {
        std::lock_guard lock(exceptionsMutex);
        report["exceptions"] = exceptions;
    }
    std::puts(report.dump(1, ' ', false, json::error_handler_t::replace).c_str());
    engine->suspend();
    engine->waitUntilStopped(std::chrono::seconds(5));
    setExceptionSink({});
    return 0;
}
