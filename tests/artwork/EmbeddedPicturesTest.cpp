#include "ArtworkTests.h"

#include "artwork/EmbeddedPictures.h"
#include "artwork/TiffDecoder.h"

#include <QFile>
#include <QImage>
#include <QTest>

namespace {

struct Picture {
    const char* name;
    Data (*data)();
    QImage (*image)();
    const QImage& (*shared)();
    QSize size;
    bool alpha;
};

#define PICTURE(name, width, height, alpha) \
    Picture { #name, name##TiffData, name##TiffImage, name##TiffSharedImage, QSize(width, height), alpha }

const Picture Pictures[] = {
    PICTURE(About, 450, 238, false),      PICTURE(BigWindow3, 525, 229, true), PICTURE(Blitz, 18, 18, true),
    PICTURE(Briefchen, 22, 13, true),     PICTURE(CloserNormal, 13, 13, true), PICTURE(CloserPressed, 13, 13, true),
    PICTURE(MiniNormal, 13, 13, true),    PICTURE(MiniPressed, 13, 13, true),  PICTURE(PlayPressed, 64, 80, true),
    PICTURE(Play, 64, 82, true),          PICTURE(Psycho2, 300, 300, false),   PICTURE(Resume, 80, 24, true),
    PICTURE(Suspend, 80, 24, true),       PICTURE(Gumpel, 48, 48, true),       PICTURE(LogoGlow, 48, 48, true),
    PICTURE(HarkenerHi, 48, 48, false),   PICTURE(HarkenerLo, 48, 48, false),
};

#undef PICTURE

Data artFile(const char* name)
{
    QFile file(QStringLiteral(HARKENER_ART_DIR "/%1.tiff").arg(QLatin1String(name)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return Data(bytes.begin(), bytes.end());
}

}

Q_DECLARE_METATYPE(const Picture*)

class EmbeddedPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPicture_data()
    {
        QTest::addColumn<const Picture*>("picture");
        for (const auto& picture : Pictures)
            QTest::newRow(picture.name) << &picture;
    }

    void everyPicture()
    {
        QFETCH(const Picture*, picture);
        const Data data = picture->data();
        // The whole art file comes back, a big-endian TIFF.
        QVERIFY(data == artFile(picture->name));
        QVERIFY(data.size() > 8);
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(data.data()), 4), QByteArray("MM\x00\x2A", 4));

        const QImage image = picture->image();
        QCOMPARE(image.size(), picture->size);
        QCOMPARE(image.hasAlphaChannel(), picture->alpha);
        // The pictures are 72 dpi, so points and pixels agree.
        QCOMPARE(image.dotsPerMeterX(), 2835);
        QVERIFY(picture->image().cacheKey() != image.cacheKey());

        const QImage& shared = picture->shared();
        QCOMPARE(&picture->shared(), &shared);
        QCOMPARE(picture->shared().cacheKey(), shared.cacheKey());
        QCOMPARE(shared, image);
    }

    void blitzGivesItsFullDepthRepresentation()
    {
        // The four-bit and two-bit representations only hold alphas that are multiples of
        // 17 and 85; the eight-bit one has the smooth edges.
        const QImage bolt = BlitzTiffImage();
        bool smooth = false;
        for (int y = 0; y < bolt.height(); ++y)
            for (int x = 0; x < bolt.width(); ++x)
                smooth |= qAlpha(bolt.pixel(x, y)) % 17 != 0;
        QVERIFY(smooth);
    }

    void fourBitEnvelopeDecodes()
    {
        const QImage envelope = BriefchenTiffImage();
        const QRgb middle = envelope.pixel(11, 10);
        QCOMPARE(qAlpha(middle), 255);
        QVERIFY(qRed(middle) > 150 && qGreen(middle) > 150);
    }

    void damagedFilesGiveNoPicture_data()
    {
        QTest::addColumn<QByteArray>("file");
        const Data about = AboutTiffData();
        const QByteArray whole(reinterpret_cast<const char*>(about.data()), int(about.size()));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << QByteArray("MM\x00\x2A", 4);
        QTest::newRow("not a TIFF") << QByteArray("GIF89a and then some bytes");
        QTest::newRow("first directory pointing outside") << QByteArray("MM\x00\x2A\x7F\xFF\xFF\xFF", 8);
        QTest::newRow("cut short") << whole.left(20000);
    }

    void damagedFilesGiveNoPicture()
    {
        QFETCH(QByteArray, file);
        QVERIFY(decodeTiff(Data(file.begin(), file.end())).isNull());
    }
};

int runEmbeddedPicturesTest(int argc, char** argv)
{
    EmbeddedPicturesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EmbeddedPicturesTest.moc"
