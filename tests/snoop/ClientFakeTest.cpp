#include "net/Ip.h"
#include "platform/Exception.h"
#include "platform/NotificationCenter.h"
#include "hosts/ServerInfo.h"
#include "snoop/ClientFake.h"
#include "snoop/InfoResponse.h"
#include "snoop/Quake3TestSnoop.h"

#include <gtest/gtest.h>

namespace {

std::string textOf(const Data& data, std::size_t from) { return std::string(data.begin() + static_cast<long>(from), data.end()); }

TEST(ClientFake, BuildsTheWholeDatagram)
{
    Data data = ClientFake("Hello", "q3dm1").data();
    ASSERT_EQ(data.size(), 84u);
    EXPECT_EQ(Data(data.begin(), data.begin() + 4), Data(4, 0xFF));
    EXPECT_EQ(textOf(data, 4).substr(0, 13), "infoResponse\n");
    std::string info = textOf(data, 17);
    EXPECT_EQ(info.size(), 67u);
    EXPECT_EQ(InfoResponse(info).dictionary(),
        (InfoResponse::Dictionary { { "hostname", "Hello" }, { "mapname", "q3dm1" }, { "clients", "1" }, { "sv_maxclients", "9" }, { "protocol", "36" } }));
}

TEST(ClientFake, NumbersFollowTheSetters)
{
    ClientFake fake("Hello", "q3dm1");
    fake.setPlayers(4);
    fake.setMax(16);
    fake.setProtocol(68);
    InfoResponse read(textOf(fake.data(), 17));
    EXPECT_EQ(read.objectForKey("clients"), "4");
    EXPECT_EQ(read.objectForKey("sv_maxclients"), "16");
    EXPECT_EQ(read.objectForKey("protocol"), "68");
}

TEST(ClientFake, ReplacesWhatAsciiCannotHold)
{
    Data data = ClientFake("Caf\u00e9", "q3dm1").data();
    EXPECT_EQ(InfoResponse(textOf(data, 17)).objectForKey("hostname"), "Caf?");
}

TEST(ClientFake, RefusesToBuildWithoutAMap)
{
    ClientFake fake("Hello", std::nullopt);
    EXPECT_EQ(fake.infoResponse()->objectForKey("mapname"), std::nullopt);
    try {
        fake.data();
        FAIL() << "no exception";
    } catch (const Exception& exception) {
        EXPECT_NE(exception.reason().find("Required Key mapname missing"), std::string::npos);
    }
}

TEST(ClientFake, ReadsBackThroughTheProtocol)
{
    auto engine = std::make_shared<Quake3TestSnoop>();
    std::shared_ptr<const HostInfo> announced;
    int observer = 0;
    NotificationCenter::defaultCenter().addObserver(&observer, "SnoopServerFound", [&](const Notification& notification) {
        announced = std::any_cast<std::shared_ptr<const HostInfo>>(notification.userInfo.at("userInfo"));
    });
    engine->handleAnswer(ClientFake("Hello", "q3dm1").data(), Ip(0x0A000002), 27960);
    NotificationCenter::defaultCenter().removeObserver(&observer);
    ASSERT_TRUE(announced);
    EXPECT_EQ(announced->objectForKey("hostname")->description(), "Hello");
    EXPECT_EQ(announced->objectForKey("sv_maxclients")->description(), "9");
}

}
