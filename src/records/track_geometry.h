// Point tests on the copper records (a straight track with square ends, a
// round pad), and the lengthening of a track along its own direction.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

struct CFlashRecord;
struct CTrackRecord;

// Non-zero when (x, y) lies inside the rectangle of the track's centre line
// widened by half its width on each side (no caps beyond the end points).
int PointInTrack(const CTrackRecord& track, double x, double y);
inline int PointInTrack(const CTrackRecord& track, const CDPoint& p)
{
    return PointInTrack(track, p.x, p.y);
}
inline int PointInTrackXY(const CTrackRecord& track, int x, int y)
{
    return PointInTrack(track, x, y);
}

// Non-zero when p lies strictly closer to the pad's centre than its radius.
int PointInCircle(const CFlashRecord& circle, const CDPoint& p);
inline int PointInCircleXY(const CFlashRecord& circle, int x, int y)
{
    return PointInCircle(circle, CDPoint(x, y));
}

// Moves both ends of a straight track outward along its direction by
// `amount` (mil), so a square-ended track reaches as far as a round end of
// that size would; a negative amount shortens it. Each axis moves by its share
// of the direction, the lower coordinate down and the higher one up.
void LengthenTrack(CTrackRecord& track, float amount);

// Move records by -(dx, dy); an arc record keeps its angles in its second
// point, so only its centre moves.
void ShiftTracks(COwnedList<CTrackRecord>& tracks, float dx, float dy);
void ShiftFlashes(COwnedList<CFlashRecord>& flashes, float dx, float dy);
