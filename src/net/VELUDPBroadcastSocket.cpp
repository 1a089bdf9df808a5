#include "net/VELUDPBroadcastSocket.h"

void VELUDPBroadcastSocket::openSocket()
{
    VELUDPSocket::openSocket();
    enableBroadcast(true);
}

void VELUDPBroadcastSocket::broadcast(const Data& data, std::uint16_t port) { send(data, Ip::broadcast(), port); }
