#include "app/Preferences.h"
#include "app/PreferencesController.h"
#include "platform/UserDefaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "widgets/VELReplROP.h"

namespace {

struct Fixture {
    PreferencesController controller;
    QString chosen;

    Fixture()
    {
        controller.setGameChooser([this](QWidget*) { return chosen; });
        controller.awakeFromNib();
    }
    template<typename T>
    T* control(const char* name) const { return controller.window()->findChild<T*>(QString::fromLatin1(name)); }
    int selectedSpeedTag() const
    {
        for (auto* cell : controller.window()->findChildren<QRadioButton*>()) {
            if (cell->isChecked())
                return cell->property("tag").toInt();
        }
        return -99;
    }
};

}

class PreferencesControllerTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
        Preferences::overrideSearchDirectories(QStringList());
        Preferences::resetBackground();
    }

    void anEmptyStoreShowsTheDefaults()
    {
        Fixture fixture;
        fixture.controller.activate();
        QCOMPARE(fixture.selectedSpeedTag(), 0);
        QCOMPARE(fixture.control<QComboBox>("autoOpenButton")->currentData().toInt(), 0);
        QVERIFY(!fixture.control<QCheckBox>("iconizedButton")->isChecked());
        QVERIFY(!fixture.control<QCheckBox>("promptButton")->isChecked());
        QCOMPARE(fixture.control<QLineEdit>("fakeText")->text(), QString());
        QCOMPARE(fixture.control<QLineEdit>("path")->text(), QString());
    }

    void everyControlWritesItsSettingAtOnce()
    {
        Fixture fixture;
        fixture.controller.activate();
        fixture.control<QRadioButton>("speedSlowest")->click();
        QCOMPARE(Preferences::pollSpeed(), -1);
        fixture.control<QCheckBox>("iconizedButton")->click();
        QVERIFY(Preferences::startsIconized());
        fixture.control<QCheckBox>("promptButton")->click();
        QVERIFY(Preferences::promptBeforeQuit());
        auto* autoOpen = fixture.control<QComboBox>("autoOpenButton");
        autoOpen->setCurrentIndex(autoOpen->findData(1));
        emit autoOpen->activated(autoOpen->currentIndex());
        QCOMPARE(Preferences::autoOpen(), 1);
    }

    void aStoredValueSelectsItsControl()
    {
        Preferences::setPollSpeed(2);
        Preferences::setAutoOpen(7); // any value but 0 and 1 means never
        Preferences::setMessage(QStringLiteral("<b>not markup</b>"));
        Fixture fixture;
        fixture.controller.activate();
        QCOMPARE(fixture.selectedSpeedTag(), 2);
        QCOMPARE(fixture.control<QComboBox>("autoOpenButton")->currentData().toInt(), 2);
        QCOMPARE(fixture.control<QLineEdit>("fakeText")->text(), QStringLiteral("<b>not markup</b>"));
    }

    void locateStoresTheChoiceAndTheFieldFollowsAtTheNextOpening()
    {
        Preferences::setQ3TestPath(QStringLiteral("/Old/Q3Test.app"));
        Fixture fixture;
        fixture.controller.activate();
        fixture.chosen = QString(); // cancelled
        fixture.controller.pushLocate();
        QCOMPARE(Preferences::q3TestPath(), QStringLiteral("/Old/Q3Test.app"));

        fixture.chosen = QStringLiteral("/Games/Q3Test.app");
        fixture.controller.pushLocate();
        QCOMPARE(Preferences::q3TestPath(), QStringLiteral("/Games/Q3Test.app"));
        QCOMPARE(fixture.control<QLineEdit>("path")->text(), QStringLiteral("/Old/Q3Test.app"));
        fixture.controller.activate();
        QCOMPARE(fixture.control<QLineEdit>("path")->text(), QStringLiteral("/Games/Q3Test.app"));
    }

    void confirmingAnAppBundleInTheDialogPicksIt()
    {
        QTemporaryDir games;
        QVERIFY(QDir(games.path()).mkdir(QStringLiteral("Q3Test.app")));
        const QString bundle = games.filePath(QStringLiteral("Q3Test.app"));
        QTimer::singleShot(0, [&] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                dialog->setDirectory(games.path());
                dialog->selectFile(bundle);
                QMetaObject::invokeMethod(dialog, "accept"); // the Open button
            }
        });
        // Never leave a dialog open on a failure.
        QTimer::singleShot(5000, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QCOMPARE(PreferencesController::chooseGameWithDialog(nullptr), bundle);
    }

    void resetShowsTheDefaultsAndTheDefaultBackground()
    {
        Preferences::setPollSpeed(2);
        Preferences::setStartsIconized(true);
        Preferences::setPromptBeforeQuit(true);
        Preferences::setAutoOpen(1);
        Fixture fixture;
        QImage dropped(40, 40, QImage::Format_RGB32);
        dropped.fill(Qt::red);
        auto* background = fixture.control<VELReplROP>("bottomView");
        QVERIFY(background->setImage(dropped));
        QCOMPARE(Preferences::backgroundImage().cacheKey(), dropped.cacheKey());

        fixture.controller.pushReset();
        QCOMPARE(fixture.selectedSpeedTag(), 0);
        QCOMPARE(fixture.control<QComboBox>("autoOpenButton")->currentData().toInt(), 0);
        QVERIFY(!fixture.control<QCheckBox>("iconizedButton")->isChecked());
        QVERIFY(!fixture.control<QCheckBox>("promptButton")->isChecked());
        QVERIFY(Preferences::backgroundImage().cacheKey() != dropped.cacheKey());
        QCOMPARE(background->image().cacheKey(), Preferences::backgroundImage().cacheKey());
    }
};

int runPreferencesControllerTest(int argc, char** argv)
{
    PreferencesControllerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PreferencesControllerTest.moc"
