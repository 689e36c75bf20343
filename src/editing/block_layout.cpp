// The first copy of the board and the automatic grid of copies.
#include "editing/block_layout.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

// A copy linked to the shared outline, its reference centre the board's
// middle in whole mil.
CLayoutBlock* AppendBlock(COwnedList<CLayoutBlock>& blocks, COwnedList<POINT>& outline,
                          const RECT& board)
{
    const RECT r = PointListBounds(outline);
    auto block = std::make_unique<CLayoutBlock>(r.left, r.top, r.right, r.bottom);
    block->m_Selected = 0;
    block->m_RefCentre = CDPoint((board.left + board.right) / 2, (board.top + board.bottom) / 2);
    block->m_Outline = &outline;
    blocks.push_back(std::move(block));
    return blocks.back().get();
}

}  // namespace

LayoutCellSize LayoutCell(const RECT& board, std::uint32_t swap)
{
    const int w = std::abs(board.left - board.right);
    const int h = std::abs(board.top - board.bottom);
    return swap ? LayoutCellSize{h, w} : LayoutCellSize{w, h};
}

POINT MaxLayoutCounts(LayoutCellSize cell, double tableWidth, double tableHeight)
{
    const int nx = static_cast<int>(tableWidth / (cell.a + kLayoutGap));
    const int ny = static_cast<int>(tableHeight / (cell.b + kLayoutGap));
    return POINT{std::max(nx, 1), std::max(ny, 1)};
}

RECT PointListBounds(const COwnedList<POINT>& points)
{
    if (points.empty())
        return RECT{0, 0, 0, 0};
    RECT r{points.front()->x, points.front()->y, points.front()->x, points.front()->y};
    for (const auto& p : points) {
        r.left = std::min(r.left, p->x);
        r.top = std::min(r.top, p->y);
        r.right = std::max(r.right, p->x);
        r.bottom = std::max(r.bottom, p->y);
    }
    return r;
}

void PlaceFirstBlock(COwnedList<CLayoutBlock>& blocks, COwnedList<POINT>& outline,
                     const RECT& board, double tableWidth, double tableHeight,
                     BlockOrientation orientation)
{
    const int x1 = board.left, y1 = board.top, x2 = board.right, y2 = board.bottom;
    outline.clear();
    for (POINT p : {POINT{x1, y1}, POINT{x2, y1}, POINT{x2, y2}, POINT{x1, y2}, POINT{x1, y1},
                    POINT{x1 + 200, y1 + 200}, POINT{x1, y1 + 400}})
        outline.push_back(std::make_unique<POINT>(p));
    CLayoutBlock* block = AppendBlock(blocks, outline, board);
    block->m_Centre = CDPoint(tableWidth / 2, tableHeight / 2);
    const int rx = static_cast<int>(block->m_RefCentre.x);
    const int ry = static_cast<int>(block->m_RefCentre.y);
    const int dx = static_cast<int>(tableWidth / 2) - rx;
    const int dy = static_cast<int>(tableHeight / 2) - ry;
    RECT& e = block->m_Extent;
    e = RECT{e.left + dx, e.top + dy, e.right + dx, e.bottom + dy};
    block->m_Swap = orientation.swap;
    block->m_Sign = orientation.sign;
    for (auto& p : outline) {
        p->x -= rx;
        p->y -= ry;
    }
}

void PlaceBlockGrid(COwnedList<CLayoutBlock>& blocks, COwnedList<POINT>& outline,
                    const RECT& board, double tableWidth, double tableHeight, int nX, int nY,
                    BlockOrientation orientation)
{
    const LayoutCellSize cell = LayoutCell(board, orientation.swap);
    const int pitchX = cell.a + kLayoutGap, pitchY = cell.b + kLayoutGap;
    const int hX = pitchX * nX / 2, hY = pitchY * nY / 2;
    blocks.clear();
    for (int i = 0; i < nX; ++i)
        for (int j = 0; j < nY; ++j) {
            CLayoutBlock* block = AppendBlock(blocks, outline, board);
            const double cx = tableWidth / 2 - hX + i * pitchX + cell.a / 2 + kLayoutGap / 2;
            const double cy = tableHeight / 2 - hY + j * pitchY + cell.b / 2 + kLayoutGap / 2;
            block->m_Centre = CDPoint(cx, cy);
            block->m_Extent = RECT{static_cast<int>(cx - cell.a / 2), static_cast<int>(cy - cell.b / 2),
                                   static_cast<int>(cx + cell.a / 2), static_cast<int>(cy + cell.b / 2)};
            block->m_Swap = orientation.swap;
            block->m_Sign = orientation.sign;
        }
}
