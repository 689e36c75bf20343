#include "support/hex_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

std::vector<std::uint8_t> ReadHexFile(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<std::uint8_t> bytes;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word)
            bytes.push_back(static_cast<std::uint8_t>(std::stoul(word, nullptr, 16)));
    }
    return bytes;
}
