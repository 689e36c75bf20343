// Plane geometry shared by the planners, the offset engine, the editors, the
// drawers and the machine jobs: distances, direction angles, distances from
// lines, intersections of lines, segments and circles, a point-in-quadrilateral
// test, the circle through three points and where a point lies against an
// arc. The float forms serve the
// scan-line planner, whose records hold floats; their tolerances differ from
// the double forms on purpose and the planners depend on them.
//
// Units are the caller's. Nothing allocates or reports errors: degenerate
// input gives the result codes below or non-finite numbers. P1..P4 are
// (x1, y1)..(x4, y4); a line through P1 and P2 is vertical when x1 == x2.
#pragma once

#include "geometry/point.h"

#include <cstdint>

// Distances. Equal points give 0, equal x |y1 - y2|, equal y |x1 - x2|.
double Distance(double x1, double y1, double x2, double y2);
// The other forms differ only in their argument types.
inline double DistanceD8(double x1, double y1, double x2, double y2)
{
    return Distance(x1, y1, x2, y2);
}
inline double DistanceF(float x1, float y1, float x2, float y2)
{
    return Distance(x1, y1, x2, y2);
}
inline double DistanceI(int x1, int y1, int x2, int y2)
{
    return Distance(x1, y1, x2, y2);
}
inline double DistanceFD(float x1, float y1, double x2, double y2)
{
    return Distance(x1, y1, x2, y2);
}
inline double DistanceDF(double x1, double y1, float x2, float y2)
{
    return Distance(x1, y1, x2, y2);
}

// Signed distance of P from the line P1-P2, positive to the left of the
// direction P1 to P2 (y up). P1 and P2 must differ.
double PointLineDistance(double px, double py, double x1, double y1, double x2, double y2);
double PointLineDistanceF(float px, float py, float x1, float y1, float x2, float y2);

// Unsigned distance of P from the line through P1 and P2.
double LineDistanceSI(float px, float py, float x1, float y1, float x2, float y2);

// Direction from P2 to P1 in (0, 6.2831852]: a vector along +x gives
// 6.2831852, never 0.
double AngleOf(double x1, double y1, double x2, double y2);

// Foot of the perpendicular y = -x/m + c2 on y = m·x + c; m must not be 0.
void PerpendicularFoot(float* x, float* y, float m, float c, float c2);

// The y of the line P1-P2 at x = v.
double InterpolateF(float x1, float y1, float x2, float y2, float v);

// Circle through three points; collinear points give non-finite values.
void CircleFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                       float* cx, float* cy, float* r);

// Intersections of lines and segments: 1 the point was written and accepted,
// 0 none (a rejected point may still have been written).
int IntersectLinesF(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                    float y4, float* x, float* y);
int IntersectSegments(double x1, double y1, double x2, double y2, double x3, double y3,
                      double x4, double y4, double* x, double* y);
int IntersectSegmentsTolF(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                          float y4, float* x, float* y);
// The same test on two segments given by their end points in single
// precision, and on any two records with end points x1, y1, x2, y2.
int IntersectSegEndsF(float ax1, float ay1, float ax2, float ay2, float bx1, float by1,
                      float bx2, float by2, float* x, float* y);
template <class Segment>
int IntersectSegRecordsF(const Segment& a, const Segment& b, float* x, float* y)
{
    return IntersectSegEndsF(a.x1, a.y1, a.x2, a.y2, b.x1, b.y1, b.x2, b.y2, x, y);
}

// Is P inside the parallelogram P1 P2 P3 P4 (corners in order around)?
int PointInQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                 float px, float py);

// Intersections with the circle centre (cx, cy), radius r. A discriminant
// below -0.01 means no meeting; one between -0.01 and 0 counts as touching.
// Results: -2 the line misses the circle; 0 nothing to do; 1 a meeting;
// 2 the carrier line meets the circle outside the segment.
int IntersectLineCircle(double cx, double cy, double r, double m, double c, double* xa,
                        double* ya, double* xb, double* yb);
int IntersectSegmentCircle(double cx, double cy, double r, double x1, double y1, double x2,
                           double y2, double* xa, double* ya, double* xb, double* yb);
// mode 0 is IntersectSegmentCircle in floats; any other mode first rejects
// axis-parallel segments beyond r and answers segments with both ends outside
// by the centre's distance from the line (below 10.0 in mode 2, below r
// otherwise) without writing a point.
int IntersectSegmentCircleF(float cx, float cy, float r, float x1, float y1, float x2, float y2,
                            float* xa, float* ya, float* xb, float* yb, int mode);
// Like the above without the box test: 1 means the carrier line meets the
// circle.
int IntersectSegmentCircle2F(float cx, float cy, float r, float x1, float y1, float x2,
                             float y2, float* xa, float* ya, float* xb, float* yb);

// An arc from its first point to its second about a centre. The direction
// says which way round: 1 with rising angle (counter-clockwise, y up), any
// other value the other way. The editors keep arcs in doubles, the scan-line
// planner in floats.
struct CArcD {
    double x1 = 0.0, y1 = 0.0;   // first point
    double x2 = 0.0, y2 = 0.0;   // second point
    double cx = 0.0, cy = 0.0;   // centre
    int direction = 1;
};
struct CArcF {
    float x1 = 0.0f, y1 = 0.0f;
    float x2 = 0.0f, y2 = 0.0f;
    float cx = 0.0f, cy = 0.0f;
    std::uint8_t direction = 1;
};

// 1 when P lies on the counter-clockwise way from S to E about C (P on S or
// on E included), else 2. Angles are AngleOf's.
int ArcSideOfPoint(double cx, double cy, double sx, double sy, double px, double py, double ex,
                   double ey);
// Whether P lies within `tolerance` of the arc's circle (the radius is the
// second point's distance from the centre) and on the arc's way round; an arc
// whose two points lie at one angle is a full circle.
bool PointOnArc(const CArcD& arc, const CDPoint& p, double tolerance);
bool PointOnArcXY(const CArcD& arc, int x, int y, double tolerance);
// Whether P lies within `tolerance` of the circle through the second point
// and strictly inside the sweep from the first point (a point on the first
// point's ray counts as a whole turn away, so it is outside).
bool PointInArcSweep(const CArcF& arc, const CDPoint& p, float tolerance);
