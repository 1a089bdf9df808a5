// The "netmask" setting as a corrupted or hostile settings file may hold it: any text,
// a number or a flag. The mask is settled from it as at start-up, then used for the
// broadcast test every datagram goes through. A setting with exactly four dotted parts
// always gives a mask; anything else raises the corrupted-netmask failure, and raises
// again at the next call, since a failed determination settles nothing.

#include "FuzzSupport.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

const std::string CorruptedReason = "netmask in your user defaults is corrupted (I need a dotted address e.g. 255.255.255.128)";

}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::isolateProcess();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::InputReader input(data, size);
    const auto kind = input.take<std::uint8_t>();
    const std::string text(input.rest().begin(), input.rest().end());
    auto& defaults = UserDefaults::standardUserDefaults();
    switch (kind % 3) {
    case 0:
        defaults.setString("netmask", text);
        break;
    case 1:
        defaults.setInteger("netmask", static_cast<std::int64_t>(std::hash<std::string>()(text)));
        break;
    default:
        defaults.setBool("netmask", !text.empty());
        break;
    }
    const std::string stored = defaults.stringForKey("netmask").value_or("");
    const bool wellFormed = std::count(stored.begin(), stored.end(), '.') == 3;

    Ip::resetSharedStateForTesting();
    for (int call = 0; call < 2; ++call) {
        try {
            const std::uint32_t mask = Ip::netmask();
            check(wellFormed);
            (void)Ip(~mask | Ip::local().unsignedLong()).isBroadcastAddress();
        } catch (const Exception& exception) {
            check(!wellFormed && exception.reason() == CorruptedReason);
        }
    }
    return 0;
}
