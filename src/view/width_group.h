// One offset ring of the copper-to-route conversions: the cutter width that
// cuts it and its segments. The view keeps these in its trim list.
#pragma once

#include "document/planner_records.h"
#include "document/record_lists.h"

struct CWidthGroup {
    int width = 0;                          // mil
    COwnedList<CGridPathSegment> segments;
};
