#include "scan/ScanOptions.h"
#include "platform/Exception.h"

#include <charconv>
#include <cmath>

namespace {

double parseSeconds(const std::string& text)
{
    double seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) || seconds < 0)
        Exception::raise("--seconds wants a number of seconds, not \"%s\"", text.c_str());
    return seconds;
}

std::int32_t parseSpeed(const std::string& text)
{
    std::int32_t speed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), speed);
    if (error != std::errc() || end != text.data() + text.size() || speed < -1 || speed > 2)
        Exception::raise("--speed wants -1, 0, 1 or 2, not \"%s\"", text.c_str());
    return speed;
}

}

ScanOptions ScanOptions::parse(const std::vector<std::string>& arguments)
{
    ScanOptions options;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        auto value = [&]() -> const std::string& {
            if (index + 1 >= arguments.size())
                Exception::raise("%s wants a value", argument.c_str());
            return arguments[++index];
        };
        if (argument == "--help" || argument == "-h")
            options.help = true;
        else if (argument == "--json")
            options.json = true;
        else if (argument == "--verbose")
            options.verbose = true;
        else if (argument == "--seconds")
            options.seconds = parseSeconds(value());
        else if (argument.starts_with("--seconds="))
            options.seconds = parseSeconds(argument.substr(10));
        else if (argument == "--speed")
            options.speed = parseSpeed(value());
        else if (argument.starts_with("--speed="))
            options.speed = parseSpeed(argument.substr(8));
        else
            Exception::raise("unknown argument \"%s\" (try --help)", argument.c_str());
    }
    return options;
}

std::string ScanOptions::usage()
{
    return "Usage: harkener-scan [--seconds S] [--speed N] [--json] [--verbose] [--help]\n"
           "\n"
           "Searches the LAN for game servers the way Harkener does: broadcasts the\n"
           "query to UDP ports 27960-27963, listens on port 27961, and prints every\n"
           "server that answered.\n"
           "\n"
           "  --seconds S  search for S seconds (default: until the first round of\n"
           "               queries has ended, 0.4 s at speed 2)\n"
           "  --speed N    search speed -1 (slowest), 0, 1 or 2 (fastest, default);\n"
           "               silent servers are dropped after 161, 33, 9 or 3 s\n"
           "  --json       print a JSON array: address, port, \"Hostname\" and every\n"
           "               key of the server's info string (under \"info\")\n"
           "  --verbose    also print the engine's log (netmask, failures)\n"
           "  --help       print this text\n"
           "\n"
           "Exit status: 0 servers found, 1 none found, 2 error.\n";
}
