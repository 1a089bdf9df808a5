#include "ArtworkTests.h"

#include "artwork/TiffDecoder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <QTest>
#include <tiffio.h>
#include <vector>

namespace {

// A small TIFF file as a writer other than ours would lay it out: `samples` holds every
// sample of every pixel in chunky order, already at the file's depth.
struct Layout {
    int width;
    int bits;
    int samples;
    int photometric;
    int extra; // -1: no extra sample
    bool planar;
    int compression;
};

std::vector<uint8_t> packRow(const std::vector<int>& samples, const Layout& layout, int plane)
{
    std::vector<uint8_t> row(std::size_t(layout.width * layout.samples * layout.bits + 7) / 8, 0);
    std::size_t bit = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (plane >= 0 && int(i) % layout.samples != plane)
            continue;
        if (layout.bits == 16) {
            const auto value = uint16_t(samples[i]);
            std::memcpy(row.data() + bit / 8, &value, 2);
        } else {
            row[bit / 8] |= uint8_t(samples[i] << (8 - layout.bits - bit % 8));
        }
        bit += layout.bits;
    }
    return row;
}

Data tiffFile(const Layout& layout, const std::vector<int>& samples, float resolution = 0)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("picture.tiff");
    TIFF* tiff = TIFFOpen(path.toLocal8Bit().constData(), "wb");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(layout.width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(1));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(layout.bits));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(layout.samples));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(layout.photometric));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, layout.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(layout.compression));
    if (resolution > 0) {
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, resolution);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, resolution);
    }
    if (layout.extra >= 0) {
        const uint16_t kinds[] = { uint16_t(layout.extra) };
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), kinds);
    }
    for (int plane = 0; plane < (layout.planar ? layout.samples : 1); ++plane) {
        auto row = packRow(samples, layout, layout.planar ? plane : -1);
        TIFFWriteScanline(tiff, row.data(), 0, uint16_t(plane));
    }
    TIFFClose(tiff);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return Data(bytes.begin(), bytes.end());
}

}

Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(std::vector<int>)
Q_DECLARE_METATYPE(std::vector<QRgb>)

class TiffDecoderTest : public QObject {
    Q_OBJECT

private slots:
    void samplesBecomePremultipliedPixels_data()
    {
        QTest::addColumn<Layout>("layout");
        QTest::addColumn<std::vector<int>>("samples");
        QTest::addColumn<std::vector<QRgb>>("pixels");
        QTest::newRow("1-bit grey, white is zero")
            << Layout { 2, 1, 1, PHOTOMETRIC_MINISWHITE, -1, false, COMPRESSION_NONE } << std::vector<int> { 0, 1 }
            << std::vector<QRgb> { qRgb(255, 255, 255), qRgb(0, 0, 0) };
        QTest::newRow("2-bit grey and alpha, planar, LZW")
            << Layout { 3, 2, 2, PHOTOMETRIC_MINISBLACK, EXTRASAMPLE_ASSOCALPHA, true, COMPRESSION_LZW }
            << std::vector<int> { 3, 3, 1, 2, 0, 0 }
            << std::vector<QRgb> { qRgba(255, 255, 255, 255), qRgba(85, 85, 85, 170), qRgba(0, 0, 0, 0) };
        QTest::newRow("4-bit RGBA, unassociated alpha")
            << Layout { 2, 4, 4, PHOTOMETRIC_RGB, EXTRASAMPLE_UNASSALPHA, false, COMPRESSION_NONE }
            << std::vector<int> { 15, 0, 0, 8, 0, 15, 0, 15 }
            << std::vector<QRgb> { qRgba(136, 0, 0, 136), qRgba(0, 255, 0, 255) };
        QTest::newRow("16-bit RGB")
            << Layout { 1, 16, 3, PHOTOMETRIC_RGB, -1, false, COMPRESSION_NONE } << std::vector<int> { 65535, 32768, 0 }
            << std::vector<QRgb> { qRgb(255, 128, 0) };
        QTest::newRow("associated colour above its alpha is clamped")
            << Layout { 1, 8, 4, PHOTOMETRIC_RGB, EXTRASAMPLE_ASSOCALPHA, false, COMPRESSION_NONE }
            << std::vector<int> { 200, 10, 10, 100 } << std::vector<QRgb> { qRgba(100, 10, 10, 100) };
    }

    void samplesBecomePremultipliedPixels()
    {
        QFETCH(Layout, layout);
        QFETCH(std::vector<int>, samples);
        QFETCH(std::vector<QRgb>, pixels);
        const QImage image = decodeTiff(tiffFile(layout, samples));
        QCOMPARE(image.size(), QSize(layout.width, 1));
        for (int x = 0; x < layout.width; ++x)
            QCOMPARE(QString::number(image.pixel(x, 0), 16), QString::number(pixels[std::size_t(x)], 16));
    }

    void resolutionBeyondAnyIntIsIgnored()
    {
        // Found by fuzzing: dots per metre were rounded into an int whatever their size.
        const Layout grey { 1, 8, 1, PHOTOMETRIC_MINISBLACK, -1, false, COMPRESSION_NONE };
        const QImage image = decodeTiff(tiffFile(grey, { 200 }, 3.0e30f));
        QVERIFY(!image.isNull());
        QCOMPARE(image.dotsPerMeterX(), QImage(1, 1, QImage::Format_RGB32).dotsPerMeterX());
    }
};

int runTiffDecoderTest(int argc, char** argv)
{
    TiffDecoderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TiffDecoderTest.moc"
