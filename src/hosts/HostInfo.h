#pragma once

#include "hosts/AttributeValue.h"
#include "platform/Guarded.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

// One host on the LAN, described by named attributes: "Ip" and "Port" (its identity),
// "Hostname", "timestamp" (set by the registry). Every operation is safe from any
// thread: the registry changes an entry on the engine thread while the table reads it.
class HostInfo {
public:
    using Attributes = std::map<std::string, AttributeValue>;

    // Address and port, the whole of a host's identity.
    struct Identity {
        std::uint32_t ip;
        std::int64_t port;
        bool operator==(const Identity&) const = default;
    };
    struct IdentityHash {
        std::size_t operator()(const Identity& identity) const noexcept
        {
            return std::hash<std::uint64_t>()((std::uint64_t(identity.ip) << 32) ^ std::uint64_t(identity.port));
        }
    };

    HostInfo() = default;
    explicit HostInfo(Attributes attributes);
    HostInfo(const HostInfo& other);
    HostInfo& operator=(const HostInfo&) = delete;
    virtual ~HostInfo() = default;

    static std::shared_ptr<HostInfo> object() { return std::make_shared<HostInfo>(); }

    virtual std::optional<AttributeValue> objectForKey(const std::string& key) const;
    // The one setter the system uses.
    void _setObject(AttributeValue value, const std::string& key);
    // Entries are written through _setObject() only; this always fails its assertion.
    [[noreturn]] void setObject(const AttributeValue& value, const std::string& key);

    // Takes over what may change from a newer announcement of the same host; tells
    // whether anything did. Never touches "Ip", "Port" or "timestamp".
    virtual bool refreshYourselfWith(const HostInfo& other);

    // Same host: "Ip" and "Port" present and equal on both sides.
    bool isEqual(const HostInfo& other) const;
    std::optional<Identity> identity() const;

    // A new entry of the same class with the same attributes.
    virtual std::shared_ptr<HostInfo> copy() const;

    Attributes attributes() const;
    std::string description() const;

private:
    Guarded<Attributes> m_info;
};
