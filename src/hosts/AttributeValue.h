#pragma once

#include "net/Ip.h"

#include <chrono>
#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>

class InfoResponse;

using Date = std::chrono::system_clock::time_point;

// One attribute of a host entry: an address, a number, a text, a date or a server's info
// response. Immutable; description() is the text a table cell shows for it.
class AttributeValue {
public:
    using Variant = std::variant<Ip, std::int64_t, std::string, Date, std::shared_ptr<const InfoResponse>>;

    AttributeValue(Ip ip) : m_value(ip) { }
    template<std::integral Integer>
    AttributeValue(Integer number) : m_value(static_cast<std::int64_t>(number)) { }
    AttributeValue(std::string text) : m_value(std::move(text)) { }
    AttributeValue(const char* text) : m_value(std::string(text)) { }
    AttributeValue(Date date) : m_value(date) { }
    AttributeValue(std::shared_ptr<const InfoResponse> response) : m_value(std::move(response)) { }

    const Variant& variant() const { return m_value; }
    template<typename T>
    const T* get() const { return std::get_if<T>(&m_value); }

    // Dotted address, decimal number, the text itself, "2026-12-11 15:17:45 +0000"
    // (UTC), or the info response's own description.
    std::string description() const;

    // Info responses compare by their own equality (the required keys), the rest by value.
    bool operator==(const AttributeValue& other) const;

private:
    Variant m_value;
};
