// resources/resource_ids.h read line by line, as the tests that check the
// resource tables against it take it.
#pragma once

#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

// Each test executable is compiled with the resource folder's path, so the
// reader is inline: it takes the path of the executable that includes it.
#ifndef ORDUNE_RESOURCES_DIR
#define ORDUNE_RESOURCES_DIR "."
#endif

// One line of the header.
struct CResourceIdLine {
    std::string text;    // the line as written
    std::string name;    // the id it names; empty when it names none
    std::string prefix;  // of a named id: ID, IDS, IDR, IDD or IDC
    unsigned value = 0;
};

// The header's lines in order; nothing when it cannot be opened. A line
// names an id when it is `constexpr unsigned NAME = number;`, at most with a
// comment after it.
inline std::optional<std::vector<CResourceIdLine>> ReadResourceIdHeader()
{
    std::ifstream in(ORDUNE_RESOURCES_DIR "/resource_ids.h");
    if (!in)
        return std::nullopt;
    const std::regex named(R"(constexpr unsigned ((ID[SRDC]?)_\w+) = (\d+);( *//.*)?)");
    std::vector<CResourceIdLine> lines;
    for (std::string text; std::getline(in, text);) {
        CResourceIdLine line{text, "", "", 0};
        std::smatch m;
        if (std::regex_match(text, m, named)) {
            line.name = m[1];
            line.prefix = m[2];
            line.value = static_cast<unsigned>(std::stoul(m[3]));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}
