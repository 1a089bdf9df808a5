#include "platform/UserDefaults.h"

#include <charconv>

namespace {

std::unique_ptr<UserDefaults>& standardStore()
{
    static std::unique_ptr<UserDefaults> store = std::make_unique<InMemoryUserDefaults>();
    return store;
}

std::optional<std::int64_t> parseInteger(const std::string& text)
{
    std::int64_t value = 0;
    const char* begin = text.data();
    while (begin != text.data() + text.size() && (*begin == ' ' || *begin == '\t'))
        ++begin;
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end == begin)
        return std::nullopt;
    return value;
}

}

UserDefaults& UserDefaults::standardUserDefaults()
{
    return *standardStore();
}

void UserDefaults::setStandardUserDefaults(std::unique_ptr<UserDefaults> defaults)
{
    standardStore() = std::move(defaults);
}

std::optional<std::string> UserDefaults::stringForKey(const std::string& key) const
{
    auto value = objectForKey(key);
    if (!value)
        return std::nullopt;
    if (auto* text = std::get_if<std::string>(&*value))
        return *text;
    if (auto* number = std::get_if<std::int64_t>(&*value))
        return std::to_string(*number);
    return std::get<bool>(*value) ? "1" : "0";
}

std::int64_t UserDefaults::integerForKey(const std::string& key) const
{
    auto value = objectForKey(key);
    if (!value)
        return 0;
    if (auto* number = std::get_if<std::int64_t>(&*value))
        return *number;
    if (auto* flag = std::get_if<bool>(&*value))
        return *flag ? 1 : 0;
    return parseInteger(std::get<std::string>(*value)).value_or(0);
}

bool UserDefaults::boolForKey(const std::string& key) const
{
    auto value = objectForKey(key);
    if (!value)
        return false;
    if (auto* flag = std::get_if<bool>(&*value))
        return *flag;
    if (auto* number = std::get_if<std::int64_t>(&*value))
        return *number != 0;
    const auto& text = std::get<std::string>(*value);
    if (text == "YES" || text == "yes" || text == "true" || text == "TRUE")
        return true;
    return parseInteger(text).value_or(0) != 0;
}

std::optional<UserDefaults::Value> InMemoryUserDefaults::objectForKey(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_values.find(key);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

void InMemoryUserDefaults::setObject(const std::string& key, Value value)
{
    std::lock_guard lock(m_mutex);
    m_values[key] = std::move(value);
}

void InMemoryUserDefaults::removeObjectForKey(const std::string& key)
{
    std::lock_guard lock(m_mutex);
    m_values.erase(key);
}

void InMemoryUserDefaults::removePersistentDomain()
{
    std::lock_guard lock(m_mutex);
    m_values.clear();
}
