// Exact distances between the centre shapes of source elements: points,
// segments, arcs and filled rectangles. Each pair's distance is the least of
// a few candidate distances between actual points of both shapes, among
// which the closest pair always is (end points, crossings, and the points on
// the common normal through an arc's centre).
#include "offset/copper_distance.h"

#include "geometry/plane_geometry.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "offset/rect_frame.h"

#include <algorithm>
#include <cmath>

using namespace offset;

namespace {

double Dist(const CDPoint& a, const CDPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }
double Cross(const CDPoint& o, const CDPoint& a, const CDPoint& b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

bool OnSegment(const CDPoint& p, const CDPoint& a, const CDPoint& b)
{
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool SegmentsMeet(const CDPoint& a, const CDPoint& b, const CDPoint& c, const CDPoint& d)
{
    double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return (d1 == 0 && OnSegment(a, c, d)) || (d2 == 0 && OnSegment(b, c, d)) ||
           (d3 == 0 && OnSegment(c, a, b)) || (d4 == 0 && OnSegment(d, a, b));
}

// The centre arc of an arc element. Angles are those the element holds, so
// directions are measured with the same pi its angles were made with.
struct Arc {
    CDPoint c;
    double r;
    double s, e;
    CDPoint p1, p2;

    explicit Arc(const CIsoElement& el)
        : c(el.Pt0), r(el.Radius), s(el.StartAngle), e(el.EndAngle), p1(el.Pt1), p2(el.Pt2)
    {
    }
    bool Holds(double theta) const
    {
        if (e > s)
            return s <= theta && theta <= e;
        return theta >= s || theta <= e;
    }
    bool HoldsPoint(const CDPoint& p) const { return Holds(AngleAbout(c.x, c.y, p.x, p.y, kPi)); }
    // The point of the circle in the direction of unit vector u from the centre.
    CDPoint Along(double ux, double uy) const { return {c.x + r * ux, c.y + r * uy}; }
};

double PointArc(const CDPoint& p, const Arc& arc)
{
    double dc = Dist(p, arc.c);
    if (dc > 0.0 && arc.HoldsPoint(p))
        return std::fabs(dc - arc.r);
    double best = std::min(Dist(p, arc.p1), Dist(p, arc.p2));
    if (dc == 0.0)
        best = std::min(best, arc.r);
    return best;
}

double SegmentArc(const CDPoint& a, const CDPoint& b, const Arc& arc)
{
    double best = std::min({PointArc(a, arc), PointArc(b, arc), PointSegmentDistance(arc.p1, a, b),
                            PointSegmentDistance(arc.p2, a, b)});
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    if (len2 == 0.0)
        return best;
    // Crossings of the segment with the circle.
    double fx = a.x - arc.c.x, fy = a.y - arc.c.y;
    double bq = 2.0 * (fx * dx + fy * dy), cq = fx * fx + fy * fy - arc.r * arc.r;
    double disc = bq * bq - 4.0 * len2 * cq;
    if (disc >= 0.0) {
        double root = std::sqrt(disc);
        for (double t : {(-bq - root) / (2.0 * len2), (-bq + root) / (2.0 * len2)})
            if (t >= 0.0 && t <= 1.0 && arc.HoldsPoint({a.x + t * dx, a.y + t * dy}))
                return 0.0;
    }
    // The common normal: the foot of the centre on the segment and the
    // circle's points on the same radius.
    double t = -(fx * dx + fy * dy) / len2;
    if (t > 0.0 && t < 1.0) {
        CDPoint f(a.x + t * dx, a.y + t * dy);
        double df = Dist(f, arc.c);
        double len = std::sqrt(len2);
        double ux = df > 0.0 ? (f.x - arc.c.x) / df : -dy / len;
        double uy = df > 0.0 ? (f.y - arc.c.y) / df : dx / len;
        for (double sign : {1.0, -1.0}) {
            CDPoint q = arc.Along(sign * ux, sign * uy);
            if (arc.HoldsPoint(q))
                best = std::min(best, Dist(f, q));
        }
    }
    return best;
}

double ArcArc(const Arc& a, const Arc& b)
{
    double best = std::min({PointArc(a.p1, b), PointArc(a.p2, b), PointArc(b.p1, a),
                            PointArc(b.p2, a)});
    double dc = Dist(a.c, b.c);
    if (dc == 0.0) {
        // Concentric: where the angles overlap the rings are |ra - rb| apart.
        if (b.Holds(a.s) || a.Holds(b.s))
            best = std::min(best, std::fabs(a.r - b.r));
        return best;
    }
    double ux = (b.c.x - a.c.x) / dc, uy = (b.c.y - a.c.y) / dc;
    // Crossings of the two circles.
    double along = (dc * dc + a.r * a.r - b.r * b.r) / (2.0 * dc);
    double h2 = a.r * a.r - along * along;
    if (h2 >= 0.0) {
        double h = std::sqrt(h2);
        for (double sign : {1.0, -1.0}) {
            CDPoint x(a.c.x + along * ux - sign * h * uy, a.c.y + along * uy + sign * h * ux);
            if (a.HoldsPoint(x) && b.HoldsPoint(x))
                return 0.0;
        }
    }
    // The line of centres.
    for (double sa : {1.0, -1.0}) {
        CDPoint pa = a.Along(sa * ux, sa * uy);
        if (!a.HoldsPoint(pa))
            continue;
        for (double sb : {1.0, -1.0}) {
            CDPoint pb = b.Along(sb * ux, sb * uy);
            if (b.HoldsPoint(pb))
                best = std::min(best, Dist(pa, pb));
        }
    }
    return best;
}

struct Rect {
    CRectFrame f;
    CDPoint corner[4];
    explicit Rect(const CIsoElement& el) : f(el) { f.Corners(0.0, corner); }
    bool Contains(const CDPoint& p) const
    {
        double px = p.x - f.centre.x, py = p.y - f.centre.y;
        double lx = px * f.axis.x + py * f.axis.y, ly = -px * f.axis.y + py * f.axis.x;
        return std::fabs(lx) <= f.hx + 1e-12 && std::fabs(ly) <= f.hy + 1e-12;
    }
    template <class EdgeDistance>
    double MinOverEdges(EdgeDistance edge) const
    {
        double best = edge(corner[3], corner[0]);
        for (int i = 0; i < 3 && best > 0.0; ++i)
            best = std::min(best, edge(corner[i], corner[i + 1]));
        return best;
    }
};

double RectPoint(const Rect& r, const CDPoint& p)
{
    if (r.Contains(p))
        return 0.0;
    return r.MinOverEdges([&](const CDPoint& a, const CDPoint& b) {
        return PointSegmentDistance(p, a, b);
    });
}

double RectSegment(const Rect& r, const CDPoint& a, const CDPoint& b)
{
    if (r.Contains(a) || r.Contains(b))
        return 0.0;
    return r.MinOverEdges([&](const CDPoint& c, const CDPoint& d) {
        return SegmentSegmentDistance(a, b, c, d);
    });
}

double RectArc(const Rect& r, const Arc& arc)
{
    if (r.Contains(arc.p1) || r.Contains(arc.p2))
        return 0.0;
    return r.MinOverEdges([&](const CDPoint& c, const CDPoint& d) { return SegmentArc(c, d, arc); });
}

double RectRect(const Rect& a, const Rect& b)
{
    for (const CDPoint& p : a.corner)
        if (b.Contains(p))
            return 0.0;
    for (const CDPoint& p : b.corner)
        if (a.Contains(p))
            return 0.0;
    return a.MinOverEdges(
        [&](const CDPoint& c, const CDPoint& d) { return RectSegment(b, c, d); });
}

// Kinds ordered line, arc, circle, rectangle, so each pair is written once.
int Rank(std::uint8_t kind)
{
    switch (kind) {
    case ISO_LINE: return 0;
    case ISO_ARC: return 1;
    case ISO_CIRCLE: return 2;
    default: return 3;
    }
}

double CentreDistance(const CIsoElement& a, const CIsoElement& b)
{
    switch (Rank(a.Kind) * 4 + Rank(b.Kind)) {
    case 0: return SegmentSegmentDistance(a.Pt0, a.Pt1, b.Pt0, b.Pt1);
    case 1: return SegmentArc(a.Pt0, a.Pt1, Arc(b));
    case 2: return PointSegmentDistance(b.Pt0, a.Pt0, a.Pt1);
    case 3: return RectSegment(Rect(b), a.Pt0, a.Pt1);
    case 5: return ArcArc(Arc(a), Arc(b));
    case 6: return PointArc(b.Pt0, Arc(a));
    case 7: return RectArc(Rect(b), Arc(a));
    case 10: return Dist(a.Pt0, b.Pt0);
    case 11: return RectPoint(Rect(b), a.Pt0);
    case 15: return RectRect(Rect(a), Rect(b));
    default: return CentreDistance(b, a);
    }
}

}  // namespace

double PointSegmentDistance(const CDPoint& p, const CDPoint& a, const CDPoint& b)
{
    double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    if (len2 == 0.0)
        return Dist(p, a);
    double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
    return Dist(p, {a.x + t * dx, a.y + t * dy});
}

double SegmentSegmentDistance(const CDPoint& a, const CDPoint& b, const CDPoint& c,
                              const CDPoint& d)
{
    if (SegmentsMeet(a, b, c, d))
        return 0.0;
    return std::min({PointSegmentDistance(a, c, d), PointSegmentDistance(b, c, d),
                     PointSegmentDistance(c, a, b), PointSegmentDistance(d, a, b)});
}

double CopperHalfWidth(const CIsoElement& e)
{
    switch (e.Kind) {
    case ISO_LINE: return e.Radius / 2.0;
    case ISO_ARC: return e.HalfWidth;
    case ISO_CIRCLE: return e.Radius + e.HalfWidth;
    default: return 0.0;
    }
}

double CopperGap(const CIsoElement& a, const CIsoElement& b)
{
    return CentreDistance(a, b) - CopperHalfWidth(a) - CopperHalfWidth(b);
}

void CopperBox(const CIsoElement& e, double box[4])
{
    CDPoint pts[4];
    int n = 0;
    switch (e.Kind) {
    case ISO_LINE:
        pts[n++] = e.Pt0;
        pts[n++] = e.Pt1;
        break;
    case ISO_RECT:
        CRectFrame(e).Corners(0.0, pts);
        n = 4;
        break;
    default:
        // Arcs are boxed by their whole circle: cheap and never too small.
        pts[n++] = CDPoint(e.Pt0.x - e.Radius, e.Pt0.y - e.Radius);
        pts[n++] = CDPoint(e.Pt0.x + e.Radius, e.Pt0.y + e.Radius);
        break;
    }
    double h = CopperHalfWidth(e);
    if (e.Kind == ISO_CIRCLE)
        h = e.HalfWidth;
    box[0] = box[2] = pts[0].x;
    box[1] = box[3] = pts[0].y;
    for (int i = 1; i < n; ++i) {
        box[0] = std::min(box[0], pts[i].x);
        box[1] = std::min(box[1], pts[i].y);
        box[2] = std::max(box[2], pts[i].x);
        box[3] = std::max(box[3], pts[i].y);
    }
    box[0] -= h;
    box[1] -= h;
    box[2] += h;
    box[3] += h;
}
