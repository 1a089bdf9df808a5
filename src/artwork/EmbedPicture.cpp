// Build step: turns one TIFF file into the C++ module of an embedded picture, by
// compressing it with zlib at the default level and filling in the module template.
//   harkener_embed <module name> <picture.tiff> <template> <output.cpp>
#include "artwork/DataZLib.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

std::string readFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string bytesAsSource(const Data& bytes)
{
    std::string text;
    text.reserve(bytes.size() * 5);
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        text += std::to_string(bytes[index]);
        text += index % 24 == 23 ? ",\n" : ",";
    }
    return text;
}

void replaceAll(std::string& text, const std::string& placeholder, const std::string& value)
{
    for (auto at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size()))
        text.replace(at, placeholder.size(), value);
}

}

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <module name> <picture.tiff> <template> <output.cpp>\n", argv[0]);
        return 2;
    }
    try {
        const std::string tiff = readFile(argv[2]);
        const auto stream = compressedDataUsingZLib(Data(tiff.begin(), tiff.end()));
        if (!stream)
            throw std::runtime_error(std::string(argv[2]) + " does not compress");
        std::string module = readFile(argv[3]);
        replaceAll(module, "@SOURCE@", std::filesystem::path(argv[2]).filename().string());
        replaceAll(module, "@NAME@", argv[1]);
        replaceAll(module, "@LENGTH@", std::to_string(tiff.size()) + "u");
        replaceAll(module, "@BYTES@", bytesAsSource(*stream));
        std::ofstream out(argv[4], std::ios::binary);
        if (!(out << module) || !out.flush())
            throw std::runtime_error(std::string("cannot write ") + argv[4]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "harkener_embed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
