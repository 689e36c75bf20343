// Clearing the panel layout and turning it over with the board.
#include "records/panel_layout.h"

#include "geometry/small_utils.h"

void CPanelLayout::ClearSelections()
{
    m_SelTracks.clear();
    m_SelRouteItems.clear();
    m_SelFlashes.clear();
}

void CPanelLayout::ClearLists()
{
    ClearSelections();
    m_OutlinePoints.clear();
    m_BlockList.clear();
}

void CPanelLayout::MirrorBlocks(double tableWidth)
{
    for (auto& block : m_BlockList) {
        block->m_Sign.x = -block->m_Sign.x;
        block->m_Centre.x = tableWidth - block->m_Centre.x;
        block->m_Extent.left = static_cast<int>(tableWidth - block->m_Extent.left);
        block->m_Extent.right = static_cast<int>(tableWidth - block->m_Extent.right);
        if (block->m_Extent.left > block->m_Extent.right)
            SwapInt(&block->m_Extent.left, &block->m_Extent.right);
    }
}
