#pragma once

#include <cstdarg>
#include <string>

// printf-style formatting into a std::string; the system's messages are printf formats.
std::string stringWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string stringWithFormatV(const char* format, va_list arguments) __attribute__((format(printf, 1, 0)));

// The text of the current errno, as failing system calls end their reasons with it.
std::string errnoText();
