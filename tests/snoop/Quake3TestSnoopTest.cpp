#include "../net/FakeResolver.h"
#include "hosts/HostInfo.h"
#include "net/IpHostnameCache.h"
#include "platform/NotificationCenter.h"
#include "snoop/InfoResponse.h"
#include "snoop/Quake3TestSnoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

Data datagram(std::initializer_list<std::uint8_t> marker, std::string_view text)
{
    Data data(marker);
    data.insert(data.end(), text.begin(), text.end());
    return data;
}

Data outOfBand(std::string_view text) { return datagram({ 0xFF, 0xFF, 0xFF, 0xFF }, text); }

const std::string arena = "\\hostname\\Arena\\mapname\\q3dm1\\clients\\2\\sv_maxclients\\8\\protocol\\36";

// Collects every "SnoopServerFound" posted while it lives.
class Announcements {
public:
    Announcements()
    {
        NotificationCenter::defaultCenter().addObserver(this, "SnoopServerFound", [this](const Notification& notification) {
            objects.push_back(notification.object);
            entries.push_back(std::any_cast<std::shared_ptr<const HostInfo>>(notification.userInfo.at("userInfo")));
        });
    }
    ~Announcements() { NotificationCenter::defaultCenter().removeObserver(this); }

    std::vector<const void*> objects;
    std::vector<std::shared_ptr<const HostInfo>> entries;
};

class Quake3TestSnoopTest : public testing::Test {
protected:
    Quake3TestSnoopTest()
        : resolver(std::make_shared<FakeResolver>())
    {
        resolver->reverse[sender.unsignedLong()] = "arena.lan";
    }

    const Ip sender { 0x0A000002 };
    std::shared_ptr<FakeResolver> resolver;
    ResolverScope scope { resolver };
    std::shared_ptr<Quake3TestSnoop> engine = std::make_shared<Quake3TestSnoop>();
    Announcements announcements;
};

TEST_F(Quake3TestSnoopTest, SuppliesThePortsAndTheRequest)
{
    EXPECT_EQ(engine->startPort(), 27960);
    EXPECT_EQ(engine->nPorts(), 4u);
    EXPECT_EQ(engine->receivePort(), 27961);
    EXPECT_EQ(engine->serverRequest(), (Data { 0xFF, 0xFF, 0xFF, 0xFF, 'g', 'e', 't', 'i', 'n', 'f', 'o', ' ', 'x', 'x', 'x' }));
}

TEST_F(Quake3TestSnoopTest, AnnouncesAServerAnswer)
{
    // No other test asks for this address, so its name is not looked up yet.
    const Ip sender(0x0A000003);
    EXPECT_EQ(engine->handleAnswer(outOfBand("infoResponse\n" + arena), sender, 27960), std::nullopt);
    ASSERT_EQ(announcements.entries.size(), 1u);
    EXPECT_EQ(announcements.objects[0], engine.get());
    const HostInfo& entry = *announcements.entries[0];
    EXPECT_EQ(entry.objectForKey("Ip"), AttributeValue(sender));
    EXPECT_EQ(entry.objectForKey("Port"), AttributeValue(27960));
    EXPECT_EQ(entry.objectForKey("Hostname"), AttributeValue("10.0.0.3"));
    auto value = entry.objectForKey("InfoResponse");
    ASSERT_TRUE(value);
    auto response = value->get<std::shared_ptr<const InfoResponse>>();
    ASSERT_TRUE(response);
    EXPECT_EQ((*response)->dictionary(), InfoResponse(arena).dictionary());
    EXPECT_EQ(entry.objectForKey("mapname")->description(), "q3dm1");
}

struct EnvelopeCase {
    const char* name;
    Data datagram;
    bool announced;
};

const EnvelopeCase envelopeCases[] = {
    { "NewlineSeparator", outOfBand("infoResponse\n" + arena), true },
    { "SpaceSeparator", outOfBand("infoResponse " + arena), true },
    { "LeadingWhiteSpace", outOfBand(" \tinfoResponse\n" + arena), true },
    { "EmptyArgument", outOfBand("infoResponse\n"), false },
    { "MarkerEndsInFE", datagram({ 0xFF, 0xFF, 0xFF, 0xFE }, "infoResponse\n" + arena), false },
    { "MarkerStartsWith01", datagram({ 0x01, 0x01, 0x01, 0xFF }, "infoResponse\n" + arena), false },
    { "MarkerAlone", outOfBand(""), false },
    { "ShortDatagram", Data { 0xFF, 0xFF }, false },
    { "Empty", Data {}, false },
    // A word with no separator after it must not stop the engine: ignored.
    { "MarkerAndOneLetter", outOfBand("i"), false },
    { "CommandWithoutSeparator", outOfBand("infoResponse"), false },
    { "WhiteSpaceOnly", outOfBand(" \n\t "), false },
    { "ClientQuery", outOfBand("getinfo xxx"), false },
    { "OtherClientCommands", outOfBand("getstatus x"), false },
    { "CaseDiffers", outOfBand("InfoResponse\n" + arena), false },
    { "Garbage", Data { 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x81, 0xFE, 0x20, 0x5C }, false },
};

class Quake3TestSnoopEnvelope : public Quake3TestSnoopTest, public testing::WithParamInterface<EnvelopeCase> { };

TEST_P(Quake3TestSnoopEnvelope, AnnouncesOnlyServerAnswersAndNeverReplies)
{
    std::optional<Data> reply;
    ASSERT_NO_THROW(reply = engine->handleAnswer(GetParam().datagram, sender, 27960));
    EXPECT_EQ(reply, std::nullopt);
    EXPECT_EQ(announcements.entries.size(), GetParam().announced ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Datagrams, Quake3TestSnoopEnvelope, testing::ValuesIn(envelopeCases),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Quake3TestSnoopTest, HostnameTurnsFromDottedToNameOnceResolved)
{
    const Ip fresh(0x0A000063);
    resolver->reverse[fresh.unsignedLong()] = "fresh.lan";
    engine->handleAnswer(outOfBand("infoResponse\n" + arena), fresh, 27960);
    ASSERT_EQ(announcements.entries.size(), 1u);
    EXPECT_EQ(announcements.entries[0]->objectForKey("Hostname")->description(), "10.0.0.99");

    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (IpHostnameCache::sharedInstance().nameForIp(fresh) != "fresh.lan" && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    engine->handleAnswer(outOfBand("infoResponse\n" + arena), fresh, 27960);
    ASSERT_EQ(announcements.entries.size(), 2u);
    EXPECT_EQ(announcements.entries[1]->objectForKey("Hostname")->description(), "fresh.lan");
}

TEST_F(Quake3TestSnoopTest, ReturnDataIsClearedForEveryAnswer)
{
    engine->setReturnData(Data { 1, 2, 3 });
    EXPECT_EQ(engine->handleAnswer(outOfBand("getinfo xxx"), sender, 27960), std::nullopt);
    EXPECT_EQ(engine->returnData(), std::nullopt);
}

}
