// flood_sender PORT SECONDS TAG: plays a hostile host on the namespace LAN. For SECONDS
// it broadcasts to PORT, as fast as it can, a mix of valid answers from thousands of
// invented servers (one UDP source port each, through the raw socket), garbage,
// truncated answers and oversized datagrams, then prints how many it sent.
#include "net/VELRawUDPBroadcastSocket.h"
#include "net/VELUDPBroadcastSocket.h"
#include "platform/Exception.h"
#include "snoop/Quake3TestSnoop.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr std::uint16_t FirstInventedPort = 2000;
constexpr unsigned InventedServers = 3000;

Data outOfBand(const std::string& text)
{
    return Quake3TestSnoop::outOfBand(text);
}

// Names that would break a table or an alert that interprets what it shows.
std::string inventedName(const std::string& tag, unsigned server)
{
    static const std::string hostile[] = { "<b>bold</b><img src=x>", "^1Red^7White", "%s%n%x", "\x01\x1b[31m\x7f",
        "caf\xe9 \xff\xfe", std::string(1000, 'W') };
    return tag + "-" + std::to_string(server) + " " + hostile[server % std::size(hostile)];
}

Data inventedAnswer(const std::string& tag, unsigned server)
{
    return outOfBand("infoResponse\n\\hostname\\" + inventedName(tag, server) + "\\mapname\\q3dm" + std::to_string(server % 20)
        + "\\clients\\" + std::to_string(server % 9) + "\\sv_maxclients\\16\\protocol\\68\\gamename\\flood");
}

Data garbage(std::mt19937& random)
{
    Data data(random() % 1400);
    for (auto& byte : data)
        byte = static_cast<std::uint8_t>(random());
    // Half of it looks like the protocol's envelope.
    if (random() % 2 && data.size() >= 4)
        std::fill_n(data.begin(), 4, 0xFF);
    return data;
}

class Flood {
public:
    Flood(std::uint16_t port, std::string tag)
        : m_port(port)
        , m_tag(std::move(tag))
    {
        if (auto failure = m_raw.open())
            throw *failure;
        if (auto failure = m_plain.open())
            throw *failure;
    }

    void sendOne(unsigned index)
    {
        const unsigned server = (index / 8) % InventedServers;
        try {
            switch (index % 8) {
            case 0: case 1: case 2: case 3:
                m_raw.setPort(static_cast<std::uint16_t>(FirstInventedPort + server));
                m_raw.broadcast(inventedAnswer(m_tag, server), m_port);
                break;
            case 4:
                m_plain.broadcast(garbage(m_random), m_port);
                break;
            case 5: {
                Data answer = inventedAnswer(m_tag, server);
                answer.resize(m_random() % answer.size());
                m_plain.broadcast(answer, m_port);
                break;
            }
            case 6:
                // Beyond the receive buffer of 4160 bytes, up to the largest datagram.
                m_plain.broadcast(Data(4161 + m_random() % 60000, 0xFF), m_port);
                break;
            default:
                m_plain.broadcast(outOfBand("infoResponse\n\\hostname\\" + std::string(1300, '\\') + "\\mapname"), m_port);
                break;
            }
            ++m_sent;
        } catch (const Exception&) {
            // A full send queue (ENOBUFS) only means the LAN is as busy as it gets.
            ++m_refused;
        }
    }

    unsigned long sent() const { return m_sent; }
    unsigned long refused() const { return m_refused; }

private:
    std::uint16_t m_port;
    std::string m_tag;
    VELRawUDPBroadcastSocket m_raw;
    VELUDPBroadcastSocket m_plain;
    std::mt19937 m_random { 7 };
    unsigned long m_sent = 0;
    unsigned long m_refused = 0;
};

}

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: flood_sender PORT SECONDS TAG\n");
        return 2;
    }
    try {
        Flood flood(static_cast<std::uint16_t>(std::atoi(argv[1])), argv[3]);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));
        for (unsigned index = 0; std::chrono::steady_clock::now() < end; ++index)
            flood.sendOne(index);
        std::printf("%lu %lu\n", flood.sent(), flood.refused());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "flood_sender: %s\n", error.what());
        return 2;
    }
}
