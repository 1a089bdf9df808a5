#pragma once

#include "net/Ip.h"
#include "net/VELSocket.h"

// A UDP socket that remembers who sent the last datagram it read and can answer it.
class VELUDPSocket : public VELSocket {
public:
    // A datagram longer than this is cut to its first ReceiveBufferSize bytes.
    static constexpr std::size_t ReceiveBufferSize = 4160;

    void openSocket() override;

    // Reads one datagram (blocks while none waits: poll() first) and records its
    // source. Raises when recvfrom fails, leaving the last sender as it was.
    Data receive();
    Ip lastSender() const { return Ip(m_lastSenderAdr); }
    std::uint16_t lastPort() const { return m_lastSenderPort; }
    // Sends to the source of the last datagram read.
    void reply(const Data& data);

private:
    std::uint32_t m_lastSenderAdr = 0;
    std::uint16_t m_lastSenderPort = 0;
};
