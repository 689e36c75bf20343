// Loads the English language library built beside the tests.
#pragma once

#include "platform/resources.h"

#include <string>

#ifndef ORDUNE_BIN_DIR
#define ORDUNE_BIN_DIR "."
#endif

inline bool LoadLanguageLibraryForTest()
{
    return LoadLanguageLibrary(std::string(ORDUNE_BIN_DIR) + "/ENGLISH.DLL");
}
