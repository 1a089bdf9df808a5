#pragma once

#include "net/Ip.h"
#include "net/Resolver.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

// What every fuzz target shares: a name service that never leaves the process (a
// fuzzer must not send a single lookup onto the network), a quiet log, and a reader
// that takes typed values off the front of the input.
namespace fuzz {

// This machine is 10.77.0.13/24 on an Ethernet card; every address has a name or none
// at once, so the host name cache's worker never waits.
class QuietResolver final : public Resolver {
public:
    static constexpr std::uint32_t LocalAddress = 0x0A4D000D;

    std::string hostName() const override { return "fuzzhost"; }
    std::vector<std::uint32_t> addressesForName(const std::string& name) const override
    {
        return name == "fuzzhost" ? std::vector<std::uint32_t> { LocalAddress } : std::vector<std::uint32_t> {};
    }
    std::optional<std::string> nameForAddress(std::uint32_t address) const override
    {
        // Some names, some failures, and names that are hostile themselves.
        switch (address & 3) {
        case 0:
            return std::nullopt;
        case 1:
            return "host" + std::to_string(address & 0xFF);
        case 2:
            return std::string("<b>%s%n\\\x1b[31m", 13);
        default:
            return std::string(300, 'n');
        }
    }
    std::vector<InterfaceAddress> interfaceAddresses() const override
    {
        return { { 0x7F000001, true, true }, { LocalAddress, true, false } };
    }
};

// Installs the quiet resolver, in-memory settings and a log that drops every line.
inline void isolateProcess()
{
    Resolver::setShared(std::make_shared<QuietResolver>());
    UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
    Ip::resetSharedStateForTesting();
    setLogSink([](const std::string&) { });
}

// Takes fixed-size values off the front of the input; what is left is the payload.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size)
        : m_rest(data, size)
    {
    }

    template<typename T>
    T take()
    {
        T value {};
        const std::size_t count = std::min(sizeof(T), m_rest.size());
        std::memcpy(&value, m_rest.data(), count);
        m_rest = m_rest.subspan(count);
        return value;
    }

    std::span<const std::uint8_t> rest() const { return m_rest; }

private:
    std::span<const std::uint8_t> m_rest;
};

}
