#pragma once

#include <QString>
#include <vector>

class QImage;

// Writes pictures as the program's TIFF art sources: big-endian, 72 dpi, chunky
// unless stated, alpha associated (premultiplied). Throws std::runtime_error on failure.
namespace TiffWriter {

enum class Layout {
    Rgb8,            // RGB, 8 bits, no alpha, uncompressed
    Rgba8,           // RGBA, 8 bits, uncompressed
    Rgba4,           // RGBA, 4 bits, uncompressed
    Rgba8Lzw,        // RGBA, 8 bits, LZW
    Rgba4Lzw,        // RGBA, 4 bits, LZW
    GreyAlpha2PlanarLzw, // grey plus alpha, 2 bits, planar, LZW
    RgbLzw,          // RGB, 8 bits, LZW
};

// One representation per (picture, layout) pair, in this order, in one file.
struct Representation {
    const QImage& picture;
    Layout layout;
};

void write(const QString& path, const std::vector<Representation>& representations);

}
