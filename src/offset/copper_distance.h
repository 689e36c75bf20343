// How far apart the copper of two source elements lies, computed exactly from
// their shapes: a line is its centre segment grown by half its width, an arc
// track its centre arc grown by its half width, a round pad a disc, a
// rectangle the filled rectangle (its corner circles are its corner points).
// Overlapping copper is 0 apart or less.
#pragma once

#include "records/offset_records.h"

// The gap between the copper of a and b: the distance of their centre shapes
// less both half widths; negative when they overlap.
double CopperGap(const CIsoElement& a, const CIsoElement& b);

// The shapes' distances, for the removal passes and the tests.
double PointSegmentDistance(const CDPoint& p, const CDPoint& a, const CDPoint& b);
double SegmentSegmentDistance(const CDPoint& a, const CDPoint& b, const CDPoint& c,
                              const CDPoint& d);

// How far the element's copper reaches beyond its centre shape.
double CopperHalfWidth(const CIsoElement& e);
// The box of the element's copper: min x, min y, max x, max y.
void CopperBox(const CIsoElement& e, double box[4]);
