// Resource lookup through the language library and the compiled-in tables.
#include "platform/resources.h"

#include "platform/paths.h"

#include <dlfcn.h>

namespace {

void* g_LanguageHandle = nullptr;
const OrduneResourceModule* g_LanguageModule = nullptr;

const char* FindString(const OrduneResourceModule* module, unsigned id)
{
    if (!module)
        return nullptr;
    for (std::size_t i = 0; i < module->stringCount; ++i)
        if (module->strings[i].id == id)
            return module->strings[i].text;
    return nullptr;
}

}  // namespace

bool LoadLanguageLibrary(const std::string& name, std::string* error)
{
    std::string path = name.find('/') == std::string::npos
                           ? ResolvePathNoCase(ExecutableDir() + name)
                           : name;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error)
            *error = ::dlerror();
        return false;
    }
    auto get = reinterpret_cast<OrduneGetResourcesFn>(::dlsym(handle, ORDUNE_RESOURCE_ENTRY));
    const OrduneResourceModule* module = get ? get() : nullptr;
    if (!module || module->abiVersion != ORDUNE_RESOURCE_ABI) {
        if (error)
            *error = path + " is not a language library of this program version";
        ::dlclose(handle);
        return false;
    }
    FreeLanguageLibrary();
    g_LanguageHandle = handle;
    g_LanguageModule = module;
    return true;
}

void FreeLanguageLibrary()
{
    if (g_LanguageHandle)
        ::dlclose(g_LanguageHandle);
    g_LanguageHandle = nullptr;
    g_LanguageModule = nullptr;
}

bool LanguageLibraryLoaded() { return g_LanguageModule != nullptr; }

const OrduneResourceModule* LanguageResources() { return g_LanguageModule; }

std::string LoadResString(unsigned id)
{
    const char* text = FindString(g_LanguageModule, id);
    if (!text)
        text = FindString(&ProgramResources(), id);
    return text ? text : "";
}
