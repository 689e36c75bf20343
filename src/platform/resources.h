// The program's resource tables and the language library.
//
// The program's own resources are Traditional Chinese and compiled in. Any
// other language comes from a language library: a shared module named
// "<LANGUAGE>.DLL" beside the executable that exports OrduneGetResources().
// While one is loaded its tables are searched first, the program's own second.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct OrduneStringEntry {
    unsigned id;
    const char* text;  // UTF-8
};

// One item of a menu resource. A menu is the run of items with its id, in
// order; `level` nests them: the items of a popup follow it one level
// deeper. Level 0 holds the menu bar's titles (for the main menu) or the one
// popup that a context menu opens.
struct OrduneMenuItem {
    unsigned menu;
    unsigned level;
    unsigned id;     // command id; 0 for popups and separators
    unsigned flags;  // ORDUNE_MENU_*
    const char* text;
};

constexpr unsigned ORDUNE_MENU_POPUP = 0x10;
constexpr unsigned ORDUNE_MENU_SEPARATOR = 0x800;

// One button of a tool bar resource (command id 0 is a separator). Its tip
// is the string-table prompt of the command.
struct OrduneToolBarButton {
    unsigned toolBar;
    unsigned id;
};

// Dialog templates: a header row (kind ORDUNE_DLG_DIALOG: caption, size and
// dialog style) followed by one row per control, all with the dialog's id.
// Positions and sizes are in dialog units (a quarter of the average
// character width across, an eighth of the font height down).
struct OrduneDialogItem {
    unsigned dialog;
    unsigned kind;  // ORDUNE_DLG_*
    unsigned id;    // control id; ORDUNE_ID_STATIC for labels
    short x, y, cx, cy;
    unsigned style;  // ORDUNE_STYLE_*
    const char* text;
};

enum : unsigned {
    ORDUNE_DLG_DIALOG = 1,
    ORDUNE_DLG_STATIC,       // text label
    ORDUNE_DLG_EDIT,
    ORDUNE_DLG_BUTTON,       // push button
    ORDUNE_DLG_CHECK,
    ORDUNE_DLG_RADIO,
    ORDUNE_DLG_GROUP,        // group box (frame with a title)
    ORDUNE_DLG_COMBO,        // drop-down combo: editable
    ORDUNE_DLG_COMBOLIST,    // drop-down list: choose only
    ORDUNE_DLG_LISTBOX,
    ORDUNE_DLG_PROGRESS,
    ORDUNE_DLG_ICON,         // the information icon
};

constexpr unsigned ORDUNE_ID_STATIC = 0xFFFF;

enum : unsigned {
    ORDUNE_STYLE_DEFAULT = 0x0001,     // button: the default button (Enter)
    ORDUNE_STYLE_MULTILINE = 0x0002,   // edit: several lines, scroll bars
    ORDUNE_STYLE_READONLY = 0x0004,
    ORDUNE_STYLE_SORT = 0x0008,        // combo and list box entries sorted
    ORDUNE_STYLE_RIGHT = 0x0010,       // static text aligned right
    ORDUNE_STYLE_CENTER = 0x0020,      // static text centred
    ORDUNE_STYLE_DISABLED = 0x0040,
    ORDUNE_STYLE_HIDDEN = 0x0080,
    ORDUNE_STYLE_STRETCH = 0x0100,     // keeps its margins when the dialog is resized
    ORDUNE_STYLE_NUMBER = 0x0200,      // edit: digits only
    // Dialog header styles.
    ORDUNE_STYLE_NOCAPTION = 0x1000,   // no title bar
    ORDUNE_STYLE_RESIZABLE = 0x2000,
};

// The tables of one resource module. Later resource kinds are added at the
// end; `abiVersion` lets the program refuse a library of another build.
struct OrduneResourceModule {
    unsigned abiVersion;
    const OrduneStringEntry* strings;
    std::size_t stringCount;
    const OrduneMenuItem* menus;
    std::size_t menuItemCount;
    const OrduneToolBarButton* toolBars;
    std::size_t toolBarButtonCount;
    const OrduneDialogItem* dialogs;
    std::size_t dialogItemCount;
};

constexpr unsigned ORDUNE_RESOURCE_ABI = 2;

// The module of one language from its four tables.
template <std::size_t S, std::size_t M, std::size_t T, std::size_t D>
constexpr OrduneResourceModule MakeResourceModule(const OrduneStringEntry (&strings)[S],
                                                  const OrduneMenuItem (&menus)[M],
                                                  const OrduneToolBarButton (&toolBars)[T],
                                                  const OrduneDialogItem (&dialogs)[D])
{
    return {ORDUNE_RESOURCE_ABI, strings, S, menus, M, toolBars, T, dialogs, D};
}

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

// The items of menu, tool bar or dialog template `id`, taken whole from the
// language library when it has that resource, else from the program's own;
// empty when neither has it.
std::vector<OrduneMenuItem> LoadMenuResource(unsigned id);
std::vector<OrduneToolBarButton> LoadToolBarResource(unsigned id);
std::vector<OrduneDialogItem> LoadDialogResource(unsigned id);
