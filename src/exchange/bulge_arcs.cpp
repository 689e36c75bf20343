// Bulge arcs: the circle of a bulge, cut into pieces for the conversion.
#include "exchange/bulge_arcs.h"

#include "records/board_records.h"

#include <cmath>
#include <memory>

namespace {

constexpr double kTwoPi = 2.0 * 3.14159265358979323846;

double Angle0To2Pi(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

// The angular step of the pieces for a radius in mil.
double PieceStep(double radius)
{
    if (radius > 1000.0)
        return 0.01;
    if (radius > 200.0)
        return 0.05;
    if (radius > 100.0)
        return 0.07;
    return 0.1;
}

}  // namespace

bool BulgeArcGeometry(const CDPoint& p, const CDPoint& q, double bulge, CBulgeArc& arc)
{
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double chord = std::hypot(dx, dy);
    if (chord == 0.0 || bulge == 0.0 || !std::isfinite(bulge))
        return false;
    // Sagitta s and radius r from the half chord; the centre lies on the
    // chord's perpendicular bisector, r - |s| from its midpoint, on the
    // left of P->Q for a positive bulge under a half circle.
    const double half = chord / 2.0;
    const double s = std::fabs(bulge) * half;
    arc.radius = (half * half + s * s) / (2.0 * s);
    const double nx = -dy / chord, ny = dx / chord;
    const double along = (bulge > 0.0 ? 1.0 : -1.0) * (arc.radius - s);
    arc.centre = CDPoint((p.x + q.x) / 2.0 + nx * along, (p.y + q.y) / 2.0 + ny * along);
    arc.reversed = bulge < 0.0;
    const CDPoint& from = arc.reversed ? q : p;
    const CDPoint& to = arc.reversed ? p : q;
    arc.start = Angle0To2Pi(std::atan2(from.y - arc.centre.y, from.x - arc.centre.x));
    arc.end = Angle0To2Pi(std::atan2(to.y - arc.centre.y, to.x - arc.centre.x));
    if (arc.end < arc.start)
        arc.end += kTwoPi;
    return true;
}

void BulgeArcToSegments(float x1, float y1, float x2, float y2, float bulge, float width,
                        CPathRecord& layer, int kind)
{
    CBulgeArc arc;
    if (!BulgeArcGeometry(CDPoint(x1, y1), CDPoint(x2, y2), bulge, arc))
        return;
    const double step = PieceStep(arc.radius);
    auto point = [&arc](double t) {
        return CDPoint(arc.centre.x + arc.radius * std::cos(t),
                       arc.centre.y + arc.radius * std::sin(t));
    };
    auto piece = [&](double from, double to) {
        auto item = std::make_unique<CPathSegment>();
        const CDPoint a = point(from), b = point(to);
        item->x1 = a.x;
        item->y1 = a.y;
        item->x2 = b.x;
        item->y2 = b.y;
        item->radius = width;
        item->type = kind;
        layer.items.push_back(std::move(item));
    };
    // From the first given point to the second: forward over the sweep, or
    // backward when the sweep was turned round for a negative bulge.
    if (!arc.reversed) {
        double t = arc.start;
        for (; t + step < arc.end; t += step)
            piece(t, t + step);
        piece(t, arc.end);
    } else {
        double t = arc.end;
        for (; arc.start < t - step; t -= step)
            piece(t, t - step);
        piece(t, arc.start);
    }
}

void ScaleDxfItem(CPathSegment& item, float factor)
{
    const double f = factor;
    for (double* v : {&item.x1, &item.y1, &item.x2, &item.y2, &item.cx, &item.cy, &item.radius})
        *v *= f;
}
