// Copying, moving, stretching, splitting and deleting hand-picked copper:
// the work of the copper editor on the tracks and flashes it is handed,
// without the view that picked them.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

struct CFlashRecord;
struct CPathSegment;
struct CTrackRecord;
class CBoardModel;

// Copies of `tracks` and `flashes` moved by `offset` (mil), appended to the
// model's track and flash lists with fresh record numbers; the originals
// stay where they are.
void CopyCopper(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                CDPoint offset, CBoardModel& model);
// Both ends of every track and the centre of every flash moved by `offset`.
void MoveCopper(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                CDPoint offset);
// Takes every record of the two lists out of the list that owns it (the
// model's copper lists or a named layer's) and frees it, each exactly once;
// records that no list owns are left alone. The two lists are emptied.
// Returns the number of records freed.
int DeleteCopper(CRefList<CTrackRecord>& tracks, CRefList<CFlashRecord>& flashes,
                 CBoardModel& model);

// A drag of picked tracks: the first moves whole; of the second and third
// only the ends that lay on one of the first's ends move, so tracks attached
// there stretch with it.
void StretchTracks(const CRefList<CTrackRecord>& tracks, CDPoint offset);
void StretchSegments(const CRefList<CPathSegment>& segments, CDPoint offset);
// A drag of a joint: the joint (when there is one) and every track end that
// lay on `point` move by `offset`.
void MoveJoint(CFlashRecord* joint, CDPoint point, const CRefList<CTrackRecord>& tracks,
               CDPoint offset);
// Every segment end that lies on `point` moved by `offset`.
void MoveSegmentEnds(const CRefList<CPathSegment>& segments, CDPoint point, CDPoint offset);

// Splits a line track at `p`: a copy ending at `p` is appended to the
// model's track list, the track itself now starts at `p`, and a joint flash
// (half the width, the track's aperture) is put at the head of the flash
// list. Returns the joint.
CFlashRecord* SplitTrackAt(CTrackRecord& track, CDPoint p, CBoardModel& model);

// The point of a track's start and end.
CDPoint TrackStart(const CTrackRecord& t);
CDPoint TrackEnd(const CTrackRecord& t);

// What the move mode of the copper editor drags between its press and its
// release: -1 nothing, 0 searching, 1 picked tracks, 2 tracks meeting at a
// joint or a track end, 3 picked path segments, 4 a path-segment end.
extern int g_MoveDragKind;
