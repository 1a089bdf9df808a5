#pragma once

#include "platform/Data.h"

#include <cstdint>
#include <span>

class QImage;

// What every generated picture module shares: inflating its stored stream, decoding it
// and keeping its shared picture.

// The stored TIFF file; empty only if the stored stream were damaged.
Data inflateEmbeddedPicture(std::span<const std::uint8_t> stream, std::uint32_t length);

// The slot's picture, decoded by `make` while the slot is still empty. Main thread only.
const QImage& sharedEmbeddedPicture(QImage& slot, QImage (*make)());
