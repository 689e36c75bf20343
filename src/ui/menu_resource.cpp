// Builds menu trees from the flat rows of the resource tables.
#include "ui/menu_resource.h"

#include "platform/resources.h"

#include <algorithm>

CMenuNode LoadMenuTree(unsigned id)
{
    CMenuNode root;
    // The open popups by level: the row's parent is the last popup one level up.
    std::vector<CMenuNode*> open{&root};
    for (const OrduneMenuItem& item : LoadMenuResource(id)) {
        std::size_t level = std::min<std::size_t>(item.level, open.size() - 1);
        open.resize(level + 1);
        CMenuNode node;
        node.text = item.text ? item.text : "";
        node.id = item.id;
        node.separator = (item.flags & ORDUNE_MENU_SEPARATOR) != 0;
        CMenuNode& parent = *open.back();
        parent.items.push_back(std::move(node));
        if (item.flags & ORDUNE_MENU_POPUP)
            open.push_back(&parent.items.back());
    }
    return root;
}

namespace {
void CollectIds(const CMenuNode& node, std::vector<unsigned>& ids)
{
    for (const CMenuNode& item : node.items) {
        if (item.id && std::find(ids.begin(), ids.end(), item.id) == ids.end())
            ids.push_back(item.id);
        CollectIds(item, ids);
    }
}
}  // namespace

std::vector<unsigned> MenuCommandIds(const CMenuNode& menu)
{
    std::vector<unsigned> ids;
    CollectIds(menu, ids);
    return ids;
}
