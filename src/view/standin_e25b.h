// Stand-in until the real one is merged.
// The hit tests, picks, snaps and rubber band of the view that the copper
// editor calls and other work builds: each does the least the editor needs,
// under the name the view's own member will have.
#pragma once

#include "geometry/point.h"
#include "platform/win_types.h"

class CVelmView;
struct CFlashRecord;
struct CPathSegment;
struct CTrackRecord;

namespace standin_e25b {

// The first flash whose circle holds the point (client pixels, as whole mil).
CFlashRecord* HitItemAt(CVelmView& view, POINT point);
// Every track connected to `track` end to end added to the track selection.
int PickConnectedItem(CVelmView& view, CTrackRecord* track);
// The point (mil) moved onto the centre of the flash under it; 1 when there
// was one, else 0 and the point as it was.
int SnapToNearestPoint(CVelmView& view, CDPoint& point);
// A segment's ends moved onto item ends of the working side's visible path
// layers that lie closer than 2 mil.
void SnapToRoutePoint(CVelmView& view, CPathSegment& segment);
// The segment taken out of the visible working-side layer that holds it.
void RemoveRoutePoint(CVelmView& view, CPathSegment* segment);
// The isolation pick at `point` (mil): the hit segment, or with Shift not
// held its chain, state 1 (0 with Ctrl), the changed segments into the edit
// list; in area mode also what the chain's ring encloses. 0.
int SelectPathsInArea(CVelmView& view, CDPoint point);
// The rubber band's rectangle drawn inverting (a second time erases it).
void DrawRubberBandXor(CVelmView& view, const RECT& band);

}  // namespace standin_e25b
