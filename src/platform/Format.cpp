#include "platform/Format.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

std::string stringWithFormat(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string result = stringWithFormatV(format, arguments);
    va_end(arguments);
    return result;
}

std::string stringWithFormatV(const char* format, va_list arguments)
{
    va_list measuring;
    va_copy(measuring, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0)
        return {};
    std::string result(static_cast<size_t>(length), '\0');
    std::vsnprintf(result.data(), result.size() + 1, format, arguments);
    return result;
}

std::string errnoText()
{
    // strerror is not thread-safe; the GNU strerror_r returns the text it used.
    char buffer[256];
    return strerror_r(errno, buffer, sizeof buffer);
}
