// Path segments against a rubber band: which part of a straight segment lies
// inside the band and which parts stay outside it, and which way an arc turns
// once it is carried onto a mirrored or turned panel copy. All in mil.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"

#include <functional>
#include <optional>
#include <vector>

class CLayoutBlock;
struct CPathRecord;

// A band in mil with its corners in order; its border belongs to it.
struct CBandRect {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;

    CBandRect() = default;
    // From two opposite corners in any order.
    CBandRect(double x1, double y1, double x2, double y2);
    explicit CBandRect(const RECT& r) : CBandRect(r.left, r.top, r.right, r.bottom) {}

    bool Holds(double x, double y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool Holds(const CDPoint& p) const { return Holds(p.x, p.y); }
};

// Types 0 and 10 of a path segment run straight; the others are arcs.
inline bool IsStraightSegment(int type) { return type == 0 || type == 10; }

// Where a straight segment lies against a band. A segment that only touches
// the band (at a corner, or with an end on the border while the rest lies
// outside) counts as outside: there is nothing of it to take or to cut.
enum class EBandPlace {
    Outside,
    Inside,       // both ends inside
    StartInside,  // leaves the band once
    EndInside,    // enters the band once
    Through,      // enters and leaves: two crossings of the border
};

struct CBandCut {
    EBandPlace place = EBandPlace::Outside;
    CDPoint start, end;   // the segment
    CDPoint enter;        // crossing nearer the start (EndInside, Through)
    CDPoint leave;        // crossing nearer the end (StartInside, Through)
};

CBandCut CutLineByBand(const CBandRect& band, CDPoint start, CDPoint end);

struct CBandPiece {
    CDPoint start, end;
};

// What a selection takes of the segment: all of it when inside; from the
// inside end to the crossing when one end is inside; the stretch between
// the crossings when it runs through; nothing when it lies outside.
std::optional<CBandPiece> InsidePiece(const CBandCut& cut);
// What a trim leaves of the segment: nothing when inside; the whole segment
// when outside; with the start inside (end, crossing), with the end inside
// (crossing, start); through the band two pieces, (start, first crossing)
// and (second crossing, end).
std::vector<CBandPiece> OutsidePieces(const CBandCut& cut);

// The type (1 or 2) an arc of type `type` has once carried onto `block`:
// exchanging x and y turns it the other way, and so does a sign pair that
// mirrors one axis only. Straight types give 0.
int ArcTypeOnBlock(int type, const CLayoutBlock& block);

// The trim of path layers by a band, on the layers that `takes` lets
// through: a segment with both ends inside is deleted; a straight one that
// crosses the border keeps its outside pieces (OutsidePieces), the second
// piece of one running through becoming a new segment of the same type at
// the layer's tail; arcs reaching out of the band stay whole. Layers left
// without segments are removed from `layers`. Before any record is freed,
// `beforeFree` runs (it may be empty), so that whoever points at the
// records can let go. Returns how many segments were deleted or cut.
int CutPathLayersByBand(COwnedList<CPathRecord>& layers,
                        const std::function<bool(const CPathRecord&)>& takes, const CBandRect& band,
                        const std::function<void()>& beforeFree);
