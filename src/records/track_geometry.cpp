// The square-ended track test of the track joining.
#include "records/track_geometry.h"

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
