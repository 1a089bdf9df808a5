#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// An IPv4 address as one number whose most significant byte is the first dotted
// component (192.168.1.2 is 0xC0A80102). An immutable value: copy it freely, share it
// between threads. Conversion to network byte order happens only where an address
// meets the operating system.
class Ip {
public:
    explicit constexpr Ip(std::uint32_t adr = 0)
        : m_adr(adr)
    {
    }

    static Ip objectWithUnsignedLong(std::uint32_t adr) { return Ip(adr); }

    constexpr std::uint32_t unsignedLong() const { return m_adr; }

    // The dotted form, "%u.%u.%u.%u".
    std::string description() const;

    // Reverse lookup through the shared Resolver; nothing when the lookup fails.
    // Blocks as long as the resolver needs: call it from a worker, never from the engine.
    std::optional<std::string> hostname() const;

    constexpr bool operator==(const Ip&) const = default;
    bool isEqual(const Ip& other) const { return *this == other; }

    // 0.0.0.0 and 255.255.255.255.
    static const Ip& any();
    static const Ip& broadcast();

    // The machine's own address, settled once at the first call (thread-safe): the first
    // address the host name resolves to that a local interface holds, else the first up,
    // non-loopback interface address, else 127.0.0.1. Never an address of 127.0.0.0/8
    // unless nothing else exists.
    static Ip local();

    // The netmask, settled at its first successful call from the "netmask" user default
    // or the classful guess from local(). Raises (and stays unsettled) on a corrupted
    // setting or a local address of class D/E.
    static std::uint32_t netmask();
    // Replaces the stored mask without settling it: before the first netmask() call the
    // value is overwritten by that call's determination.
    static void setNetmask(std::uint32_t mask);

    // YES for 255.255.255.255, for the local address, and for the directed broadcast
    // address of the local network. May raise as netmask() does.
    bool isBroadcastAddress() const;

    // Forgets the settled local address and netmask, so that a test can determine them
    // again with its own resolver and user defaults. Not for production code.
    static void resetSharedStateForTesting();

private:
    std::uint32_t m_adr;
};

template<>
struct std::hash<Ip> {
    std::size_t operator()(const Ip& ip) const noexcept { return std::hash<std::uint32_t>()(ip.unsignedLong()); }
};
