// An engine-like thread adds, refreshes and drops entries while the main thread reads
// and re-stamps them. Meant to run under the thread sanitizer as well.

#include "hosts/ServerInfo.h"
#include "hosts/ServerManager.h"
#include "platform/NotificationCenter.h"
#include "snoop/InfoResponse.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(RegistryConcurrency, ReadersStaySafeWhileTheEngineChangesTheList)
{
    ServerManager registry;
    std::atomic<std::int64_t> seconds { 1'700'000'000 };
    registry.setClock([&] { return Date(std::chrono::seconds(seconds.load())); });
    registry.setTimeout(2);
    std::atomic<int> notifications { 0 };
    int observer = 0;
    NotificationCenter::defaultCenter().addObserver(&observer, "ServerManagerChanged", [&](const Notification& notification) {
        for (const auto& entry : std::any_cast<HostManager::EntryList>(notification.userInfo.at("list")))
            (void)entry->objectForKey("mapname");
        ++notifications;
    });

    std::atomic<bool> done { false };
    std::thread engine([&] {
        for (int round = 0; round < 1500; ++round) {
            auto entry = ServerInfo::object();
            entry->_setObject(Ip(0x0A000000 + static_cast<std::uint32_t>(round % 97)), "Ip");
            entry->_setObject(27960 + round % 4, "Port");
            entry->_setObject(round % 3 ? "alpha" : "beta", "Hostname");
            entry->_setObject(InfoResponse::objectWithString("\\mapname\\q3dm" + std::to_string(round % 5)), "InfoResponse");
            NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr,
                { { "userInfo", std::shared_ptr<const HostInfo>(entry) } });
            if (round % 50 == 0)
                seconds += 1;
        }
        done = true;
    });

    std::size_t cells = 0;
    while (!done) {
        for (std::uint32_t row = 0, rows = registry.count(); row < rows; ++row) {
            if (auto entry = registry.objectAtIndex(row))
                cells += entry->objectForKey("Hostname")->description().size() + entry->description().size();
        }
        for (const auto& entry : registry.entries())
            cells += entry->objectForKey("Port").has_value();
        registry.touchAll();
        registry.timeout();
        registry.setTimeout(registry.timeoutValue() == 2 ? 3 : 2);
    }
    engine.join();
    NotificationCenter::defaultCenter().removeObserver(&observer);

    EXPECT_GT(notifications.load(), 0);
    EXPECT_LE(registry.count(), 97u * 4u);
    // The list holds each host once, and the index finds each listed entry.
    auto entries = registry.entries();
    for (const auto& entry : entries)
        EXPECT_EQ(registry.findHost(*entry), entry);
    EXPECT_GT(cells + entries.size(), 0u);
}

}
