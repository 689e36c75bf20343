// Copper and drawings turned into route items: planner settings, rings,
// chains, the taking out and putting back of picked copper, the frame.
#include "editing/copper_to_route.h"

#include "editing/route_edit.h"

#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "platform/program_objects.h"
#include "records/board_model.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/planner_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace {

constexpr double kMilPerMM = 100.0 / 2.54;
// The widening keeps the rings a little inside the router's radius: the
// planner's walk runs half a pitch out from the copper it cuts.
constexpr double kCopperOffsetShrink = 1.03;
constexpr double kDrawingOffsetShrink = 1.1;
// Scan lines per ring width.
constexpr double kLinesPerWidth = 5.0;
// The largest router: more than the table of any model is wide.
constexpr double kMaxRouterMM = 1000.0;
// Start of the nearest-track search (mil).
constexpr double kFarAway = 10000000.0;

CDPoint Start(const CTrackRecord& t) { return CDPoint(t.x1, t.y1); }
CDPoint End(const CTrackRecord& t) { return CDPoint(t.x2, t.y2); }

void TurnRound(CTrackRecord& t)
{
    std::swap(t.x1, t.x2);
    std::swap(t.y1, t.y2);
}

// Moves the picked records of one owning list into `taken`, in list order.
template <class Record>
void TakeFrom(COwnedList<Record>& owner, const std::set<const Record*>& picked,
              std::vector<CTakenCopper::Entry<Record>>& taken)
{
    bool any = false;
    for (std::size_t i = 0; i < owner.size(); ++i)
        if (picked.count(owner[i].get())) {
            taken.push_back({&owner, i, std::move(owner[i])});
            any = true;
        }
    if (any)
        std::erase(owner, nullptr);
}

// Entries were taken in ascending place per list, so inserting them in
// that order puts each back exactly where it was.
template <class Record>
void PutBack(std::vector<CTakenCopper::Entry<Record>>& taken)
{
    for (auto& entry : taken) {
        auto& owner = *entry.owner;
        const std::size_t at = std::min(entry.index, owner.size());
        owner.insert(owner.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry.record));
    }
    taken.clear();
}

}  // namespace

CRingPlanner CopperRingPlanner(float diameterMM)
{
    const double mil = double(diameterMM) * kMilPerMM;
    return {float(mil / kCopperOffsetShrink), TruncToInt32(mil / kLinesPerWidth + 1.0)};
}

CRingPlanner DrawingRingPlanner(float diameterMM)
{
    // The pitch follows the diameter cut to whole millimetres: a finer
    // raster would only slow a drawing's larger outline down.
    const double wholeMM = std::trunc(double(diameterMM));
    return {float(double(diameterMM) * kMilPerMM / kDrawingOffsetShrink),
            TruncToInt32(wholeMM * kMilPerMM / kLinesPerWidth + 1.0)};
}

int RingWidth(float diameterMM) { return TruncToInt32(double(diameterMM) * kMilPerMM); }

bool IsRouterDiameter(double diameterMM) { return diameterMM > 0.0 && diameterMM <= kMaxRouterMM; }

std::vector<std::pair<std::size_t, std::size_t>> SplitIntoRings(
    const COwnedList<CGridPathSegment>& segments)
{
    std::vector<std::pair<std::size_t, std::size_t>> rings;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const CGridPathSegment& s = *segments[i];
        const bool joins = i > 0 && CDPoint(s.x1, s.y1) == CDPoint(segments[i - 1]->x2,
                                                                   segments[i - 1]->y2);
        if (joins)
            rings.back().second = i + 1;
        else
            rings.emplace_back(i, i + 1);
    }
    return rings;
}

std::string DiameterText(float diameterMM)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(diameterMM));
    return text;
}

void AddTableFrame(CPathRecord& layer, double width, double height)
{
    const CDPoint corners[] = {CDPoint(0, height), CDPoint(0, 0), CDPoint(width, 0),
                               CDPoint(width, height), CDPoint(0, height)};
    for (std::size_t i = 0; i + 1 < std::size(corners); ++i)
        AddPathLine(layer, corners[i], corners[i + 1]);
}

bool IsStraightTrack(const CTrackRecord& track) { return track.type < 3; }

CRefList<CTrackRecord> OrderTracksIntoChains(CRefList<CTrackRecord>& tracks,
                                              const std::function<void()>& step)
{
    CRefList<CTrackRecord> left;
    CRefList<CTrackRecord> pending;
    for (CTrackRecord* t : tracks)
        (IsStraightTrack(*t) ? pending : left).push_back(t);
    tracks = std::move(left);

    CRefList<CTrackRecord> ordered, chain;
    CDPoint p(0.0, 0.0);
    bool searching = true;
    std::size_t next = 0;   // the track after the last one taken
    auto take = [&](std::size_t i) {
        chain.push_back(pending[i]);
        p = End(*pending[i]);
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));
        next = i < pending.size() ? i : 0;
    };
    while (!pending.empty()) {
        if (searching) {
            double best = kFarAway;
            std::size_t found = pending.size();
            for (std::size_t i = 0; i < pending.size(); ++i) {
                CTrackRecord& t = *pending[i];
                const double s = DistanceDF(p.x, p.y, t.x1, t.y1);
                const double e = DistanceDF(p.x, p.y, t.x2, t.y2);
                if (s < best && s <= e) {
                    best = s;
                    found = i;
                } else if (e < best && e < s) {
                    best = e;
                    found = i;
                    TurnRound(t);
                }
                if (best == 0.0)
                    break;
            }
            // Nothing within reach (a damaged coordinate): the first track
            // starts a chain of its own rather than the search going on
            // for ever.
            const bool far = found == pending.size();
            if (far)
                found = 0;
            if ((far || best != 0.0) && !chain.empty()) {
                ordered.insert(ordered.end(), chain.begin(), chain.end());
                chain.clear();
            }
            take(found);
            searching = false;
        } else if (Start(*pending[next]) == p) {
            take(next);
        } else {
            searching = true;
        }
        if (step)
            step();
    }
    ordered.insert(ordered.end(), chain.begin(), chain.end());
    return ordered;
}

CTakenCopper TakeCopper(CBoardModel& model, const CRefList<CTrackRecord>& tracks,
                        const CRefList<CFlashRecord>& flashes)
{
    CTakenCopper taken;
    taken.references = model.m_TrackRefList;
    const std::set<const CTrackRecord*> pickedTracks(tracks.begin(), tracks.end());
    const std::set<const CFlashRecord*> pickedFlashes(flashes.begin(), flashes.end());
    TakeFrom(model.m_TrackList, pickedTracks, taken.tracks);
    TakeFrom(model.m_FlashList, pickedFlashes, taken.flashes);
    TakeFrom(model.m_PadList2, pickedFlashes, taken.flashes);
    for (auto& layer : model.m_NamedLayerList) {
        TakeFrom(layer->tracks, pickedTracks, taken.tracks);
        TakeFrom(layer->flashes, pickedFlashes, taken.flashes);
    }
    // The reader's references must not name records that left the board.
    std::erase_if(model.m_TrackRefList,
                  [&](const CTrackRecord* t) { return pickedTracks.count(t) != 0; });
    return taken;
}

void PutCopperBack(CBoardModel& model, CTakenCopper& taken)
{
    PutBack(taken.tracks);
    PutBack(taken.flashes);
    model.m_TrackRefList = std::move(taken.references);
    taken.references.clear();
}

CCopperOutline OutlineCopies(const CRefList<CTrackRecord>& tracks,
                             const CRefList<CFlashRecord>& flashes)
{
    CCopperOutline outline;
    for (const CTrackRecord* t : tracks) {
        auto copy = std::make_unique<CTrackRecord>(*t);
        if (IsStraightTrack(*copy))
            copy->width = 0.0f;
        outline.tracks.push_back(std::move(copy));
    }
    for (const CFlashRecord* f : flashes) {
        auto copy = std::make_unique<CFlashRecord>(*f);
        copy->radius = 0.0f;
        outline.flashes.push_back(std::move(copy));
    }
    return outline;
}

void ReplaceCopper(CBoardModel& model, CCopperOutline&& outline)
{
    model.m_PanelLayout.ClearSelections();
    model.m_TrackRefList.clear();
    model.m_TrackList = std::move(outline.tracks);
    model.m_FlashList = std::move(outline.flashes);
    model.m_PadList2.clear();
    model.m_GridPathList.clear();
}
