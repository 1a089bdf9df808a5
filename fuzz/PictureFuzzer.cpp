// An arbitrary picture file on the two roads a picture takes: the TIFF decoder of the
// embedded pictures, and the background picture the user chooses (any format, read from
// a file under the allocation limit). The decoder gives a picture or a null one; the
// background is always a picture, and a file that gives none loses its stored name.

#include "FuzzSupport.h"

#include "app/Preferences.h"
#include "artwork/TiffDecoder.h"

#include <QCoreApplication>
#include <QImage>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string picturePath;

}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    fuzz::isolateProcess();
    picturePath = "/dev/shm/harkener-picture-fuzz-" + std::to_string(getpid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Data file(data, data + size);
    const QImage decoded = decodeTiff(file);
    check(decoded.isNull() || (decoded.width() > 0 && decoded.height() > 0));

    std::ofstream(picturePath, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), std::streamsize(size));
    Preferences::resetBackground();
    Preferences::setBackgroundImageName(QString::fromStdString(picturePath));
    const QImage background = Preferences::backgroundImage();
    check(!background.isNull());
    // 64 MB of pixels at most: four bytes each.
    check(qint64(background.width()) * background.height() <= 16 * 1024 * 1024);
    const bool kept = Preferences::backgroundImageName().has_value();
    check(kept || background.cacheKey() == Preferences::backgroundImage().cacheKey());
    return 0;
}
