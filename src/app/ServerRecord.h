#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

// One server as the table shows it: a copy taken from the registry at a reload, so the
// table never reads entries that the engine thread is changing.
struct ServerRecord {
    std::uint32_t ip = 0; // the first dotted component in the most significant byte
    std::uint16_t port = 0;
    std::string hostname; // the reverse-lookup name of the address
    std::map<std::string, std::string> info; // the server's info string

    // An entry key: "Ip", "Port" and "Hostname" are the entry's own, anything else comes
    // from the info string; nothing when neither has it.
    std::optional<std::string> valueForKey(const std::string& key) const;
    // "a.b.c.d"
    std::string ipText() const;
    // "a.b.c.d:port", the game's "+connect" argument.
    std::string address() const;

    bool isSameServer(const ServerRecord& other) const { return ip == other.ip && port == other.port; }
};
