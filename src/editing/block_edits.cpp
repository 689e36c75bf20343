#include "editing/block_edits.h"

#include <algorithm>

void ShiftBlock(CLayoutBlock& block, CDPoint offset)
{
    block.m_Centre += offset;
    const int dx = static_cast<int>(offset.x);
    const int dy = static_cast<int>(offset.y);
    block.m_Extent.left += dx;
    block.m_Extent.right += dx;
    block.m_Extent.top += dy;
    block.m_Extent.bottom += dy;
}

void TurnBlockExtent(CLayoutBlock& block)
{
    RECT& r = block.m_Extent;
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    // (w - h) / 2 and (h - w) / 2 truncate to opposite values, so the second
    // turn undoes the first to the mil.
    r.left += (w - h) / 2;
    r.right = r.left + h;
    r.top += (h - w) / 2;
    r.bottom = r.top + w;
}

std::vector<CLayoutBlock*> PickedBlocks(const CRefList<void>& picks,
                                        const COwnedList<CLayoutBlock>& blocks)
{
    std::vector<CLayoutBlock*> found;
    for (void* item : picks) {
        const auto owned = std::find_if(blocks.begin(), blocks.end(),
                                        [item](const auto& b) { return b.get() == item; });
        if (owned != blocks.end() &&
            std::find(found.begin(), found.end(), owned->get()) == found.end())
            found.push_back(owned->get());
    }
    return found;
}
