// A small tool run on the hosts of the namespace LAN: it listens for one datagram,
// sends a broadcast through the raw or the plain UDP socket, or tells the local address.
//
//   netprobe listen PORT TIMEOUT_MS READY_FILE   prints "from ADDR:PORT <hex>"; 1 on timeout
//   netprobe send-raw SOURCE_PORT PORT TEXT      raw broadcast with that UDP source port
//   netprobe send-udp SOURCE_PORT PORT TEXT      plain broadcast from that port
//   netprobe local                               prints the local address
#include "net/Ip.h"
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

std::uint16_t portArgument(const char* text) { return static_cast<std::uint16_t>(std::strtoul(text, nullptr, 10)); }

int listen(std::uint16_t port, int timeoutMilliseconds, const char* readyFile)
{
    VELUDPSocket socket;
    if (auto failure = socket.open())
        throw *failure;
    socket.enableReusePort(true);
    socket.bindSocket(Ip::any(), port);
    std::ofstream(readyFile) << "ready\n";
    if (socket.poll(timeoutMilliseconds) != 1) {
        std::fprintf(stderr, "nothing arrived within %d ms\n", timeoutMilliseconds);
        return 1;
    }
    const Data data = socket.receive();
    std::printf("from %s:%u %s\n", socket.lastSender().description().c_str(), socket.lastPort(),
        describeData(data).c_str());
    return 0;
}

int sendRaw(std::uint16_t sourcePort, std::uint16_t port, const std::string& text)
{
    VELRawUDPBroadcastSocket socket;
    if (auto failure = socket.open())
        throw *failure;
    socket.setPort(sourcePort);
    socket.broadcast(dataFromString(text), port);
    return 0;
}

int sendUdp(std::uint16_t sourcePort, std::uint16_t port, const std::string& text)
{
    VELUDPBroadcastSocket socket;
    if (auto failure = socket.open())
        throw *failure;
    socket.enableReusePort(true);
    socket.bindSocket(Ip::any(), sourcePort);
    socket.broadcast(dataFromString(text), port);
    return 0;
}

int run(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "listen" && argc == 5)
        return listen(portArgument(argv[2]), std::atoi(argv[3]), argv[4]);
    if (mode == "send-raw" && argc == 5)
        return sendRaw(portArgument(argv[2]), portArgument(argv[3]), argv[4]);
    if (mode == "send-udp" && argc == 5)
        return sendUdp(portArgument(argv[2]), portArgument(argv[3]), argv[4]);
    if (mode == "local" && argc == 2) {
        std::printf("%s\n", Ip::local().description().c_str());
        return 0;
    }
    std::fprintf(stderr, "usage: netprobe listen PORT TIMEOUT_MS READY_FILE | send-raw|send-udp SOURCE_PORT PORT TEXT | local\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return run(argc, argv);
    } catch (const Exception& exception) {
        std::fprintf(stderr, "%s: %s\n", exception.name().c_str(), exception.reason().c_str());
        return 1;
    }
}
