// The info string of a server's answer, parsed, compared and described as the registry
// and the table do. Checks the parser's own promises: no backslash inside a key or a
// value, equality reflexive, the same text parsed twice equal, and the pairs listed
// once each, every value right after its key.

#include "platform/Exception.h"
#include "snoop/InfoResponse.h"

#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const InfoResponse response(text);
    const InfoResponse again(text);

    std::size_t pairs = 0;
    for (const auto& [key, value] : response.dictionary()) {
        check(key.find('\\') == std::string::npos && value.find('\\') == std::string::npos);
        check(response.objectForKey(key) == value);
        ++pairs;
    }
    // A string of n backslash-separated fields holds at most n / 2 pairs.
    check(pairs <= size / 2 + 1);
    const auto flat = response.keysAndValues();
    check(flat.size() == 2 * pairs);
    for (std::size_t index = 0; index < flat.size(); index += 2)
        check(response.objectForKey(flat[index]) == flat[index + 1]);

    bool complete = true;
    for (const auto& key : InfoResponse::neededKeys())
        complete = complete && response.objectForKey(key).has_value();
    check(response.isEqual(again) == complete);
    try {
        response.validate();
        check(complete);
    } catch (const Exception& exception) {
        check(!complete && exception.reason().starts_with("Required Key "));
    }
    (void)response.description();
    return 0;
}
