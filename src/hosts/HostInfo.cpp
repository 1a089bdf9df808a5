#include "hosts/HostInfo.h"
#include "platform/AssertionHandler.h"

HostInfo::HostInfo(Attributes attributes)
    : m_info(std::move(attributes))
{
}

HostInfo::HostInfo(const HostInfo& other)
    : m_info(other.attributes())
{
}

std::optional<AttributeValue> HostInfo::objectForKey(const std::string& key) const
{
    return m_info.withLocked([&](const Attributes& info) -> std::optional<AttributeValue> {
        auto found = info.find(key);
        if (found == info.end())
            return std::nullopt;
        return found->second;
    });
}

void HostInfo::_setObject(AttributeValue value, const std::string& key)
{
    m_info.withLocked([&](Attributes& info) { info.insert_or_assign(key, std::move(value)); });
}

void HostInfo::setObject(const AttributeValue&, const std::string&)
{
    handleAssertionFailure("HostInfo", __LINE__, "that ain't working...");
}

bool HostInfo::refreshYourselfWith(const HostInfo& other)
{
    auto theirs = other.objectForKey("Hostname");
    if (theirs == objectForKey("Hostname"))
        return false;
    // A newer announcement without a name cannot take the old one away.
    if (!theirs)
        return false;
    _setObject(*theirs, "Hostname");
    return true;
}

bool HostInfo::isEqual(const HostInfo& other) const
{
    auto mine = identity();
    return mine && mine == other.identity();
}

std::optional<HostInfo::Identity> HostInfo::identity() const
{
    auto ip = objectForKey("Ip");
    auto port = objectForKey("Port");
    if (!ip || !port || !ip->get<Ip>() || !port->get<std::int64_t>())
        return std::nullopt;
    return Identity { ip->get<Ip>()->unsignedLong(), *port->get<std::int64_t>() };
}

std::shared_ptr<HostInfo> HostInfo::copy() const
{
    return std::make_shared<HostInfo>(*this);
}

HostInfo::Attributes HostInfo::attributes() const
{
    return m_info.withLocked([](const Attributes& info) { return info; });
}

std::string HostInfo::description() const
{
    std::string text = "{";
    for (const auto& [key, value] : attributes())
        text += key + " = " + value.description() + "; ";
    return text + "}";
}
