// The language of the program's texts, as the registry value "Language"
// names it; the application and the developer tool choose it the same way.
#pragma once

#include <string>

// "CHINESE" keeps the built-in texts; any other value loads the library
// "<value>.DLL" from beside the executable. An empty value is a first start:
// "ENGLISH" is written and used. False when the library cannot be loaded,
// with its name in `library`.
bool LoadConfiguredLanguage(std::string& library);
