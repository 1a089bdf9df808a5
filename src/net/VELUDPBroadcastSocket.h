#pragma once

#include "net/VELUDPSocket.h"

// A UDP socket that may send to the limited broadcast address.
class VELUDPBroadcastSocket : public VELUDPSocket {
public:
    // Opens a UDP socket and enables broadcasting on it.
    void openSocket() override;
    // Sends the data to 255.255.255.255 on the port.
    void broadcast(const Data& data, std::uint16_t port);
};
