#pragma once

#include <map>
#include <stdexcept>
#include <string>

// A failure as the system reports it: a name that tells its kind, a human-readable
// reason and optional user info. Raised by value, caught by const reference.
class Exception : public std::exception {
public:
    using UserInfo = std::map<std::string, std::string>;

    // The kinds the system raises; any other name (such as "FatalException") is fine too.
    static constexpr const char* GenericException = "NSGenericException";
    static constexpr const char* InternalInconsistencyException = "NSInternalInconsistencyException";
    static constexpr const char* RangeException = "NSRangeException";
    static constexpr const char* MallocException = "NSMallocException";
    static constexpr const char* FatalException = "FatalException";

    Exception(std::string name, std::string reason, UserInfo userInfo = {});

    // Raises a generic exception whose reason is formatted like printf.
    [[noreturn]] static void raise(const char* format, ...) __attribute__((format(printf, 1, 2)));
    // Raises an exception of the given kind whose reason is formatted like printf.
    [[noreturn]] static void raiseNamed(const char* name, const char* format, ...) __attribute__((format(printf, 2, 3)));

    const std::string& name() const { return m_name; }
    const std::string& reason() const { return m_reason; }
    const UserInfo& userInfo() const { return m_userInfo; }

    const char* what() const noexcept override { return m_reason.c_str(); }

private:
    std::string m_name;
    std::string m_reason;
    UserInfo m_userInfo;
};
