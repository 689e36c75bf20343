// What lies under the cursor: the drill hole, the panel hole, the pad, the
// copper connected to a track, the path-item end a drawn segment snaps to;
// and the drill-list changes of the two-point picks (a hand-added hole, the
// shift of an alignment by hand). All in board mil; the view turns pixels
// into mil before it asks.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/board_records.h"

#include <array>
#include <functional>

class CLayoutBlock;
struct CFlashRecord;
struct CTrackRecord;

// A hole of a tool of diameter 0 is found this far off (mil).
constexpr double kZeroToolReach = 40.0;

// The first hole, in tool order then hole order, no farther from `point`
// than its tool's diameter truncated to whole mil (40 for a 0 tool); its
// reach is passed back through `tolerance`. (0, 0) when none is that near.
CDPoint FindDrillNear(const COwnedList<CDrillTool>& tools, CDPoint point, int* tolerance);
// The same search, telling also the tool of the hole (null when none).
CDPoint FindDrillHoleNear(const COwnedList<CDrillTool>& tools, CDPoint point,
                          const CDrillTool** tool, int* tolerance);
// The same search over every panel copy of the holes, within half the
// diameter (40.0 for a 0 tool); messages are pumped after each copy. The
// hole's position on the panel, or (0, 0).
CDPoint FindPanelHoleAt(const COwnedList<CLayoutBlock>& blocks,
                        const COwnedList<CDrillTool>& tools, CDPoint point);
// The first pad whose circle holds the point, or null.
const CFlashRecord* FlashAt(const COwnedList<CFlashRecord>& flashes, POINT point);
// The first copy whose rectangle holds the point, or null.
CLayoutBlock* BlockAt(const COwnedList<CLayoutBlock>& blocks, CDPoint point);
// Whether the pad's centre lies within its size less 1.5 of an end of the
// track: the pad belongs to the track's copper.
bool PadTouchesTrackEnd(const CFlashRecord& pad, const CTrackRecord& track);

// The tracks connected to `start`: a plain line (type 0) whose start or end
// is an end of a track already found, a straight track (type 1) that holds
// such an end. Each found track is appended to `found` (once; tracks in it
// already are not looked at again) and `onFound` runs for it, depth first,
// in the order the connections are met. `tracks` may be null.
void CollectConnectedTracks(const COwnedList<CTrackRecord>* tracks, const CTrackRecord& start,
                            CRefList<CTrackRecord>& found,
                            const std::function<void(const CTrackRecord&)>& onFound);

// Snaps the ends of a drawn segment to the end of an item of the layers
// that `useLayer` lets through: start to p1, start to p2, end to p1, end to
// p2, each closer than 2.0; the search ends after the first item that
// snapped something. True when something snapped.
bool SnapSegmentEnds(const COwnedList<CPathRecord>& layers,
                     const std::function<bool(const CPathRecord&)>& useLayer, CDPoint* p1,
                     CDPoint* p2);
// Takes `item` out of the first layer that `useLayer` lets through and that
// holds it, and deletes it. False when no such layer holds it.
bool RemovePathItem(COwnedList<CPathRecord>& layers,
                    const std::function<bool(const CPathRecord&)>& useLayer,
                    const CPathSegment* item);

// A hole added by hand at `point`: into the first tool of exactly that
// diameter, else into a new tool numbered by the new count of tools, mode 1,
// whose size also goes into `toolSizes` (when the number fits it).
void AddHandDrill(COwnedList<CDrillTool>& tools, std::array<float, DRILL_TOOL_SIZES>& toolSizes,
                  float diameter, CDPoint point);

// A track from (x1, y1) to (x2, y2), `width` wide: what a click on a
// straight piece (a path line, a clearing stroke, a planner segment) is
// tested against (PointInTrack).
CTrackRecord TrackAlong(double x1, double y1, double x2, double y2, double width);
CTrackRecord PathSegmentTrack(const CPathSegment& s, double width);
