#include "app/Preferences.h"
#include "app/SettingsUserDefaults.h"
#include "artwork/EmbeddedPictures.h"
#include "platform/Exception.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

UserDefaults& store() { return UserDefaults::standardUserDefaults(); }

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}

class PreferencesTest : public QObject {
    Q_OBJECT

public:
    PreferencesTest()
    {
        // Nothing here may touch the user's real settings, whatever a test does.
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_root.path());
    }

private:
    QString path(const QString& name) const { return m_root.filePath(name); }

    QTemporaryDir m_root;
    int m_case = 0;

private slots:
    void init()
    {
        // A fresh store file and empty game folders for every test.
        ++m_case;
        UserDefaults::setStandardUserDefaults(
            std::make_unique<SettingsUserDefaults>(path(QString("settings-%1.conf").arg(m_case))));
        Preferences::reset();
        QDir(m_root.path()).mkpath(QString("games-%1/a").arg(m_case));
        QDir(m_root.path()).mkpath(QString("games-%1/b").arg(m_case));
        Preferences::overrideSearchDirectories(QStringList { gameFolder("a"), gameFolder("b") });
    }

    void cleanupTestCase()
    {
        Preferences::overrideSearchDirectories(std::nullopt);
        UserDefaults::setStandardUserDefaults(std::make_unique<InMemoryUserDefaults>());
    }

    void emptyStoreReadsAsDefaults()
    {
        QCOMPARE(Preferences::autoOpen(), 0);
        QCOMPARE(Preferences::pollSpeed(), 0);
        QVERIFY(!Preferences::transparentHeaderView() && !Preferences::transparentTableRows());
        QVERIFY(!Preferences::promptBeforeQuit() && !Preferences::startsIconized());
        QVERIFY(!Preferences::fakeIt() && !Preferences::miniaturizeOnDoubleClick());
        QCOMPARE(Preferences::message(), QString(""));
        QVERIFY(!Preferences::message().isNull());
        QVERIFY(!Preferences::autoStartPath());
        QVERIFY(!Preferences::backgroundImageName());
        QCOMPARE(Preferences::broadcastAddress(), 0u);
    }

    void settingsSurviveARestart()
    {
        Preferences::setAutoOpen(2);
        Preferences::setPollSpeed(-1);
        Preferences::setPromptBeforeQuit(true);
        Preferences::setStartsIconized(true);
        Preferences::setTransparentTableRows(false);
        Preferences::setMessage("frag = fun; [x] \"y\" \u00e4");
        Preferences::setAutoStartPath("/usr/bin/true");
        // A second store on the same file stands for the next run.
        UserDefaults::setStandardUserDefaults(
            std::make_unique<SettingsUserDefaults>(path(QString("settings-%1.conf").arg(m_case))));
        QCOMPARE(Preferences::autoOpen(), 2);
        QCOMPARE(Preferences::pollSpeed(), -1);
        QVERIFY(Preferences::promptBeforeQuit() && Preferences::startsIconized());
        QVERIFY(!Preferences::transparentTableRows());
        QCOMPARE(Preferences::message(), QString("frag = fun; [x] \"y\" \u00e4"));
        QCOMPARE(Preferences::autoStartPath(), std::optional<QString>("/usr/bin/true"));
    }

    void pollSpeedRefusesOnlyValuesAboveThree_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<bool>("stored");
        QTest::newRow("slowest") << -1 << true;
        QTest::newRow("fastest the engine knows") << 2 << true;
        QTest::newRow("three") << 3 << true;
        QTest::newRow("four") << 4 << false;
        QTest::newRow("huge") << 1000 << false;
    }

    void pollSpeedRefusesOnlyValuesAboveThree()
    {
        QFETCH(int, speed);
        QFETCH(bool, stored);
        Preferences::setPollSpeed(1);
        if (stored) {
            Preferences::setPollSpeed(speed);
            QCOMPARE(Preferences::pollSpeed(), speed);
            return;
        }
        try {
            Preferences::setPollSpeed(speed);
            QFAIL("no exception");
        } catch (const Exception& exception) {
            QCOMPARE(exception.name(), std::string(Exception::InternalInconsistencyException));
            QVERIFY(exception.reason().find("Values >=4 for PollSpeed are unsupported") != std::string::npos);
        }
        QCOMPARE(Preferences::pollSpeed(), 1);
    }

    void backgroundDefaultsToTheEmbeddedTile()
    {
        const QImage first = Preferences::backgroundImage();
        QCOMPARE(first.cacheKey(), Psycho2TiffSharedImage().cacheKey());
        QCOMPARE(Preferences::backgroundImage().cacheKey(), first.cacheKey());
    }

    void storedBackgroundFileIsLoadedOnce()
    {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkRed);
        QVERIFY(picture.save(path("wall.png")));
        Preferences::setBackgroundImageName(path("wall.png"));
        const QImage loaded = Preferences::backgroundImage();
        QCOMPARE(loaded.size(), QSize(40, 30));
        QCOMPARE(Preferences::backgroundImage().cacheKey(), loaded.cacheKey());
        Preferences::setBackgroundImageName(std::nullopt);
        QVERIFY(!Preferences::backgroundImageName());
    }

    void badBackgroundFallsBackAndIsForgotten_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("missing") << "missing.png" << QByteArray();
        QTest::newRow("not a picture") << "noise.png" << QByteArray("\x89PNG\r\n\x1a\n garbage garbage");
        // A complete 9000 x 9000 bitmap would take 300 MB as a picture: refused unread.
        QTest::newRow("too large") << "huge.pbm" << QByteArray("P4\n9000 9000\n") + QByteArray(9000 / 8 * 9000, '\0');
    }

    void badBackgroundFallsBackAndIsForgotten()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        if (!contents.isEmpty())
            writeFile(path(file), contents);
        Preferences::setBackgroundImageName(path(file));
        QCOMPARE(Preferences::backgroundImage().cacheKey(), Psycho2TiffSharedImage().cacheKey());
        QVERIFY(!Preferences::backgroundImageName());
    }

    void pictureSetForTheRunWinsUntilReset()
    {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        Preferences::setBackgroundImage(picture);
        QCOMPARE(Preferences::backgroundImage().cacheKey(), picture.cacheKey());
        Preferences::reset();
        QCOMPARE(Preferences::backgroundImage().cacheKey(), Psycho2TiffSharedImage().cacheKey());
    }

    void storedGamePathIsTakenAsItIs_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("not on disk") << "/nowhere/Q3Test.app";
        QTest::newRow("empty") << "";
    }

    void storedGamePathIsTakenAsItIs()
    {
        QFETCH(QString, stored);
        QDir().mkpath(gameFolder("a") + "/Q3Test.app");
        Preferences::setQ3TestPath(stored);
        QCOMPARE(Preferences::q3TestPath(), stored);
    }

    void searchTakesTheFirstFolderWithTheGameDirectory()
    {
        writeFile(gameFolder("a") + "/Q3Test.app", "a plain file is no game");
        QDir().mkpath(gameFolder("b") + "/Q3Test.app");
        QCOMPARE(Preferences::q3TestPath(), gameFolder("b") + "/Q3Test.app");
        QCOMPARE(Preferences::_q3TestPath(), std::optional<QString>(gameFolder("b") + "/Q3Test.app"));

        QFile::remove(gameFolder("a") + "/Q3Test.app");
        QDir().mkpath(gameFolder("a") + "/Q3Test.app");
        Preferences::reset();
        QCOMPARE(Preferences::q3TestPath(), gameFolder("a") + "/Q3Test.app");
    }

    void fruitlessSearchRunsOnceUntilReset()
    {
        QCOMPARE(Preferences::q3TestPath(), QString(""));
        QVERIFY(!Preferences::_q3TestPath());
        QDir().mkpath(gameFolder("b") + "/Q3Test.app");
        QCOMPARE(Preferences::q3TestPath(), QString(""));
        Preferences::reset();
        QCOMPARE(Preferences::q3TestPath(), gameFolder("b") + "/Q3Test.app");
    }

    void resetErasesEveryKey()
    {
        const char* keys[] = { "autoOpen", "pollSpeed", "message", "Q3TestPath", "netmask", "MailService",
                               "WWWService", "NSMiniWindowStyle", "backgroundImageName" };
        for (const char* key : keys)
            store().setString(key, "1");
        Preferences::reset();
        for (const char* key : keys)
            QVERIFY2(!store().objectForKey(key), key);
    }

    void unreadableSettingsFileStartsWithDefaults()
    {
        const QString file = path("broken.conf");
        writeFile(file, QByteArray("\x01\x02\xff\xfe[General\npollSpeed"));
        std::vector<std::string> lines;
        setLogSink([&lines](const std::string& line) { lines.push_back(line); });
        auto broken = std::make_unique<SettingsUserDefaults>(file);
        setLogSink({});
        QVERIFY(!broken->wasReadable());
        QCOMPARE(lines.size(), std::size_t(1));
        QVERIFY(lines[0].find("could not be read") != std::string::npos);
        QVERIFY(!broken->objectForKey("pollSpeed"));
        // The next change is saved; the bad file is kept aside for the curious.
        broken->setInteger("pollSpeed", 2);
        QCOMPARE(SettingsUserDefaults(file).integerForKey("pollSpeed"), 2);
        QVERIFY(QFile::exists(file + ".unreadable"));
    }

private:
    QString gameFolder(const char* name) const { return path(QString("games-%1/%2").arg(m_case).arg(name)); }
};

QTEST_GUILESS_MAIN(PreferencesTest)

#include "PreferencesTest.moc"
