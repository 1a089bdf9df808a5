#include "platform/Exception.h"
#include "platform/Format.h"

#include <cstdarg>

Exception::Exception(std::string name, std::string reason, UserInfo userInfo)
    : m_name(std::move(name))
    , m_reason(std::move(reason))
    , m_userInfo(std::move(userInfo))
{
}

void Exception::raise(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string reason = stringWithFormatV(format, arguments);
    va_end(arguments);
    throw Exception(GenericException, std::move(reason));
}

void Exception::raiseNamed(const char* name, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string reason = stringWithFormatV(format, arguments);
    va_end(arguments);
    throw Exception(name, std::move(reason));
}
