#include "FakeResolver.h"

#include "net/Ip.h"
#include "net/VELRawUDPBroadcastSocket.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

const Data Query = dataFromString("\xFF\xFF\xFF\xFFgetinfo xxx");

std::uint16_t field16(const Data& packet, std::size_t offset)
{
    return static_cast<std::uint16_t>(packet.at(offset) << 8 | packet.at(offset + 1));
}

// The one's-complement sum of a correct header, checksum included, is 0xFFFF.
bool headerChecksumVerifies(const Data& packet)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < VELRawSocket::HeaderSize; i += 2)
        sum += field16(packet, i);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return sum == 0xFFFF;
}

class RawSocket : public ::testing::Test {
protected:
    ResolverScope m_scope { FakeResolver::withLocalAddress(0xC0A80102) }; // 192.168.1.2
};

} // namespace

TEST(IpHeaderChecksum, KnownHeaders)
{
    const struct {
        Data header;
        std::uint16_t checksum;
    } cases[] = {
        { { 0x45, 0x00, 0x00, 0x73, 0x00, 0x00, 0x40, 0x00, 0x40, 0x11, 0x00, 0x00, 0xC0, 0xA8, 0x00, 0x01, 0xC0, 0xA8,
              0x00, 0xC7 },
            0xB861 },
        { Data(20, 0), 0xFFFF },
        { Data(20, 0xFF), 0x0000 }, // the carry folds back in
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describeData(c.header));
        EXPECT_EQ(ipHeaderChecksum(c.header.data(), c.header.size()), c.checksum);
    }
}

TEST_F(RawSocket, QueryPacketIsByteForByteTheWireFormat)
{
    VELRawUDPBroadcastSocket socket;
    socket.setPort(27961);
    const Data packet = socket.udpPacketWithData(Query, Ip::broadcast(), 27960);
    const Data headers { 0x45, 0x00, 0x00, 0x2B, 0x18, 0x48, 0x00, 0x00, 0x40, 0x11, 0xA0, 0xD0, 0xC0, 0xA8, 0x01, 0x02,
        0xFF, 0xFF, 0xFF, 0xFF, 0x6D, 0x39, 0x6D, 0x38, 0x00, 0x17, 0x00, 0x00 };
    ASSERT_EQ(packet.size(), headers.size() + Query.size());
    EXPECT_EQ(describeData(Data(packet.begin(), packet.begin() + 28)), describeData(headers));
    EXPECT_EQ(Data(packet.begin() + 28, packet.end()), Query);
    EXPECT_TRUE(headerChecksumVerifies(packet));
}

// Setters change the next packet only, and a packet never changes the fields.
TEST_F(RawSocket, HeaderFieldsFollowTheSetters)
{
    VELRawUDPSocket socket;
    const Data before = socket.udpPacketWithData(Query, Ip(0x0A000002), 27960);
    EXPECT_EQ(socket.udpPacketWithData(Query, Ip(0x0A000002), 27960), before) << "identification stays 6216";
    EXPECT_EQ(field16(before, 20), 0) << "source port before setPort";

    socket.setTtl(0x1FF); // only the low 8 bits fit
    socket.setTos(0x10);
    socket.setPacketId(0xBEEF);
    socket.setFragmentation(0x4000);
    socket.setSender(Ip(0x0A000001));
    socket.setPort(27961);
    const Data after = socket.udpPacketWithData(Query, Ip(0x0A000002), 27962);
    Data header(after.begin(), after.begin() + 28);
    header[10] = header[11] = 0; // the checksum is verified on its own below
    EXPECT_EQ(describeData(header), "<4510002b beef4000 ff110000 0a000001 0a000002 6d396d3a 00170000>");
    EXPECT_TRUE(headerChecksumVerifies(after));
}

TEST_F(RawSocket, DataOffsetLeavesRoomForAFurtherHeader)
{
    VELRawSocket socket;
    const Data packet = socket.packetWithData(Query, Ip::broadcast(), 8);
    ASSERT_EQ(packet.size(), 20u + 8 + Query.size());
    EXPECT_EQ(field16(packet, 2), 43);
    EXPECT_EQ(packet[9], 0) << "protocol of a bare raw socket";
    EXPECT_EQ(Data(packet.begin() + 20, packet.begin() + 28), Data(8, 0));
    EXPECT_EQ(Data(packet.begin() + 28, packet.end()), Query);
    EXPECT_TRUE(headerChecksumVerifies(packet));
}

TEST_F(RawSocket, PacketsTooLongForIpv4AreRefused)
{
    VELRawUDPSocket socket;
    EXPECT_EQ(socket.udpPacketWithData(Data(65507), Ip::broadcast(), 1).size(), 65535u);
    EXPECT_THROW(socket.udpPacketWithData(Data(65508), Ip::broadcast(), 1), Exception);
    EXPECT_THROW(socket.packetWithData(Query, Ip::broadcast(), 0xFFFFFFFF), Exception);
}

TEST(RawSocketSender, IsTheLocalAddressAtInitialization)
{
    const struct {
        std::uint32_t local;
        const char* source;
    } cases[] = { { 0x7F000001, "7f000001" }, { 0xC0A80102, "c0a80102" } };
    for (const auto& c : cases) {
        auto resolver = std::make_shared<FakeResolver>();
        if (c.local != 0x7F000001)
            resolver = FakeResolver::withLocalAddress(c.local);
        ResolverScope scope(resolver);
        VELRawUDPSocket socket;
        const Data packet = socket.udpPacketWithData(Query, Ip::broadcast(), 27960);
        EXPECT_EQ(describeData(Data(packet.begin() + 12, packet.begin() + 16)), std::string("<") + c.source + ">");
    }
}

// Without the privilege to open raw sockets, open() hands back the failure. A root test
// run drops to an unprivileged user in a child process to show it.
TEST_F(RawSocket, OpenWithoutPrivilegeReturnsTheFailure)
{
    auto check = [] {
        VELRawUDPBroadcastSocket socket;
        std::optional<Exception> failure = socket.open();
        return failure && !socket.isValid()
            && (failure->reason() == "Raw socket generation for protocol 255 failed Operation not permitted");
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(check());
        return;
    }
    EXPECT_EXIT(
        {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                std::_Exit(2);
            std::_Exit(check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
