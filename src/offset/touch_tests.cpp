// The touch tests of grouping and the end-point and rectangle tests of the
// removal passes.
#include "offset/touch_tests.h"

#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "offset/copper_distance.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "offset/offset_pieces.h"
#include "offset/rect_frame.h"

#include <initializer_list>

using namespace offset;

namespace {

bool IsRound(const CIsoElement& e) { return e.Kind == ISO_ARC || e.Kind == ISO_CIRCLE; }

bool Within(const CDPoint& a, const CDPoint& b, double limit)
{
    return Distance(a.x, a.y, b.x, b.y) <= limit;
}

// The points an arc's or circle's end points join: a line's band corners, a
// rectangle's grown corners, another arc's or circle's end points.
int JoinPoints(const CIsoElement& e, float d, CDPoint out[4])
{
    if (e.Kind == ISO_LINE) {
        CDPoint n = SegmentNormal(e, d);
        out[0] = e.Pt0 + n;
        out[1] = e.Pt1 + n;
        out[2] = e.Pt0 - n;
        out[3] = e.Pt1 - n;
        return 4;
    }
    if (e.Kind == ISO_RECT) {
        CRectFrame(e).Corners(d / 2.0, out);
        return 4;
    }
    out[0] = e.Pt1;
    out[1] = e.Pt2;
    return 2;
}

// An arc's or circle's end point lies within d/2 + 1.0 of the other's join
// points, either way round.
bool EndsJoin(const CIsoElement& a, const CIsoElement& b, float d)
{
    double limit = d / 2.0 + kEndJoinSlack;
    for (const auto& [round, other] : {std::pair{&a, &b}, std::pair{&b, &a}}) {
        if (!IsRound(*round))
            continue;
        CDPoint points[4];
        int n = JoinPoints(*other, d, points);
        for (int i = 0; i < n; ++i)
            if (Within(round->Pt1, points[i], limit) || Within(round->Pt2, points[i], limit))
                return true;
    }
    return false;
}

bool CentreNear(const CDPoint& centre, const CDPoint& p, float d)
{
    return Distance(centre.x, centre.y, p.x, p.y) < d / 2.0 + kCentreJoinSlack;
}

bool GapBelow(const CIsoElement& a, const CIsoElement& b, float d) { return CopperGap(a, b) < d; }

// The arc's circle of radius r crosses the segment at a point on the arc.
bool SegmentMeetsArc(const CDPoint& p, const CDPoint& q, const CIsoElement& arc, double r)
{
    double x[2], y[2];
    if (IntersectSegmentCircle(arc.Pt0.x, arc.Pt0.y, r, p.x, p.y, q.x, q.y, &x[0], &y[0], &x[1],
                               &y[1]) != 1)
        return false;
    for (int i = 0; i < 2; ++i)
        if (IsAngleInArc(arc, x[i], y[i]) && IsPointInSegmentBox(&x[i], &y[i], p.x, p.y, q.x, q.y))
            return true;
    return false;
}

int RectArcCrossing(const CIsoElement& rect, const CIsoElement& arc, double grow, double r)
{
    CRectFrame f(rect);
    f.hx += grow;
    f.hy += grow;
    CDPoint c[4];
    f.Corners(0.0, c);
    const CDPoint &tr = c[0], &tl = c[1], &bl = c[2], &br = c[3];
    const CDPoint* segments[4][2] = {{&tr, &tl}, {&tl, &br}, {&br, &bl}, {&bl, &tr}};
    for (const auto& s : segments)
        if (SegmentMeetsArc(*s[0], *s[1], arc, r))
            return 1;
    return 0;
}

}  // namespace

int TouchLineLine(const CIsoElement& a, const CIsoElement& b, float d)
{
    return GapBelow(a, b, d) ? 1 : 0;
}

int TouchLineRect(const CIsoElement& line, const CIsoElement& rect, float d)
{
    if (GapBelow(line, rect, d) || CentreNear(rect.Pt0, line.Pt0, d) ||
        CentreNear(rect.Pt0, line.Pt1, d))
        return 1;
    return 0;
}

int TouchRectRect(const CIsoElement& a, const CIsoElement& b, float d)
{
    return GapBelow(a, b, d) || CentreNear(a.Pt0, b.Pt0, d) ? 1 : 0;
}

int TouchLineArc(const CIsoElement& line, const CIsoElement& b, float d)
{
    return GapBelow(line, b, d) || EndsJoin(line, b, d) ? 1 : 0;
}

int TouchArcRect(const CIsoElement& rect, const CIsoElement& b, float d)
{
    return GapBelow(rect, b, d) || EndsJoin(rect, b, d) ? 1 : 0;
}

int TouchCircleCircle(const CIsoElement& a, const CIsoElement& b, float d)
{
    return GapBelow(a, b, d) || EndsJoin(a, b, d) ? 1 : 0;
}

int TouchArcArc(const CIsoElement& a, const CIsoElement& b, float d)
{
    return GapBelow(a, b, d) || EndsJoin(a, b, d) ? 1 : 0;
}

int ElementsTouch(const CIsoElement& a, const CIsoElement& b, float d)
{
    bool rectA = a.Kind == ISO_RECT, rectB = b.Kind == ISO_RECT;
    bool lineA = a.Kind == ISO_LINE, lineB = b.Kind == ISO_LINE;
    if (rectA && rectB)
        return TouchRectRect(a, b, d);
    if (rectA || rectB) {
        const CIsoElement& rect = rectA ? a : b;
        const CIsoElement& other = rectA ? b : a;
        return other.Kind == ISO_LINE ? TouchLineRect(other, rect, d) : TouchArcRect(rect, other, d);
    }
    if (lineA && lineB)
        return TouchLineLine(a, b, d);
    if (lineA || lineB)
        return TouchLineArc(lineA ? a : b, lineA ? b : a, d);
    if (a.Kind == ISO_CIRCLE && b.Kind == ISO_CIRCLE)
        return TouchCircleCircle(a, b, d);
    return TouchArcArc(a, b, d);
}

int AreEndpointsJoined(const CIsoElement& element, const CDPoint& p1, const CDPoint& p2)
{
    auto nearEither = [&](const CDPoint& q) {
        return Within(q, p1, kJoinDistance) || Within(q, p2, kJoinDistance);
    };
    return nearEither(PieceStart(element)) && nearEither(PieceEnd(element)) ? 1 : 0;
}

int IsPointInClosedBox(const CDPoint& c1, const CDPoint& c2, const CDPoint& p)
{
    return MinD(c1.x, c2.x) <= p.x && p.x <= MaxD(c1.x, c2.x) && MinD(c1.y, c2.y) <= p.y &&
                   p.y <= MaxD(c1.y, c2.y)
               ? 1
               : 0;
}

int RectCrossesArc(const CIsoElement& rect, const CIsoElement& arc, float t)
{
    return RectArcCrossing(rect, arc, t / 3.0, arc.Radius);
}

int RectCrossesArc2(const CIsoElement& rect, const CIsoElement& arc, float t)
{
    return RectArcCrossing(rect, arc, 0.0, float(t / 2.0f + arc.Radius));
}
