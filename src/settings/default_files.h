// The settings files a new system directory starts with. They are compiled
// into the program from resources/system/.
#pragma once

#include <cstddef>
#include <string>

struct CEmbeddedFile {
    const char* name;  // nullptr ends the table
    const unsigned char* data;
    std::size_t size;
};

// Ends with an entry whose name is nullptr.
extern const CEmbeddedFile g_DefaultSystemFiles[];

// Writes each default file that `dir` lacks (names compared without regard
// to case); files already there are left as they are. False when a file
// could not be written.
bool SeedSystemDir(const std::string& dir);
