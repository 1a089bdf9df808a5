#include "app/ServerManagerRegistry.h"

#include "hosts/ServerManager.h"
#include "snoop/InfoResponse.h"

ServerManagerRegistry::ServerManagerRegistry(ServerManager& manager)
    : m_manager(manager)
{
}

std::size_t ServerManagerRegistry::count() const
{
    return m_manager.count();
}

ServerRecord ServerManagerRegistry::recordOf(const HostInfo& entry)
{
    ServerRecord record;
    const HostInfo::Attributes attributes = entry.attributes();
    auto attribute = [&](const char* key) -> const AttributeValue* {
        auto found = attributes.find(key);
        return found == attributes.end() ? nullptr : &found->second;
    };
    if (const auto* ip = attribute("Ip"); ip && ip->get<Ip>())
        record.ip = ip->get<Ip>()->unsignedLong();
    if (const auto* port = attribute("Port"); port && port->get<std::int64_t>())
        record.port = static_cast<std::uint16_t>(*port->get<std::int64_t>());
    if (const auto* hostname = attribute("Hostname"); hostname && hostname->get<std::string>())
        record.hostname = *hostname->get<std::string>();
    if (const auto* info = attribute("InfoResponse"); info && info->get<std::shared_ptr<const InfoResponse>>()) {
        if (const auto& response = *info->get<std::shared_ptr<const InfoResponse>>())
            record.info = response->dictionary();
    }
    return record;
}

std::vector<ServerRecord> ServerManagerRegistry::snapshot() const
{
    std::vector<ServerRecord> records;
    for (const auto& entry : m_manager.entries())
        records.push_back(recordOf(*entry));
    return records;
}

bool ServerManagerRegistry::contains(const ServerRecord& server) const
{
    for (const auto& entry : m_manager.entries()) {
        const auto identity = entry->identity();
        if (identity && identity->ip == server.ip && identity->port == server.port)
            return true;
    }
    return false;
}

void ServerManagerRegistry::setTimeout(int seconds)
{
    m_manager.setTimeout(seconds);
}

void ServerManagerRegistry::timeout()
{
    m_manager.timeout();
}

void ServerManagerRegistry::suspend()
{
    m_manager.suspend();
}

void ServerManagerRegistry::resume()
{
    m_manager.resume();
}
