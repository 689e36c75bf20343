// One offset ring of the copper-to-route conversions: the cutter width that
// cuts it and its segments. The view keeps these in its trim list.
#pragma once

#include "records/planner_records.h"
#include "platform/object_lists.h"

struct CWidthGroup {
    int width = 0;                          // mil
    COwnedList<CGridPathSegment> segments;
};
