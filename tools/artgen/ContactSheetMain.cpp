// Renders what the program itself shows: every embedded picture, decoded from its
// stored stream, and the four states of the animated icon, into one PNG to look at.
//   harkener_contact_sheet <sheet.png>
#include "ContactSheet.h"

#include "artwork/EmbeddedPictures.h"
#include "artwork/HarkenerIcon.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

std::vector<NamedPicture> embeddedPictures()
{
    return {
        { "About", AboutTiffSharedImage() },           { "BigWindow3", BigWindow3TiffSharedImage() },
        { "Blitz", BlitzTiffSharedImage() },           { "Briefchen", BriefchenTiffSharedImage() },
        { "CloserNormal", CloserNormalTiffSharedImage() }, { "CloserPressed", CloserPressedTiffSharedImage() },
        { "MiniNormal", MiniNormalTiffSharedImage() }, { "MiniPressed", MiniPressedTiffSharedImage() },
        { "PlayPressed", PlayPressedTiffSharedImage() }, { "Play", PlayTiffSharedImage() },
        { "Psycho2", Psycho2TiffSharedImage() },       { "Resume", ResumeTiffSharedImage() },
        { "Suspend", SuspendTiffSharedImage() },       { "Gumpel", GumpelTiffSharedImage() },
        { "LogoGlow", LogoGlowTiffSharedImage() },     { "HarkenerHi", HarkenerHiTiffSharedImage() },
        { "HarkenerLo", HarkenerLoTiffSharedImage() },
    };
}

void addIconStates(std::vector<NamedPicture>& sheet)
{
    HarkenerIcon icon;
    for (bool glowing : { false, true }) {
        for (bool snooping : { false, true }) {
            icon.setSnooping(snooping);
            icon.setGlowing(glowing);
            const QString name = QString("icon %1%2").arg(snooping ? "searching" : "stopped").arg(glowing ? ", glow" : "");
            sheet.emplace_back(name, icon.image());
            sheet.emplace_back(name + " x4", zoomed(icon.image(), 4));
        }
    }
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <sheet.png>\n", argv[0]);
        return 2;
    }
    auto sheet = embeddedPictures();
    addIconStates(sheet);
    sheet.emplace_back("Psycho2 tiled 3 x 2", tiled(Psycho2TiffSharedImage(), 3, 2));
    if (!contactSheet(sheet).save(argv[1])) {
        std::fprintf(stderr, "harkener_contact_sheet: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
