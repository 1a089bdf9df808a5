#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the user asked harkener-scan for.
struct ScanOptions {
    // Nothing: until the first sending sweep has ended.
    std::optional<double> seconds;
    std::int32_t speed = 2;
    bool json = false;
    bool verbose = false;
    bool help = false;

    // Raises a generic exception with a message for the user on a bad argument.
    static ScanOptions parse(const std::vector<std::string>& arguments);
    static std::string usage();
};
