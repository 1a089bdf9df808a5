#include "net/VELRawUDPBroadcastSocket.h"
#include "net/Ip.h"

void VELRawUDPBroadcastSocket::openSocket()
{
    VELRawSocket::openSocket();
    enableBroadcast(true);
}

void VELRawUDPBroadcastSocket::broadcast(const Data& data, std::uint16_t port) { send(data, Ip::broadcast(), port); }
