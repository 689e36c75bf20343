// Whether a point lies on a straight track with square ends.
#pragma once

#include "platform/object_lists.h"

struct CFlashRecord;
struct CTrackRecord;

// Non-zero when (x, y) lies inside the rectangle of the track's centre line
// widened by half its width on each side (no caps beyond the end points).
int PointInTrack(const CTrackRecord& track, double x, double y);

// Move records by -(dx, dy); an arc record keeps its angles in its second
// point, so only its centre moves.
void ShiftTracks(COwnedList<CTrackRecord>& tracks, float dx, float dy);
void ShiftFlashes(COwnedList<CFlashRecord>& flashes, float dx, float dy);
