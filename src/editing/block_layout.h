// Placing copies of the board on the machine table: the first copy centred on
// the table and the automatic grid of copies. All sizes are mil.
#pragma once

#include "geometry/board_orientation.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"

// Gap between neighbouring copies of the automatic layout.
constexpr int kLayoutGap = 50;

// The orientation every copy of a grid takes over.
struct BlockOrientation {
    std::uint32_t swap = 0;
    POINT sign{1, -1};
};

// A copy's size on the table: the board extent, width and height exchanged
// when the copy is turned.
struct LayoutCellSize {
    int a = 0;   // across X
    int b = 0;   // across Y
};

LayoutCellSize LayoutCell(const RECT& board, std::uint32_t swap);
// The largest grid that fits the table, never less than 1 x 1 so a board
// larger than the table can still be placed once.
POINT MaxLayoutCounts(LayoutCellSize cell, double tableWidth, double tableHeight);

// The smallest rectangle round the points; an empty list gives an empty
// rectangle at the origin.
RECT PointListBounds(const COwnedList<POINT>& points);

// Builds the outline (closed board rectangle and an orientation mark) and one
// copy centred on the table, then makes the outline relative to the board's
// centre. Only for an empty block list.
void PlaceFirstBlock(COwnedList<CLayoutBlock>& blocks, COwnedList<POINT>& outline,
                     const RECT& board, double tableWidth, double tableHeight,
                     BlockOrientation orientation);

// Replaces every copy by an nX x nY grid centred on the table, each copy
// with the given orientation and 50 mil apart from its neighbours.
void PlaceBlockGrid(COwnedList<CLayoutBlock>& blocks, COwnedList<POINT>& outline,
                    const RECT& board, double tableWidth, double tableHeight, int nX, int nY,
                    BlockOrientation orientation);
