#pragma once

#include "platform/UserDefaults.h"

#include <QString>
#include <mutex>

// The user-defaults store of the application on disk, through QSettings (INI format).
// Safe from any thread: every access uses its own short-lived QSettings, the documented
// way to share one file between threads, and the mutex orders them within the process.
// Values written as flags or integers may read back as text after a restart; the typed
// reads of UserDefaults convert them.
class SettingsUserDefaults final : public UserDefaults {
public:
    static constexpr const char* OrganizationName = "Harkener";
    static constexpr const char* ApplicationName = "Harkener";

    // The per-user store (~/.config/Harkener/Harkener.ini by default).
    SettingsUserDefaults();
    // A store in the given file; tests use a temporary one.
    explicit SettingsUserDefaults(QString fileName);

    const QString& fileName() const { return m_fileName; }
    // False when the file existed but could not be read or parsed; the store then starts
    // empty (and says so in the log), and the next write replaces the file.
    bool wasReadable() const { return m_readable; }

    std::optional<Value> objectForKey(const std::string& key) const override;
    void setObject(const std::string& key, Value value) override;
    void removeObjectForKey(const std::string& key) override;
    void removePersistentDomain() override;

private:
    void checkReadable();

    QString m_fileName;
    bool m_readable = true;
    mutable std::mutex m_mutex;
};
