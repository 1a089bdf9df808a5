// The see-through table: what makeTransparent() changes for each flag, what lands on screen
// over a known background, the header cell's frame, and the scroll bar decision.
#include "widgets/TableViewVELAppKit.h"
#include "widgets/VELTransparentClipView.h"
#include "widgets/VELTransparentImageView.h"
#include "widgets/VELTransparentScrollView.h"
#include "widgets/VELTransparentTableHeaderCell.h"
#include "widgets/VELTransparentTableView.h"

#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

const QColor backdrop(20, 60, 200);

// A parent painting a solid colour, holding a table of `rows` empty-text rows of 20 points.
struct Scene {
    explicit Scene(int rows)
    {
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, backdrop);
        parent.setPalette(palette);
        parent.resize(300, 200);
        table = new QTableView(&parent);
        table->setGeometry(0, 0, 300, 200);
        model = new QStandardItemModel(rows, 2, table);
        model->setHorizontalHeaderLabels({"Name", "Map"});
        table->setModel(model);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(20);
        table->verticalHeader()->setMinimumSectionSize(1);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        parent.show();
    }
    QPoint inRow(int row, int x = 150) const
    {
        return table->viewport()->mapTo(&parent, QPoint(x, table->rowViewportPosition(row) + 10));
    }

    QWidget parent;
    QTableView* table;
    QStandardItemModel* model;
};

bool near(const QColor& actual, const QColor& expected)
{
    return qAbs(actual.red() - expected.red()) <= 2 && qAbs(actual.green() - expected.green()) <= 2
        && qAbs(actual.blue() - expected.blue()) <= 2;
}

QColor bandOver(const QColor& below)
{
    const QColor band = VELTransparentTableView::selectionColor();
    const auto mix = [&](float top, float bottom) { return top * band.alphaF() + bottom * (1 - band.alphaF()); };
    return QColor::fromRgbF(mix(band.redF(), below.redF()), mix(band.greenF(), below.greenF()), mix(band.blueF(), below.blueF()));
}

} // namespace

class TransparentViewsTest : public QObject {
    Q_OBJECT

private slots:
    void flagsChooseWhatIsMadeTransparent_data();
    void flagsChooseWhatIsMadeTransparent();
    void backgroundShowsThroughRowsAndSelectionIsATranslucentBand();
    void tableLeftOpaqueCoversTheBackground();
    void selectedRowPartlyInsideTheDirtyRectangleIsFilledOnlyThere();
    void headerCellIsFramedAndItsTitleInset();
    void clipViewOpacityFollowsItsFlag();
    void imageViewLaysItsPictureAtTheBottomLeftOverWhatIsBehind();
    void needsVerticalScrollerForFrame_data();
    void needsVerticalScrollerForFrame();
};

void TransparentViewsTest::flagsChooseWhatIsMadeTransparent_data()
{
    QTest::addColumn<quint32>("flags");
    QTest::addColumn<bool>("corner");
    QTest::addColumn<bool>("header");
    QTest::addColumn<bool>("rows");
    QTest::newRow("0: only clip and scroll view") << 0u << false << false << false;
    QTest::newRow("4: rows, opaque header") << 4u << false << false << true;
    QTest::newRow("7: everything") << 7u << true << true << true;
}

void TransparentViewsTest::flagsChooseWhatIsMadeTransparent()
{
    QFETCH(quint32, flags);
    QFETCH(bool, corner);
    QFETCH(bool, header);
    QFETCH(bool, rows);
    Scene scene(3);
    QTableView* table = scene.table;
    QWidget* const viewport = table->viewport();
    QHeaderView* const headerView = table->horizontalHeader();
    const QPointer<QWidget> oldCorner = table->cornerWidget();

    VELTransparentTableView::makeTransparent(table, flags);

    // Always: the same widgets, now see-through, in their places.
    QCOMPARE(table->viewport(), viewport);
    QCOMPARE(table->horizontalHeader(), headerView);
    QVERIFY(VELTransparentClipView::isMorphed(viewport));
    QVERIFY(!VELTransparentClipView::isOpaque(viewport));
    QVERIFY(VELTransparentScrollView::isMorphed(table));

    QCOMPARE(table->cornerWidget() != nullptr && table->cornerWidget() != oldCorner, corner);
    QCOMPARE(VELTransparentTableHeaderCell::isMorphed(headerView), header);
    QCOMPARE(VELTransparentClipView::isMorphed(headerView->viewport()), header);
    QCOMPARE(headerView->viewport()->autoFillBackground(), !header);
    QCOMPARE(VELTransparentTableView::isMorphed(table), rows);
    QCOMPARE(table->showGrid(), !rows);
}

void TransparentViewsTest::backgroundShowsThroughRowsAndSelectionIsATranslucentBand()
{
    Scene scene(4);
    scene.table->selectRow(1);
    VELTransparentTableView::makeTransparent(scene.table, 7);
    const QImage shown = scene.parent.grab().toImage();

    QVERIFY2(near(shown.pixelColor(scene.inRow(0)), backdrop), qPrintable(shown.pixelColor(scene.inRow(0)).name()));
    QVERIFY2(near(shown.pixelColor(scene.inRow(2)), backdrop), qPrintable(shown.pixelColor(scene.inRow(2)).name()));
    QVERIFY2(near(shown.pixelColor(scene.inRow(1)), bandOver(backdrop)), qPrintable(shown.pixelColor(scene.inRow(1)).name()));
    // Below the last row: nothing but the background.
    const QPoint belowRows = scene.table->viewport()->mapTo(&scene.parent, QPoint(150, 4 * 20 + 30));
    QVERIFY(near(shown.pixelColor(belowRows), backdrop));
}

void TransparentViewsTest::tableLeftOpaqueCoversTheBackground()
{
    Scene scene(2);
    VELTransparentTableView::makeTransparent(scene.table, 1);
    const QImage shown = scene.parent.grab().toImage();
    const QColor base = scene.table->palette().color(QPalette::Base);
    QVERIFY(near(shown.pixelColor(scene.inRow(0)), base));
    QVERIFY(near(shown.pixelColor(scene.inRow(4)), base));
}

void TransparentViewsTest::selectedRowPartlyInsideTheDirtyRectangleIsFilledOnlyThere()
{
    Scene scene(4);
    scene.table->selectRow(1);
    VELTransparentTableView::makeTransparent(scene.table, 4);
    QImage image(scene.table->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int rowTop = scene.table->rowViewportPosition(1);
    const QRect dirty(50, rowTop + 5, 100, 60); // the lower part of row 1 and rows below
    {
        QPainter painter(&image);
        VELTransparentTableView::drawRect(*scene.table, painter, dirty);
    }
    const QColor band = bandOver(Qt::white);
    QVERIFY(near(image.pixelColor(50, rowTop + 5), band));
    QVERIFY(near(image.pixelColor(149, rowTop + 19), band));
    QCOMPARE(image.pixelColor(50, rowTop + 4), QColor(Qt::white));  // above the dirty rectangle
    QCOMPARE(image.pixelColor(49, rowTop + 10), QColor(Qt::white)); // left of it
    QCOMPARE(image.pixelColor(150, rowTop + 10), QColor(Qt::white)); // right of it
    QCOMPARE(image.pixelColor(100, rowTop + 30), QColor(Qt::white)); // row 2, not selected
}

void TransparentViewsTest::headerCellIsFramedAndItsTitleInset()
{
    Scene scene(1);
    QPalette palette = scene.table->horizontalHeader()->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    scene.table->horizontalHeader()->setPalette(palette);
    scene.model->setHorizontalHeaderLabels({"MMMMMMMMMMMMMMM", "Map"});
    QImage image(80, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const QRect frame(10, 10, 60, 17);
    {
        QPainter painter(&image);
        VELTransparentTableHeaderCell::drawWithFrame(painter, frame, *scene.table->horizontalHeader(), 0);
    }
    const QRect inset = frame.adjusted(2, 2, -2, -2);
    QCOMPARE(inset.size(), QSize(56, 13));
    bool titleDrawn = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool onOutline = frame.contains(x, y) && !frame.adjusted(1, 1, -1, -1).contains(x, y);
            const bool painted = image.pixel(x, y) != qRgb(255, 255, 255);
            if (onOutline && image.pixel(x, y) != qRgb(0, 0, 0))
                QFAIL(qPrintable(QStringLiteral("outline missing at %1,%2").arg(x).arg(y)));
            if (!onOutline && painted && !inset.contains(x, y))
                QFAIL(qPrintable(QStringLiteral("painted outside the inset at %1,%2").arg(x).arg(y)));
            titleDrawn = titleDrawn || (painted && inset.contains(x, y));
        }
    }
    QVERIFY(titleDrawn);
}

void TransparentViewsTest::clipViewOpacityFollowsItsFlag()
{
    QWidget window;
    window.setAutoFillBackground(true);
    auto* clip = new QWidget(&window);
    VELTransparentClipView::morph(clip);
    VELTransparentClipView::setDrawsBackground(clip, false);
    QVERIFY(!VELTransparentClipView::isOpaque(clip));
    QCOMPARE(VELTransparentClipView::opaqueAncestor(clip), &window);
    VELTransparentClipView::setDrawsBackground(clip, true);
    QVERIFY(VELTransparentClipView::isOpaque(clip));
    QCOMPARE(VELTransparentClipView::opaqueAncestor(clip), clip);
}

void TransparentViewsTest::imageViewLaysItsPictureAtTheBottomLeftOverWhatIsBehind()
{
    QImage picture(10, 10, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(255, 0, 0, 128));
    VELTransparentImageView view;
    view.resize(30, 30);
    view.setImage(picture);
    QImage shown(30, 30, QImage::Format_ARGB32_Premultiplied);
    shown.fill(Qt::white);
    shown.setPixelColor(5, 25, Qt::transparent); // nothing behind: nothing shows
    view.render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());

    QVERIFY(near(shown.pixelColor(0, 29), QColor(255, 127, 127)));
    QVERIFY(near(shown.pixelColor(9, 20), QColor(255, 127, 127)));
    QCOMPARE(shown.pixelColor(0, 19), QColor(Qt::white)); // above the picture
    QCOMPARE(shown.pixelColor(10, 29), QColor(Qt::white)); // right of it
    QCOMPARE(shown.pixelColor(5, 25).alpha(), 0);
}

void TransparentViewsTest::needsVerticalScrollerForFrame_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<qreal>("frameHeight");
    QTest::addColumn<bool>("needed");
    QTest::newRow("5 of 17 fit in 100") << 5 << 100.0 << false;
    QTest::newRow("6 rows in 100") << 6 << 100.0 << true;
    QTest::newRow("partly visible row does not fit") << 1 << 16.9 << true;
    QTest::newRow("no rows") << 0 << 0.0 << false;
}

void TransparentViewsTest::needsVerticalScrollerForFrame()
{
    QFETCH(int, rows);
    QFETCH(qreal, frameHeight);
    QFETCH(bool, needed);
    QTableView table;
    QStandardItemModel model(rows, 1);
    table.setModel(&model);
    table.verticalHeader()->setMinimumSectionSize(1);
    table.verticalHeader()->setDefaultSectionSize(17);
    QCOMPARE(::needsVerticalScrollerForFrame(table, QRectF(0, 0, 200, frameHeight)), needed);
}

QTEST_MAIN(TransparentViewsTest)
#include "TransparentViewsTest.moc"
