// Resource lookup through the language library and the compiled-in tables.
#include "platform/resources.h"

#include "platform/paths.h"
#include "platform/program_objects.h"

#include <dlfcn.h>

namespace {

void* g_LanguageHandle = nullptr;
const OrduneResourceModule* g_LanguageModule = nullptr;

// No language library is loaded when the program starts.
const CProgramObjectReset s_LanguageReset([] { FreeLanguageLibrary(); });

const char* FindString(const OrduneResourceModule* module, unsigned id)
{
    if (!module)
        return nullptr;
    for (std::size_t i = 0; i < module->stringCount; ++i)
        if (module->strings[i].id == id)
            return module->strings[i].text;
    return nullptr;
}

// The items of resource `id` in one table: its rows are contiguous.
template <class Item>
std::vector<Item> Collect(const Item* items, std::size_t count, unsigned Item::*key, unsigned id)
{
    std::vector<Item> found;
    for (std::size_t i = 0; items && i < count; ++i)
        if (items[i].*key == id)
            found.push_back(items[i]);
    return found;
}

template <class Item>
std::vector<Item> LoadResource(const Item* OrduneResourceModule::*table,
                               std::size_t OrduneResourceModule::*count, unsigned Item::*key,
                               unsigned id)
{
    if (g_LanguageModule) {
        std::vector<Item> found =
            Collect(g_LanguageModule->*table, g_LanguageModule->*count, key, id);
        if (!found.empty())
            return found;
    }
    const OrduneResourceModule& own = ProgramResources();
    return Collect(own.*table, own.*count, key, id);
}

}  // namespace

std::vector<OrduneMenuItem> LoadMenuResource(unsigned id)
{
    return LoadResource(&OrduneResourceModule::menus, &OrduneResourceModule::menuItemCount,
                        &OrduneMenuItem::menu, id);
}

std::vector<OrduneToolBarButton> LoadToolBarResource(unsigned id)
{
    return LoadResource(&OrduneResourceModule::toolBars,
                        &OrduneResourceModule::toolBarButtonCount, &OrduneToolBarButton::toolBar,
                        id);
}

std::vector<OrduneDialogItem> LoadDialogResource(unsigned id)
{
    return LoadResource(&OrduneResourceModule::dialogs, &OrduneResourceModule::dialogItemCount,
                        &OrduneDialogItem::dialog, id);
}

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
