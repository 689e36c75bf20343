// The isolation pass driver.
#include "offset/pass_driver.h"

#include "offset/arc_families.h"
#include "offset/duplicate_paths.h"
#include "offset/grouping.h"
#include "offset/offset_pieces.h"
#include "offset/removal_passes.h"
#include "offset/trimming.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

namespace {

using CPassList = CRefList<CIsoGroup>;

// The copper records of the working side by their id word: the chords and
// end pads of an arc share the arc record's id.
class CArcRecords {
public:
    explicit CArcRecords(CBoardModel& model)
    {
        for (auto& t : model.m_TrackList)
            m_Tracks.emplace(t->recordNo, t.get());
        for (auto& f : model.m_FlashList)
            m_Flashes.emplace(f->recordNo, f.get());
    }
    template <class F>
    void ForId(std::int32_t id, F f)
    {
        auto [t0, t1] = m_Tracks.equal_range(id);
        for (auto it = t0; it != t1; ++it)
            f(it->second->groupNo, it->second->used);
        auto [f0, f1] = m_Flashes.equal_range(id);
        for (auto it = f0; it != f1; ++it)
            f(it->second->groupNo, it->second->used);
    }

private:
    std::unordered_multimap<std::int32_t, CTrackRecord*> m_Tracks;
    std::unordered_multimap<std::int32_t, CFlashRecord*> m_Flashes;
};

CTrackRecord* TrackOf(const CIsoElement& e)
{
    return static_cast<CTrackRecord*>(const_cast<void*>(e.Origin));
}

CFlashRecord* FlashOf(const CIsoElement& e)
{
    return static_cast<CFlashRecord*>(const_cast<void*>(e.Origin));
}

// The group number into the copper record an element was made from; an
// arc's chords and end pads, which the grid cuts in its place, take it too.
void WriteGroupId(const CIsoElement& e, int groupNo, CArcRecords& arcs)
{
    if (!e.Origin)
        return;
    if (e.Kind == ISO_CIRCLE) {
        FlashOf(e)->groupNo = groupNo;
        return;
    }
    CTrackRecord* track = TrackOf(e);
    track->groupNo = groupNo;
    if (e.Kind == ISO_ARC)
        arcs.ForId(track->recordNo, [&](std::int32_t& group, std::uint8_t&) { group = groupNo; });
}

// Marks the copper of the large groups for the first grid pass; a line's
// round ends become marked pads of its group at the head of the pad list,
// which are returned so they can go again.
std::vector<CFlashRecord*> MarkLargeGroups(CBoardModel& model, const CPassList& groups,
                                           CArcRecords& arcs)
{
    for (auto& t : model.m_TrackList)
        t->used = 0;
    for (auto& f : model.m_FlashList)
        f->used = 0;
    COwnedList<CFlashRecord> caps;
    for (const CIsoGroup* g : groups) {
        if (g->Sources.size() < ISO_EXACT_GROUP_LIMIT)
            continue;
        for (const CIsoElement* e : g->Sources) {
            if (!e->Origin)
                continue;
            if (e->Kind == ISO_ARC) {
                arcs.ForId(TrackOf(*e)->recordNo, [](std::int32_t&, std::uint8_t& used) { used = 1; });
            } else if (e->Kind == ISO_CIRCLE) {
                FlashOf(*e)->used = 1;
            } else {
                CTrackRecord* t = TrackOf(*e);
                t->used = 1;
                if (e->Kind != ISO_LINE || !(t->width > 0.0f))
                    continue;
                for (int end = 0; end < 2; ++end) {
                    auto cap = std::make_unique<CFlashRecord>();
                    cap->x = end == 0 ? t->x1 : t->x2;
                    cap->y = end == 0 ? t->y1 : t->y2;
                    cap->radius = t->width / 2.0f;
                    cap->used = 1;
                    cap->groupNo = t->groupNo;
                    cap->recordNo = t->recordNo;
                    caps.push_back(std::move(cap));
                }
            }
        }
    }
    // Each cap goes to the head in turn: the last made comes first.
    std::vector<CFlashRecord*> made;
    for (const auto& c : caps)
        made.push_back(c.get());
    std::reverse(caps.begin(), caps.end());
    auto& pads = model.m_FlashList;
    pads.insert(pads.begin(), std::make_move_iterator(caps.begin()),
                std::make_move_iterator(caps.end()));
    return made;
}

void RemoveCaps(CBoardModel& model, std::size_t count)
{
    auto& pads = model.m_FlashList;
    pads.erase(pads.begin(), pads.begin() + std::ptrdiff_t(std::min(count, pads.size())));
}

}  // namespace

void OffsetSource(CIsoElementPool& pool, CIsoGroup& group, CIsoElement& e, float d)
{
    switch (e.Kind) {
    case ISO_LINE:
        OffsetLineTrack(pool, group.Pieces, e, d, 0, 0);
        break;
    case ISO_ARC:
        OffsetArcTrack(pool, group.Pieces, e, d, 0);
        break;
    case ISO_CIRCLE:
        OffsetCircle(pool, group.Pieces, e, d, 0);
        break;
    case ISO_RECT:
        OffsetRectangle(pool, group.Pieces, e, d, 0);
        break;
    default:
        break;
    }
}

void FinishExactGroup(CIsoElementPool& pool, CIsoGroup& group, float d, CMessageDlg* notice)
{
    ComposeArcs(pool, group.Pieces);
    if (notice)
        notice->ShowF("TRIM %d", 0);
    TrimGroup(pool, group.Pieces);
    if (notice)
        notice->ShowF("REMOVE %d", 0);
    RemoveLinePieces(pool, group.Sources, group.Pieces, d, 1);
    RemoveArcPieces(pool, group.Sources, group.Pieces, d, 1);
    RemoveCirclePieces(pool, group.Sources, group.Pieces, d, 1);
    RemoveRectPieces(pool, group.Sources, group.Pieces, d, 1);
}

CIsoPassTable BuildPassTable(const CIsoToolSettings& tools)
{
    CIsoPassTable table;
    const float t1 = tools.tool1Size, t2 = tools.tool2Size, t3 = tools.tool3Size;
    const std::array<float, 7> first = {
        t1, 2.0f * t1, tools.tool1Check != 0 ? tools.tool1Size2 : 3.0f * t1,
        t2 + 1.0f, 2.0f * t2, t3 + 1.0f, 2.0f * t3};
    const std::array<const char*, 7> names = {"T1ISO", "T1MIL", "T1MIL", "T2ISO",
                                              "T2MIL", "T3ISO", "T3MIL"};
    for (std::size_t i = 0; i < first.size(); ++i) {
        table.distance[i] = first[i];
        table.tool[i] = names[i];
    }
    for (int i = 7; i < ISO_PASS_TABLE; ++i) {
        table.distance[i] = float(table.distance[i - 1] + 1.5 * t3);
        table.tool[i] = "T3MIL";
    }
    return table;
}

int IsoPassDriver(CBoardModel& model, const CIsoToolSettings& tools, int side,
                  const CIsoPassHooks& hooks)
{
    const CIsoPassTable table = BuildPassTable(tools);
    const float d0 = table.distance[0];
    const int passes = std::clamp(tools.isoLayer, 1, ISO_MAX_PASSES);
    std::array<CPassList, ISO_MAX_PASSES> passList;
    auto& pool = model.m_IsoElements;
    CMessageDlg notice;

    notice.ShowF("偏移資料產生 ");
    for (CIsoElement* e : model.m_IsoSources)
        if (e->Kind == ISO_LINE)
            ComputeSegmentNormal(*e, d0);

    notice.ShowF("群組資料 ");
    CPassList grouping;
    BuildGroups(model, model.m_IsoSources, grouping, d0, 0);
    char title[64];
    std::snprintf(title, sizeof title, "Count:%ld Group:%ld", long(model.m_IsoSources.size()),
                  long(model.m_IsoGroupCount));
    g_StatusText = title;
    if (hooks.setTitle)
        hooks.setTitle(title);

    CArcRecords arcs(model);
    for (CIsoGroup* g : grouping) {
        const bool exact = g->Sources.size() < ISO_EXACT_GROUP_LIMIT;
        CIsoGroup* n = exact ? model.AddGroup(g->GroupNo) : nullptr;
        if (n)
            passList[0].push_back(n);
        for (CIsoElement* e : g->Sources) {
            WriteGroupId(*e, g->GroupNo, arcs);
            if (!n)
                continue;
            n->Sources.push_back(e);
            OffsetSource(pool, *n, *e, d0);
        }
    }

    notice.ShowF("合成圓弧資料 ");
    for (CIsoGroup* n : passList[0])
        FinishExactGroup(pool, *n, d0, &notice);

    // A cancelled grid pass ends the calculation: what the passes made so
    // far stays in the engine's lists until the next clear, no layer is made.
    // With no copper marked the grid would make nothing; its group is
    // made all the same, empty.
    auto gridPass = [&](float d, CPassList& list, bool anyMarked) {
        model.m_GridPathList.clear();
        if (anyMarked && (!hooks.gridPass || !hooks.gridPass(d))) {
            model.m_GridPathList.clear();
            return false;
        }
        CIsoGroup* g = model.AddGroup(0);
        list.push_back(g);
        GridSegmentsToPieces(pool, model.m_GridPathList, *g);
        return true;
    };

    const std::size_t caps = MarkLargeGroups(model, grouping, arcs).size();
    const bool anyLarge = std::any_of(grouping.begin(), grouping.end(), [](const CIsoGroup* g) {
        return g->Sources.size() >= ISO_EXACT_GROUP_LIMIT;
    });
    const bool largeDone = gridPass(d0, passList[0], anyLarge);
    RemoveCaps(model, caps);

    // The grouping result has served: its groups only referred to sources.
    const std::unordered_set<const CIsoGroup*> served(grouping.begin(), grouping.end());
    auto& owned = model.m_IsoGroups;
    owned.erase(std::remove_if(owned.begin(), owned.end(),
                               [&](const auto& g) { return served.count(g.get()) != 0; }),
                owned.end());
    if (!largeDone)
        return 0;

    for (auto& t : model.m_TrackList)
        t->used = 1;
    for (auto& f : model.m_FlashList)
        f->used = 1;
    for (int i = 1; i < passes; ++i)
        if (!gridPass(table.distance[i], passList[std::size_t(i)], true))
            return 0;

    // The one group of a later pass.
    auto pieces = [&](int pass) -> CRefList<CIsoElement>& {
        return passList[std::size_t(pass)].front()->Pieces;
    };
    // Every exact group against the second tool-1 pass: the groups' pieces
    // one after another are one reference walked in the same order.
    if (tools.tool1Check != 0 && passes >= 3) {
        CRefList<CIsoElement> firstPass;
        for (const CIsoGroup* g : passList[0])
            firstPass.insert(firstPass.end(), g->Pieces.begin(), g->Pieces.end());
        DeleteDuplicatePaths(pool, pieces(2), firstPass, d0, 1);
    }
    if (tools.keepDuplicates == 0) {
        notice.ShowId(IDS_REMOVING_DUPLICATES);
        if (passes >= 4) {
            const float dist = table.distance[3] - d0;
            DeleteDuplicatePaths(pool, pieces(1), pieces(3), dist, 1);
            if (tools.tool1Check == 0)
                DeleteDuplicatePaths(pool, pieces(2), pieces(3), dist, 1);
        }
        if (passes >= 6)
            DeleteDuplicatePaths(pool, pieces(4), pieces(5), table.distance[5] - table.distance[3],
                                 1);
        auto merge = [&](int from, int into) {
            if (from >= passes)
                return;
            auto& to = passList[std::size_t(into)];
            auto& moved = passList[std::size_t(from)];
            to.insert(to.end(), moved.begin(), moved.end());
            moved.clear();
        };
        merge(1, 0);
        if (tools.tool1Check == 0)
            merge(2, 0);
        merge(4, 3);
    }

    notice.ShowId(IDS_GENERATING_ENGRAVING);
    for (int i = 0; i < passes; ++i) {
        for (const CIsoGroup* g : passList[std::size_t(i)])
            for (const CIsoElement* p : g->Pieces)
                AppendPieceSegment(*p, CPieceCut::PassLayer, model.m_GridPathList);
        if (hooks.sortSegments)
            hooks.sortSegments();
        const CPassLayerStyle style = PassLayerStyle(table.tool[i], i, tools);
        model.m_PathLayerList.push_back(LayerFromSegments(style, side, model.m_GridPathList));
    }
    return 1;
}
