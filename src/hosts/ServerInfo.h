#pragma once

#include "hosts/HostInfo.h"

// A game server's entry: the host attributes plus "InfoResponse", whose keys answer
// every lookup the entry's own attributes cannot.
class ServerInfo : public HostInfo {
public:
    using HostInfo::HostInfo;

    static std::shared_ptr<ServerInfo> object() { return std::make_shared<ServerInfo>(); }

    // The entry's own attribute wins ("Hostname" is the reverse-lookup name even when
    // the server calls itself "hostname"); otherwise the info response's value.
    std::optional<AttributeValue> objectForKey(const std::string& key) const override;

    // Also takes over the info response when it differs on the required keys; a change
    // of other keys alone waits for the next change of a required one.
    bool refreshYourselfWith(const HostInfo& other) override;

    std::shared_ptr<HostInfo> copy() const override;
};
