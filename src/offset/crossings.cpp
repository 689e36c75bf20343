// Crossing and polygon tests of the removal passes.
#include "offset/crossings.h"

#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "offset/rect_frame.h"

#include <cmath>

using namespace offset;

namespace {

// Angles compared in single precision.
bool InsideRangeF(const CIsoElement& arc, double x, double y, double margin)
{
    float theta = float(AngleAbout(arc.Pt0.x, arc.Pt0.y, x, y, kPi));
    return IsStrictlyInsideRange(float(arc.StartAngle), float(arc.EndAngle), theta, margin);
}

// The first crossing of two circles that lies in `inAngles`'s angles and
// strictly inside `inRange`'s range.
int CirclesCrossWithin(double c1x, double c1y, double r1, double c2x, double c2y, double r2,
                       const CIsoElement& inAngles, const CIsoElement& inRange)
{
    double x[2], y[2];
    if (IntersectCircles(c1x, c1y, r1, c2x, c2y, r2, &x[0], &y[0], &x[1], &y[1]) <= 0)
        return 0;
    for (int i = 0; i < 2; ++i)
        if (IsAngleInArc(inAngles, x[i], y[i]) &&
            InsideRangeF(inRange, x[i], y[i], kTrimArcArcAngle))
            return 1;
    return 0;
}

}  // namespace

int ArcArcCrossingA(const CIsoElement& s, const CIsoElement& p, float d)
{
    double half = d / 2.0;
    if (s.Radius <= p.Radius)
        return CirclesCrossWithin(s.Pt0.x, s.Pt0.y, half + s.Radius + 0.01, p.Pt0.x, p.Pt0.y,
                                  p.Radius, s, p);
    return CirclesCrossWithin(s.Pt0.x, s.Pt0.y, float(half + s.Radius), p.Pt0.x, p.Pt0.y,
                              p.Radius + 0.01, s, p);
}

int ArcArcCrossingB(const CIsoElement& s, const CIsoElement& p, float d)
{
    return CirclesCrossWithin(s.Pt0.x, s.Pt0.y, s.Radius, p.Pt0.x, p.Pt0.y,
                              d / 2.0 + p.Radius + 0.01, s, p);
}

int ArcArcCrossingC(const CIsoElement& s, double ex, double ey, float d)
{
    return CirclesCrossWithin(s.Pt0.x, s.Pt0.y, s.Radius, ex, ey, d / 2.0 - 1.0, s, s);
}

int ArcLineCrossing(const CIsoElement& s, const CIsoElement& p, float e)
{
    if (p.Kind != ISO_LINE)
        return 0;
    double x[2], y[2];
    if (IntersectSegmentCircle(s.Pt0.x, s.Pt0.y, s.Radius + 0.008 + e, p.Pt0.x, p.Pt0.y,
                               p.Pt1.x, p.Pt1.y, &x[0], &y[0], &x[1], &y[1]) <= 0)
        return 0;
    const double widen = 0.5;
    for (int i = 0; i < 2; ++i) {
        if (!IsPointInSegmentBox(&x[i], &y[i], p.Pt0.x, p.Pt0.y, p.Pt1.x, p.Pt1.y))
            continue;
        double theta = AngleAbout(s.Pt0.x, s.Pt0.y, x[i], y[i], kPi);
        double a1 = s.StartAngle, a2 = s.EndAngle;
        bool within = a1 < a2 ? a1 - widen < theta && theta < a2 + widen
                              : theta > a1 - widen || theta < a2 + widen;
        if (within)
            return 1;
    }
    return 0;
}

int IsCloserThan(const CDPoint& a, float t, const CDPoint& b)
{
    return float(Distance(a.x, a.y, b.x, b.y)) <= t ? 1 : 0;
}

int IsPointInPolygon(const CIsoPolygon& polygon, double x, double y)
{
    if (polygon.size() < 3)
        return 0;
    float px = float(x), py = float(y);
    int inside = 0;
    std::size_t prev = polygon.size() - 1;
    for (std::size_t i = 0; i < polygon.size(); prev = i++) {
        float ux = float(polygon[i].x), uy = float(polygon[i].y);
        float vx = float(polygon[prev].x), vy = float(polygon[prev].y);
        bool spans = (uy <= py && py < vy) || (vy <= py && py < uy);
        if (spans && px < (py - uy) * (vx - ux) / (vy - uy) + ux)
            inside ^= 1;
    }
    return inside;
}

void BuildTrackOutline(CIsoPolygon& polygon, double x1, double y1, double x2, double y2,
                       float w)
{
    float h = w / 2.0f;
    float theta = float(std::atan2(float(y2) - float(y1), float(x2) - float(x1)));
    float nx = -h * std::sin(theta), ny = h * std::cos(theta);
    if (std::fabs(float(x1) - float(x2)) < 0.001f) {
        nx = theta > 0.0f ? -h : h;
        ny = 0.0f;
    } else if (std::fabs(float(y1) - float(y2)) < 0.001f) {
        nx = 0.0f;
        ny = theta > 0.0f ? -h : h;
    }
    float ax = float(x1), ay = float(y1), bx = float(x2), by = float(y2);
    polygon.emplace_back(ax + nx, ay + ny);
    polygon.emplace_back(bx + nx, by + ny);
    polygon.emplace_back(bx - nx, by - ny);
    polygon.emplace_back(ax - nx, ay - ny);
}

void BuildRectOutline(CIsoPolygon& polygon, const CIsoElement& rect, float g)
{
    CRectFrame f(rect);
    float hw = float(f.hx), hh = float(f.hy), m = g / 2.0f;
    const float local[12][2] = {
        {hw, hh + m},  {-hw, hh + m},  {-hw, hh},      {-hw - m, hh},
        {-hw - m, -hh}, {-hw, -hh},    {-hw, -hh - m}, {hw, -hh - m},
        {hw, -hh},     {hw + m, -hh},  {hw + m, hh},   {hw, hh},
    };
    for (const auto& v : local) {
        CDPoint p = f.At(v[0], v[1]);
        polygon.emplace_back(float(p.x), float(p.y));
    }
}

int ArcCrossesLine(double x1, double y1, double x2, double y2, double cx, double cy, float r,
                   float a1, float a2)
{
    float x[2], y[2];
    if (IntersectSegmentCircleF(float(cx), float(cy), r, float(x1), float(y1), float(x2),
                                float(y2), &x[0], &y[0], &x[1], &y[1], 0) <= 0)
        return 0;
    for (int i = 0; i < 2; ++i) {
        if (!SnapPointToSegmentBox(&x[i], &y[i], float(x1), float(y1), float(x2), float(y2)))
            continue;
        float theta = float(AngleAbout(cx, cy, x[i], y[i], kPi));
        bool within = a1 <= a2 ? a1 <= theta && theta <= a2 : theta > a1 || theta < a2;
        if (within)
            return 1;
    }
    return 0;
}

CDPoint ArcMiddlePoint(const CIsoElement& arc)
{
    float a1 = float(arc.StartAngle), a2 = float(arc.EndAngle);
    if (a2 < a1)
        a2 += 360.0f;
    float am = (a1 + a2) / 2.0f * float(kPiShort) / 180.0f;
    return {float(arc.Pt0.x + arc.Radius * std::cos(am)),
            float(arc.Pt0.y + arc.Radius * std::sin(am))};
}

int IsPieceInsidePolygon(const CIsoElement& s, const CIsoPolygon& polygon,
                         const CIsoElement& p, float d)
{
    if (p.Kind == ISO_LINE) {
        if (p.Source == &s)
            return 0;
        return IsPointInPolygon(polygon, p.Pt0.x, p.Pt0.y) ||
               IsPointInPolygon(polygon, p.Pt1.x, p.Pt1.y);
    }
    if (p.Kind != ISO_ARC)
        return 0;
    auto nearerEnd = [&](const CDPoint& q) {
        return float(MinD(Distance(q.x, q.y, s.Pt0.x, s.Pt0.y),
                          Distance(q.x, q.y, s.Pt1.x, s.Pt1.y)));
    };
    bool in1 = IsPointInPolygon(polygon, p.Pt1.x, p.Pt1.y);
    bool in2 = IsPointInPolygon(polygon, p.Pt2.x, p.Pt2.y);
    float half = d / 2.0f;
    if ((!in1 && half <= nearerEnd(p.Pt1) - 0.1f) || (!in2 && half <= nearerEnd(p.Pt2) - 0.1f))
        return 0;
    CDPoint q = ArcMiddlePoint(p);
    return IsPointInPolygon(polygon, q.x, q.y) || nearerEnd(q) < d / 2.01f;
}

int IsPieceInsidePolygon2(const CIsoElement& s, const CIsoPolygon& polygon,
                          const CIsoElement& p)
{
    if (p.Kind == ISO_LINE) {
        if (p.Source == &s)
            return 0;
        return IsPointInPolygon(polygon, p.Pt0.x, p.Pt0.y) &&
               IsPointInPolygon(polygon, p.Pt1.x, p.Pt1.y);
    }
    if (p.Kind != ISO_ARC)
        return 0;
    CDPoint q = ArcMiddlePoint(p);
    return IsPointInPolygon(polygon, p.Pt1.x, p.Pt1.y) &&
           IsPointInPolygon(polygon, p.Pt2.x, p.Pt2.y) && IsPointInPolygon(polygon, q.x, q.y);
}
