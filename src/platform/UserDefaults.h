#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

// The application's persistent settings: a key-value store whose values are flags,
// integers and strings. Absent keys read as NO, 0 or nothing. The process-wide store is
// an in-memory one until the application installs its own (backed by QSettings).
class UserDefaults {
public:
    using Value = std::variant<bool, std::int64_t, std::string>;

    virtual ~UserDefaults() = default;

    static UserDefaults& standardUserDefaults();
    // Replaces the process-wide store; call before any thread reads settings.
    static void setStandardUserDefaults(std::unique_ptr<UserDefaults> defaults);

    virtual std::optional<Value> objectForKey(const std::string& key) const = 0;
    virtual void setObject(const std::string& key, Value value) = 0;
    virtual void removeObjectForKey(const std::string& key) = 0;
    // Erases every key of the application's domain.
    virtual void removePersistentDomain() = 0;

    // Typed reads with the usual conversions: a number reads as its decimal text, a
    // numeric text as its number, "YES"/"true"/non-zero as a set flag.
    std::optional<std::string> stringForKey(const std::string& key) const;
    std::int64_t integerForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;

    void setString(const std::string& key, std::string value) { setObject(key, Value(std::move(value))); }
    void setInteger(const std::string& key, std::int64_t value) { setObject(key, Value(value)); }
    void setBool(const std::string& key, bool value) { setObject(key, Value(value)); }
};

// A store that lives in memory only: the default store, and the one tests use.
class InMemoryUserDefaults final : public UserDefaults {
public:
    std::optional<Value> objectForKey(const std::string& key) const override;
    void setObject(const std::string& key, Value value) override;
    void removeObjectForKey(const std::string& key) override;
    void removePersistentDomain() override;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, Value> m_values;
};
