// The variant tests of the engine that no stage calls.
#include "offset/predicate_variants.h"

#include "geometry/plane_geometry.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"

#include <cmath>

namespace {

constexpr double kLooseBoxSlack = 0.05;

}  // namespace

bool IsPointInSegmentBoxLoose(const double* px, const double* py, double x1, double y1,
                              double x2, double y2)
{
    return IsPointInSegmentBoxWithin(px, py, x1, y1, x2, y2, kLooseBoxSlack);
}

int AreEndpointsJoinedAlt(const CTrackRecord& track, const CDPoint& p1, const CDPoint& p2)
{
    auto nearEither = [&](float x, float y) {
        return Distance(x, y, p1.x, p1.y) <= offset::kJoinDistance ||
               Distance(x, y, p2.x, p2.y) <= offset::kJoinDistance;
    };
    return nearEither(track.x1, track.y1) && nearEither(track.x2, track.y2) ? 1 : 0;
}

int IsPointInPolygonAlt(const CIsoPolygon& polygon, double x, double y)
{
    if (polygon.size() < 3)
        return 0;
    const float px = float(x), py = float(y);
    int inside = 0;
    std::size_t prev = polygon.size() - 1;
    for (std::size_t i = 0; i < polygon.size(); prev = i++) {
        const float ux = float(polygon[i].x), uy = float(polygon[i].y);
        const float vx = float(polygon[prev].x), vy = float(polygon[prev].y);
        // Closed at both ends, a level edge would divide by nothing.
        if (uy == vy)
            continue;
        const bool spans = (uy <= py && py <= vy) || (vy <= py && py <= uy);
        if (spans && px < (py - uy) * (vx - ux) / (vy - uy) + ux)
            inside ^= 1;
    }
    return inside;
}

int AreCollinear(double x1, double y1, double x2, double y2, double x3, double y3)
{
    return (y2 - y3) * (x1 - x3) == (x2 - x3) * (y1 - y3) ? 1 : 0;
}

CDPoint FootOfPerpendicular(float px, float py, float x1, float y1, float x2, float y2)
{
    if (x1 == x2)
        return {x1, y1 == y2 ? y1 : py};
    const float m = (y2 - y1) / (x2 - x1);
    const float fx = (px + m * (py - y1) + m * m * x1) / (1.0f + m * m);
    return {fx, y1 + m * (fx - x1)};
}
