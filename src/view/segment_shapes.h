// Shapes of path segments shared by the path-layer, isolation-path and
// trim drawers: points mapped at the board's own place or through a panel
// copy, computed segments with their arcs, and path-layer arcs as chords.
#pragma once

#include "view/shape_batch.h"
#include "view/velm_view.h"

// A board point in pixels, through `block` when one is given.
POINT MapPoint(const CVelmView& view, const CLayoutBlock* block, double x, double y);

// A computed segment: a line, or an arc around its centre through the
// clipped arc (type 2 from the first point to the second, other arc types
// the other way, turned again by a mirroring copy).
void DrawGridSegment(CVelmView& view, CShapeBatch& batch, const CGridPathSegment& s,
                     const CLayoutBlock* block);

// A path-layer arc (types 1 and 2) as chords of `step` radians in board
// coordinates; an arc whose ends coincide is a full circle.
void DrawChordArc(CVelmView& view, CShapeBatch& batch, const CPathSegment& s, float step,
                  const CLayoutBlock* block);
