// bench_responder: a host that answers every "getinfo" (and "getstatus") like many game
// servers at once, one datagram per server, sent in one burst as servers on a LAN would.
// Each server is an address of this host and a port of the game's range, so tools that
// only accept answers from the ports they asked count them as well.
//
// Usage: bench_responder FIRST_ADDRESS ADDRESS_COUNT FIRST_PORT PORT_COUNT READY_FILE
// Listens on FIRST_PORT.. on every address; the addresses must already be on an
// interface. Writes READY_FILE once every socket is bound; runs until SIGTERM.
// Only ever run inside a private namespace LAN.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "bench_responder: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

int boundSocket(std::uint32_t address, std::uint16_t port)
{
    int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (socket == -1)
        fail("socket");
    // The listeners on the wildcard address and the servers' own sockets share ports.
    int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(address);
    local.sin_port = htons(port);
    if (::bind(socket, reinterpret_cast<sockaddr*>(&local), sizeof local) == -1)
        fail("bind to port " + std::to_string(port));
    return socket;
}

struct Server {
    int socket;
    std::string info;
};

std::string infoString(std::size_t number, std::uint16_t port)
{
    char text[256];
    std::snprintf(text, sizeof text,
        "\\sv_maxclients\\16\\clients\\%zu\\mapname\\oa_dm%zu\\hostname\\Synthetic %03zu\\protocol\\71"
        "\\gamename\\baseoa\\gametype\\0\\pure\\1\\net_port\\%u",
        number % 9, number % 5 + 1, number, port);
    return text;
}

// "getinfo CHALLENGE" gets the info string, "getstatus" the same keys with no players.
std::string answerFor(std::string_view request, const std::string& info)
{
    constexpr std::string_view marker("\xff\xff\xff\xff", 4);
    if (!request.starts_with(marker))
        return {};
    request.remove_prefix(marker.size());
    if (request.starts_with("getinfo"))
        return std::string(marker) + "infoResponse\n" + info;
    if (request.starts_with("getstatus"))
        return std::string(marker) + "statusResponse\n" + info + "\n";
    return {};
}

void answerAll(const std::vector<Server>& servers, std::string_view request, const sockaddr_in& asker)
{
    for (const Server& server : servers) {
        const std::string answer = answerFor(request, server.info);
        if (answer.empty())
            return;
        ::sendto(server.socket, answer.data(), answer.size(), 0, reinterpret_cast<const sockaddr*>(&asker), sizeof asker);
    }
}

}

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fputs("usage: bench_responder FIRST_ADDRESS ADDRESS_COUNT FIRST_PORT PORT_COUNT READY_FILE\n", stderr);
        return 2;
    }
    in_addr first {};
    if (::inet_pton(AF_INET, argv[1], &first) != 1)
        fail("bad address");
    const auto addressCount = static_cast<std::uint32_t>(std::atoi(argv[2]));
    const auto firstPort = static_cast<std::uint16_t>(std::atoi(argv[3]));
    const auto portCount = static_cast<std::uint16_t>(std::atoi(argv[4]));

    std::vector<pollfd> listeners;
    for (std::uint16_t port = firstPort; port < firstPort + portCount; ++port)
        listeners.push_back({ boundSocket(INADDR_ANY, port), POLLIN, 0 });
    std::vector<Server> servers;
    for (std::uint32_t a = 0; a < addressCount; ++a) {
        for (std::uint16_t port = firstPort; port < firstPort + portCount; ++port)
            servers.push_back({ boundSocket(ntohl(first.s_addr) + a, port), infoString(servers.size(), port) });
    }
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::ofstream(argv[5]) << servers.size() << " servers\n";

    char request[1500];
    while (!stopRequested) {
        if (::poll(listeners.data(), listeners.size(), 200) <= 0)
            continue;
        for (const pollfd& listener : listeners) {
            if (!(listener.revents & POLLIN))
                continue;
            sockaddr_in asker {};
            socklen_t askerLength = sizeof asker;
            const ssize_t length = ::recvfrom(listener.fd, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&asker), &askerLength);
            if (length > 0)
                answerAll(servers, std::string_view(request, static_cast<std::size_t>(length)), asker);
        }
    }
    return 0;
}
