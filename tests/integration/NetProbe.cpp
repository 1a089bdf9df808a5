// A small tool run on the hosts of the namespace LAN: it listens for one datagram,
// sends a broadcast through the raw or the plain UDP socket, or tells the local address.
//
//   netprobe listen PORT TIMEOUT_MS READY_FILE   prints "from ADDR:PORT <hex>"; 1 on timeout
//   netprobe send-raw SOURCE_PORT PORT TEXT      raw broadcast with that UDP source port
//   netprobe send-udp SOURCE_PORT PORT TEXT      plain broadcast from that port
//   netprobe capture PORT TIMEOUT_MS READY_FILE  prints the IPv4 and UDP headers of the
//                                                first UDP packet for PORT, as it came in
//   netprobe local                               prints the local address
#include "net/Ip.h"
#include "net/PollDescriptor.h"
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/Exception.h"

#include <arpa/inet.h>
#include <linux/if_ether.h>
#include <netpacket/packet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
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

bool isUdpFor(const std::uint8_t* packet, ssize_t length, std::uint16_t port)
{
    const std::size_t headerLength = (packet[0] & 0x0F) * 4u;
    return length >= 28 && packet[9] == 17 && static_cast<std::size_t>(length) >= headerLength + 8
        && (packet[headerLength + 2] << 8 | packet[headerLength + 3]) == port;
}

// Reads IPv4 packets off the interface itself, to see the header bytes that were sent
// rather than what a UDP socket makes of them.
int capture(std::uint16_t port, int timeoutMilliseconds, const char* readyFile)
{
    const int fd = ::socket(AF_PACKET, SOCK_DGRAM, htons(ETH_P_IP));
    if (fd == -1) {
        std::perror("packet socket");
        return 1;
    }
    std::ofstream(readyFile) << "ready\n";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
    std::array<std::uint8_t, 65536> packet;
    while (std::chrono::steady_clock::now() < deadline) {
        PollDescriptor descriptor { fd, PollDescriptor::Readable, 0 };
        if (pollDescriptors(&descriptor, 1, 50) != 1)
            continue;
        const ssize_t length = ::recv(fd, packet.data(), packet.size(), 0);
        if (isUdpFor(packet.data(), length, port)) {
            std::printf("%s\n", describeData(Data(packet.begin(), packet.begin() + 28)).c_str());
            ::close(fd);
            return 0;
        }
    }
    ::close(fd);
    std::fprintf(stderr, "no packet for port %u within %d ms\n", port, timeoutMilliseconds);
    return 1;
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
    if (mode == "capture" && argc == 5)
        return capture(portArgument(argv[2]), std::atoi(argv[3]), argv[4]);
    if (mode == "send-raw" && argc == 5)
        return sendRaw(portArgument(argv[2]), portArgument(argv[3]), argv[4]);
    if (mode == "send-udp" && argc == 5)
        return sendUdp(portArgument(argv[2]), portArgument(argv[3]), argv[4]);
    if (mode == "local" && argc == 2) {
        std::printf("%s\n", Ip::local().description().c_str());
        return 0;
    }
    std::fprintf(stderr, "usage: netprobe listen|capture PORT TIMEOUT_MS READY_FILE | send-raw|send-udp SOURCE_PORT PORT TEXT | local\n");
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
