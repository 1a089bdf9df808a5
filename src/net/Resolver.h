#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// An IPv4 address held by a network interface of this machine.
struct InterfaceAddress {
    std::uint32_t address = 0; // numeric form, as Ip holds it
    bool isUp = false;
    bool isLoopback = false;
};

// The one seam between the network layer and the system's name service and interface
// list, so that tests can supply names and addresses. Every address is in Ip's numeric
// (host order) form. Implementations must be callable from several threads at once.
class Resolver {
public:
    virtual ~Resolver() = default;

    // The machine's host name; empty when it cannot be told.
    virtual std::string hostName() const = 0;
    // Forward lookup of a name to its IPv4 addresses, in the resolver's order.
    virtual std::vector<std::uint32_t> addressesForName(const std::string& name) const = 0;
    // Reverse lookup; nothing when the address has no name. May block for seconds.
    virtual std::optional<std::string> nameForAddress(std::uint32_t address) const = 0;
    // The IPv4 addresses of the machine's interfaces, in the system's order.
    virtual std::vector<InterfaceAddress> interfaceAddresses() const = 0;

    // The process-wide resolver: the system's own unless a test installed another.
    static std::shared_ptr<const Resolver> shared();
    // Installs a resolver; nullptr restores the system's.
    static void setShared(std::shared_ptr<const Resolver> resolver);
};

// The system's resolver: gethostname, getaddrinfo, getnameinfo and getifaddrs.
class SystemResolver final : public Resolver {
public:
    std::string hostName() const override;
    std::vector<std::uint32_t> addressesForName(const std::string& name) const override;
    std::optional<std::string> nameForAddress(std::uint32_t address) const override;
    std::vector<InterfaceAddress> interfaceAddresses() const override;
};
