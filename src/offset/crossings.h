// Crossings of arc pieces with arcs, circles and line pieces, the distance
// test, the even-odd point-in-polygon test and the outlines of tracks and
// rectangular pads that the removal passes judge pieces against.
#pragma once

#include "records/offset_records.h"

#include <vector>

// Vertices in order, closed from the last back to the first.
using CIsoPolygon = std::vector<CDPoint>;

// S's circle grown by d/2 (+0.01 on the smaller) crosses P's circle at a
// point in S's angles and strictly inside P's range (margin 0.05 degree).
int ArcArcCrossingA(const CIsoElement& s, const CIsoElement& p, float d);
// The same between S's own circle and P's circle grown by d/2 + 0.01.
int ArcArcCrossingB(const CIsoElement& s, const CIsoElement& p, float d);
// The circle of radius d/2 - 1 about (ex, ey) crosses S strictly inside its
// range (margin 0.05 degree).
int ArcArcCrossingC(const CIsoElement& s, double ex, double ey, float d);
// Line piece P crosses S's circle grown by e + 0.008 within S's angles
// widened by 0.5 degree.
int ArcLineCrossing(const CIsoElement& s, const CIsoElement& p, float e);
// The distance of A and B in single precision is at most t.
int IsCloserThan(const CDPoint& a, float t, const CDPoint& b);

// Even-odd test in single precision; an edge counts over [low y, high y).
int IsPointInPolygon(const CIsoPolygon& polygon, double x, double y);
// The band of a track of width w, without its end caps: four vertices.
void BuildTrackOutline(CIsoPolygon& polygon, double x1, double y1, double x2, double y2,
                       float w);
// The rectangle grown by g/2 with its corners cut back to its own: twelve
// vertices.
void BuildRectOutline(CIsoPolygon& polygon, const CIsoElement& rect, float g);
// The segment crosses the arc about (cx, cy) of radius r from a1 to a2.
int ArcCrossesLine(double x1, double y1, double x2, double y2, double cx, double cy, float r,
                   float a1, float a2);
// P lies in the outline of source line S, or its arc lies near S's ends.
int IsPieceInsidePolygon(const CIsoElement& s, const CIsoPolygon& polygon,
                         const CIsoElement& p, float d);
// P lies wholly inside the polygon.
int IsPieceInsidePolygon2(const CIsoElement& s, const CIsoPolygon& polygon,
                          const CIsoElement& p);

// The middle of an arc piece, in single precision.
CDPoint ArcMiddlePoint(const CIsoElement& arc);
