#include "net/VELUDPSocket.h"
#include "platform/Exception.h"
#include "platform/Format.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <array>

void VELUDPSocket::openSocket() { openSocketForFamily(AF_INET, SOCK_DGRAM, IPPROTO_UDP); }

Data VELUDPSocket::receive()
{
    std::array<std::uint8_t, ReceiveBufferSize> buffer;
    sockaddr_in source {};
    socklen_t sourceLength = sizeof source;
    // A longer datagram is cut to the buffer; the rest of it is discarded by the kernel.
    const ssize_t received = ::recvfrom(descriptor(), buffer.data(), buffer.size(), 0,
        reinterpret_cast<sockaddr*>(&source), &sourceLength);
    if (received == -1)
        Exception::raise("Couldn't read from socket: %s", errnoText().c_str());
    m_lastSenderAdr = ntohl(source.sin_addr.s_addr);
    m_lastSenderPort = ntohs(source.sin_port);
    return Data(buffer.begin(), buffer.begin() + received);
}

void VELUDPSocket::reply(const Data& data) { send(data, m_lastSenderAdr, m_lastSenderPort); }
