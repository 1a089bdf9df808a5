#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The byte buffer the system passes around: one datagram, one picture file, one
// compressed stream.
using Data = std::vector<std::uint8_t>;

inline Data dataFromString(std::string_view text) { return Data(text.begin(), text.end()); }

// The buffer as hexadecimal in groups of four bytes between angle brackets, such as
// "<ffffffff 67657469 6e666f>", the form in which messages show a buffer.
std::string describeData(const Data& data);
