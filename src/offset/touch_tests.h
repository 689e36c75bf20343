// Whether the copper of two source elements lies so close that the first
// pass's cutter of width d cannot pass between them, and the smaller tests of
// the same family that the removal passes use.
//
// Two elements touch when the gap between their copper is less than d, the
// gap computed exactly from both shapes (see copper_distance.h), or when one
// of the end-point joins holds that keep copper ending on copper together: an
// arc's or circle's end point within d/2 + 1.0 of a band corner of a line, a
// grown corner of a rectangle or an end point of another arc or circle; a
// rectangle's centre within d/2 + 0.1 of a line's end or of another
// rectangle's centre. Every test gives the same answer with its arguments
// swapped, so groups do not depend on the order of the copper.
#pragma once

#include "records/offset_records.h"

int TouchLineLine(const CIsoElement& a, const CIsoElement& b, float d);
int TouchLineRect(const CIsoElement& line, const CIsoElement& rect, float d);
int TouchRectRect(const CIsoElement& a, const CIsoElement& b, float d);
// b is an arc or a circle.
int TouchLineArc(const CIsoElement& line, const CIsoElement& b, float d);
// b is an arc or a circle.
int TouchArcRect(const CIsoElement& rect, const CIsoElement& b, float d);
int TouchCircleCircle(const CIsoElement& a, const CIsoElement& b, float d);
// a and b are arcs or circles, at least one of them an arc.
int TouchArcArc(const CIsoElement& a, const CIsoElement& b, float d);
// Any two source elements, by their kinds.
int ElementsTouch(const CIsoElement& a, const CIsoElement& b, float d);

// Both of the element's ends lie within 2.0 of p1 or of p2.
int AreEndpointsJoined(const CIsoElement& element, const CDPoint& p1, const CDPoint& p2);
// p lies in the closed box that the two corners span.
int IsPointInClosedBox(const CDPoint& c1, const CDPoint& c2, const CDPoint& p);
// The arc piece's circle crosses the top side, the bottom side or a diagonal
// of the rectangle grown by t/3, at a point on the arc.
int RectCrossesArc(const CIsoElement& rect, const CIsoElement& arc, float t);
// The same for the rectangle itself and the arc's circle grown by t/2.
int RectCrossesArc2(const CIsoElement& rect, const CIsoElement& arc, float t);
