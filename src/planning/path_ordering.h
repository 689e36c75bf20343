// Milling order of the isolation segments: points dropped, chains taken one
// after another and turned round where needed, small zig-zags at corners cut
// off, and whole chains ordered by their lowest start.
#pragma once

#include "platform/object_lists.h"
#include "records/planner_records.h"

#include <functional>

// Whether a point (mil) keeps the isolation's distance from the copper.
using CCornerTest = std::function<bool(float x, float y)>;

// The full ordering of a grid path list; `pitch` (mil) scales the corner
// limits. A corner moves to where its two lines meet only where
// `cornerClear` (when given) accepts that point. Afterwards each segment's
// value is its index within its chain.
void SortIsolationPaths(COwnedList<CGridPathSegment>& segments, int pitch,
                        const CCornerTest& cornerClear = {});
// The short form for the offset engine: clean-up and chaining only, with
// looser tolerances.
void SortSegmentList(COwnedList<CGridPathSegment>& segments);
