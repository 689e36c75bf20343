// Variants of the engine's small tests that no stage of the path
// calculation calls (the float sweep of an arc, ArcSweepDegrees, lives with
// the records): a box test with a wider slack, the end-point join of a copper record, a point-in-polygon test closed
// at both ends of its edges, an exact collinearity test and the foot of a
// perpendicular. They keep the same conventions as the tests the stages use,
// so a stage may take one of them up without surprises.
#pragma once

#include "offset/crossings.h"
#include "records/copper_records.h"

// (px, py) lies in the segment's box widened by 0.05.
bool IsPointInSegmentBoxLoose(const double* px, const double* py, double x1, double y1,
                              double x2, double y2);
// Both ends of the track (single precision) lie within 2.0 of p1 or of p2.
int AreEndpointsJoinedAlt(const CTrackRecord& track, const CDPoint& p1, const CDPoint& p2);
// Even-odd test in single precision; an edge counts over [low y, high y],
// both ends closed. A level edge never counts.
int IsPointInPolygonAlt(const CIsoPolygon& polygon, double x, double y);
// The three points lie on one line, computed without tolerance.
int AreCollinear(double x1, double y1, double x2, double y2, double x3, double y3);
// The foot of (px, py) on the line through (x1, y1) and (x2, y2), in single
// precision. A vertical line, or one of no length, has its foot level with
// the point on it.
CDPoint FootOfPerpendicular(float px, float py, float x1, float y1, float x2, float y2);
