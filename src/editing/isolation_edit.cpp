// The state changes and the delete of the isolation-line editor.
#include "editing/isolation_edit.h"

#include "geometry/contour.h"
#include "platform/program_objects.h"
#include "records/board_records.h"

#include <algorithm>

int g_IsoDeleteBusy = 0;

namespace {
const CProgramObjectReset s_Reset([] { g_IsoDeleteBusy = 0; });
}  // namespace

int ChangeSegmentStates(COwnedList<CPathRecord>& layers, const PathLayerTest& takes, int from,
                        int to)
{
    int changed = 0;
    for (auto& layer : layers) {
        if (!takes(*layer))
            continue;
        for (auto& s : layer->items)
            if (s->flag == from) {
                s->flag = to;
                ++changed;
            }
    }
    return changed;
}

int DeleteSelectedSegments(COwnedList<CPathRecord>& layers, const PathLayerTest& takes)
{
    int removed = 0;
    for (auto& layer : layers) {
        if (!takes(*layer))
            continue;
        removed += static_cast<int>(std::erase_if(
            layer->items, [](const auto& s) { return s->flag == SEGMENT_SELECTED; }));
    }
    return removed;
}

int SetSegmentStatesInContour(COwnedList<CPathRecord>& layers, const PathLayerTest& takes,
                              const CContour& contour, int state)
{
    int changed = 0;
    for (auto& layer : layers) {
        if (!takes(*layer))
            continue;
        for (auto& s : layer->items)
            if ((s->flag == SEGMENT_NORMAL || s->flag == SEGMENT_SELECTED) &&
                contour.IsPointInside(s->x1, s->y1) && contour.IsPointInside(s->x2, s->y2)) {
                s->flag = state;
                ++changed;
            }
    }
    return changed;
}
