#include "FakeResolver.h"

#include "net/Ip.h"
#include "platform/Exception.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <unordered_set>

namespace {

constexpr std::uint32_t Loopback = 0x7F000001;

std::string raisedReason(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& exception) {
        return exception.reason();
    }
    return "(nothing raised)";
}

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture()
    {
        setLogSink([this](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { setLogSink({}); }
};

} // namespace

TEST(Ip, PrintsDottedFormMostSignificantByteFirst)
{
    const struct {
        std::uint32_t value;
        const char* text;
    } cases[] = {
        { 0xC0A80102, "192.168.1.2" },
        { 0, "0.0.0.0" },
        { 0xFFFFFFFF, "255.255.255.255" },
        { 0x0A000001, "10.0.0.1" },
        { 0x01020304, "1.2.3.4" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Ip::objectWithUnsignedLong(c.value).description(), c.text);
        EXPECT_EQ(Ip(c.value).unsignedLong(), c.value);
    }
}

TEST(Ip, ComparesAndHashesByValue)
{
    EXPECT_EQ(Ip::objectWithUnsignedLong(0xFFFFFFFF), Ip::broadcast());
    EXPECT_EQ(Ip::any(), Ip(0));
    const Ip original(0xC0A80102);
    const Ip copy = original;
    EXPECT_TRUE(copy.isEqual(original));
    EXPECT_NE(original, Ip(0xC0A80103));
    std::unordered_set<Ip> set { Ip(0xC0A80102), Ip::objectWithUnsignedLong(0xC0A80102) };
    EXPECT_EQ(set.size(), 1u);
}

TEST(Ip, HostnameAsksTheResolver)
{
    auto resolver = std::make_shared<FakeResolver>();
    resolver->reverse[0xC0A80102] = "fragbox.lan";
    ResolverScope scope(resolver);
    EXPECT_EQ(Ip(0xC0A80102).hostname(), "fragbox.lan");
    EXPECT_EQ(Ip(0xC0A80103).hostname(), std::nullopt);
}

// The machine's name must lead to an address a local interface really holds, never to
// loopback or a stale container address, since the raw socket sends with it as source.
TEST(Ip, LocalAddressIsOneThisMachineHolds)
{
    const InterfaceAddress lo { Loopback, true, true };
    const InterfaceAddress eth { 0xC0A80102, true, false };    // 192.168.1.2
    const InterfaceAddress wlanDown { 0x0A000005, false, false }; // 10.0.0.5, down
    const InterfaceAddress wlan { 0x0A000007, true, false };      // 10.0.0.7
    const struct {
        const char* name;
        std::vector<std::uint32_t> lookup;
        std::vector<InterfaceAddress> interfaces;
        const char* expected;
    } cases[] = {
        { "name does not resolve, no interface but loopback", {}, { lo }, "127.0.0.1" },
        { "name resolves to 127.0.1.1 only", { 0x7F000101 }, { lo, eth }, "192.168.1.2" },
        { "name resolves to an address no interface holds", { 0xAC110009 }, { lo, eth }, "192.168.1.2" },
        { "loopback first, then the real address", { Loopback, 0xC0A80102 }, { lo, eth }, "192.168.1.2" },
        { "first address held by an up interface wins", { 0x0A090909, 0x0A000005, 0xC0A80102, 0x0A000007 },
            { lo, wlanDown, eth, wlan }, "192.168.1.2" },
        { "down interfaces are no fallback", { 0x7F000101 }, { lo, wlanDown }, "127.0.0.1" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto resolver = std::make_shared<FakeResolver>();
        resolver->forward[resolver->name] = c.lookup;
        resolver->interfaces = c.interfaces;
        ResolverScope scope(resolver);
        EXPECT_EQ(Ip::local().description(), c.expected);
    }
}

TEST(Ip, LocalAddressIsSettledOnce)
{
    auto resolver = FakeResolver::withLocalAddress(0xC0A80102);
    ResolverScope scope(resolver);
    EXPECT_EQ(Ip::local(), Ip(0xC0A80102));
    resolver->forward[resolver->name] = { 0x0A000001 };
    resolver->interfaces.push_back({ 0x0A000001, true, false });
    EXPECT_EQ(Ip::local(), Ip(0xC0A80102));
}

TEST(Ip, NetmaskFromTheUserDefaults)
{
    const struct {
        const char* setting;
        std::uint32_t mask;
        const char* logged;
    } cases[] = {
        { "255.255.255.0", 0xFFFFFF00, "User provided netmask is $FFFFFF00" },
        { "255.255.255.256", 0xFFFFFF00, "User provided netmask is $FFFFFF00" }, // low 8 bits of 256
        { "255.255.255.128", 0xFFFFFF80, "User provided netmask is $FFFFFF80" },
        { "255.255.65280.0", 0xFFFF0000, "User provided netmask is $FFFF0000" },
        { " 255.255.x.7abc", 0xFFFF0007, "User provided netmask is $FFFF0007" }, // leading digits only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        ResolverScope scope(FakeResolver::withLocalAddress(0x0A000001));
        UserDefaults::standardUserDefaults().setString("netmask", c.setting);
        LogCapture log;
        EXPECT_EQ(Ip::netmask(), c.mask);
        EXPECT_EQ(Ip::netmask(), c.mask);
        EXPECT_EQ(log.lines, std::vector<std::string> { c.logged }) << "determined once";
    }
}

TEST(Ip, NetmaskGuessedFromTheAddressClass)
{
    const struct {
        std::uint32_t local;
        std::uint32_t mask;
        const char* logged;
    } cases[] = {
        { 0x0A010203, 0xFF000000, "My netmask guess is $FF000000" }, // 10.1.2.3
        { 0xAC100005, 0xFFFF0000, "My netmask guess is $FFFF0000" }, // 172.16.0.5
        { 0xC0A80102, 0xFFFFFF00, "My netmask guess is $FFFFFF00" }, // 192.168.1.2
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logged);
        ResolverScope scope(FakeResolver::withLocalAddress(c.local));
        LogCapture log;
        EXPECT_EQ(Ip::netmask(), c.mask);
        EXPECT_EQ(log.lines, std::vector<std::string> { c.logged });
    }
}

// A failed determination settles nothing: every later call tries again, and succeeds
// once the cause is gone.
TEST(Ip, NetmaskFailuresRaiseAndAreDeterminedAgain)
{
    const char* corrupted = "netmask in your user defaults is corrupted (I need a dotted address e.g. 255.255.255.128)";
    const struct {
        const char* name;
        std::uint32_t local;
        std::optional<std::string> setting;
        const char* reason;
    } cases[] = {
        { "three components", 0xC0A80102, "255.255.0", corrupted },
        { "five components", 0xC0A80102, "255.255.255.0.0", corrupted },
        { "empty setting", 0xC0A80102, "", corrupted },
        { "class D local address", 0xE0000001, std::nullopt, "Your machine looks really misconfigured to me" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResolverScope scope(FakeResolver::withLocalAddress(c.local));
        if (c.setting)
            UserDefaults::standardUserDefaults().setString("netmask", *c.setting);
        EXPECT_EQ(raisedReason([] { Ip::netmask(); }), c.reason);
        EXPECT_EQ(raisedReason([] { Ip::netmask(); }), c.reason);
        UserDefaults::standardUserDefaults().setString("netmask", "255.255.0.0");
        EXPECT_EQ(Ip::netmask(), 0xFFFF0000u);
    }
}

TEST(Ip, SetNetmaskLastsOnlyAfterTheFirstDetermination)
{
    ResolverScope scope(FakeResolver::withLocalAddress(0xC0A80102));
    LogCapture log;
    Ip::setNetmask(0xFFFFFFF0);
    EXPECT_EQ(Ip::netmask(), 0xFFFFFF00u);
    Ip::setNetmask(0xFFFFFFF0);
    EXPECT_EQ(Ip::netmask(), 0xFFFFFFF0u);
}

TEST(Ip, BroadcastAddresses)
{
    ResolverScope scope(FakeResolver::withLocalAddress(0xC0A80102));
    LogCapture log;
    // A corrupted setting shows whether the netmask was consulted.
    UserDefaults::standardUserDefaults().setString("netmask", "bad");
    EXPECT_TRUE(Ip::broadcast().isBroadcastAddress());
    EXPECT_THROW(Ip(0xC0A80107).isBroadcastAddress(), Exception);

    UserDefaults::standardUserDefaults().setString("netmask", "255.255.255.0");
    const struct {
        std::uint32_t address;
        bool isBroadcast;
    } cases[] = {
        { 0xFFFFFFFF, true },  // limited broadcast
        { 0xC0A80102, true },  // our own address
        { 0xC0A801FF, true },  // directed broadcast of our network
        { 0xC0A80107, false }, // another host of the LAN
        { 0xC0A802FF, false }, // another network's broadcast
        { 0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Ip(c.address).description());
        EXPECT_EQ(Ip(c.address).isBroadcastAddress(), c.isBroadcast);
    }
}
