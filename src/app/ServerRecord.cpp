#include "app/ServerRecord.h"

std::optional<std::string> ServerRecord::valueForKey(const std::string& key) const
{
    if (key == "Ip")
        return ipText();
    if (key == "Port")
        return std::to_string(port);
    if (key == "Hostname")
        return hostname;
    if (auto found = info.find(key); found != info.end())
        return found->second;
    return std::nullopt;
}

std::string ServerRecord::ipText() const
{
    return std::to_string(ip >> 24) + '.' + std::to_string((ip >> 16) & 0xff) + '.'
        + std::to_string((ip >> 8) & 0xff) + '.' + std::to_string(ip & 0xff);
}

std::string ServerRecord::address() const
{
    return ipText() + ':' + std::to_string(port);
}
