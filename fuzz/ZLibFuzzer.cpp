// Arbitrary bytes inflated with an arbitrary expected length, through both inflating
// operations, and arbitrary bytes compressed and inflated back. A result is never
// longer than the room the expected length gives (2 x length + 8192); a corrupt stream
// raises the generic failure and nothing else; what was compressed comes back intact.

#include "artwork/DataZLib.h"
#include "platform/Exception.h"

#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void inflateBoth(const Data& stream, std::uint32_t expectedLength)
{
    const std::uint64_t room = 2 * std::uint64_t(expectedLength) + 8192;
    std::optional<Data> results[2];
    bool raised[2] = { false, false };
    for (int operation = 0; operation < 2; ++operation) {
        try {
            results[operation] = operation == 0 ? decompressedDataUsingZLib(stream, expectedLength)
                                                : dataWithZLibCompressedBytes(stream, expectedLength);
        } catch (const Exception& exception) {
            check(exception.name() == Exception::GenericException && exception.reason().starts_with("Incoming ZLib data "));
            raised[operation] = true;
        }
        check(!results[operation] || results[operation]->size() <= room);
    }
    // Both read the same bytes, so they agree.
    check(raised[0] == raised[1] && results[0] == results[1]);
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    std::uint32_t expectedLength = 0;
    std::memcpy(&expectedLength, data, 4);
    const Data payload(data + 4, data + size);
    inflateBoth(payload, expectedLength);

    // The round trip: whatever compresses comes back byte for byte.
    if (auto stream = compressedDataUsingZLib(payload)) {
        check(stream->size() < payload.size());
        auto back = decompressedDataUsingZLib(*stream, static_cast<std::uint32_t>(payload.size()));
        check(back && *back == payload);
    }
    return 0;
}
