#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// The typed front of the application's settings, over UserDefaults::standardUserDefaults()
// (the application installs a SettingsUserDefaults there at start). Every key the program
// reads or writes has its accessor here; absent keys read as 0, false or nothing, except
// where a default is stated. Writes reach the store at once.
// Main thread only: the background cache and the search-done flag take no lock.
class Preferences {
public:
    Preferences() = delete;

    // 0: open on more servers and iconize again when the list empties; 1: open on every
    // change; anything else: never open or close automatically.
    static int autoOpen();
    static void setAutoOpen(int autoOpen);
    // The engine's speed, -1 (slowest) to 2 (fastest). Values above 3 are refused by an
    // assertion failure ("Values >=4 for PollSpeed are unsupported") and nothing is stored.
    static int pollSpeed();
    static void setPollSpeed(int pollSpeed);

    static bool transparentHeaderView();
    static void setTransparentHeaderView(bool transparent);
    static bool transparentTableRows();
    static void setTransparentTableRows(bool transparent);
    static bool promptBeforeQuit();
    static void setPromptBeforeQuit(bool prompt);
    static bool startsIconized();
    static void setStartsIconized(bool iconized);
    static bool fakeIt();
    static void setFakeIt(bool fakeIt);
    // "" when absent.
    static QString message();
    static void setMessage(const QString& message);
    static bool miniaturizeOnDoubleClick();
    static std::uint32_t broadcastAddress();

    // Writing nothing removes the key.
    static std::optional<QString> backgroundImageName();
    static void setBackgroundImageName(const std::optional<QString>& name);
    // The window background: the picture at the stored name, else the one set for this
    // run, else the embedded swirl tile. A stored name that gives no picture (missing,
    // undecodable or too large to decode safely) is removed from the store. Callers
    // detect a new picture by a changed cacheKey(): it stays the same until the stored
    // name or the cached picture changes.
    static QImage backgroundImage();
    // Makes the picture the background for this run; the store is not written. A stored
    // name that differs from this one replaces it at the next backgroundImage().
    static void setBackgroundImage(const QImage& image, const std::optional<QString>& name = std::nullopt);
    static void resetBackground();

    static std::optional<QString> autoStartPath();
    static void setAutoStartPath(const QString& path);

    // The stored game location, or the result of a search run at most once until reset();
    // "" when unknown. A found location is stored.
    static QString q3TestPath();
    static std::optional<QString> _q3TestPath();
    static void setQ3TestPath(const QString& path);
    // The search itself: a stored location (even an empty one), else the first directory
    // of searchDirectories() that holds a directory "Q3Test.app", else "".
    static QString guessFindQ3Test();
    // The directory joined with "Q3Test.app" when that is an existing directory.
    static std::optional<QString> expandExistsAtPath(const QString& directory);
    // The fixed game folders, then the places where games and applications live here.
    static QStringList searchDirectories();
    // Tests replace the directories searched; nullopt restores the real ones.
    static void overrideSearchDirectories(const std::optional<QStringList>& directories);

    // Erases every stored setting of the application, forgets the search and the
    // background picture.
    static void reset();
};
