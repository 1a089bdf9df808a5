// A datagram from anyone on the LAN, on the road the engine gives it: dropped when it
// came from this host or a broadcast address, otherwise checked and split by the game's
// protocol, which announces servers to the registry; the registry then ages its list
// the way the one-second tick does. Checks that every announced server is listed with
// the info it announced, that no host is listed twice and that every entry can be shown.
//
// Input: sender address (4 bytes), sender port (2), registry action (1), seconds that
// pass before the datagram (1), then the datagram.

#include "FuzzSupport.h"

#include "hosts/ServerManager.h"
#include "platform/Exception.h"
#include "platform/NotificationCenter.h"
#include "snoop/InfoResponse.h"
#include "snoop/Quake3TestSnoop.h"

#include <any>
#include <cstdlib>
#include <set>

namespace {

struct Harness {
    std::shared_ptr<Quake3TestSnoop> engine = std::make_shared<Quake3TestSnoop>();
    ServerManager& registry = ServerManager::sharedInstance();
    Date now {};
    std::shared_ptr<const HostInfo> announced;

    Harness()
    {
        registry.setClock([this] { return now; });
        NotificationCenter::defaultCenter().addObserver(this, ServerManager::ReceiveNotificationName,
            [this](const Notification& notification) {
                announced = std::any_cast<std::shared_ptr<const HostInfo>>(notification.userInfo.at("userInfo"));
            });
        // What the table does with the list it is handed.
        NotificationCenter::defaultCenter().addObserver(this, ServerManager::SendNotificationName,
            [](const Notification& notification) {
                for (const auto& entry : std::any_cast<HostManager::EntryList>(notification.userInfo.at("list")))
                    showRow(*entry);
            });
    }

    static void showRow(const HostInfo& entry)
    {
        for (const char* column : { "Hostname", "Ip", "Port", "hostname", "mapname", "clients", "sv_maxclients" }) {
            if (auto value = entry.objectForKey(column))
                (void)value->description();
        }
    }

    void act(std::uint8_t action)
    {
        switch (action % 8) {
        case 0:
            registry.timeout();
            break;
        case 1:
            registry.setTimeout(1 + action / 8);
            break;
        case 2:
            registry.suspend();
            break;
        case 3:
            registry.resume();
            break;
        default:
            break;
        }
    }
};

Harness& harness()
{
    static Harness* instance = [] {
        fuzz::isolateProcess();
        return new Harness;
    }();
    return *instance;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkListed(const HostManager& registry, const HostInfo& announced)
{
    auto listed = registry.findHost(announced);
    check(listed != nullptr);
    // The listed server shows the announced info, or info equal to it on the required keys.
    auto mine = listed->objectForKey("InfoResponse");
    auto theirs = announced.objectForKey("InfoResponse");
    check(mine && theirs);
    auto listedInfo = *mine->get<std::shared_ptr<const InfoResponse>>();
    auto announcedInfo = *theirs->get<std::shared_ptr<const InfoResponse>>();
    check(listedInfo == announcedInfo || listedInfo->isEqual(*announcedInfo));
    check(listed->objectForKey("Hostname").has_value() && listed->objectForKey("timestamp").has_value());
}

void checkUnique(const HostManager& registry)
{
    std::set<std::pair<std::uint32_t, std::int64_t>> seen;
    for (const auto& entry : registry.entries()) {
        auto identity = entry->identity();
        check(identity && seen.emplace(identity->ip, identity->port).second);
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Harness& h = harness();
    fuzz::InputReader input(data, size);
    const Ip sender(input.take<std::uint32_t>());
    const auto port = input.take<std::uint16_t>();
    const auto action = input.take<std::uint8_t>();
    // Time always moves on, so the list stays as short as the time-out makes it.
    h.now += std::chrono::seconds(1 + input.take<std::uint8_t>() % 16);
    const Data datagram(input.rest().begin(), input.rest().end());

    h.act(action);
    h.announced.reset();
    if (sender == Ip::local() || sender.isBroadcastAddress())
        return 0;
    // Nothing a datagram holds may end the engine's run: an exception here is a finding.
    auto reply = h.engine->handleAnswer(datagram, sender, port);
    check(!reply);
    if (h.announced)
        checkListed(h.registry, *h.announced);
    checkUnique(h.registry);
    return 0;
}
