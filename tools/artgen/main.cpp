// Draws every picture of the program and writes the art sources: the TIFF files the
// build embeds, and the desktop icons. Run by hand when the art changes (the "art"
// build target does it):
//   harkener_artgen <art folder> <hicolor icon folder> [preview.png [folder for one PNG each]]
#include "ContactSheet.h"
#include "Pictures.h"
#include "TiffWriter.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <stdexcept>

namespace {

using TiffWriter::Layout;

void writeArt(const QDir& art, std::vector<NamedPicture>& preview)
{
    auto one = [&](const char* name, const QImage& picture, Layout layout) {
        TiffWriter::write(art.filePath(QString("%1.tiff").arg(name)), { { picture, layout } });
        preview.emplace_back(name, picture);
    };
    one("About", Pictures::about(), Layout::Rgb8);
    one("BigWindow3", Pictures::bigWindow3(), Layout::Rgba8);
    const QImage bolt = Pictures::blitz();
    TiffWriter::write(art.filePath("Blitz.tiff"), { { bolt, Layout::Rgba8Lzw }, { bolt, Layout::Rgba4Lzw },
                                                     { bolt, Layout::GreyAlpha2PlanarLzw } });
    preview.emplace_back("Blitz", bolt);
    one("Briefchen", Pictures::briefchen(), Layout::Rgba4);
    one("CloserNormal", Pictures::closer(false), Layout::Rgba8);
    one("CloserPressed", Pictures::closer(true), Layout::Rgba8);
    one("MiniNormal", Pictures::mini(false), Layout::Rgba8);
    one("MiniPressed", Pictures::mini(true), Layout::Rgba8);
    one("PlayPressed", Pictures::play(true), Layout::Rgba8);
    one("Play", Pictures::play(false), Layout::Rgba8);
    one("Psycho2", Pictures::psycho2(), Layout::Rgb8);
    one("Resume", Pictures::pill("Resume"), Layout::Rgba8);
    one("Suspend", Pictures::pill("Suspend"), Layout::Rgba8);
    one("Gumpel", Pictures::gumpel(), Layout::Rgba8);
    one("LogoGlow", Pictures::logoGlow(), Layout::Rgba8);
    one("HarkenerHi", Pictures::harkenerName(true), Layout::Rgb8);
    one("HarkenerLo", Pictures::harkenerName(false), Layout::Rgb8);
}

// Small pictures enlarged and the tile repeated, for the person looking at the preview.
void addCloseUps(std::vector<NamedPicture>& preview)
{
    const std::size_t count = preview.size();
    for (std::size_t i = 0; i < count; ++i) {
        const QImage picture = preview[i].second;
        if (picture.width() <= 80 && picture.height() <= 82)
            preview.emplace_back(preview[i].first + " x4", zoomed(picture, picture.width() <= 24 ? 6 : 4));
    }
    const QImage frame = Pictures::bigWindow3();
    QImage window = tiled(Pictures::psycho2(), 2, 1).copy(0, 0, frame.width(), frame.height());
    QPainter(&window).drawImage(0, 0, frame);
    preview.emplace_back("BigWindow3 over the tile", window);
    preview.emplace_back("BigWindow3 left x3", zoomed(frame.copy(0, 0, 170, 40), 3));
    preview.emplace_back("BigWindow3 middle x3", zoomed(frame.copy(170, 0, 185, 40), 3));
    preview.emplace_back("BigWindow3 right x3", zoomed(frame.copy(355, 0, 170, 40), 3));
    preview.emplace_back("Psycho2 tiled 3 x 2", tiled(Pictures::psycho2(), 3, 2));
    preview.emplace_back("icon 48", zoomed(Pictures::searchingIcon(48), 4));
    preview.emplace_back("icon 32", zoomed(Pictures::searchingIcon(32), 4));
    preview.emplace_back("icon 16", zoomed(Pictures::searchingIcon(16), 4));
}

void writeIcons(const QDir& hicolor)
{
    for (int size : { 16, 32, 48 }) {
        const QString folder = QString("%1x%1/apps").arg(size);
        if (!hicolor.mkpath(folder))
            throw std::runtime_error("cannot create " + hicolor.filePath(folder).toStdString());
        const QString path = hicolor.filePath(folder + "/harkener.png");
        if (!Pictures::searchingIcon(size).save(path))
            throw std::runtime_error("cannot write " + path.toStdString());
    }
}

}

int main(int argc, char** argv)
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <art folder> <hicolor icon folder> [preview.png]\n", argv[0]);
        return 2;
    }
    try {
        std::vector<NamedPicture> preview;
        writeArt(QDir(argv[1]), preview);
        writeIcons(QDir(argv[2]));
        addCloseUps(preview);
        if (argc > 3 && !contactSheet(preview).save(argv[3]))
            throw std::runtime_error(std::string("cannot write ") + argv[3]);
        for (const auto& [name, picture] : preview) {
            if (argc > 4 && !picture.save(QDir(argv[4]).filePath(QString(name).replace(' ', '_') + ".png")))
                throw std::runtime_error("cannot write the picture " + name.toStdString());
        }
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "harkener_artgen: %s\n", failure.what());
        return 1;
    }
    return 0;
}
