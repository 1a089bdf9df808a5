#include "artwork/TiffDecoder.h"

#include <QImage>
#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <tiffio.h>
#include <vector>

namespace {

// Our pictures are small; this keeps a damaged header from asking for gigabytes.
constexpr std::uint64_t MaximumPixels = 16u * 1024 * 1024;

struct MemoryFile {
    const Data& data;
    toff_t offset = 0;
};

MemoryFile& fileOf(thandle_t handle) { return *static_cast<MemoryFile*>(handle); }

tmsize_t readMemory(thandle_t handle, void* buffer, tmsize_t size)
{
    auto& file = fileOf(handle);
    if (size < 0 || file.offset >= file.data.size())
        return 0;
    const auto count = std::min<toff_t>(static_cast<toff_t>(size), file.data.size() - file.offset);
    std::memcpy(buffer, file.data.data() + file.offset, count);
    file.offset += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekMemory(thandle_t handle, toff_t offset, int whence)
{
    auto& file = fileOf(handle);
    const toff_t base = whence == SEEK_CUR ? file.offset : whence == SEEK_END ? file.data.size() : 0;
    file.offset = base + offset;
    return file.offset;
}

int closeNothing(thandle_t) { return 0; }
toff_t sizeOfMemory(thandle_t handle) { return fileOf(handle).data.size(); }
int mapNothing(thandle_t, void**, toff_t*) { return 0; }
void unmapNothing(thandle_t, void*, toff_t) { }

// A damaged file is answered with a null picture, not with lines on standard error.
int ignoreMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

TiffHandle openMemory(MemoryFile& file)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, ignoreMessage, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, ignoreMessage, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, 256 * 1024 * 1024);
    TiffHandle tiff(TIFFClientOpenExt("picture", "rm", &file, readMemory, writeNothing, seekMemory, closeNothing,
                                      sizeOfMemory, mapNothing, unmapNothing, options));
    TIFFOpenOptionsFree(options);
    return tiff;
}

struct Layout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bitsPerSample = 1;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t planarConfig = PLANARCONFIG_CONTIG;
    std::uint16_t alphaKind = EXTRASAMPLE_UNSPECIFIED;
    bool hasAlpha = false;
    float xResolution = 0;
    float yResolution = 0;
    std::uint16_t resolutionUnit = RESUNIT_INCH;

    int colourSamples() const { return photometric == PHOTOMETRIC_RGB ? 3 : 1; }
    std::uint64_t pixels() const { return std::uint64_t(width) * height; }
    int bitsPerPixel() const { return bitsPerSample * samplesPerPixel; }
};

std::optional<Layout> readLayout(TIFF* tiff)
{
    Layout layout;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &layout.planarConfig);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric))
        layout.photometric = layout.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    std::uint16_t extraCount = 0;
    std::uint16_t* extraKinds = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds) && extraCount > 0)
        layout.alphaKind = extraKinds[0];
    TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &layout.xResolution);
    TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &layout.yResolution);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &layout.resolutionUnit);
    layout.hasAlpha = layout.samplesPerPixel > layout.colourSamples() && layout.alphaKind != EXTRASAMPLE_UNSPECIFIED;
    return layout;
}

bool isSupported(const Layout& layout, TIFF* tiff)
{
    const bool knownColour = layout.photometric == PHOTOMETRIC_RGB || layout.photometric == PHOTOMETRIC_MINISBLACK
        || layout.photometric == PHOTOMETRIC_MINISWHITE;
    const bool knownDepth = layout.bitsPerSample == 1 || layout.bitsPerSample == 2 || layout.bitsPerSample == 4
        || layout.bitsPerSample == 8 || layout.bitsPerSample == 16;
    return knownColour && knownDepth && !TIFFIsTiled(tiff) && layout.width > 0 && layout.height > 0
        && layout.pixels() <= MaximumPixels && layout.samplesPerPixel >= layout.colourSamples()
        && layout.samplesPerPixel <= 4;
}

// Chooses the representation with the most pixels, then the most bits per pixel.
std::optional<Layout> selectBestDirectory(TIFF* tiff)
{
    std::optional<Layout> best;
    tdir_t bestIndex = 0;
    for (tdir_t index = 0;; ++index) {
        auto layout = readLayout(tiff);
        if (layout && isSupported(*layout, tiff)
            && (!best || layout->pixels() > best->pixels()
                || (layout->pixels() == best->pixels() && layout->bitsPerPixel() > best->bitsPerPixel()))) {
            best = layout;
            bestIndex = index;
        }
        if (!TIFFReadDirectory(tiff))
            break;
    }
    if (!best || !TIFFSetDirectory(tiff, bestIndex))
        return std::nullopt;
    return best;
}

// The sample at `index` of one decoded row, widened to 8 bits. Rows come MSB-first:
// libtiff reverses the bits of files written the other way round.
std::uint8_t sampleAt(const std::vector<std::uint8_t>& row, int bitsPerSample, std::size_t index)
{
    if (bitsPerSample == 16) {
        std::uint16_t value = 0;
        std::memcpy(&value, row.data() + 2 * index, 2);
        return static_cast<std::uint8_t>(value >> 8);
    }
    if (bitsPerSample == 8)
        return row[index];
    const std::size_t bit = index * bitsPerSample;
    const unsigned maximum = (1u << bitsPerSample) - 1;
    const unsigned value = (row[bit / 8] >> (8 - bitsPerSample - bit % 8)) & maximum;
    return static_cast<std::uint8_t>(value * 255 / maximum);
}

// Every sample of every pixel, 8 bits each, chunky: planes[(y * width + x) * spp + s].
std::optional<std::vector<std::uint8_t>> readSamples(TIFF* tiff, const Layout& layout)
{
    const std::size_t spp = layout.samplesPerPixel;
    std::vector<std::uint8_t> samples(layout.pixels() * spp);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
    const bool planar = layout.planarConfig == PLANARCONFIG_SEPARATE;
    const std::size_t planes = planar ? spp : 1;
    const std::size_t perRow = planar ? 1 : spp;
    if (row.size() * 8 < std::size_t(layout.width) * perRow * layout.bitsPerSample)
        return std::nullopt;
    for (std::size_t plane = 0; plane < planes; ++plane) {
        for (std::uint32_t y = 0; y < layout.height; ++y) {
            if (TIFFReadScanline(tiff, row.data(), y, static_cast<std::uint16_t>(plane)) < 0)
                return std::nullopt;
            for (std::uint32_t x = 0; x < layout.width; ++x)
                for (std::size_t s = 0; s < perRow; ++s)
                    samples[(std::size_t(y) * layout.width + x) * spp + plane + s]
                        = sampleAt(row, layout.bitsPerSample, x * perRow + s);
        }
    }
    return samples;
}

QRgb pixelFrom(const std::uint8_t* sample, const Layout& layout)
{
    const bool rgb = layout.colourSamples() == 3;
    int red = sample[0];
    int green = rgb ? sample[1] : red;
    int blue = rgb ? sample[2] : red;
    if (layout.photometric == PHOTOMETRIC_MINISWHITE)
        red = green = blue = 255 - red;
    if (!layout.hasAlpha)
        return qRgb(red, green, blue);
    const int alpha = sample[layout.colourSamples()];
    if (layout.alphaKind == EXTRASAMPLE_UNASSALPHA)
        return qPremultiply(qRgba(red, green, blue, alpha));
    // Associated already; clamp so that a sloppy file cannot overflow the blending.
    return qRgba(std::min(red, alpha), std::min(green, alpha), std::min(blue, alpha), alpha);
}

void applyResolution(QImage& image, const Layout& layout)
{
    const double metresPerUnit = layout.resolutionUnit == RESUNIT_CENTIMETER ? 0.01 : 0.0254;
    const double x = layout.xResolution / metresPerUnit;
    const double y = layout.yResolution / metresPerUnit;
    // A damaged file may claim any resolution; one no int can hold is no resolution.
    const auto fits = [](double dots) { return dots >= 1 && dots <= std::numeric_limits<int>::max(); };
    if (fits(x) && fits(y) && layout.resolutionUnit != RESUNIT_NONE) {
        image.setDotsPerMeterX(qRound(x));
        image.setDotsPerMeterY(qRound(y));
    }
}

}

QImage decodeTiff(const Data& file)
{
    MemoryFile memory { file };
    TiffHandle tiff = openMemory(memory);
    if (!tiff)
        return {};
    const auto layout = selectBestDirectory(tiff.get());
    if (!layout)
        return {};
    const auto samples = readSamples(tiff.get(), *layout);
    if (!samples)
        return {};
    QImage image(int(layout->width), int(layout->height),
                 layout->hasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = pixelFrom(samples->data() + (std::size_t(y) * layout->width + x) * layout->samplesPerPixel, *layout);
    }
    applyResolution(image, *layout);
    return image;
}
