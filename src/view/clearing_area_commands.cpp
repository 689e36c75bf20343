// The view's clearing-area commands that need no mouse: the whole board's
// short gaps as one region, and the done marks of the clearing strokes
// cleared (arming the stroke pick) so the milling job cuts every stroke
// again.
#include "records/board_extent.h"
#include "resource_ids.h"
#include "view/velm_view.h"

namespace {

// The board-wide region keeps this far inside the board extent (mil).
constexpr int kFullClearInset = 80;
// The short gaps it clears are shorter than this (mil).
constexpr int kFullClearGapLimit = 25;

}  // namespace

void CVelmView::OnAddFullClearArea()
{
    RECT rect{g_BoardMinX + kFullClearInset, g_BoardMinY + kFullClearInset,
              g_BoardMaxX - kFullClearInset, g_BoardMaxY - kFullClearInset};
    m_Doc.AddClearRegion(rect, [this](CClearRegion* region) {
        return m_Doc.ClearRegionSmall(region, kFullClearGapLimit);
    });
    Invalidate();
}

void CVelmView::OnResetClearDone()
{
    for (const auto& region : m_Doc.m_ClearRegionList)
        for (const auto& stroke : region->strokes)
            stroke->doneMark = 0;
    // The left button now picks strokes to exclude, the right deletes them.
    m_ResetClearMode = 1;
    Invalidate();
}
