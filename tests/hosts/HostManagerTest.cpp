#include "hosts/ClientInfo.h"
#include "hosts/ClientManager.h"
#include "hosts/ServerInfo.h"
#include "hosts/ServerManager.h"
#include "platform/Exception.h"
#include "platform/NotificationCenter.h"
#include "snoop/InfoResponse.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const std::string arena = "\\hostname\\Arena\\mapname\\q3dm1\\clients\\2\\sv_maxclients\\8\\protocol\\36";

std::shared_ptr<const HostInfo> server(std::uint32_t ip, std::int64_t port, std::string hostname = "alpha", const std::string& info = arena)
{
    auto entry = ServerInfo::object();
    entry->_setObject(Ip(ip), "Ip");
    entry->_setObject(std::move(hostname), "Hostname");
    entry->_setObject(port, "Port");
    entry->_setObject(InfoResponse::objectWithString(info), "InfoResponse");
    return entry;
}

// A server registry on a clock the test moves, counting its change notifications.
class HostManagerTest : public testing::Test {
protected:
    HostManagerTest()
    {
        registry.setClock([this] { return now; });
        NotificationCenter::defaultCenter().addObserver(this, "ServerManagerChanged", [this](const Notification& notification) {
            if (notification.object != &registry)
                return;
            lists.push_back(std::any_cast<HostManager::EntryList>(notification.userInfo.at("list")));
        });
    }
    ~HostManagerTest() override { NotificationCenter::defaultCenter().removeObserver(this); }

    void announce(const std::shared_ptr<const HostInfo>& entry)
    {
        NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr, { { "userInfo", entry } });
    }
    Date stampOf(std::uint32_t index) const { return *registry.objectAtIndex(index)->objectForKey("timestamp")->get<Date>(); }

    Date now = Date(1'700'000'000s);
    ServerManager registry;
    std::vector<HostManager::EntryList> lists;
};

TEST_F(HostManagerTest, FirstAnnouncementAddsAStampedCopyAndAnnouncesIt)
{
    auto announced = server(0x0A000002, 27960);
    announce(announced);
    ASSERT_EQ(registry.count(), 1u);
    auto listed = registry.objectAtIndex(0);
    EXPECT_NE(listed, announced);
    EXPECT_TRUE(listed->isEqual(*announced));
    EXPECT_EQ(stampOf(0), now);
    EXPECT_EQ(announced->objectForKey("timestamp"), std::nullopt);
    ASSERT_EQ(lists.size(), 1u);
    ASSERT_EQ(lists[0].size(), 1u);
    EXPECT_EQ(lists[0][0], listed);
    EXPECT_EQ(registry.lastUpdate(), now);
}

TEST_F(HostManagerTest, RepeatedAnnouncementRefreshesAndAnnouncesOnlyChanges)
{
    announce(server(0x0A000002, 27960));
    now += 5s;
    announce(server(0x0A000002, 27960));
    EXPECT_EQ(lists.size(), 1u) << "same name and info: only the stamp moves";
    EXPECT_EQ(stampOf(0), now);

    announce(server(0x0A000002, 27960, "alpha", arena + "\\g_gametype\\4"));
    EXPECT_EQ(lists.size(), 1u) << "a key outside the required five is no change";
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("g_gametype"), std::nullopt);

    announce(server(0x0A000002, 27960, "alpha.lan"));
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("Hostname"), AttributeValue("alpha.lan"));

    announce(server(0x0A000002, 27960, "alpha.lan", "\\hostname\\Arena\\mapname\\q3dm7\\clients\\2\\sv_maxclients\\8\\protocol\\36\\g_gametype\\4"));
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("mapname"), AttributeValue("q3dm7"));
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("g_gametype"), AttributeValue("4"));
    EXPECT_EQ(registry.count(), 1u);
}

TEST_F(HostManagerTest, AddressAndPortMakeTheIdentityAndOrderIsKept)
{
    announce(server(0x0A000002, 27960));
    announce(server(0x0A000002, 27961));
    announce(server(0x0A000003, 27960));
    announce(server(0x0A000002, 27960));
    ASSERT_EQ(registry.count(), 3u);
    EXPECT_EQ(registry.objectAtIndex(1)->objectForKey("Port"), AttributeValue(27961));
    EXPECT_EQ(registry.objectAtIndex(2)->objectForKey("Ip"), AttributeValue(Ip(0x0A000003)));
    EXPECT_EQ(registry.findHost(*server(0x0A000003, 27960)), registry.objectAtIndex(2));
    EXPECT_EQ(registry.findHost(*server(0x0A000003, 27961)), nullptr);
    EXPECT_EQ(registry.objectAtIndex(3), nullptr);
}

TEST_F(HostManagerTest, SilentHostsGoAfterTheTimeout)
{
    announce(server(0x0A000002, 27960));
    announce(server(0x0A000003, 27960));
    registry.timeout(now + 10s);
    EXPECT_EQ(registry.count(), 2u) << "stamped exactly at the cutoff: stays";
    now += 5s;
    announce(server(0x0A000003, 27960));

    now += 5500ms;
    registry.timeout();
    ASSERT_EQ(registry.count(), 1u);
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("Ip"), AttributeValue(Ip(0x0A000003)));
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists.back().size(), 1u);
    // The found handler ages the list too, and its drop is announced.
    now += 11s;
    announce(server(0x0A000004, 27960));
    ASSERT_EQ(registry.count(), 1u);
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("Ip"), AttributeValue(Ip(0x0A000004)));
}

TEST_F(HostManagerTest, NewTimeoutAndResumeRestampInsteadOfDropping)
{
    announce(server(0x0A000002, 27960));
    now += 8s;
    registry.setTimeout(3);
    EXPECT_EQ(registry.timeoutValue(), 3);
    EXPECT_EQ(registry.count(), 1u);
    EXPECT_EQ(stampOf(0), now);

    registry.suspend();
    now += 60s;
    registry.timeout();
    EXPECT_EQ(registry.count(), 1u) << "suspended: the periodic time-out keeps everything";
    registry.resume();
    EXPECT_FALSE(registry.isSuspended());
    EXPECT_EQ(stampOf(0), now);
    EXPECT_EQ(lists.size(), 1u) << "re-stamping is no change";
}

TEST_F(HostManagerTest, AnnouncementsStillCountWhileSuspended)
{
    registry.suspend();
    announce(server(0x0A000002, 27960));
    now += 20s;
    announce(server(0x0A000003, 27960));
    ASSERT_EQ(registry.count(), 1u) << "the found handler's own scan runs while suspended";
    EXPECT_EQ(registry.objectAtIndex(0)->objectForKey("Ip"), AttributeValue(Ip(0x0A000003)));
}

TEST_F(HostManagerTest, AnUnannouncedChangeIsStillReported)
{
    EXPECT_TRUE(registry.addObjectToList(*server(0x0A000002, 27960), now));
    EXPECT_TRUE(registry.addObjectToList(*server(0x0A000002, 27960), now));
    registry.broadcastIfChanged(now);
    EXPECT_FALSE(registry.addObjectToList(*server(0x0A000002, 27960), now));
    EXPECT_EQ(lists.size(), 1u);
}

TEST_F(HostManagerTest, NotificationsWithoutAnEntryAreIgnored)
{
    NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr, {});
    NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr, { { "userInfo", std::string("odd") } });
    NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr, { { "userInfo", std::shared_ptr<const HostInfo>() } });
    EXPECT_EQ(registry.count(), 0u);
    auto entry = std::const_pointer_cast<HostInfo>(server(0x0A000002, 27960));
    NotificationCenter::defaultCenter().postNotificationName("SnoopServerFound", nullptr, { { "userInfo", entry } });
    EXPECT_EQ(registry.count(), 1u);
}

TEST(ServerInfo, LooksUpOwnAttributesFirstThenTheInfoResponse)
{
    auto entry = server(0x0A000002, 27960, "box.lan");
    EXPECT_EQ(entry->objectForKey("Hostname"), AttributeValue("box.lan"));
    EXPECT_EQ(entry->objectForKey("hostname"), AttributeValue("Arena"));
    EXPECT_EQ(entry->objectForKey("mapname"), AttributeValue("q3dm1"));
    EXPECT_EQ(entry->objectForKey("fraglimit"), std::nullopt);
    EXPECT_EQ(ServerInfo::object()->objectForKey("mapname"), std::nullopt);
}

TEST(HostInfo, WritesOnlyThroughTheInternalSetterAndCopiesItsClass)
{
    auto entry = ClientInfo::object();
    entry->_setObject("a", "Hostname");
    try {
        entry->setObject("b", "Hostname");
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_EQ(exception.name(), Exception::InternalInconsistencyException);
        EXPECT_EQ(exception.reason(), "that ain't working...");
    }
    EXPECT_EQ(entry->objectForKey("Hostname"), AttributeValue("a"));
    auto copy = entry->copy();
    EXPECT_NE(dynamic_cast<ClientInfo*>(copy.get()), nullptr);
    EXPECT_EQ(copy->attributes(), entry->attributes());
    // Without an address and port an entry is nobody, not even itself.
    EXPECT_FALSE(entry->isEqual(*entry));
}

TEST(AttributeValue, DescribesItselfAsATableCellShowsIt)
{
    EXPECT_EQ(AttributeValue(Ip(0xC0A80102)).description(), "192.168.1.2");
    EXPECT_EQ(AttributeValue(std::uint16_t(27960)).description(), "27960");
    EXPECT_EQ(AttributeValue("q3dm1").description(), "q3dm1");
    EXPECT_EQ(AttributeValue(Date(1'700'000'000s)).description(), "2023-11-14 22:13:20 +0000");
    EXPECT_EQ(AttributeValue(InfoResponse::objectWithString("\\b\\2\\a\\1")).description(), "{a = 1; b = 2; }");
}

TEST(Registries, AreOnePerKind)
{
    EXPECT_EQ(&ServerManager::sharedInstance(), &ServerManager::sharedInstance());
    EXPECT_NE(static_cast<void*>(&ClientManager::sharedInstance()), static_cast<void*>(&ServerManager::sharedInstance()));
    EXPECT_EQ(ClientManager::sharedInstance().receiveNotificationName(), "SnoopClientFound");
    EXPECT_EQ(ClientManager::sharedInstance().sendNotificationName(), "ClientManagerChanged");
    EXPECT_EQ(ServerManager::sharedInstance().timeoutValue(), 10);
}

}
