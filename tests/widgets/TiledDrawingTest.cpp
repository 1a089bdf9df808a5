// Tiled picture drawing and the translucent rectangle fill, checked on the pixels that land
// in an offscreen image.
#include "widgets/VELRectFillWithImage.h"
#include "widgets/VELReplROP.h"
#include "widgets/VELReplROPDelegate.h"

#include <QMimeData>
#include <QPainter>
#include <QtTest>

namespace {

constexpr QRgb untouched = 0xff123456;

// A 300 x 300 picture whose every pixel tells where it comes from.
QImage codedPicture(int width = 300, int height = 300)
{
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x & 0xff, y & 0xff, ((x >> 8) << 4) | (y >> 8)));
    return picture;
}

QPoint pictureOrigin(QRgb pixel)
{
    const int high = qBlue(pixel);
    return QPoint(qRed(pixel) | ((high >> 4) << 8), qGreen(pixel) | ((high & 0xf) << 8));
}

// Draws `dirty` of `view` the way a partial repaint does, over a marked background.
QImage repaint(VELReplROP& view, const QRegion& dirty)
{
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(untouched);
    // render() puts the region's top-left corner at the offset given.
    view.render(&image, dirty.boundingRect().topLeft(), dirty, QWidget::RenderFlags());
    return image;
}

class Delegate final : public VELReplROPDelegate {
public:
    bool imageWillBeSet(const QImage& image) override
    {
        asked.append(image);
        return answer;
    }
    bool answer = true;
    QList<QImage> asked;
};

} // namespace

class TiledDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void tilePieces_data();
    void tilePieces();
    void rowsHangFromTheTopEdge();
    void partialRepaintDrawsOnlyTheDirtyRectangle();
    void withoutATileablePictureTheDirtyRectangleIsOutlined_data();
    void withoutATileablePictureTheDirtyRectangleIsOutlined();
    void delegateDecidesEveryChangeOfPicture();
    void droppedPictureGoesThroughTheDelegate();
    void rectFillBlendsSourceAtop_data();
    void rectFillBlendsSourceAtop();
};

void TiledDrawingTest::tilePieces_data()
{
    using Pieces = QList<VELReplROP::Piece>;
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QRect>("dirty");
    QTest::addColumn<Pieces>("expected");

    // 400 points high, unflipped dirty rectangle (350, 50, 100, 100): on screen rows 250 to 349.
    QTest::newRow("crosses a row boundary")
        << QSize(300, 300) << QRect(350, 250, 100, 100)
        << Pieces{{QRect(50, 250, 100, 50), QPoint(350, 250)}, {QRect(50, 0, 100, 50), QPoint(350, 300)}};
    // The main window's background: 523 x 227 with the 300 x 300 tile takes two composites.
    QTest::newRow("full main window background")
        << QSize(300, 300) << QRect(0, 0, 523, 227)
        << Pieces{{QRect(0, 0, 300, 227), QPoint(0, 0)}, {QRect(0, 0, 223, 227), QPoint(300, 0)}};
    QTest::newRow("crosses both boundaries")
        << QSize(10, 10) << QRect(8, 18, 4, 4)
        << Pieces{{QRect(8, 8, 2, 2), QPoint(8, 18)}, {QRect(0, 8, 2, 2), QPoint(10, 18)},
                  {QRect(8, 0, 2, 2), QPoint(8, 20)}, {QRect(0, 0, 2, 2), QPoint(10, 20)}};
    QTest::newRow("empty rectangle") << QSize(300, 300) << QRect(5, 5, 0, 7) << Pieces{};
    QTest::newRow("picture too narrow") << QSize(1, 300) << QRect(0, 0, 10, 10) << Pieces{};
    QTest::newRow("picture too low") << QSize(300, 1) << QRect(0, 0, 10, 10) << Pieces{};
}

void TiledDrawingTest::tilePieces()
{
    QFETCH(QSize, picture);
    QFETCH(QRect, dirty);
    QFETCH(QList<VELReplROP::Piece>, expected);
    QCOMPARE(VELReplROP::tilePieces(picture, dirty), expected);
}

void TiledDrawingTest::rowsHangFromTheTopEdge()
{
    // 229 points high: the picture's rows 0 to 228 from its top show from the view's top
    // edge down (rows 71 to 299 counted from its bottom edge, from the view's bottom up).
    VELReplROP view;
    view.resize(600, 229);
    view.setImage(codedPicture());
    const QImage shown = repaint(view, QRegion(view.rect()));
    for (int y = 0; y < 229; ++y) {
        for (int x = 0; x < 600; x += 7) {
            if (pictureOrigin(shown.pixel(x, y)) != QPoint(x % 300, y))
                QFAIL(qPrintable(QStringLiteral("wrong picture point at %1,%2").arg(x).arg(y)));
        }
    }
}

void TiledDrawingTest::partialRepaintDrawsOnlyTheDirtyRectangle()
{
    VELReplROP view;
    view.resize(500, 400);
    view.setImage(codedPicture());
    const QRect dirty(350, 250, 100, 100);
    const QImage shown = repaint(view, QRegion(dirty));
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 500; ++x) {
            const QRgb pixel = shown.pixel(x, y);
            const bool ok = dirty.contains(x, y) ? pictureOrigin(pixel) == QPoint(x % 300, y % 300) : pixel == untouched;
            if (!ok)
                QFAIL(qPrintable(QStringLiteral("wrong pixel at %1,%2").arg(x).arg(y)));
        }
    }
}

void TiledDrawingTest::withoutATileablePictureTheDirtyRectangleIsOutlined_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::newRow("no picture") << QImage();
    QTest::newRow("1 x 1 picture") << codedPicture(1, 1);
}

void TiledDrawingTest::withoutATileablePictureTheDirtyRectangleIsOutlined()
{
    QFETCH(QImage, picture);
    VELReplROP view;
    view.resize(100, 100);
    view.setImage(picture);
    const QRect dirty(10, 20, 30, 40);
    const QImage shown = repaint(view, QRegion(dirty));
    const QRgb line = view.palette().color(view.foregroundRole()).rgba();
    QCOMPARE(shown.pixel(dirty.topLeft()), line);
    QCOMPARE(shown.pixel(dirty.bottomRight()), line);
    QCOMPARE(shown.pixel(dirty.left(), 40), line);
    QCOMPARE(shown.pixel(dirty.center()), untouched);
    QCOMPARE(shown.pixel(dirty.right() + 1, 40), untouched);
}

void TiledDrawingTest::delegateDecidesEveryChangeOfPicture()
{
    VELReplROP view;
    Delegate delegate;
    view.setDelegate(&delegate);
    const QImage first = codedPicture(4, 4);
    QVERIFY(view.setImage(first));

    delegate.answer = false;
    QVERIFY(!view.setImage(codedPicture(8, 8)));
    QCOMPARE(view.image(), first);

    delegate.answer = true;
    QVERIFY(view.setImage(QImage()));
    QVERIFY(view.image().isNull());
    QCOMPARE(delegate.asked.size(), 3);
    QVERIFY(delegate.asked.last().isNull());
}

void TiledDrawingTest::droppedPictureGoesThroughTheDelegate()
{
    VELReplROP view;
    Delegate delegate;
    view.setDelegate(&delegate);
    view.resize(50, 50);
    QSignalSpy dropped(&view, &VELReplROP::imageDropped);
    QMimeData mime;
    mime.setImageData(codedPicture(6, 6));
    // A drop reaches only a widget that accepted the drag's entry.
    auto drop = [&] {
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
    };

    drop(); // not editable: ignored
    QVERIFY(delegate.asked.isEmpty());

    view.setEditable(true);
    delegate.answer = false;
    drop();
    QCOMPARE(delegate.asked.size(), 1);
    QVERIFY(view.image().isNull());
    QCOMPARE(dropped.size(), 0);

    delegate.answer = true;
    drop();
    QCOMPARE(view.image().size(), QSize(6, 6));
    QCOMPARE(dropped.size(), 1);
}

void TiledDrawingTest::rectFillBlendsSourceAtop_data()
{
    QTest::addColumn<QColor>("destination");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("selection colour over white")
        << QColor(Qt::white) << QColor::fromRgbF(0.9f, 0.9f, 0.75f, 0.45f) << QColor::fromRgbF(0.955f, 0.955f, 0.8875f);
    QTest::newRow("opaque colour replaces")
        << QColor(Qt::white) << QColor::fromRgbF(0.2f, 0.4f, 0.6f) << QColor::fromRgbF(0.2f, 0.4f, 0.6f);
    QTest::newRow("transparent destination stays transparent")
        << QColor(Qt::transparent) << QColor::fromRgbF(0.9f, 0.9f, 0.75f, 0.45f) << QColor(Qt::transparent);
}

void TiledDrawingTest::rectFillBlendsSourceAtop()
{
    QFETCH(QColor, destination);
    QFETCH(QColor, fill);
    QFETCH(QColor, expected);
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(destination);
    {
        QPainter painter(&image);
        VELRectFillWithImage(painter, QRectF(5, 6, 7, 8), fill);
    }
    const QColor inside = image.pixelColor(5, 6);
    QVERIFY2(qAbs(inside.red() - expected.red()) <= 1 && qAbs(inside.green() - expected.green()) <= 1
                 && qAbs(inside.blue() - expected.blue()) <= 1 && qAbs(inside.alpha() - expected.alpha()) <= 1,
             qPrintable(inside.name(QColor::HexArgb)));
    QCOMPARE(image.pixelColor(11, 13), inside);
    // Exactly the rectangle: its neighbours outside are left alone.
    QCOMPARE(image.pixelColor(4, 6), destination);
    QCOMPARE(image.pixelColor(12, 13), destination);
    QCOMPARE(image.pixelColor(11, 14), destination);
}

QTEST_MAIN(TiledDrawingTest)
#include "TiledDrawingTest.moc"
