// The borderless window and its two buttons, driven by QTest events with an injected clock.
#include "widgets/VELBorderLessWindow.h"
#include "widgets/VELDragURLButton.h"
#include "widgets/VELDragWindowButton.h"

#include "platform/UserDefaults.h"

#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

struct FakeClock {
    std::chrono::milliseconds now{1000};
    VELClock clock()
    {
        return [this] { return now; };
    }
};

// A window at a known place with one button filling a 100 x 40 area at 10, 10.
template<typename Button>
struct Rig {
    Rig()
    {
        window.resize(200, 100);
        window.move(300, 200);
        button = new Button(QStringLiteral("user@example.org"), &window);
        button->setGeometry(10, 10, 100, 40);
        button->setClock(clock.clock());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    VELBorderLessWindow window;
    Button* button = nullptr;
    FakeClock clock;
    const QPoint at{50, 20};
};

class RecordingURLButton : public VELDragURLButton {
public:
    using VELDragURLButton::VELDragURLButton;
    QStringList draggedTexts;
    QList<QImage> draggedPictures;

protected:
    void execDrag(QMimeData* mime, const QImage& picture, const QPoint&) override
    {
        draggedTexts.append(mime->text());
        draggedPictures.append(picture);
        delete mime;
    }
};

void setMiniaturizeOnDoubleClick(std::optional<bool> value)
{
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (value)
        defaults.setBool("NSMiniaturizeOnDoubleClick", *value);
    else
        defaults.removeObjectForKey("NSMiniaturizeOnDoubleClick");
    VELDragWindowButton::resetCachedDoubleClickSetting();
}

// What a window system delivers for a double click; QTest's double click alone sends only
// the second press.
void doubleClick(QWidget* widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void pollOnce(VELDragWindowButton* button)
{
    QVERIFY(QMetaObject::invokeMethod(button, "poll"));
}

} // namespace

class WindowButtonsTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsFramelessWhateverItsFlags_data();
    void windowIsFramelessWhateverItsFlags();
    void quickPressIsOneClickAndNoMove();
    void doubleClickMiniaturisesOnlyWithTheSetting_data();
    void doubleClickMiniaturisesOnlyWithTheSetting();
    void doubleClickSettingIsReadOnce();
    void heldPressFollowsAMoveOfTwoPointsAtTheNextPoll();
    void movesOfOnePointWaitForTheRelease();
    void addressButtonQuickReleaseIsAClick();
    void addressButtonHeldStillStartsADragOfItsTitle();
    void addressButtonMovedStartsADragAndNoClick();
    void dragPictureHasOutlineRingAndContent();
};

void WindowButtonsTest::windowIsFramelessWhateverItsFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::newRow("none") << 0;
    QTest::newRow("titled window") << int(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    QTest::newRow("dialog") << int(Qt::Dialog);
}

void WindowButtonsTest::windowIsFramelessWhateverItsFlags()
{
    QFETCH(int, flags);
    VELBorderLessWindow made(nullptr, Qt::WindowFlags(flags));
    QVERIFY(made.isWindow());
    QVERIFY(made.windowFlags() & Qt::FramelessWindowHint);

    // Flags set afterwards are put right before the window is shown.
    VELBorderLessWindow changed;
    changed.setWindowFlags(Qt::WindowFlags(flags) | Qt::Window);
    changed.show();
    QVERIFY(changed.windowFlags() & Qt::FramelessWindowHint);
}

void WindowButtonsTest::quickPressIsOneClickAndNoMove()
{
    Rig<VELDragWindowButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    const QPoint origin = rig.window.pos();
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    rig.clock.now += 60ms;
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(rig.window.pos(), origin);
    QVERIFY(!rig.button->isDown());
}

void WindowButtonsTest::doubleClickMiniaturisesOnlyWithTheSetting_data()
{
    QTest::addColumn<std::optional<bool>>("setting");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("minimized");
    QTest::newRow("absent") << std::optional<bool>() << 2 << false;
    QTest::newRow("off") << std::optional<bool>(false) << 2 << false;
    QTest::newRow("on") << std::optional<bool>(true) << 1 << true;
}

void WindowButtonsTest::doubleClickMiniaturisesOnlyWithTheSetting()
{
    QFETCH(std::optional<bool>, setting);
    QFETCH(int, clicks);
    QFETCH(bool, minimized);
    setMiniaturizeOnDoubleClick(setting);
    Rig<VELDragWindowButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    doubleClick(rig.button, rig.at);
    QCOMPARE(clicked.size(), clicks);
    QCOMPARE(rig.window.isMinimized(), minimized);
}

void WindowButtonsTest::doubleClickSettingIsReadOnce()
{
    setMiniaturizeOnDoubleClick(false);
    Rig<VELDragWindowButton> rig;
    QTest::mouseClick(rig.button, Qt::LeftButton, {}, rig.at); // reads the setting
    UserDefaults::standardUserDefaults().setBool("NSMiniaturizeOnDoubleClick", true);
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    doubleClick(rig.button, rig.at);
    QCOMPARE(clicked.size(), 2);
    QVERIFY(!rig.window.isMinimized());
}

void WindowButtonsTest::heldPressFollowsAMoveOfTwoPointsAtTheNextPoll()
{
    QVERIFY(VELDragWindowButton::pollInterval <= 1000ms / 30);
    Rig<VELDragWindowButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    const QPoint origin = rig.window.pos();
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    rig.clock.now += 150ms;
    QTest::mouseMove(rig.button, rig.at + QPoint(2, 0));
    QTRY_COMPARE_WITH_TIMEOUT(rig.window.pos(), origin + QPoint(2, 0), 2000);
    // The window moved under the pointer, which is again where it was pressed.
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at);
    QCOMPARE(rig.window.pos(), origin + QPoint(2, 0));
    QCOMPARE(clicked.size(), 0);
    QVERIFY(rig.button->hasFocus());
}

void WindowButtonsTest::movesOfOnePointWaitForTheRelease()
{
    Rig<VELDragWindowButton> rig;
    const QPoint origin = rig.window.pos();
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    rig.clock.now += 150ms;
    QTest::mouseMove(rig.button, rig.at + QPoint(1, -1));
    for (int poll = 0; poll < 5; ++poll)
        pollOnce(rig.button);
    QCOMPARE(rig.window.pos(), origin);
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at + QPoint(1, -1));
    QCOMPARE(rig.window.pos(), origin + QPoint(1, -1));
}

void WindowButtonsTest::addressButtonQuickReleaseIsAClick()
{
    Rig<RecordingURLButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    rig.clock.now += 250ms;
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at);
    QCOMPARE(clicked.size(), 1);
    QVERIFY(rig.button->draggedTexts.isEmpty());
}

void WindowButtonsTest::addressButtonHeldStillStartsADragOfItsTitle()
{
    Rig<RecordingURLButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    QTRY_COMPARE_WITH_TIMEOUT(rig.button->draggedTexts, QStringList{QStringLiteral("user@example.org")}, 3000);
    QCOMPARE(rig.button->draggedPictures.first().size(), rig.button->size() + QSize(4, 4));
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at);
    QCOMPARE(clicked.size(), 0);
}

void WindowButtonsTest::addressButtonMovedStartsADragAndNoClick()
{
    Rig<RecordingURLButton> rig;
    QSignalSpy clicked(rig.button, &QAbstractButton::clicked);
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    QTest::mouseMove(rig.button, rig.at + QPoint(1, 0));
    QCOMPARE(rig.button->draggedTexts.size(), 1);
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at + QPoint(1, 0));
    QCOMPARE(clicked.size(), 0);

    // A release the busy event loop delivers after the hold time is no click either.
    QTest::mousePress(rig.button, Qt::LeftButton, {}, rig.at);
    rig.clock.now += 400ms;
    QTest::mouseRelease(rig.button, Qt::LeftButton, {}, rig.at);
    QCOMPARE(clicked.size(), 0);
}

void WindowButtonsTest::dragPictureHasOutlineRingAndContent()
{
    VELDragURLButton button(QStringLiteral("x"));
    button.resize(20, 10);
    const QImage picture = button.dragImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(picture.size(), QSize(24, 14));
    const QList<QPoint> outline{{0, 0}, {23, 0}, {0, 13}, {23, 13}, {12, 0}, {0, 7}, {23, 7}, {12, 13}};
    for (const QPoint& point : outline)
        QCOMPARE(picture.pixel(point), qRgba(0, 0, 0, 255));
    const QList<QPoint> ring{{1, 1}, {22, 1}, {1, 12}, {22, 12}, {12, 1}, {1, 7}};
    for (const QPoint& point : ring)
        QCOMPARE(qAlpha(picture.pixel(point)), 0);
    // The content: the pale fill under the button's drawing, laid at 95% opacity.
    for (const QPoint& point : QList<QPoint>{{2, 2}, {21, 11}, {12, 7}}) {
        const int alpha = qAlpha(picture.pixel(point));
        QVERIFY2(alpha >= 180 && alpha <= 243, qPrintable(QString::number(alpha)));
    }
}

QTEST_MAIN(WindowButtonsTest)
#include "WindowButtonsTest.moc"
