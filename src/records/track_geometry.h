// Whether a point lies on a straight track with square ends.
#pragma once

struct CTrackRecord;

// Non-zero when (x, y) lies inside the rectangle of the track's centre line
// widened by half its width on each side (no caps beyond the end points).
int PointInTrack(const CTrackRecord& track, double x, double y);
