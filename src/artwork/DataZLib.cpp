#include "artwork/DataZLib.h"

#include "platform/Exception.h"

#include <algorithm>
#include <limits>
#include <memory>
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

// Gives zlib more output room: the expected length first (bounded, since it may be any
// number), then doubling, never beyond the room.
void makeRoom(Data& output, z_stream& stream, uLong room, std::uint32_t expectedLength)
{
    constexpr uLong FirstChunkLimit = 256u << 10;
    if (stream.total_out == output.size()) {
        const uLong wanted = output.empty() ? std::min<uLong>({ std::max<uLong>(expectedLength, 1024), FirstChunkLimit, room })
                                            : std::min<uLong>(2 * output.size(), room);
        try {
            output.resize(wanted);
        } catch (const std::bad_alloc&) {
            Exception::raiseNamed(Exception::MallocException, "out of memory in decompression");
        }
    }
    stream.next_out = output.data() + stream.total_out;
    stream.avail_out = static_cast<uInt>(std::min<uLong>(output.size() - stream.total_out, std::numeric_limits<uInt>::max()));
}

// Inflates as zlib's uncompress does, but into a buffer that grows with the output
// instead of one of the whole room made up front: any expected length may come with a
// stream (the hint is 32 bits), and a tiny stream must not cost gigabytes. Results as
// uncompress: the room full before the end is Z_BUF_ERROR, input that ends before the
// stream does is Z_DATA_ERROR. The source is described only when it is found corrupt.
template<typename Describe>
std::optional<Data> inflate(const Bytef* source, uLong sourceLength, std::uint32_t expectedLength, Describe describeSource)
{
    const uLong room = inflateCapacity(expectedLength);
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        Exception::raiseNamed(Exception::MallocException, "out of memory in decompression");
    std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    stream.next_in = const_cast<Bytef*>(source);
    Data output;
    uLong unread = sourceLength;
    int result = Z_OK;
    while (result == Z_OK) {
        if (stream.avail_in == 0) {
            stream.avail_in = static_cast<uInt>(std::min<uLong>(unread, std::numeric_limits<uInt>::max()));
            unread -= stream.avail_in;
        }
        if (stream.avail_out == 0 && stream.total_out < room)
            makeRoom(output, stream, room, expectedLength);
        result = ::inflate(&stream, Z_NO_FLUSH);
    }
    if (result == Z_NEED_DICT || (result == Z_BUF_ERROR && stream.avail_out > 0))
        result = Z_DATA_ERROR;
    switch (result) {
    case Z_STREAM_END:
        output.resize(stream.total_out);
        return output;
    case Z_BUF_ERROR:
        return std::nullopt;
    case Z_MEM_ERROR:
        Exception::raiseNamed(Exception::MallocException, "out of memory in decompression");
    default:
        Exception::raise("Incoming ZLib data %s was corrupted", describeSource().c_str());
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
