#include "ArtworkTests.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    int failures = 0;
    failures += runDataZLibTest(argc, argv);
    failures += runEmbeddedPicturesTest(argc, argv);
    failures += runHarkenerIconTest(argc, argv);
    failures += runTiffDecoderTest(argc, argv);
    return failures;
}
