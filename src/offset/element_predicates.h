// Small geometric tests on the engine's arcs and on segment boxes, shared by
// the touch tests, arc composition, crossing and trimming. Their slacks and
// their roundings to single precision decide cases at the boundaries, so
// each is kept as it is written here.
#pragma once

#include "records/offset_records.h"

// The direction from the element's centre to (x, y) lies within its angles,
// 0.1 degree of slack at both ends. Equal angles accept every direction.
bool IsAngleInArc(const CIsoElement& arc, double x, double y);
// The same test for a direction given in radians about the arc's centre (as
// atan2 gives it), for callers that need that direction anyway.
bool IsDirectionInArc(const CIsoElement& arc, double radians);
// (x, y) lies on the ring of width w round the arc (0.5 of slack) within its
// angles, or within w/2 of one of its end points.
bool IsPointOnArcBand(const CIsoElement& arc, double x, double y, float w);
// The same, but the point must lie w/40 inside the ring.
bool IsPointOnArcBandFine(const CIsoElement& arc, double x, double y, float w);

// Crossing points of two circles. 0 apart (or concentric), 1 touching from
// outside (both points the same) or crossing, -2 one circle within the other.
signed char IntersectCircles(double c1x, double c1y, double r1, double c2x, double c2y,
                             double r2, double* xa, double* ya, double* xb, double* yb);

// (px, py) lies in the segment's box, bounds included; a point within 0.1 of
// an end is moved onto the nearer end.
bool SnapPointToSegmentBox(float* px, float* py, float x1, float y1, float x2, float y2);
// (px, py) lies in the segment's box widened by `slack`.
bool IsPointInSegmentBoxWithin(const double* px, const double* py, double x1, double y1,
                               double x2, double y2, double slack);
// (px, py) lies in the segment's box widened by 0.005.
bool IsPointInSegmentBox(const double* px, const double* py, double x1, double y1, double x2,
                         double y2);

// The angle of (x, y) about (cx, cy) in degrees, -180..180, with pi as given.
double AngleAbout(double cx, double cy, double x, double y, double pi);
// A point at `degrees` on the circle about `centre`, with pi as given.
CDPoint PointAtAngle(const CDPoint& centre, double radius, double degrees, double pi);
// Whether theta lies strictly inside an arc's angles with a margin, the arc
// wrapping through 180 when `end` is not above `start`.
bool IsStrictlyInsideRange(double start, double end, double theta, double margin);

// Where a piece starts and ends: a line's Pt0 and Pt1, an arc's (or a
// circle's) Pt1 and Pt2.
inline const CDPoint& PieceStart(const CIsoElement& e) { return e.Kind == ISO_LINE ? e.Pt0 : e.Pt1; }
inline const CDPoint& PieceEnd(const CIsoElement& e) { return e.Kind == ISO_LINE ? e.Pt1 : e.Pt2; }
