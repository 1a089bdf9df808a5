#pragma once

#include "net/Ip.h"
#include "net/Resolver.h"
#include "platform/UserDefaults.h"

#include <map>
#include <memory>
#include <mutex>

// A name service and interface list of the test's choosing, installed as the shared
// resolver together with fresh user defaults and a fresh local address and netmask.
class FakeResolver final : public Resolver {
public:
    std::string name = "testhost";
    std::map<std::string, std::vector<std::uint32_t>> forward;
    std::map<std::uint32_t, std::string> reverse;
    std::vector<InterfaceAddress> interfaces { { 0x7F000001, true, true } };

    std::string hostName() const override { return name; }
    std::vector<std::uint32_t> addressesForName(const std::string& host) const override
    {
        auto found = forward.find(host);
        return found == forward.end() ? std::vector<std::uint32_t> {} : found->second;
    }
    std::optional<std::string> nameForAddress(std::uint32_t address) const override
    {
        auto found = reverse.find(address);
        return found == reverse.end() ? std::nullopt : std::optional(found->second);
    }
    std::vector<InterfaceAddress> interfaceAddresses() const override { return interfaces; }

    // A machine whose name resolves to the address that its one Ethernet card holds.
    static std::shared_ptr<FakeResolver> withLocalAddress(std::uint32_t address)
    {
        auto resolver = std::make_shared<FakeResolver>();
        resolver->forward[resolver->name] = { address };
        resolver->interfaces.push_back({ address, true, false });
        return resolver;
    }
};

// Installs the resolver and clean shared state; restores the system's on destruction.
class ResolverScope {
public:
    explicit ResolverScope(std::shared_ptr<const Resolver> resolver)
    {
        Resolver::setShared(std::move(resolver));
        UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
        Ip::resetSharedStateForTesting();
    }
    ~ResolverScope()
    {
        Resolver::setShared(nullptr);
        Ip::resetSharedStateForTesting();
    }
    ResolverScope(const ResolverScope&) = delete;
    ResolverScope& operator=(const ResolverScope&) = delete;
};
