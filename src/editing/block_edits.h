// Edits of placed board copies that the layout stage's mouse and keys share:
// moving a copy, turning its rectangle with it, and the copies a list of
// picks still names. All sizes are mil.
#pragma once

#include "geometry/board_orientation.h"
#include "geometry/point.h"
#include "platform/object_lists.h"

#include <vector>

// Moves a copy on the table: its centre by the offset, its rectangle by the
// offset truncated to whole mil.
void ShiftBlock(CLayoutBlock& block, CDPoint offset);

// The rectangle of a copy given a quarter turn: width and height exchanged
// about the same middle. Integer halves are split the same way both ways
// round, so two turns give the starting rectangle back exactly.
void TurnBlockExtent(CLayoutBlock& block);

// The entries of `picks` that are copies of `blocks`, in pick order; entries
// that name no copy (a copy deleted since, a record of another editor) are
// left out, so nothing reads a copy that no longer exists.
std::vector<CLayoutBlock*> PickedBlocks(const CRefList<void>& picks,
                                        const COwnedList<CLayoutBlock>& blocks);
