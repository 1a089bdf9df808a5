#include "scan/ScanReport.h"
#include "snoop/InfoResponse.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

namespace {

std::string text(const HostInfo& entry, const std::string& key)
{
    auto value = entry.objectForKey(key);
    return value ? value->description() : std::string();
}

// Info strings are 8-bit text of no declared encoding: read them as Latin-1 so that
// any byte becomes valid UTF-8 in the JSON.
std::string latin1ToUtf8(const std::string& bytes)
{
    std::string utf8;
    for (unsigned char byte : bytes) {
        if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

std::array<std::string, 6> row(const HostInfo& entry)
{
    return { text(entry, "Ip") + ":" + text(entry, "Port"), text(entry, "Hostname"), text(entry, "hostname"),
        text(entry, "mapname"), text(entry, "clients") + "/" + text(entry, "sv_maxclients"), text(entry, "protocol") };
}

}

std::string ScanReport::table() const
{
    std::vector<std::array<std::string, 6>> rows { { "ADDRESS", "HOSTNAME", "NAME", "MAP", "PLAYERS", "PROTOCOL" } };
    for (const auto& entry : m_entries)
        rows.push_back(row(*entry));
    std::array<std::size_t, 6> widths {};
    for (const auto& cells : rows) {
        for (std::size_t column = 0; column < cells.size(); ++column)
            widths[column] = std::max(widths[column], cells[column].size());
    }
    std::string output;
    for (const auto& cells : rows) {
        std::string line;
        for (std::size_t column = 0; column < cells.size(); ++column)
            line += cells[column] + std::string(widths[column] - cells[column].size() + 2, ' ');
        line.erase(line.find_last_not_of(' ') + 1);
        output += line + "\n";
    }
    return output;
}

std::string ScanReport::json() const
{
    auto servers = nlohmann::ordered_json::array();
    for (const auto& entry : m_entries) {
        nlohmann::ordered_json info = nlohmann::ordered_json::object();
        if (auto value = entry->HostInfo::objectForKey("InfoResponse")) {
            if (auto response = value->get<std::shared_ptr<const InfoResponse>>(); response && *response) {
                for (const auto& [key, field] : (*response)->dictionary())
                    info[latin1ToUtf8(key)] = latin1ToUtf8(field);
            }
        }
        auto port = entry->objectForKey("Port");
        servers.push_back({
            { "address", text(*entry, "Ip") },
            { "port", port && port->get<std::int64_t>() ? *port->get<std::int64_t>() : 0 },
            { "Hostname", text(*entry, "Hostname") },
            { "info", std::move(info) },
        });
    }
    // A host name is UTF-8 already; a stray invalid byte must not lose the whole report.
    return servers.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}
