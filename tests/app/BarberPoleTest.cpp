#include "app/BarberPole.h"

#include <QTest>

namespace {

// A window of one plain colour with the pole on it.
struct PoleOnWindow {
    QWidget window;
    BarberPole* pole = new BarberPole(&window);

    explicit PoleOnWindow(QColor colour)
    {
        paint(colour);
        window.resize(100, 40);
        pole->setGeometry(10, 10, 74, 10);
    }
    void paint(QColor colour)
    {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, colour);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
    }
    // The pole's top left pixel lies outside its rounded frame: the window shows there.
    QColor cornerPixel() { return window.grab().toImage().pixelColor(10, 10); }
};

}

class BarberPoleTest : public QObject {
    Q_OBJECT
private slots:
    void stepsOnlyWhileSeen()
    {
        PoleOnWindow fixture(Qt::red);
        BarberPole& pole = *fixture.pole;
        pole.startAnimation();
        QVERIFY(pole.isAnimating());
        QVERIFY(!pole.isStepping()); // the window was never shown

        fixture.window.show();
        QVERIFY(pole.isStepping());
        fixture.window.setWindowState(Qt::WindowMinimized);
        QVERIFY(!pole.isStepping());
        QVERIFY(pole.isAnimating());
        fixture.window.setWindowState(Qt::WindowNoState);
        QVERIFY(pole.isStepping());
        fixture.window.hide();
        QVERIFY(!pole.isStepping());
        fixture.window.show();
        QVERIFY(pole.isStepping());

        pole.stopAnimation();
        QVERIFY(!pole.isStepping());
        QVERIFY(!pole.isAnimating());
        fixture.window.hide();
        fixture.window.show();
        QVERIFY(!pole.isStepping());
    }

    void paintsTheWindowUnderItsCorners()
    {
        PoleOnWindow fixture(Qt::red);
        fixture.pole->startAnimation();
        fixture.window.show();
        QCOMPARE(fixture.cornerPixel(), QColor(Qt::red));

        fixture.paint(Qt::blue);
        fixture.pole->backgroundChanged();
        QCOMPARE(fixture.cornerPixel(), QColor(Qt::blue));

        // Nobody tells the pole: the window's next paint makes it look again.
        fixture.paint(Qt::green);
        QTRY_COMPARE(fixture.cornerPixel(), QColor(Qt::green));
    }
};

int runBarberPoleTest(int argc, char** argv)
{
    BarberPoleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BarberPoleTest.moc"
