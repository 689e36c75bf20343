// Menu resources as trees: the main menu's bar titles with their items, or
// the one popup a context menu opens.
#pragma once

#include <string>
#include <vector>

struct CMenuNode {
    std::string text;
    unsigned id = 0;          // command id of an item; 0 for popups and separators
    bool separator = false;
    std::vector<CMenuNode> items;  // a popup's items
    bool IsPopup() const { return !separator && id == 0; }
};

// Menu `id` from the current resources; its root holds the level-0 items
// (empty when the menu is missing).
CMenuNode LoadMenuTree(unsigned id);

// Every command id that the menu's items carry, in menu order, each once.
std::vector<unsigned> MenuCommandIds(const CMenuNode& menu);
