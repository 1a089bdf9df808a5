#pragma once

#include <string>

// The assertion handler: an argument check that fails is logged with its place and
// raised as an internal-inconsistency exception carrying the description.
[[noreturn]] void handleAssertionFailure(const char* file, int line, const std::string& description);

// Checks a condition; the file and line are the ones the system reports, not __FILE__.
#define HK_ASSERT(condition, file, line, description)               \
    do {                                                            \
        if (!(condition))                                           \
            ::handleAssertionFailure((file), (line), (description)); \
    } while (false)
