// The copper editor's record work: copies, moves, stretches, splits and the
// one-owner delete.
#include "editing/copper_edit.h"

#include "platform/program_objects.h"
#include "records/board_model.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

int g_MoveDragKind = -1;

namespace {
const CProgramObjectReset s_Reset([] { g_MoveDragKind = -1; });
}  // namespace

namespace {

// Frees each distinct record of `picked` from the first of `owners` that
// holds it. Looking the record up in its owner before freeing it means a
// record met twice (in the selection or in two lists) is freed only once.
template <class T>
int EraseEach(CRefList<T>& picked, const std::vector<COwnedList<T>*>& owners)
{
    int freed = 0;
    std::unordered_set<const T*> done;
    for (T* record : picked) {
        if (!done.insert(record).second)
            continue;
        for (COwnedList<T>* owner : owners)
            if (EraseOwned(*owner, record)) {
                ++freed;
                break;
            }
    }
    picked.clear();
    return freed;
}

void MoveTrack(CTrackRecord& t, CDPoint d)
{
    t.x1 = static_cast<float>(t.x1 + d.x);
    t.y1 = static_cast<float>(t.y1 + d.y);
    t.x2 = static_cast<float>(t.x2 + d.x);
    t.y2 = static_cast<float>(t.y2 + d.y);
}

void MoveFlash(CFlashRecord& f, CDPoint d)
{
    f.x = static_cast<float>(f.x + d.x);
    f.y = static_cast<float>(f.y + d.y);
}

// The two ends of a record with x1, y1, x2, y2, moved when they lay on one
// of the reference ends.
template <class Rec>
void StretchRecords(const CRefList<Rec>& records, CDPoint offset)
{
    if (records.empty())
        return;
    Rec& first = *records.front();
    const CDPoint a(first.x1, first.y1), b(first.x2, first.y2);
    first.x1 += offset.x;
    first.y1 += offset.y;
    first.x2 += offset.x;
    first.y2 += offset.y;
    for (std::size_t i = 1; i < records.size() && i < 3; ++i) {
        Rec& r = *records[i];
        const CDPoint s(r.x1, r.y1), e(r.x2, r.y2);
        if (s == a || s == b) {
            r.x1 += offset.x;
            r.y1 += offset.y;
        }
        if (e == a || e == b) {
            r.x2 += offset.x;
            r.y2 += offset.y;
        }
    }
}

template <class Rec>
void MoveEndsOn(const CRefList<Rec>& records, CDPoint point, CDPoint offset)
{
    for (Rec* r : records) {
        if (CDPoint(r->x1, r->y1) == point) {
            r->x1 += offset.x;
            r->y1 += offset.y;
        }
        if (CDPoint(r->x2, r->y2) == point) {
            r->x2 += offset.x;
            r->y2 += offset.y;
        }
    }
}

}  // namespace

CDPoint TrackStart(const CTrackRecord& t) { return CDPoint(t.x1, t.y1); }
CDPoint TrackEnd(const CTrackRecord& t) { return CDPoint(t.x2, t.y2); }

void CopyCopper(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                CDPoint offset, CBoardModel& model)
{
    for (const CTrackRecord* t : tracks) {
        auto copy = std::make_unique<CTrackRecord>(*t);
        MoveTrack(*copy, offset);
        copy->recordNo = model.m_ReaderState++;
        model.m_TrackList.push_back(std::move(copy));
    }
    for (const CFlashRecord* f : flashes) {
        auto copy = std::make_unique<CFlashRecord>(*f);
        MoveFlash(*copy, offset);
        copy->recordNo = model.m_ReaderState++;
        model.m_FlashList.push_back(std::move(copy));
    }
}

void MoveCopper(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                CDPoint offset)
{
    for (CTrackRecord* t : tracks)
        MoveTrack(*t, offset);
    for (CFlashRecord* f : flashes)
        MoveFlash(*f, offset);
}

int DeleteCopper(CRefList<CTrackRecord>& tracks, CRefList<CFlashRecord>& flashes,
                 CBoardModel& model)
{
    std::vector<COwnedList<CTrackRecord>*> trackOwners{&model.m_TrackList};
    std::vector<COwnedList<CFlashRecord>*> flashOwners{&model.m_FlashList, &model.m_PadList2};
    for (auto& layer : model.m_NamedLayerList) {
        trackOwners.push_back(&layer->tracks);
        flashOwners.push_back(&layer->flashes);
    }
    // The reader's reference list must not keep pointers to freed tracks.
    for (CTrackRecord* t : tracks)
        std::erase(model.m_TrackRefList, t);
    return EraseEach(tracks, trackOwners) + EraseEach(flashes, flashOwners);
}

void StretchTracks(const CRefList<CTrackRecord>& tracks, CDPoint offset)
{
    StretchRecords(tracks, offset);
}

void StretchSegments(const CRefList<CPathSegment>& segments, CDPoint offset)
{
    StretchRecords(segments, offset);
}

void MoveJoint(CFlashRecord* joint, CDPoint point, const CRefList<CTrackRecord>& tracks,
               CDPoint offset)
{
    if (joint)
        MoveFlash(*joint, offset);
    MoveEndsOn(tracks, point, offset);
}

void MoveSegmentEnds(const CRefList<CPathSegment>& segments, CDPoint point, CDPoint offset)
{
    MoveEndsOn(segments, point, offset);
}

CFlashRecord* SplitTrackAt(CTrackRecord& track, CDPoint p, CBoardModel& model)
{
    auto copy = std::make_unique<CTrackRecord>(track);
    copy->x2 = static_cast<float>(p.x);
    copy->y2 = static_cast<float>(p.y);
    track.x1 = static_cast<float>(p.x);
    track.y1 = static_cast<float>(p.y);
    model.m_TrackList.push_back(std::move(copy));

    auto joint = std::make_unique<CFlashRecord>();
    joint->x = static_cast<float>(p.x);
    joint->y = static_cast<float>(p.y);
    joint->radius = track.width / 2;
    joint->type = 3;
    joint->aperture = track.aperture;
    joint->apertureNo = track.apertureNo;
    joint->arcMark = 1;
    return AddHead(model.m_FlashList, std::move(joint));
}
