#include "TiffWriter.h"

#include <QColor>
#include <QImage>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <tiffio.h>

namespace TiffWriter {
namespace {

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

struct Format {
    int samples;
    int bits;
    bool alpha;
    bool lzw;
    bool planar;
};

Format formatOf(Layout layout)
{
    switch (layout) {
    case Layout::Rgb8: return { 3, 8, false, false, false };
    case Layout::Rgba8: return { 4, 8, true, false, false };
    case Layout::Rgba4: return { 4, 4, true, false, false };
    case Layout::Rgba8Lzw: return { 4, 8, true, true, false };
    case Layout::Rgba4Lzw: return { 4, 4, true, true, false };
    case Layout::GreyAlpha2PlanarLzw: return { 2, 2, true, true, true };
    case Layout::RgbLzw: return { 3, 8, false, true, false };
    }
    throw std::logic_error("unknown layout");
}

// Premultiplied samples of one pixel in the file's order, still 8 bits each.
std::vector<int> samplesOf(QRgb pixel, const Format& format)
{
    if (format.samples == 2) {
        const int grey = (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
        return { std::min(grey, qAlpha(pixel)), qAlpha(pixel) };
    }
    std::vector<int> samples { qRed(pixel), qGreen(pixel), qBlue(pixel) };
    if (format.alpha)
        samples.push_back(qAlpha(pixel));
    return samples;
}

int quantize(int value, int bits)
{
    const int maximum = (1 << bits) - 1;
    return (value * maximum + 127) / 255;
}

// Packs the samples MSB-first; `plane` picks one sample for planar files, -1 all.
std::vector<uint8_t> packRow(const QImage& image, int y, const Format& format, int plane)
{
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int perPixel = plane < 0 ? format.samples : 1;
    std::vector<uint8_t> row((image.width() * perPixel * format.bits + 7) / 8, 0);
    std::size_t bit = 0;
    for (int x = 0; x < image.width(); ++x) {
        const auto samples = samplesOf(line[x], format);
        for (int s = 0; s < format.samples; ++s) {
            if (plane >= 0 && s != plane)
                continue;
            const int value = quantize(samples[s], format.bits);
            row[bit / 8] |= static_cast<uint8_t>(value << (8 - format.bits - bit % 8));
            bit += format.bits;
        }
    }
    return row;
}

void check(int result, const char* what)
{
    if (!result)
        throw std::runtime_error(std::string("libtiff failed to ") + what);
}

void writeDirectory(TIFF* tiff, const QImage& source, const Format& format)
{
    const QImage image = source.convertToFormat(format.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(format.bits));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(format.samples));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, format.samples == 2 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, format.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, format.lzw ? COMPRESSION_LZW : COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 72.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 72.0f);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tiff, 0));
    if (format.alpha) {
        const uint16_t associated[] = { EXTRASAMPLE_ASSOCALPHA };
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), associated);
    }
    const int planes = format.planar ? format.samples : 1;
    for (int plane = 0; plane < planes; ++plane) {
        for (int y = 0; y < image.height(); ++y) {
            auto row = packRow(image, y, format, format.planar ? plane : -1);
            check(TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane)) >= 0, "write a row");
        }
    }
    check(TIFFWriteDirectory(tiff), "write a directory");
}

}

void write(const QString& path, const std::vector<Representation>& representations)
{
    // "wb": big-endian ("MM") whatever the machine.
    std::unique_ptr<TIFF, TiffCloser> tiff(TIFFOpen(path.toLocal8Bit().constData(), "wb"));
    if (!tiff)
        throw std::runtime_error("cannot create " + path.toStdString());
    for (const auto& representation : representations)
        writeDirectory(tiff.get(), representation.picture, formatOf(representation.layout));
}

}
