// Angle, band and box tests on the engine's arcs and segments.
#include "offset/element_predicates.h"

#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "offset/offset_constants.h"

#include <cmath>

using namespace offset;

double AngleAbout(double cx, double cy, double x, double y, double pi)
{
    return Degrees(std::atan2(y - cy, x - cx), pi);
}

CDPoint PointAtAngle(const CDPoint& centre, double radius, double degrees, double pi)
{
    double a = Radians(degrees, pi);
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

bool IsStrictlyInsideRange(double start, double end, double theta, double margin)
{
    if (start < end)
        return start < theta - margin && theta + margin < end;
    return start < theta - margin || theta + margin < end;
}

namespace {

float DirectionF(const CIsoElement& arc, double x, double y)
{
    return float(AngleAbout(arc.Pt0.x, arc.Pt0.y, x, y, kPiShort));
}

bool InAnglesNoSlack(const CIsoElement& arc, double x, double y)
{
    float a = DirectionF(arc, x, y);
    float s = float(arc.StartAngle), e = float(arc.EndAngle);
    if (e > s)
        return s <= a && a <= e;
    return a >= s || a <= e;
}

// Steps after the ring test: inside the angles, or beside an end point.
bool OnBandAnglesOrEnds(const CIsoElement& arc, double x, double y, float h)
{
    if (InAnglesNoSlack(arc, x, y))
        return true;
    float d1 = float(Distance(arc.Pt1.x, arc.Pt1.y, x, y));
    if (h > d1 - 0.001f)
        return true;
    float d2 = float(Distance(arc.Pt2.x, arc.Pt2.y, x, y));
    return h > d2 - 0.001f;
}

}  // namespace

bool IsAngleInArc(const CIsoElement& arc, double x, double y)
{
    return IsDirectionInArc(arc, std::atan2(y - arc.Pt0.y, x - arc.Pt0.x));
}

bool IsDirectionInArc(const CIsoElement& arc, double radians)
{
    float a = float(Degrees(radians, kPiShort));
    float s = float(arc.StartAngle), e = float(arc.EndAngle);
    const float slack = float(kAngleSlack);
    if (e > s)
        return s - slack <= a && a <= e + slack;
    return a >= s - slack || a <= e + slack;
}

bool IsPointOnArcBand(const CIsoElement& arc, double x, double y, float w)
{
    double h = w / 2.0, r = arc.Radius;
    float d = float(Distance(arc.Pt0.x, arc.Pt0.y, x, y));
    if (d - kBandSlack > r + h || d + kBandSlack < r - h)
        return false;
    return OnBandAnglesOrEnds(arc, x, y, float(h));
}

bool IsPointOnArcBandFine(const CIsoElement& arc, double x, double y, float w)
{
    double h = w / 2.0, r = arc.Radius;
    float d = float(Distance(arc.Pt0.x, arc.Pt0.y, x, y));
    if (d + w / 40.0 > r + h || d - w / 40.0 < r - h)
        return false;
    return OnBandAnglesOrEnds(arc, x, y, float(h));
}

signed char IntersectCircles(double c1x, double c1y, double r1, double c2x, double c2y,
                             double r2, double* xa, double* ya, double* xb, double* yb)
{
    double d = Distance(c1x, c1y, c2x, c2y);
    // Concentric circles have no line of crossings: equal ones coincide,
    // others never meet.
    if (d < 1e-9)
        return 0;
    double s = r1 + r2;
    if (s + 0.1 < d)
        return 0;
    if (std::fabs(d - s) < 0.1 && s > 0.0) {
        *xa = *xb = c1x + (c2x - c1x) / s * r1;
        *ya = *yb = c1y + (c2y - c1y) / s * r1;
        return 1;
    }
    if (std::fabs(c1y - c2y) < 0.01) {
        // Centres level: the crossings lie on a vertical line, found over
        // its whole length (crossings below y = 0 count as any other).
        double x = (r1 * r1 - r2 * r2 - c1x * c1x + c2x * c2x) / (2.0 * (c2x - c1x));
        double disc = r1 * r1 - (x - c1x) * (x - c1x);
        if (disc < -0.01)
            return -2;
        double h = std::sqrt(std::fabs(disc));
        *xa = *xb = x;
        *ya = c1y + h;
        *yb = c1y - h;
        return 1;
    }
    double den = 2.0 * c1y - 2.0 * c2y;
    double m = -(2.0 * c1x - 2.0 * c2x) / den;
    double k = (r2 * r2 - r1 * r1 - c2x * c2x + c1x * c1x - c2y * c2y + c1y * c1y) / den;
    return static_cast<signed char>(IntersectLineCircle(c1x, c1y, r1, m, k, xa, ya, xb, yb));
}

bool SnapPointToSegmentBox(float* px, float* py, float x1, float y1, float x2, float y2)
{
    if (*px < MinF(x1, x2) || *px > MaxF(x1, x2) || *py < MinF(y1, y2) || *py > MaxF(y1, y2))
        return false;
    float d1 = float(DistanceF(*px, *py, x1, y1));
    float d2 = float(DistanceF(*px, *py, x2, y2));
    if (d1 > d2 && d2 < 0.1f) {
        *px = x2;
        *py = y2;
    }
    if (d1 < d2 && d1 < 0.1f) {
        *px = x1;
        *py = y1;
    }
    return true;
}

bool IsPointInSegmentBoxWithin(const double* px, const double* py, double x1, double y1,
                               double x2, double y2, double slack)
{
    return *px - slack <= MaxD(x1, x2) && *px + slack >= MinD(x1, x2) &&
           *py - slack <= MaxD(y1, y2) && *py + slack >= MinD(y1, y2);
}

bool IsPointInSegmentBox(const double* px, const double* py, double x1, double y1, double x2,
                         double y2)
{
    return IsPointInSegmentBoxWithin(px, py, x1, y1, x2, y2, kBoxSlack);
}
