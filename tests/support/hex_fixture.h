// Hand-written byte fixtures: hex bytes separated by blanks, '#' starts a
// comment that runs to the end of the line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The bytes of the fixture file at `path` (a failed open fails the test).
std::vector<std::uint8_t> ReadHexFile(const std::string& path);
