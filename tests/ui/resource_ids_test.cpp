// resources/resource_ids.h against the tables of both languages: every id a
// table uses has a name of its kind there, and no number has two names of
// one kind. Controls are numbered per dialog, so two dialogs may give one
// number to controls of their own.
#include "platform/host.h"
#include "platform/resources.h"
#include "support/language.h"
#include "support/resource_id_header.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

using Names = std::multimap<unsigned, std::string>;  // number -> names

// The names of the header by kind, read from its text.
struct HeaderIds {
    Names strings;    // IDS_ and ID_: the string table holds a command's prompt under its id
    Names commands;   // ID_: menu items, tool-bar buttons and status-bar panes
    Names resources;  // IDR_: menus and tool bars
    Names dialogs;    // IDD_
    std::map<unsigned, Names> controls;  // IDC_, by the dialog whose IDD_ line they follow
    std::vector<std::string> unread;     // lines that are none of these: a name the checks miss
};

HeaderIds ReadHeader()
{
    HeaderIds ids;
    const auto lines = ReadResourceIdHeader();
    if (!lines) {
        ids.unread.push_back("(the header cannot be opened)");
        return ids;
    }
    const std::regex other(R"(( *//.*)?|#pragma once)");
    unsigned dialog = 0;
    for (const CResourceIdLine& line : *lines) {
        if (line.name.empty()) {
            if (!std::regex_match(line.text, other))
                ids.unread.push_back(line.text);
            continue;
        }
        const std::string& name = line.name;
        const std::string& prefix = line.prefix;
        const unsigned value = line.value;
        if (prefix == "IDS" || prefix == "ID")
            ids.strings.emplace(value, name);
        if (prefix == "ID")
            ids.commands.emplace(value, name);
        else if (prefix == "IDR")
            ids.resources.emplace(value, name);
        else if (prefix == "IDD")
            ids.dialogs.emplace(dialog = value, name);
        else if (prefix == "IDC" && dialog != 0)
            ids.controls[dialog].emplace(value, name);
        else if (prefix == "IDC")
            ids.unread.push_back(line.text + "  (before any dialog)");
    }
    return ids;
}

void ExpectReadWhole(const HeaderIds& ids)
{
    for (const std::string& line : ids.unread)
        ADD_FAILURE() << "resource_ids.h: not a named id: " << line;
}

// A control is named in its dialog's group, is OK or Cancel, or is a button
// that sends a command.
bool ControlNamed(const HeaderIds& ids, unsigned dialog, unsigned id)
{
    if (id == static_cast<unsigned>(IDOK) || id == static_cast<unsigned>(IDCANCEL) ||
        ids.commands.count(id))
        return true;
    auto group = ids.controls.find(dialog);
    return group != ids.controls.end() && group->second.count(id);
}

void ExpectNamed(const HeaderIds& ids, const OrduneResourceModule& tables, const char* language)
{
    SCOPED_TRACE(language);
    for (std::size_t i = 0; i < tables.stringCount; ++i)
        EXPECT_TRUE(ids.strings.count(tables.strings[i].id)) << "string " << tables.strings[i].id;
    for (std::size_t i = 0; i < tables.menuItemCount; ++i) {
        const OrduneMenuItem& item = tables.menus[i];
        EXPECT_TRUE(ids.resources.count(item.menu)) << "menu " << item.menu;
        EXPECT_TRUE(item.id == 0 || ids.commands.count(item.id)) << "menu item " << item.id;
    }
    for (std::size_t i = 0; i < tables.toolBarButtonCount; ++i) {
        const OrduneToolBarButton& button = tables.toolBars[i];
        EXPECT_TRUE(ids.resources.count(button.toolBar)) << "tool bar " << button.toolBar;
        EXPECT_TRUE(button.id == 0 || ids.commands.count(button.id)) << "button " << button.id;
    }
    for (std::size_t i = 0; i < tables.dialogItemCount; ++i) {
        const OrduneDialogItem& item = tables.dialogs[i];
        EXPECT_TRUE(ids.dialogs.count(item.dialog)) << "dialog " << item.dialog;
        if (item.kind != ORDUNE_DLG_DIALOG && item.id != ORDUNE_ID_STATIC) {
            EXPECT_TRUE(ControlNamed(ids, item.dialog, item.id))
                << "dialog " << item.dialog << ", control " << item.id;
        }
    }
}

void ExpectOneNameEach(const Names& names, const std::string& kind)
{
    for (auto it = names.begin(); it != names.end();) {
        auto [first, last] = names.equal_range(it->first);
        if (std::next(first) != last) {
            std::string all;
            for (auto n = first; n != last; ++n)
                all += " " + n->second;
            ADD_FAILURE() << kind << " " << it->first << " has several names:" << all;
        }
        it = last;
    }
}

}  // namespace

TEST(ResourceIds, EveryIdTheTablesUseHasANameOfItsKind)
{
    const HeaderIds ids = ReadHeader();
    ExpectReadWhole(ids);
    ExpectNamed(ids, ProgramResources(), "Chinese");
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    ExpectNamed(ids, *LanguageResources(), "English");
}

TEST(ResourceIds, NoNumberHasTwoNamesOfOneKind)
{
    const HeaderIds ids = ReadHeader();
    ExpectReadWhole(ids);
    ExpectOneNameEach(ids.strings, "string or command");
    ExpectOneNameEach(ids.resources, "menu or tool bar");
    ExpectOneNameEach(ids.dialogs, "dialog");
    for (const auto& [dialog, controls] : ids.controls)
        ExpectOneNameEach(controls, "control of dialog " + std::to_string(dialog));
}
