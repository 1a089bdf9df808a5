// Cost of one server answer, from the datagram to the registry, with 10, 1,000 and
// 10,000 servers already known; and the info string parser alone. Nothing here touches
// the network: names come from a resolver that knows none.

#include "hosts/ServerManager.h"
#include "net/Ip.h"
#include "net/IpHostnameCache.h"
#include "net/Resolver.h"
#include "snoop/InfoResponse.h"
#include "snoop/Quake3TestSnoop.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// Answers every reverse lookup with "no name" at once, so the host name cache settles on
// dotted addresses without asking any name server.
class NoNameResolver final : public Resolver {
public:
    std::string hostName() const override { return "bench"; }
    std::vector<std::uint32_t> addressesForName(const std::string&) const override { return { 0x7F000001 }; }
    std::optional<std::string> nameForAddress(std::uint32_t) const override { return std::nullopt; }
    std::vector<InterfaceAddress> interfaceAddresses() const override { return { { 0x7F000001, true, true } }; }
};

// What an idle OpenArena server sends, in its order.
constexpr std::string_view TypicalInfo = "\\voip\\opus\\g_needpass\\0\\pure\\1\\gametype\\0\\sv_maxclients\\8"
                                         "\\g_humanplayers\\0\\clients\\0\\mapname\\oa_dm1\\hostname\\Alpha Arena"
                                         "\\protocol\\71\\gamename\\baseoa";

Data infoResponseDatagram(std::string_view info)
{
    return Quake3TestSnoop::outOfBand(std::string("infoResponse\n").append(info));
}

// The n-th server: 100 ports on each of up to 100 hosts of 10.1.x.y.
struct Server {
    Ip ip;
    std::uint16_t port;
};

Server serverNumber(std::size_t n)
{
    return { Ip(0x0A010000u + static_cast<std::uint32_t>(n / 100)), static_cast<std::uint16_t>(27960 + n % 100) };
}

// Opens the protocol's answer handler to the benchmark, as the engine thread calls it.
class Engine final : public Quake3TestSnoop {
public:
    using Quake3TestSnoop::handleAnswer;
};

void warmHostnameCache(std::size_t servers)
{
    auto& cache = IpHostnameCache::sharedInstance();
    for (std::size_t n = 0; n < servers; n += 100)
        cache.nameForIp(serverNumber(n).ip);
    // The worker settles every queued address before it stops.
    cache.stopThread();
}

// Known servers answer again, one after the other, with nothing changed: the steady
// state of a search. The time per iteration is the cost of one answer.
void knownServerAnswers(benchmark::State& state)
{
    const auto known = static_cast<std::size_t>(state.range(0));
    Resolver::setShared(std::make_shared<NoNameResolver>());
    warmHostnameCache(known);
    auto registry = std::make_unique<ServerManager>();
    registry->setTimeout(3600);
    Engine engine;
    const Data datagram = infoResponseDatagram(TypicalInfo);
    for (std::size_t n = 0; n < known; ++n)
        engine.handleAnswer(datagram, serverNumber(n).ip, serverNumber(n).port);
    if (registry->count() != known)
        state.SkipWithError("the registry did not take every server");

    std::size_t next = 0;
    for (auto _ : state) {
        const Server server = serverNumber(next);
        benchmark::DoNotOptimize(engine.handleAnswer(datagram, server.ip, server.port));
        next = next + 1 == known ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
    if (registry->count() != known)
        state.SkipWithError("servers were lost while answering");
    registry.reset();
    Resolver::setShared(nullptr);
}
BENCHMARK(knownServerAnswers)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

void infoStringParsing(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(InfoResponse::objectWithString(TypicalInfo));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(infoStringParsing)->Unit(benchmark::kMicrosecond);

}

BENCHMARK_MAIN();
