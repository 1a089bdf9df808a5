#pragma once

#include "net/VELRawSocket.h"

// A raw socket that sends UDP datagrams with a chosen source address and source port.
// The UDP checksum is left 0 ("not computed"), which receivers accept.
class VELRawUDPSocket : public VELRawSocket {
public:
    static constexpr std::size_t UdpHeaderSize = 8;

    VELRawUDPSocket();

    // The UDP source port of later packets.
    void setPort(std::uint16_t port) { setBoundPort(port); }

    // The IPv4 packet with the UDP header (source port, destination port, length,
    // checksum 0) in front of the payload. Named apart from packetWithData() so that a
    // port can never be taken for a data offset.
    Data udpPacketWithData(const Data& data, std::uint32_t address, std::uint16_t port) const;
    Data udpPacketWithData(const Data& data, const Ip& address, std::uint16_t port) const;

    // Builds the packet and sends it through the raw descriptor.
    void send(const Data& data, std::uint32_t address, std::uint16_t port) override;
    using VELSocket::send;
};
