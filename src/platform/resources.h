// The program's resource tables and the language library.
//
// The program's own resources are Traditional Chinese and compiled in. Any
// other language comes from a language library: a shared module named
// "<LANGUAGE>.DLL" beside the executable that exports OrduneGetResources().
// While one is loaded its tables are searched first, the program's own second.
#pragma once

#include <cstddef>
#include <string>

struct OrduneStringEntry {
    unsigned id;
    const char* text;  // UTF-8
};

// The tables of one resource module. Later resource kinds are added at the
// end; `abiVersion` lets the program refuse a library of another build.
struct OrduneResourceModule {
    unsigned abiVersion;
    const OrduneStringEntry* strings;
    std::size_t stringCount;
};

constexpr unsigned ORDUNE_RESOURCE_ABI = 1;

// The entry point every language library exports.
extern "C" {
typedef const OrduneResourceModule* (*OrduneGetResourcesFn)();
}
constexpr const char* ORDUNE_RESOURCE_ENTRY = "OrduneGetResources";

// The compiled-in Chinese tables.
const OrduneResourceModule& ProgramResources();

// Loads the library `name` (a bare name is looked for beside the executable;
// a path is taken as it is) and makes it the first resource source. False
// with a reason in `error` when it cannot be loaded or is not a language
// library; the current source then stays as it was.
bool LoadLanguageLibrary(const std::string& name, std::string* error = nullptr);
// Unloads the language library; the program's own resources serve again.
void FreeLanguageLibrary();
bool LanguageLibraryLoaded();
// The loaded language library's tables, or nullptr.
const OrduneResourceModule* LanguageResources();

// The string-table text of `id`: the language library's, else the program's
// own, else an empty string.
std::string LoadResString(unsigned id);
