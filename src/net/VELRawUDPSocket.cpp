#include "net/VELRawUDPSocket.h"
#include "net/Ip.h"

#include <netinet/in.h>

VELRawUDPSocket::VELRawUDPSocket() { setProtocol(IPPROTO_UDP); }

Data VELRawUDPSocket::udpPacketWithData(const Data& data, std::uint32_t address, std::uint16_t port) const
{
    Data packet = packetWithData(data, address, UdpHeaderSize);
    const auto udpLength = static_cast<std::uint16_t>(UdpHeaderSize + data.size());
    const std::uint16_t fields[] = { boundPort(), port, udpLength, 0 }; // checksum 0: none computed
    for (std::size_t i = 0; i < 4; ++i) {
        packet[HeaderSize + 2 * i] = static_cast<std::uint8_t>(fields[i] >> 8);
        packet[HeaderSize + 2 * i + 1] = static_cast<std::uint8_t>(fields[i]);
    }
    return packet;
}

Data VELRawUDPSocket::udpPacketWithData(const Data& data, const Ip& address, std::uint16_t port) const
{
    return udpPacketWithData(data, address.unsignedLong(), port);
}

void VELRawUDPSocket::send(const Data& data, std::uint32_t address, std::uint16_t port)
{
    VELSocket::send(udpPacketWithData(data, address, port), address, port);
}
