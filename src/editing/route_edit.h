// Route (outline) geometry drawn by hand: the items the drawing tools put
// into a route layer, the records they write into the route text, the
// zig-zag that fills a clearing range, and the items an offset ring becomes
// when it is taken into the route.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/board_records.h"

#include <memory>
#include <string>
#include <vector>

class CDocumentLists;
class CLineEdit;
struct CGridPathSegment;

// The name of the route layer of a router of `mm` millimetres ("ROUTE%g").
std::string RouteLayerName(double mm);
// The route layer of a router of `mm` millimetres, found or made,
// with the cutter's size (mil), no depth and no board side: how the drawing
// tools leave it.
CPathRecord* RouteDrawingLayer(CDocumentLists& lists, double mm);

// With Ctrl held the new point `p` (pixels) stays on the horizontal through
// `held` when the cursor went further along x than along y, else on the
// vertical (a tie counts as vertical).
POINT KeepRouteOrtho(POINT held, POINT p);

// A path-layer line item from `a` to `b` of `type` (0, or 10 for a line
// drawn with Ctrl held).
std::unique_ptr<CPathSegment> PathLine(CDPoint a, CDPoint b, int type = 0);
// Items appended to a path layer (a route layer among them), in mil: such a
// line; the rectangle with corners `a` and `b` as four lines a, (b.x, a.y),
// b, (a.x, b.y), a; a full circle (type 2) starting and ending at its
// rightmost point.
CPathSegment* AddPathLine(CPathRecord& layer, CDPoint a, CDPoint b, int type = 0);
void AddPathRect(CPathRecord& layer, CDPoint a, CDPoint b);
CPathSegment* AddPathCircle(CPathRecord& layer, CDPoint centre, double radius);

// A segment of an offset ring as a route item: a line stays a line; an arc
// keeps its direction and centre, with the radius its start's distance from
// that centre.
std::unique_ptr<CPathSegment> RouteItemFromRing(const CGridPathSegment& segment);
// Whether `p` (mil) lies on a segment of a ring cut `width` mil wide: within
// half the width of a line, within the width of an arc's circle and inside
// its sweep.
bool RingSegmentHit(const CGridPathSegment& segment, CDPoint p, int width);

// The route origin record "G93X%ld.Y%ld." of the offset from `first` to
// `second` (each axis truncated toward zero) put in place of the text's first
// line holding "G93", or as its first line when it has none: a text keeps
// one origin.
void SetRouteOrigin(CLineEdit& text, CDPoint first, CDPoint second);
// A circle about `centre` through `rim` as the two records written at the
// insertion point: "G00" to the rim, then "G02" around the centre (I and J
// the centre less the rim); every value truncated toward zero by itself.
void WriteRouteCircle(CLineEdit& text, CDPoint centre, CDPoint rim);

// The lines of a zig-zag filling the rectangle `r` (mil, top above bottom)
// with a cutter of `size` mil whose passes overlap by `overlap` (a share of
// the size): rows a pitch p = size - overlap x size apart, the first from
// right to left, each joined to the next by a line of length p. False, and
// no line, when p is less than 1 mil: the rows would not advance.
struct CRouteLine {
    CDPoint a, b;
};
bool ZigZagLines(const RECT& r, double size, double overlap, std::vector<CRouteLine>& lines);
