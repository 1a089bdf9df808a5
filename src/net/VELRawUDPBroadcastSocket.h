#pragma once

#include "net/VELRawUDPSocket.h"

// A raw UDP socket that sends to the limited broadcast address.
class VELRawUDPBroadcastSocket : public VELRawUDPSocket {
public:
    // The raw socket, then broadcasting enabled.
    void openSocket() override;
    // Sends the data to 255.255.255.255 on the port.
    void broadcast(const Data& data, std::uint16_t port);
};
