#pragma once

#include "net/VELSocket.h"

#include <cstddef>
#include <cstdint>

// The Internet checksum of an IPv4 header (count bytes, normally 20), as a number;
// store it most significant byte first.
std::uint16_t ipHeaderChecksum(const std::uint8_t* header, std::size_t count);

// A raw IPv4 socket whose header this class builds itself (IP_HDRINCL), so the source
// address and every other field are the sender's choice. Only sends. Opening needs
// the privilege to create raw sockets; without it open() returns the exception.
class VELRawSocket : public VELSocket {
public:
    static constexpr std::size_t HeaderSize = 20;

    // Takes the local address (Ip::local()) as the source of every packet.
    VELRawSocket();

    // A raw socket for IPPROTO_RAW with our own header.
    void openSocket() override;
    // Raises "Raw socket generation for protocol %d failed %s" when socket(2) fails.
    void openSocketWithProtocol(int protocol);
    void enableCustomIpHeader(bool enable);

    void setTtl(std::uint16_t ttl) { m_ttl = ttl; }
    void setTos(std::uint16_t tos) { m_tos = tos; }
    void setProtocol(std::uint16_t protocol) { m_protocol = protocol; }
    void setFragmentation(std::uint16_t fragmentation) { m_fragmentation = fragmentation; }
    void setPacketId(std::uint16_t packetId) { m_packetId = packetId; }
    void setSender(const Ip& sender);

    // The IPv4 packet around the payload, with dataOffset zero bytes between the header
    // and the payload for a further header. Raises when the packet would exceed 65535
    // bytes, which the total-length field cannot tell.
    Data packetWithData(const Data& data, std::uint32_t address, std::uint32_t dataOffset) const;
    Data packetWithData(const Data& data, const Ip& address, std::uint32_t dataOffset) const;

private:
    std::uint16_t m_version = 4;
    std::uint16_t m_fragmentation = 0;
    std::uint16_t m_ttl = 64;
    std::uint16_t m_protocol = 0;
    std::uint16_t m_packetId = 6216;
    std::uint16_t m_tos = 0;
    std::uint32_t m_sender = 0;
};
