// Choosing the language library from the registry.
#include "settings/language.h"

#include "platform/resources.h"
#include "settings/registry.h"

bool LoadConfiguredLanguage(std::string& library)
{
    std::string language;
    RegGetString("Language", language);
    if (language.empty()) {
        language = "ENGLISH";
        RegSetString("Language", language);
    }
    library.clear();
    if (language == "CHINESE")
        return true;
    library = language + ".DLL";
    return LoadLanguageLibrary(library);
}
