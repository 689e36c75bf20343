// Point tests on the copper records and the lengthening of a track.
#include "records/track_geometry.h"

#include "geometry/plane_geometry.h"
#include "records/copper_records.h"

#include <cmath>

int PointInTrack(const CTrackRecord& t, double x, double y)
{
    const double half = double(t.width) / 2.0;
    const double dx = double(t.x2) - t.x1, dy = double(t.y2) - t.y1;
    const double length = std::hypot(dx, dy);
    if (length == 0.0)
        return std::fabs(x - t.x1) <= half && std::fabs(y - t.y1) <= half;
    // Along the centre line and across it, in the track's own frame.
    const double along = ((x - t.x1) * dx + (y - t.y1) * dy) / length;
    const double across = ((x - t.x1) * dy - (y - t.y1) * dx) / length;
    return along >= 0.0 && along <= length && std::fabs(across) <= half;
}

int PointInCircle(const CFlashRecord& circle, const CDPoint& p)
{
    return Distance(circle.x, circle.y, p.x, p.y) < circle.radius ? 1 : 0;
}

void LengthenTrack(CTrackRecord& t, float amount)
{
    const double angle = std::atan2(double(t.y1) - t.y2, double(t.x1) - t.x2);
    const float dx = float(amount * std::fabs(std::cos(angle)));
    const float dy = float(amount * std::fabs(std::sin(angle)));
    // The lower coordinate moves down, the higher one up.
    auto spread = [](float& a, float& b, float by) {
        if (a <= b) {
            a -= by;
            b += by;
        } else {
            a += by;
            b -= by;
        }
    };
    spread(t.x1, t.x2, dx);
    spread(t.y1, t.y2, dy);
}

void ShiftTracks(COwnedList<CTrackRecord>& tracks, float dx, float dy)
{
    for (auto& t : tracks) {
        t->x1 -= dx;
        t->y1 -= dy;
        if (t->type < 3) {
            t->x2 -= dx;
            t->y2 -= dy;
        }
    }
}

void ShiftFlashes(COwnedList<CFlashRecord>& flashes, float dx, float dy)
{
    for (auto& f : flashes) {
        f->x -= dx;
        f->y -= dy;
    }
}
