#include "hosts/ServerInfo.h"
#include "snoop/InfoResponse.h"

namespace {

std::shared_ptr<const InfoResponse> infoResponseOf(const HostInfo& entry)
{
    auto value = entry.HostInfo::objectForKey("InfoResponse");
    if (!value)
        return nullptr;
    auto response = value->get<std::shared_ptr<const InfoResponse>>();
    return response ? *response : nullptr;
}

}

std::optional<AttributeValue> ServerInfo::objectForKey(const std::string& key) const
{
    if (auto own = HostInfo::objectForKey(key))
        return own;
    auto response = infoResponseOf(*this);
    if (!response)
        return std::nullopt;
    auto value = response->objectForKey(key);
    if (!value)
        return std::nullopt;
    return AttributeValue(std::move(*value));
}

bool ServerInfo::refreshYourselfWith(const HostInfo& other)
{
    bool changed = HostInfo::refreshYourselfWith(other);
    auto mine = infoResponseOf(*this);
    auto theirs = infoResponseOf(other);
    // An announcement without an info response has nothing to take over.
    if (!theirs || (mine && mine->isEqual(*theirs)))
        return changed;
    _setObject(AttributeValue(theirs), "InfoResponse");
    return true;
}

std::shared_ptr<HostInfo> ServerInfo::copy() const
{
    return std::make_shared<ServerInfo>(*this);
}
