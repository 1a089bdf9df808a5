#include "net/Ip.h"
#include "net/Resolver.h"
#include "platform/Exception.h"
#include "platform/Format.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"

#include <algorithm>
#include <mutex>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t LoopbackAddress = 0x7F000001;
constexpr std::uint32_t InitialNetmask = 0xFFFFFF80;

// The local address and the netmask are settled once per process, by whichever thread
// asks first; the mutex makes that happen once even when two threads ask together.
struct SharedState {
    std::mutex mutex;
    std::optional<Ip> local;
    std::uint32_t netmask = InitialNetmask;
    bool netmaskSettled = false;
};

SharedState& sharedState()
{
    static SharedState state;
    return state;
}

bool isLoopbackNetwork(std::uint32_t address) { return (address >> 24) == 127; }

// The host name often resolves to 127.0.1.1 (Debian) or, in a container, to an address
// no interface holds; answers to such a source address would go astray. So only an
// address an up interface really holds counts, then any up interface, then loopback.
Ip determineLocalAddress(const Resolver& resolver)
{
    const std::vector<InterfaceAddress> interfaces = resolver.interfaceAddresses();
    auto isHeld = [&](std::uint32_t address) {
        return std::ranges::any_of(interfaces, [&](const InterfaceAddress& i) { return i.isUp && i.address == address; });
    };
    if (std::string name = resolver.hostName(); !name.empty()) {
        for (std::uint32_t address : resolver.addressesForName(name)) {
            if (!isLoopbackNetwork(address) && isHeld(address))
                return Ip(address);
        }
    }
    for (const InterfaceAddress& i : interfaces) {
        if (i.isUp && !i.isLoopback && !isLoopbackNetwork(i.address) && i.address != 0)
            return Ip(i.address);
    }
    return Ip(LoopbackAddress);
}

Ip localLocked(SharedState& state)
{
    if (!state.local)
        state.local = determineLocalAddress(*Resolver::shared());
    return *state.local;
}

// A component is its leading decimal digits (after blanks), cut to the low 8 bits;
// anything else ends it, and a component without digits reads as 0.
std::uint32_t netmaskComponent(std::string_view text)
{
    std::size_t at = text.find_first_not_of(" \t");
    std::uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = (value * 10 + static_cast<std::uint32_t>(text[at] - '0')) & 0xFF;
    return value;
}

std::uint32_t netmaskFromSetting(const std::string& setting)
{
    std::vector<std::string_view> components;
    std::string_view rest = setting;
    for (std::size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest.remove_prefix(dot + 1))
        components.push_back(rest.substr(0, dot));
    components.push_back(rest);
    if (components.size() != 4)
        Exception::raise("netmask in your user defaults is corrupted (I need a dotted address e.g. 255.255.255.128)");
    std::uint32_t mask = 0;
    for (std::string_view component : components)
        mask = (mask << 8) | netmaskComponent(component);
    logMessage("User provided netmask is $%08lX", static_cast<unsigned long>(mask));
    return mask;
}

// The classful rule: class A, B and C networks; anything from 224.0.0.0 up has no
// network of its own.
std::uint32_t guessedNetmask(std::uint32_t local)
{
    std::uint32_t mask = 0;
    if ((local & 0x80000000) == 0)
        mask = 0xFF000000;
    else if ((local & 0xC0000000) == 0x80000000)
        mask = 0xFFFF0000;
    else if ((local & 0xE0000000) == 0xC0000000)
        mask = 0xFFFFFF00;
    else
        Exception::raise("Your machine looks really misconfigured to me");
    logMessage("My netmask guess is $%08lX", static_cast<unsigned long>(mask));
    return mask;
}

} // namespace

std::string Ip::description() const
{
    return stringWithFormat("%u.%u.%u.%u", m_adr >> 24, (m_adr >> 16) & 0xFF, (m_adr >> 8) & 0xFF, m_adr & 0xFF);
}

std::optional<std::string> Ip::hostname() const { return Resolver::shared()->nameForAddress(m_adr); }

const Ip& Ip::any()
{
    static const Ip value(0);
    return value;
}

const Ip& Ip::broadcast()
{
    static const Ip value(0xFFFFFFFF);
    return value;
}

Ip Ip::local()
{
    SharedState& state = sharedState();
    std::lock_guard lock(state.mutex);
    return localLocked(state);
}

std::uint32_t Ip::netmask()
{
    SharedState& state = sharedState();
    std::lock_guard lock(state.mutex);
    if (state.netmaskSettled)
        return state.netmask;
    const std::uint32_t local = localLocked(state).unsignedLong();
    const std::optional<std::string> setting = UserDefaults::standardUserDefaults().stringForKey("netmask");
    // Raising here leaves mask and flag alone, so the next call determines anew.
    state.netmask = setting ? netmaskFromSetting(*setting) : guessedNetmask(local);
    state.netmaskSettled = true;
    return state.netmask;
}

void Ip::setNetmask(std::uint32_t mask)
{
    SharedState& state = sharedState();
    std::lock_guard lock(state.mutex);
    state.netmask = mask;
}

bool Ip::isBroadcastAddress() const
{
    if (m_adr == 0xFFFFFFFF)
        return true;
    const std::uint32_t mask = netmask();
    const std::uint32_t local = Ip::local().unsignedLong();
    return m_adr == local || m_adr == (local | ~mask);
}

void Ip::resetSharedStateForTesting()
{
    SharedState& state = sharedState();
    std::lock_guard lock(state.mutex);
    state.local.reset();
    state.netmask = InitialNetmask;
    state.netmaskSettled = false;
}
