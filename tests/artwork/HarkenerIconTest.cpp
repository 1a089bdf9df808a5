#include "ArtworkTests.h"

#include "artwork/EmbeddedPictures.h"
#include "artwork/HarkenerIcon.h"

#include <QTest>

namespace {

QImage stateOf(bool snooping, bool glowing)
{
    HarkenerIcon icon;
    icon.setSnooping(snooping);
    icon.setGlowing(glowing);
    return icon.image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

bool transparentAt(const QImage& picture, int x, int y) { return qAlpha(picture.pixel(x, y)) == 0; }

}

class HarkenerIconTest : public QObject {
    Q_OBJECT

private slots:
    void everyStateIs48By48AndOpaque_data()
    {
        QTest::addColumn<bool>("snooping");
        QTest::addColumn<bool>("glowing");
        QTest::newRow("stopped") << false << false;
        QTest::newRow("searching") << true << false;
        QTest::newRow("stopped, servers known") << false << true;
        QTest::newRow("searching, servers known") << true << true;
    }

    void everyStateIs48By48AndOpaque()
    {
        QFETCH(bool, snooping);
        QFETCH(bool, glowing);
        const QImage picture = stateOf(snooping, glowing);
        QCOMPARE(picture.size(), QSize(48, 48));
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x)
                QCOMPARE(qAlpha(picture.pixel(x, y)), 255);
    }

    void baseFollowsTheSearchWhereTheFigureLeavesItBare()
    {
        const QImage figure = GumpelTiffSharedImage();
        const QImage stopped = stateOf(false, false);
        const QImage searching = stateOf(true, false);
        int compared = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                if (!transparentAt(figure, x, y))
                    continue;
                QCOMPARE(searching.pixel(x, y), HarkenerHiTiffSharedImage().pixel(x, y));
                QCOMPARE(stopped.pixel(x, y), HarkenerLoTiffSharedImage().pixel(x, y));
                ++compared;
            }
        }
        QVERIFY(compared > 100);
        QVERIFY(stopped != searching);
    }

    void glowOnlyAddsLight_data()
    {
        QTest::addColumn<bool>("snooping");
        QTest::newRow("stopped") << false;
        QTest::newRow("searching") << true;
    }

    void glowOnlyAddsLight()
    {
        QFETCH(bool, snooping);
        const QImage without = stateOf(snooping, false);
        const QImage with = stateOf(snooping, true);
        int brighter = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb a = without.pixel(x, y), b = with.pixel(x, y);
                QVERIFY(qRed(b) >= qRed(a) && qGreen(b) >= qGreen(a) && qBlue(b) >= qBlue(a));
                brighter += b != a;
            }
        }
        QVERIFY(brighter > 100);
    }

    void composesOnlyOnAChangeOfState()
    {
        HarkenerIcon icon;
        const qint64 first = icon.image().cacheKey();
        QCOMPARE(icon.image().cacheKey(), first);
        icon.setSnooping(false);
        icon.setGlowing(false);
        QCOMPARE(icon.image().cacheKey(), first);

        icon.setSnooping(true);
        const qint64 second = icon.image().cacheKey();
        QVERIFY(second != first);

        // Glow on and off again before anyone looks: one composition, without glow.
        icon.setGlowing(true);
        icon.setGlowing(false);
        const QImage& recomposed = icon.image();
        QVERIFY(recomposed.cacheKey() != second);
        QCOMPARE(recomposed.convertToFormat(QImage::Format_ARGB32_Premultiplied), stateOf(true, false));
    }
};

int runHarkenerIconTest(int argc, char** argv)
{
    HarkenerIconTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HarkenerIconTest.moc"
