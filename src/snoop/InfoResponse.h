#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The parsed info string of a game server: immutable key/value pairs, of which five are
// required. Two responses are equal when the required keys agree; other keys never matter.
// Immutable after construction, so it may be shared and read from any thread.
class InfoResponse {
public:
    using Dictionary = std::map<std::string, std::string>;

    // An info string: "\key\value\key\value"; the leading backslash is optional, an odd
    // trailing field is dropped, a later pair replaces an earlier one. Never fails.
    explicit InfoResponse(std::string_view infoString);
    explicit InfoResponse(Dictionary info);

    static std::shared_ptr<const InfoResponse> objectWithString(std::string_view infoString);
    static std::shared_ptr<const InfoResponse> objectWithDictionary(Dictionary info);

    // "hostname", "mapname", "clients", "sv_maxclients", "protocol", in that order.
    static const std::vector<std::string>& neededKeys();

    // Raises a generic exception naming the first required key that is missing.
    void validate() const;

    std::optional<std::string> objectForKey(const std::string& key) const;
    // key 1, value 1, key 2, value 2, ...: each value right after its key.
    std::vector<std::string> keysAndValues() const;
    const Dictionary& dictionary() const { return m_info; }

    // Equal on the required keys only; a key missing on either side is a difference.
    bool isEqual(const InfoResponse& other) const;
    bool operator==(const InfoResponse& other) const { return isEqual(other); }

    // "{clients = 2; hostname = Arena; }", the printable form of a dictionary.
    std::string description() const;

private:
    static Dictionary parse(std::string_view infoString);

    Dictionary m_info;
};
