#include "net/VELRawSocket.h"
#include "net/Ip.h"
#include "platform/Exception.h"
#include "platform/Format.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>

namespace {

constexpr std::size_t MaximumPacketSize = 65535;

void put16(Data& packet, std::size_t offset, std::uint16_t value)
{
    packet[offset] = static_cast<std::uint8_t>(value >> 8);
    packet[offset + 1] = static_cast<std::uint8_t>(value);
}

void put32(Data& packet, std::size_t offset, std::uint32_t value)
{
    put16(packet, offset, static_cast<std::uint16_t>(value >> 16));
    put16(packet, offset + 2, static_cast<std::uint16_t>(value));
}

} // namespace

std::uint16_t ipHeaderChecksum(const std::uint8_t* header, std::size_t count)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < count; i += 2)
        sum += static_cast<std::uint32_t>(header[i] << 8 | header[i + 1]);
    if (count % 2)
        sum += static_cast<std::uint32_t>(header[count - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

VELRawSocket::VELRawSocket()
    : m_sender(Ip::local().unsignedLong())
{
}

void VELRawSocket::openSocket()
{
    openSocketWithProtocol(IPPROTO_RAW);
    enableCustomIpHeader(true);
}

void VELRawSocket::openSocketWithProtocol(int protocol)
{
    openSocketForFamily(AF_INET, SOCK_RAW, protocol);
    if (!isValid())
        Exception::raise("Raw socket generation for protocol %d failed %s", protocol, errnoText().c_str());
}

void VELRawSocket::enableCustomIpHeader(bool enable)
{
    const std::int32_t value = enable ? 1 : 0;
    if (setsockopt(descriptor(), IPPROTO_IP, IP_HDRINCL, &value, sizeof value) == -1)
        Exception::raise("Couldn't set permission to create (IP_HDRINCL): %s", errnoText().c_str());
}

void VELRawSocket::setSender(const Ip& sender) { m_sender = sender.unsignedLong(); }

Data VELRawSocket::packetWithData(const Data& data, std::uint32_t address, std::uint32_t dataOffset) const
{
    const std::size_t length = HeaderSize + dataOffset + data.size();
    if (dataOffset > MaximumPacketSize || length > MaximumPacketSize)
        Exception::raise("Packet of %zu bytes exceeds the IPv4 limit of %zu bytes", length, MaximumPacketSize);
    Data packet(length, 0);
    std::ranges::copy(data, packet.begin() + static_cast<std::ptrdiff_t>(HeaderSize + dataOffset));
    packet[0] = static_cast<std::uint8_t>((m_version & 0x0F) << 4 | HeaderSize / 4);
    packet[1] = static_cast<std::uint8_t>(m_tos);
    put16(packet, 2, static_cast<std::uint16_t>(length));
    put16(packet, 4, m_packetId);
    put16(packet, 6, m_fragmentation);
    packet[8] = static_cast<std::uint8_t>(m_ttl);
    packet[9] = static_cast<std::uint8_t>(m_protocol);
    put32(packet, 12, m_sender);
    put32(packet, 16, address);
    put16(packet, 10, ipHeaderChecksum(packet.data(), HeaderSize));
    return packet;
}

Data VELRawSocket::packetWithData(const Data& data, const Ip& address, std::uint32_t dataOffset) const
{
    return packetWithData(data, address.unsignedLong(), dataOffset);
}
