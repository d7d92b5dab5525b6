// Shared by the kit's unit tests.
#pragma once
#include <stdio.h>
#include <string>
#include <vector>

inline std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    return bytes;
}

// The test module built for each architecture.
inline std::vector<std::string> FixtureModules()
{
    std::vector<std::string> out;
    std::string list = FIXTURE_MODULES;
    size_t start = 0;
    while (start < list.size()) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        if (comma > start) out.push_back(list.substr(start, comma - start));
        start = comma + 1;
    }
    return out;
}

inline std::string FixtureFile(const std::string& name) { return std::string(FIXTURE_FOLDER) + "/" + name; }
