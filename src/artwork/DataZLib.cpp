#include "artwork/DataZLib.h"

#include "platform/Exception.h"

#include <new>
#include <zlib.h>

namespace {

// Room for a stream up to twice its expected length: the expected length is a hint.
// Computed in 64 bits so that a huge hint cannot wrap round to a small buffer.
uLongf inflateCapacity(std::uint32_t expectedLength)
{
    return 2 * static_cast<uLongf>(expectedLength) + 8192;
}

Data zeroFilled(uLongf capacity, const char* outOfMemoryReason)
{
    try {
        return Data(capacity, 0);
    } catch (const std::bad_alloc&) {
        Exception::raiseNamed(Exception::MallocException, "%s", outOfMemoryReason);
    }
}

// The source is described only when it is found corrupt.
template<typename Describe>
std::optional<Data> inflate(const Bytef* source, uLong sourceLength, std::uint32_t expectedLength, Describe describeSource)
{
    uLongf length = inflateCapacity(expectedLength);
    Data output = zeroFilled(length, "out of memory in decompression");
    switch (uncompress(output.data(), &length, source, sourceLength)) {
    case Z_BUF_ERROR:
        return std::nullopt;
    case Z_MEM_ERROR:
        Exception::raiseNamed(Exception::MallocException, "out of memory in decompression");
    case Z_DATA_ERROR:
        Exception::raise("Incoming ZLib data %s was corrupted", describeSource().c_str());
    default:
        output.resize(length);
        return output;
    }
}

}

std::optional<Data> compressedDataUsingZLib(const Data& data)
{
    const auto inputLength = static_cast<std::uint32_t>(data.size());
    uLongf length = inputLength + inputLength / 500 + 128;
    Data output = zeroFilled(length, "out of memory");
    switch (compress(output.data(), &length, data.data(), data.size())) {
    case Z_BUF_ERROR:
        return std::nullopt;
    case Z_MEM_ERROR:
        Exception::raiseNamed(Exception::MallocException, "out of memory");
    default:
        break;
    }
    // Output that does not save anything is refused.
    if (length >= data.size())
        return std::nullopt;
    output.resize(length);
    return output;
}

std::optional<Data> decompressedDataUsingZLib(const Data& stream, std::uint32_t expectedLength)
{
    return inflate(stream.data(), stream.size(), expectedLength, [&stream] { return describeData(stream); });
}

std::optional<Data> dataWithZLibCompressedBytes(std::span<const std::uint8_t> stream, std::uint32_t decompressedLength)
{
    return inflate(stream.data(), stream.size(), decompressedLength, [] { return std::string("Data"); });
}
