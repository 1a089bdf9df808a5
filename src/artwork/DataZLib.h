#pragma once

#include "platform/Data.h"

#include <cstdint>
#include <optional>
#include <span>

// zlib over whole buffers: thin layers over zlib's one-shot compress and uncompress.
// Stateless; callable from any thread. "No result" is std::nullopt.

// Compresses at zlib's default level. No result when the stream would not be strictly
// shorter than the input (so an empty, short or incompressible buffer gives none).
// Raises a MallocException "out of memory" when zlib runs out of memory.
std::optional<Data> compressedDataUsingZLib(const Data& data);

// Inflates a zlib stream. The expected length is a hint, not a limit: any stream whose
// true length is at most 2 x expectedLength + 8192 inflates completely; a longer one
// gives no result. A corrupt stream raises a GenericException "Incoming ZLib data <the
// buffer> was corrupted"; zlib running out of memory raises a MallocException.
std::optional<Data> decompressedDataUsingZLib(const Data& stream, std::uint32_t expectedLength);

// The same for stored constant bytes. The stream's own length is passed so that zlib
// never reads past the stored bytes; the corruption message names "Data".
std::optional<Data> dataWithZLibCompressedBytes(std::span<const std::uint8_t> stream, std::uint32_t decompressedLength);
