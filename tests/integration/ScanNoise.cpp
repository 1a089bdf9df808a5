// scan_noise TARGET PORT: plays a noisy host on the namespace LAN until it is killed.
// Sends what must never disturb a search to TARGET:PORT (garbage, short datagrams, the
// marker alone, the marker and one letter, white space, a command word with nothing
// after it) and broadcasts a game client's own "getinfo" to the server ports.

#include "net/Ip.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/Exception.h"
#include "snoop/Quake3TestSnoop.h"

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

Data outOfBand(std::string_view text)
{
    return Quake3TestSnoop::outOfBand(text);
}

std::vector<Data> strayDatagrams()
{
    return { Data { 0x00, 0x81, 0xFE, 0x5C, 0x0A }, Data { 0xFF, 0xFF }, Data(4, 0xFF), outOfBand("i"),
        outOfBand(" \n\t"), outOfBand("infoResponse"), outOfBand("infoResponse\n"), Data(1200, 0xFF),
        Data { 0xFF, 0xFF, 0xFF, 0xFE, 'i', 'n', 'f', 'o', 'R', 'e', 's', 'p', 'o', 'n', 's', 'e', '\n', '\\', 'x', '\\', 'y' } };
}

int run(const char* target, const char* portText)
{
    in_addr address {};
    if (inet_pton(AF_INET, target, &address) != 1)
        return 2;
    const Ip targetIp(ntohl(address.s_addr));
    const auto port = static_cast<std::uint16_t>(std::stoi(portText));
    VELUDPBroadcastSocket socket;
    if (auto failure = socket.open())
        throw *failure;
    const auto stray = strayDatagrams();
    const Data clientQuery = outOfBand("getinfo xxx");
    // Stray datagrams 50 times a second, faster than the engine's shortest poll; the
    // client's query twice a second, since servers limit how often they answer.
    for (unsigned round = 0;; ++round) {
        for (const auto& datagram : stray)
            socket.send(datagram, targetIp, port);
        for (std::uint16_t serverPort = 27960; round % 25 == 0 && serverPort <= 27963; ++serverPort)
            socket.broadcast(clientQuery, serverPort);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: scan_noise TARGET_ADDRESS PORT\n");
        return 2;
    }
    try {
        return run(argv[1], argv[2]);
    } catch (const Exception&) {
        // The LAN is being torn down under us.
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "scan_noise: %s\n", error.what());
        return 2;
    }
}
