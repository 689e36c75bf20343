// The geometry of polyline bulges, and the conversion's item scaling. A bulge
// b on the segment from P to Q is the tangent of a quarter of the arc's
// included angle: positive runs counter-clockwise from P to Q, negative
// clockwise, |b| = 1 is a half circle and |b| > 1 more than one.
#pragma once

#include "geometry/point.h"

struct CPathRecord;
struct CPathSegment;

// The circle of a bulge and the counter-clockwise sweep over it from angle
// `start` to `end` (radians, start in [0, 2 pi), end >= start). For a
// negative bulge the sweep runs from Q to P, so it is still counter-clockwise.
struct CBulgeArc {
    CDPoint centre;
    double radius = 0.0;
    double start = 0.0;
    double end = 0.0;
    bool reversed = false;   // the bulge was negative: the sweep starts at Q
};

// False when P and Q coincide or the bulge is 0 (no arc).
bool BulgeArcGeometry(const CDPoint& p, const CDPoint& q, double bulge, CBulgeArc& arc);

// Appends to `layer` the straight pieces of the bulge arc from (x1, y1) to
// (x2, y2): pieces of `kind` with `width`, running from the first point to
// the second whatever the direction, finer on larger circles.
void BulgeArcToSegments(float x1, float y1, float x2, float y2, float bulge, float width,
                        CPathRecord& layer, int kind);

// Multiplies an item's points, centre and width or radius by `factor`.
void ScaleDxfItem(CPathSegment& item, float factor);
