// Plane geometry. The float forms keep their intermediate slopes in single
// precision, as the scan-line planner's records do; tolerances are literal.
#include "geometry/plane_geometry.h"


#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Where the carrier lines through P1-P2 and P3-P4 meet; false when they are
// parallel (equal slopes) or both vertical. T fixes the precision of the
// slopes and of the point.
template <class T>
bool CarrierLinesMeet(T x1, T y1, T x2, T y2, T x3, T y3, T x4, T y4, T* x, T* y)
{
    bool firstVertical = x1 == x2, secondVertical = x3 == x4;
    if (firstVertical && secondVertical)
        return false;
    if (firstVertical) {
        T m2 = (y4 - y3) / (x4 - x3);
        *x = x1;
        *y = (*x - x3) * m2 + y3;
        return true;
    }
    T m1 = (y2 - y1) / (x2 - x1);
    if (secondVertical) {
        *x = x3;
        *y = (*x - x1) * m1 + y1;
        return true;
    }
    T m2 = (y4 - y3) / (x4 - x3);
    if (m1 == m2)
        return false;
    *x = (m1 * x1 - y1 + y3 - m2 * x3) / (m1 - m2);
    *y = (*x - x1) * m1 + y1;
    return true;
}

// Is v within [min(a, b) - tol, max(a, b) + tol]? The tolerance arithmetic
// is done in double, as the literal constants are doubles.
template <class T>
bool WithinRange(T v, T a, T b, double tol = 0.0)
{
    return double(v) - tol <= double(std::max(a, b)) && double(std::min(a, b)) <= double(v) + tol;
}

template <class T>
bool InBox(T x, T y, T x1, T y1, T x2, T y2)
{
    return WithinRange(x, x1, x2) && WithinRange(y, y1, y2);
}

// The two points where the carrier line of P1-P2 meets the circle, first root
// first; false when the discriminant lies below -0.01. Between -0.01 and 0
// the absolute value is used, so a near-tangent line touches.
template <class T>
bool CarrierLineCircle(double cx, double cy, double r, T x1, T y1, T x2, T y2, double* xa,
                       double* ya, double* xb, double* yb)
{
    if (x1 == x2) {
        double d = r * r - (double(x1) - cx) * (double(x1) - cx);
        if (d < -0.01)
            return false;
        double s = std::sqrt(std::fabs(d));
        *xa = x1;
        *ya = cy + s;
        *xb = x1;
        *yb = cy - s;
        return true;
    }
    T m = (y2 - y1) / (x2 - x1);
    T c = y1 - m * x1;
    return IntersectLineCircle(cx, cy, r, m, c, xa, ya, xb, yb) == 1;
}

// Makes A the point nearer to the segment's outer end (the end farther from
// the centre; P2 on a tie).
void OrderFromOuterEnd(double cx, double cy, double x1, double y1, double x2, double y2,
                       double* xa, double* ya, double* xb, double* yb)
{
    bool p1Outer = Distance(x1, y1, cx, cy) > Distance(x2, y2, cx, cy);
    double ox = p1Outer ? x1 : x2, oy = p1Outer ? y1 : y2;
    if (Distance(*xb, *yb, ox, oy) < Distance(*xa, *ya, ox, oy)) {
        std::swap(*xa, *xb);
        std::swap(*ya, *yb);
    }
}

// Steps 2 to 4 of the segment-circle meeting, shared by the double and float
// forms: carrier-line points, ordered from the outer end, then the box test.
template <class T>
int SegmentCircleMeeting(T cx, T cy, T r, T x1, T y1, T x2, T y2, T* xa, T* ya, T* xb, T* yb,
                         bool boxTest)
{
    double ax, ay, bx, by;
    if (!CarrierLineCircle<T>(cx, cy, r, x1, y1, x2, y2, &ax, &ay, &bx, &by))
        return -2;
    OrderFromOuterEnd(cx, cy, x1, y1, x2, y2, &ax, &ay, &bx, &by);
    *xa = T(ax);
    *ya = T(ay);
    *xb = T(bx);
    *yb = T(by);
    if (!boxTest)
        return 1;
    if (InBox(*xa, *ya, x1, y1, x2, y2) || InBox(*xb, *yb, x1, y1, x2, y2))
        return 1;
    return 2;
}

// The rejection of the float forms: an axis-parallel segment that lies
// farther than r from the centre cannot meet the circle.
bool AxisSegmentBeyond(float cx, float cy, float r, float x1, float y1, float x2, float y2)
{
    if (y1 == y2 && std::fabs(y1 - cy) > r)
        return true;
    return x1 == x2 && std::fabs(x1 - cx) > r;
}

}  // namespace

double Distance(double x1, double y1, double x2, double y2)
{
    if (x1 == x2 && y1 == y2)
        return 0.0;
    if (x1 == x2)
        return std::fabs(y1 - y2);
    if (y1 == y2)
        return std::fabs(x1 - x2);
    double dx = x1 - x2, dy = y1 - y2;
    return std::sqrt(dx * dx + dy * dy);
}

double PointLineDistance(double px, double py, double x1, double y1, double x2, double y2)
{
    return ((y1 - y2) * px + (x2 - x1) * py + x1 * y2 - x2 * y1) /
           std::sqrt((y1 - y2) * (y1 - y2) + (x2 - x1) * (x2 - x1));
}

double PointLineDistanceF(float px, float py, float x1, float y1, float x2, float y2)
{
    return PointLineDistance(px, py, x1, y1, x2, y2);
}

double LineDistanceSI(float px, float py, float x1, float y1, float x2, float y2)
{
    if (x1 == x2)
        return std::fabs(double(px) - double(x1));
    if (y1 == y2)
        return std::fabs(double(py) - double(y1));
    float m = (y1 - y2) / (x1 - x2);
    float c = y1 - m * x1;
    return std::fabs(double(py) - double(m) * px - c) / std::sqrt(1.0 + double(m) * m);
}

double AngleOf(double x1, double y1, double x2, double y2)
{
    double angle = std::atan2(y1 - y2, x1 - x2);
    if (angle <= 0.0)
        angle += 6.2831852;
    return angle;
}

void PerpendicularFoot(float* x, float* y, float m, float c, float c2)
{
    *x = (c2 - c) / (1.0f / m + m);
    *y = m * *x + c;
}

double InterpolateF(float x1, float y1, float x2, float y2, float v)
{
    return (v - x2) * (y1 - y2) / (x1 - x2) + y2;
}

void CircleFrom3Points(double x1, double y1, double x2, double y2, double x3, double y3,
                       float* cx, float* cy, float* r)
{
    double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
    double a = s1 - s2, b = s2 - s3;
    double v = (b * (x1 - x2) - a * (x2 - x3)) / ((y1 - y2) * (x2 - x3) - (y2 - y3) * (x1 - x2));
    double u = (b * (y1 - y2) - a * (y2 - y3)) / ((x1 - x2) * (y2 - y3) - (x2 - x3) * (y1 - y2));
    double centreX = -u / 2.0, centreY = -v / 2.0;
    *cx = float(centreX);
    *cy = float(centreY);
    *r = float(Distance(centreX, centreY, x1, y1));
}

int IntersectLinesF(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                    float y4, float* x, float* y)
{
    return CarrierLinesMeet(x1, y1, x2, y2, x3, y3, x4, y4, x, y) ? 1 : 0;
}

int IntersectSegments(double x1, double y1, double x2, double y2, double x3, double y3,
                      double x4, double y4, double* x, double* y)
{
    // Quick rejection of an axis-parallel first segment, exact comparisons.
    if (y1 == y2 && y3 != y4 && !WithinRange(y1, y3, y4))
        return 0;
    if (x1 == x2 && x3 != x4 && !WithinRange(x1, x3, x4))
        return 0;
    if (!CarrierLinesMeet(x1, y1, x2, y2, x3, y3, x4, y4, x, y))
        return 0;
    const double tol = 0.0001;
    bool accepted = WithinRange(*x, x1, x2, tol) && WithinRange(*x, x3, x4, tol) &&
                    WithinRange(*y, y1, y2, tol) && WithinRange(*y, y3, y4, tol);
    return accepted ? 1 : 0;
}

int IntersectSegmentsTolF(float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                          float y4, float* x, float* y)
{
    double dx1 = std::fabs(x1 - x2), dx2 = std::fabs(x3 - x4);
    if (std::fabs(y1 - y2) < 0.001 && y3 != y4 && !WithinRange(y1, y3, y4))
        return 0;
    if (dx1 < 0.001 && x3 != x4 && !WithinRange(x1, x3, x4))
        return 0;

    if (dx1 > 0.001 && dx2 > 0.001) {
        float m1 = (y2 - y1) / (x2 - x1);
        float m2 = (y4 - y3) / (x4 - x3);
        if (std::fabs(m1 - m2) <= 0.001)
            return 0;
        *x = (m1 * x1 - y1 + y3 - m2 * x3) / (m1 - m2);
        *y = (*x - x1) * m1 + y1;
        // The upper y bound of the first segment is tighter (0.01) than the
        // seven others (0.02); the planner's cuts rely on that asymmetry.
        double px = *x, py = *y;
        bool accepted = px - 0.02 <= std::max(x1, x2) && px - 0.02 <= std::max(x3, x4) &&
                        std::min(x1, x2) <= px + 0.02 && std::min(x3, x4) <= px + 0.02 &&
                        py - 0.01 <= std::max(y1, y2) && py - 0.02 <= std::max(y3, y4) &&
                        std::min(y3, y4) <= py + 0.02 && std::min(y1, y2) <= py + 0.02;
        return accepted ? 1 : 0;
    }
    if (dx1 < 0.001 && dx2 > 0.0001) {
        float m2 = (y4 - y3) / (x4 - x3);
        *x = x1;
        *y = (*x - x3) * m2 + y3;
        return InBox(*x, *y, x1, y1, x2, y2) && InBox(*x, *y, x3, y3, x4, y4) ? 1 : 0;
    }
    if (dx2 < 0.001 && dx1 > 0.001) {
        float m1 = (y2 - y1) / (x2 - x1);
        *x = x3;
        *y = (*x - x1) * m1 + y1;
        return InBox(*x, *y, x1, y1, x2, y2) && InBox(*x, *y, x3, y3, x4, y4) ? 1 : 0;
    }
    // Both nearly vertical, or a difference of exactly 0.001.
    return 0;
}

int IntersectSegEndsF(float ax1, float ay1, float ax2, float ay2, float bx1, float by1,
                      float bx2, float by2, float* x, float* y)
{
    if (!CarrierLinesMeet(ax1, ay1, ax2, ay2, bx1, by1, bx2, by2, x, y))
        return 0;
    return InBox(*x, *y, ax1, ay1, ax2, ay2) && InBox(*x, *y, bx1, by1, bx2, by2) ? 1 : 0;
}

int PointInQuadF(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                 float px, float py)
{
    double d12 = std::fabs(x1 - x2), d14 = std::fabs(x1 - x4);
    auto encloses = [py](double a, double b) { return std::min(a, b) <= py && py <= std::max(a, b); };
    if (d12 > 0.001 && d14 > 0.001) {
        bool inside = encloses(InterpolateF(x1, y1, x2, y2, px), InterpolateF(x4, y4, x3, y3, px)) &&
                      encloses(InterpolateF(x1, y1, x4, y4, px), InterpolateF(x2, y2, x3, y3, px));
        return inside ? 1 : 0;
    }
    // Axis-parallel rectangles; either corner order is accepted.
    if (d14 < 0.001 && !(d12 < 0.001))
        return WithinRange(px, x1, x2) && WithinRange(py, y1, y4) ? 1 : 0;
    if (d12 < 0.001)
        return WithinRange(px, x1, x4) && WithinRange(py, y1, y2) ? 1 : 0;
    return 0;
}

int IntersectLineCircle(double cx, double cy, double r, double m, double c, double* xa,
                        double* ya, double* xb, double* yb)
{
    double k = c - cy;
    double a = m * m + 1.0;
    double b = 2.0 * m * k - 2.0 * cx;
    double cc = k * k + cx * cx - r * r;
    double d = b * b - 4.0 * a * cc;
    if (d < -0.01)
        return -2;
    double s = std::sqrt(std::fabs(d));
    *xa = (s - b) / (2.0 * a);
    *xb = (-b - s) / (2.0 * a);
    *ya = m * *xa + c;
    *yb = m * *xb + c;
    return 1;
}

int IntersectSegmentCircle(double cx, double cy, double r, double x1, double y1, double x2,
                           double y2, double* xa, double* ya, double* xb, double* yb)
{
    if (Distance(x1, y1, cx, cy) <= r && Distance(x2, y2, cx, cy) <= r)
        return 0;
    return SegmentCircleMeeting(cx, cy, r, x1, y1, x2, y2, xa, ya, xb, yb, true);
}

int IntersectSegmentCircleF(float cx, float cy, float r, float x1, float y1, float x2, float y2,
                            float* xa, float* ya, float* xb, float* yb, int mode)
{
    bool in1 = DistanceF(x1, y1, cx, cy) <= r, in2 = DistanceF(x2, y2, cx, cy) <= r;
    if (mode == 0) {
        if (in1 && in2)
            return 0;
    } else {
        if (AxisSegmentBeyond(cx, cy, r, x1, y1, x2, y2))
            return 0;
        if (!in1 && !in2) {
            double limit = mode == 2 ? 10.0 : double(r);
            bool near = InBox(cx, cy, x1, y1, x2, y2) &&
                        LineDistanceSI(cx, cy, x1, y1, x2, y2) < limit;
            return near ? 1 : 0;
        }
    }
    return SegmentCircleMeeting(cx, cy, r, x1, y1, x2, y2, xa, ya, xb, yb, true);
}

int IntersectSegmentCircle2F(float cx, float cy, float r, float x1, float y1, float x2,
                             float y2, float* xa, float* ya, float* xb, float* yb)
{
    if (AxisSegmentBeyond(cx, cy, r, x1, y1, x2, y2))
        return 0;
    if (DistanceF(x1, y1, cx, cy) <= r && DistanceF(x2, y2, cx, cy) <= r)
        return 0;
    return SegmentCircleMeeting(cx, cy, r, x1, y1, x2, y2, xa, ya, xb, yb, false);
}

namespace {

// One turn as the arc tests add it: a little short of 2·pi, so an angle
// pushed round by it stays inside AngleOf's range.
constexpr double kArcSideTurn = 6.283185;
constexpr float kSweepTurn = 6.28318f;
// Two points closer in angle than this make a full circle.
constexpr double kFullCircleAngle = 0.01;

}  // namespace

int ArcSideOfPoint(double cx, double cy, double sx, double sy, double px, double py, double ex,
                   double ey)
{
    double a0 = AngleOf(sx, sy, cx, cy);
    double ap = AngleOf(px, py, cx, cy);
    double a1 = AngleOf(ex, ey, cx, cy);
    // Bring the end onto the same side of the start as the point, so the two
    // ways round can be compared as plain differences.
    if (a0 < ap && a1 < a0)
        a1 += kArcSideTurn;
    if (ap < a0 && a0 < a1)
        a1 -= kArcSideTurn;
    return ap - a0 <= a1 - a0 ? 1 : 2;
}

bool PointOnArc(const CArcD& arc, const CDPoint& p, double tolerance)
{
    double radius = Distance(arc.cx, arc.cy, arc.x2, arc.y2);
    if (std::fabs(Distance(arc.cx, arc.cy, p.x, p.y) - radius) > tolerance)
        return false;
    double first = std::atan2(arc.y1 - arc.cy, arc.x1 - arc.cx);
    double second = std::atan2(arc.y2 - arc.cy, arc.x2 - arc.cx);
    if (std::fabs(first - second) < kFullCircleAngle)
        return true;
    return ArcSideOfPoint(arc.cx, arc.cy, arc.x1, arc.y1, p.x, p.y, arc.x2, arc.y2) ==
           arc.direction;
}

bool PointOnArcXY(const CArcD& arc, int x, int y, double tolerance)
{
    return PointOnArc(arc, CDPoint(x, y), tolerance);
}

bool PointInArcSweep(const CArcF& arc, const CDPoint& p, float tolerance)
{
    double radius = DistanceF(arc.cx, arc.cy, arc.x2, arc.y2);
    if (std::fabs(DistanceDF(p.x, p.y, arc.cx, arc.cy) - radius) > tolerance)
        return false;
    float first = float(AngleOf(arc.x1, arc.y1, arc.cx, arc.cy));
    float second = float(AngleOf(arc.x2, arc.y2, arc.cx, arc.cy));
    float point = float(AngleOf(p.x, p.y, arc.cx, arc.cy));
    // Both the sweep and the point's angle are measured from the first point
    // the way the arc runs, so a clockwise arc is measured clockwise too.
    bool rising = arc.direction == 1;
    float sweep = rising ? second - first : first - second;
    float relative = rising ? point - first : first - point;
    if (sweep <= 0.0f)
        sweep += kSweepTurn;
    if (relative <= 0.0f)
        relative += kSweepTurn;
    return sweep > relative;
}
