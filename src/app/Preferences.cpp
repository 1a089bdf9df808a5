#include "app/Preferences.h"

#include "artwork/EmbeddedPictures.h"
#include "platform/AssertionHandler.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace {

// A background is tiled behind the window; a picture that would take more memory than
// this is refused before it is decoded, so a hostile or mistaken file cannot exhaust
// memory. 64 MB hold 4096 x 4096 pixels.
constexpr int BackgroundAllocationLimitMegabytes = 64;

const char* const GameBundleName = "Q3Test.app";

struct BackgroundCache {
    QImage picture;
    std::optional<QString> name;
    bool holdsPicture = false;
};

BackgroundCache& background()
{
    static BackgroundCache cache;
    return cache;
}

bool& searchDone()
{
    static bool done = false;
    return done;
}

std::optional<QStringList>& searchOverride()
{
    static std::optional<QStringList> directories;
    return directories;
}

UserDefaults& store() { return UserDefaults::standardUserDefaults(); }

std::optional<QString> stringFor(const char* key)
{
    const auto value = store().stringForKey(key);
    if (!value)
        return std::nullopt;
    return QString::fromStdString(*value);
}

void setStringFor(const char* key, const QString& value) { store().setString(key, value.toStdString()); }

// No named pictures are registered, so a stored name is the path of a picture file.
QImage loadBackground(const QString& path)
{
    QImageReader reader(path);
    reader.setAllocationLimit(BackgroundAllocationLimitMegabytes);
    return reader.read();
}

}

int Preferences::autoOpen() { return int(store().integerForKey("autoOpen")); }
void Preferences::setAutoOpen(int autoOpen) { store().setInteger("autoOpen", autoOpen); }

int Preferences::pollSpeed() { return int(store().integerForKey("pollSpeed")); }

void Preferences::setPollSpeed(int pollSpeed)
{
    HK_ASSERT(pollSpeed < 4, "Preferences", 141, "Values >=4 for PollSpeed are unsupported");
    store().setInteger("pollSpeed", pollSpeed);
}

bool Preferences::transparentHeaderView() { return store().boolForKey("transparentHeaderView"); }
void Preferences::setTransparentHeaderView(bool transparent) { store().setBool("transparentHeaderView", transparent); }
bool Preferences::transparentTableRows() { return store().boolForKey("transparentTableRows"); }
void Preferences::setTransparentTableRows(bool transparent) { store().setBool("transparentTableRows", transparent); }
bool Preferences::promptBeforeQuit() { return store().boolForKey("promptBeforeQuit"); }
void Preferences::setPromptBeforeQuit(bool prompt) { store().setBool("promptBeforeQuit", prompt); }
bool Preferences::startsIconized() { return store().boolForKey("startsIconized"); }
void Preferences::setStartsIconized(bool iconized) { store().setBool("startsIconized", iconized); }
bool Preferences::fakeIt() { return store().boolForKey("fakeIt"); }
void Preferences::setFakeIt(bool fakeIt) { store().setBool("fakeIt", fakeIt); }
QString Preferences::message() { return stringFor("message").value_or(QString("")); }
void Preferences::setMessage(const QString& message) { setStringFor("message", message); }
bool Preferences::miniaturizeOnDoubleClick() { return store().boolForKey("NSMiniaturizeOnDoubleClick"); }
std::uint32_t Preferences::broadcastAddress() { return std::uint32_t(store().integerForKey("broadcastAddress")); }

std::optional<QString> Preferences::backgroundImageName() { return stringFor("backgroundImageName"); }

void Preferences::setBackgroundImageName(const std::optional<QString>& name)
{
    if (name)
        setStringFor("backgroundImageName", *name);
    else
        store().removeObjectForKey("backgroundImageName");
}

QImage Preferences::backgroundImage()
{
    auto& cache = background();
    if (const auto storedName = backgroundImageName()) {
        if (cache.holdsPicture && cache.name == storedName)
            return cache.picture;
        resetBackground();
        QImage picture = loadBackground(*storedName);
        if (!picture.isNull()) {
            cache = { picture, storedName, true };
            return picture;
        }
        setBackgroundImageName(std::nullopt);
    }
    if (!cache.holdsPicture)
        cache = { Psycho2TiffSharedImage(), QStringLiteral("psycho2"), true };
    return cache.picture;
}

void Preferences::setBackgroundImage(const QImage& image, const std::optional<QString>& name)
{
    background() = { image, name, true };
}

void Preferences::resetBackground() { background() = {}; }

std::optional<QString> Preferences::autoStartPath() { return stringFor("autoStartPath"); }
void Preferences::setAutoStartPath(const QString& path) { setStringFor("autoStartPath", path); }
std::optional<QString> Preferences::_q3TestPath() { return stringFor("Q3TestPath"); }
void Preferences::setQ3TestPath(const QString& path) { setStringFor("Q3TestPath", path); }

QString Preferences::q3TestPath()
{
    if (const auto stored = _q3TestPath(); stored && !stored->isEmpty())
        return *stored;
    if (searchDone())
        return QString("");
    const QString found = guessFindQ3Test();
    searchDone() = true;
    if (!found.isEmpty())
        setQ3TestPath(found);
    return found;
}

QString Preferences::guessFindQ3Test()
{
    if (const auto stored = _q3TestPath())
        return *stored;
    for (const QString& directory : searchDirectories()) {
        if (auto found = expandExistsAtPath(directory))
            return *found;
    }
    return QString("");
}

std::optional<QString> Preferences::expandExistsAtPath(const QString& directory)
{
    const QString path = QDir(directory).filePath(GameBundleName);
    if (!QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}

QStringList Preferences::searchDirectories()
{
    if (searchOverride())
        return *searchOverride();
    return {
        QStringLiteral("/Local/Applications/Games"),
        QStringLiteral("/Local/Applications/Spiele"),
        QStringLiteral("/Network/Applications/Games"),
        QStringLiteral("/Network/Applications/Spiele"),
        QDir::home().filePath(QStringLiteral("Applications")),
        QDir::home().filePath(QStringLiteral(".local/games")),
        QStringLiteral("/usr/local/games"),
        QStringLiteral("/usr/games"),
        QStringLiteral("/opt"),
    };
}

void Preferences::overrideSearchDirectories(const std::optional<QStringList>& directories)
{
    searchOverride() = directories;
}

void Preferences::reset()
{
    searchDone() = false;
    store().removePersistentDomain();
    resetBackground();
}
