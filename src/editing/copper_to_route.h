// Copper and drawings turned into route (outline) items: the planner
// settings that make offset rings at a router's radius, the rings cut out
// of the planner's walk, the picked copper taken out of the board (and put
// back when the board cannot be kept aside first), the centre lines of
// picked tracks ordered into chains, and the positioning frame round the
// machine table.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct CFlashRecord;
struct CGridPathSegment;
struct CPathRecord;
struct CTrackRecord;
class CBoardModel;
class CDocumentLists;

// The side data as they were before a conversion changed them: ending the
// pick of rings brings them back.
inline constexpr const char* kRouteSnapshotFile = "ordune.tmp";

// The scan-line run that leaves the offset rings: the copper's widening
// (mil) and the scan-line pitch (mil).
struct CRingPlanner {
    float offset = 0.0f;
    int pitch = 0;
};
// For copper reduced to its centre lines: the rings lie a router radius off
// them.
CRingPlanner CopperRingPlanner(float diameterMM);
// For a drawing read as copper, whose strokes keep their width.
CRingPlanner DrawingRingPlanner(float diameterMM);
// The width (whole mil) a ring of that router cuts.
int RingWidth(float diameterMM);
// A diameter (mm) a router can have: above 0 and within the machine's
// reach, so the widths above stay whole numbers a pen can draw.
bool IsRouterDiameter(double diameterMM);

// The planner's walk split into rings: [first, last) index ranges in list
// order. A segment that does not start where the previous one ended (0.001
// mil or more apart in x or y) starts a new ring.
std::vector<std::pair<std::size_t, std::size_t>> SplitIntoRings(
    const COwnedList<CGridPathSegment>& segments);

// A diameter (mm) as the operator is shown it and layers are named: "%g".
std::string DiameterText(float diameterMM);
// The four lines round a table of width x height (mil), from its top-left
// corner down to the origin and on round.
void AddTableFrame(CPathRecord& layer, double width, double height);

// Whether a track is a straight stroke; arc records keep a centre and two
// angles in its points.
bool IsStraightTrack(const CTrackRecord& track);

// Moves the straight tracks of `tracks` into chains that follow on end to
// start, turning tracks round where that joins them, and returns them in
// chain order; `tracks` keeps what was left out (arc records). `step` runs
// after each step of the search, which is quadratic in the count.
CRefList<CTrackRecord> OrderTracksIntoChains(CRefList<CTrackRecord>& tracks,
                                              const std::function<void()>& step);

// Picked copper held out of the board, each record with the list and the
// place it came from, so that it can go back exactly where it was.
struct CTakenCopper {
    template <class Record>
    struct Entry {
        COwnedList<Record>* owner;
        std::size_t index;
        std::unique_ptr<Record> record;
    };
    std::vector<Entry<CTrackRecord>> tracks;
    std::vector<Entry<CFlashRecord>> flashes;
    CRefList<CTrackRecord> references;   // the reader's references as they were
};
// Takes the picked records out of whichever list of the model owns them
// (the copper lists or a named layer's); records no list owns are left.
CTakenCopper TakeCopper(CBoardModel& model, const CRefList<CTrackRecord>& tracks,
                        const CRefList<CFlashRecord>& flashes);
// Puts every taken record back at its place; `taken` is empty after.
void PutCopperBack(CBoardModel& model, CTakenCopper& taken);

// Copies of picked copper reduced to what a router follows: tracks of
// width 0 (arc records keep their radius, which that field holds) and pads
// of radius 0.
struct CCopperOutline {
    COwnedList<CTrackRecord> tracks;
    COwnedList<CFlashRecord> flashes;
};
CCopperOutline OutlineCopies(const CRefList<CTrackRecord>& tracks,
                             const CRefList<CFlashRecord>& flashes);
// The model's copper and planner walk replaced by the outline alone.
void ReplaceCopper(CBoardModel& model, CCopperOutline&& outline);
