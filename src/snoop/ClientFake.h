#pragma once

#include "platform/Data.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class InfoResponse;

// Builds the datagram of a fake "infoResponse" for a fictitious server. A plain value
// holder: every data() call builds a fresh datagram from the current values.
class ClientFake {
public:
    // A missing host or map leaves its pair out; data() then refuses to build.
    ClientFake(std::optional<std::string> host, std::optional<std::string> map);

    void setPlayers(std::uint32_t players) { m_players = players; }
    void setMax(std::uint32_t max) { m_max = max; }
    void setProtocol(std::uint32_t protocol) { m_protocol = protocol; }

    std::shared_ptr<const InfoResponse> infoResponse() const;
    // Marker, "infoResponse", newline, "\key\value..." in ASCII; characters outside
    // ASCII become '?'. Raises the validation exception when host or map is missing.
    Data data() const;

private:
    std::optional<std::string> m_host;
    std::optional<std::string> m_map;
    std::uint32_t m_players = 1;
    std::uint32_t m_max = 9;
    std::uint32_t m_protocol = 36;
};
