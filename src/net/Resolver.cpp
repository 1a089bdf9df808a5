#include "net/Resolver.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <mutex>

namespace {

struct SharedResolver {
    std::mutex mutex;
    std::shared_ptr<const Resolver> resolver = std::make_shared<SystemResolver>();
};

SharedResolver& sharedResolver()
{
    // Never destroyed: the host name worker is not stopped at exit and may still be
    // about to look an address up while static objects are destroyed.
    static auto* shared = new SharedResolver;
    return *shared;
}

} // namespace

std::shared_ptr<const Resolver> Resolver::shared()
{
    SharedResolver& shared = sharedResolver();
    std::lock_guard lock(shared.mutex);
    return shared.resolver;
}

void Resolver::setShared(std::shared_ptr<const Resolver> resolver)
{
    SharedResolver& shared = sharedResolver();
    std::lock_guard lock(shared.mutex);
    shared.resolver = resolver ? std::move(resolver) : std::make_shared<SystemResolver>();
}

std::string SystemResolver::hostName() const
{
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) == -1)
        return {};
    return name;
}

std::vector<std::uint32_t> SystemResolver::addressesForName(const std::string& name) const
{
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM; // one entry per address rather than one per socket type
    addrinfo* results = nullptr;
    std::vector<std::uint32_t> addresses;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &results) != 0)
        return addresses;
    for (const addrinfo* entry = results; entry; entry = entry->ai_next) {
        sockaddr_in address;
        std::memcpy(&address, entry->ai_addr, sizeof address);
        addresses.push_back(ntohl(address.sin_addr.s_addr));
    }
    freeaddrinfo(results);
    return addresses;
}

std::optional<std::string> SystemResolver::nameForAddress(std::uint32_t address) const
{
    sockaddr_in socketAddress {};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr.s_addr = htonl(address);
    char host[NI_MAXHOST] = {};
    if (getnameinfo(reinterpret_cast<const sockaddr*>(&socketAddress), sizeof socketAddress, host, sizeof host,
            nullptr, 0, NI_NAMEREQD)
        != 0)
        return std::nullopt;
    return std::string(host);
}

std::vector<InterfaceAddress> SystemResolver::interfaceAddresses() const
{
    std::vector<InterfaceAddress> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == -1)
        return addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        sockaddr_in address;
        std::memcpy(&address, entry->ifa_addr, sizeof address);
        addresses.push_back({ ntohl(address.sin_addr.s_addr), (entry->ifa_flags & IFF_UP) != 0,
            (entry->ifa_flags & IFF_LOOPBACK) != 0 });
    }
    freeifaddrs(list);
    return addresses;
}
