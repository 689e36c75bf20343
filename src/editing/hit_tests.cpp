// The searches behind the view's picks and the drill-list changes of the
// two-point picks.
#include "editing/hit_tests.h"

#include "geometry/board_orientation.h"
#include "platform/message_pump.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"
#include "geometry/plane_geometry.h"

#include <cmath>
#include <vector>

namespace {

// A drawn segment's end snaps to an item's end nearer than this (mil).
constexpr double kSnapReach = 2.0;
// A pad touches a track end this much inside its size (mil).
constexpr double kPadTouchSlack = 1.5;

double Dist(const CDPoint& a, const CDPoint& b) { return Distance(a.x, a.y, b.x, b.y); }

bool Connects(const CTrackRecord& candidate, const CDPoint& a, const CDPoint& b)
{
    if (candidate.type == 0) {
        const CDPoint s(candidate.x1, candidate.y1), e(candidate.x2, candidate.y2);
        return s == a || s == b || e == a || e == b;
    }
    if (candidate.type == 1)
        return PointInTrack(candidate, a) || PointInTrack(candidate, b);
    return false;
}

bool InList(const CRefList<CTrackRecord>& list, const CTrackRecord* t)
{
    for (const CTrackRecord* x : list)
        if (x == t)
            return true;
    return false;
}

}  // namespace

CDPoint FindDrillNear(const COwnedList<CDrillTool>& tools, CDPoint point, int* tolerance)
{
    return FindDrillHoleNear(tools, point, nullptr, tolerance);
}

CDPoint FindDrillHoleNear(const COwnedList<CDrillTool>& tools, CDPoint point,
                          const CDrillTool** found, int* tolerance)
{
    if (found)
        *found = nullptr;
    for (const auto& tool : tools) {
        int reach = static_cast<int>(tool->diameter);
        if (reach == 0)
            reach = static_cast<int>(kZeroToolReach);
        for (const auto& hole : tool->holes)
            if (Dist(*hole, point) <= reach) {
                if (tolerance)
                    *tolerance = reach;
                if (found)
                    *found = tool.get();
                return *hole;
            }
    }
    return CDPoint(0.0, 0.0);
}

CDPoint FindPanelHoleAt(const COwnedList<CLayoutBlock>& blocks,
                        const COwnedList<CDrillTool>& tools, CDPoint point)
{
    for (const auto& block : blocks) {
        for (const auto& tool : tools) {
            double reach = tool->diameter / 2.0;
            if (tool->diameter == 0.0f)
                reach = kZeroToolReach;
            for (const auto& hole : tool->holes) {
                CDPoint p = *hole - block->m_RefCentre;
                ApplyBoardOrientation(*block, &p);
                p += block->m_Centre;
                if (Dist(p, point) <= reach)
                    return p;
            }
        }
        PumpMessages();
    }
    return CDPoint(0.0, 0.0);
}

const CFlashRecord* FlashAt(const COwnedList<CFlashRecord>& flashes, POINT point)
{
    for (const auto& f : flashes)
        if (PointInCircleXY(*f, point.x, point.y))
            return f.get();
    return nullptr;
}

CLayoutBlock* BlockAt(const COwnedList<CLayoutBlock>& blocks, CDPoint point)
{
    for (const auto& b : blocks) {
        const RECT& r = b->m_Extent;
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return b.get();
    }
    return nullptr;
}

bool PadTouchesTrackEnd(const CFlashRecord& pad, const CTrackRecord& track)
{
    const CDPoint c(pad.x, pad.y);
    const double reach = pad.radius - kPadTouchSlack;
    return Dist(c, CDPoint(track.x1, track.y1)) <= reach ||
           Dist(c, CDPoint(track.x2, track.y2)) <= reach;
}

void CollectConnectedTracks(const COwnedList<CTrackRecord>* tracks, const CTrackRecord& start,
                            CRefList<CTrackRecord>& found,
                            const std::function<void(const CTrackRecord&)>& onFound)
{
    if (!tracks)
        return;
    // Depth first like a recursion, but on a stack of our own: a long chain
    // of joined strokes would otherwise run the program's stack out.
    struct Frame {
        CDPoint a, b;
        std::size_t next;
    };
    std::vector<Frame> stack{{CDPoint(start.x1, start.y1), CDPoint(start.x2, start.y2), 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= tracks->size()) {
            stack.pop_back();
            continue;
        }
        CTrackRecord* candidate = (*tracks)[top.next++].get();
        if (!Connects(*candidate, top.a, top.b) || InList(found, candidate))
            continue;
        found.push_back(candidate);
        if (onFound)
            onFound(*candidate);
        stack.push_back({CDPoint(candidate->x1, candidate->y1),
                         CDPoint(candidate->x2, candidate->y2), 0});
    }
}

bool SnapSegmentEnds(const COwnedList<CPathRecord>& layers,
                     const std::function<bool(const CPathRecord&)>& useLayer, CDPoint* p1,
                     CDPoint* p2)
{
    for (const auto& layer : layers) {
        if (!useLayer(*layer))
            continue;
        for (const auto& item : layer->items) {
            const CDPoint s(item->x1, item->y1), e(item->x2, item->y2);
            bool snapped = false;
            for (const auto& [from, to] : {std::pair{&s, p1}, std::pair{&s, p2},
                                           std::pair{&e, p1}, std::pair{&e, p2}})
                // A point already on an end is not a snap: the segment's own
                // ends, or those of segments dragged with it, would otherwise
                // end the search before the end it should move onto.
                if (const double d = Dist(*from, *to); d > 0.0 && d < kSnapReach) {
                    *to = *from;
                    snapped = true;
                }
            if (snapped)
                return true;
        }
    }
    return false;
}

bool RemovePathItem(COwnedList<CPathRecord>& layers,
                    const std::function<bool(const CPathRecord&)>& useLayer,
                    const CPathSegment* item)
{
    for (auto& layer : layers) {
        if (!useLayer(*layer))
            continue;
        for (auto it = layer->items.begin(); it != layer->items.end(); ++it)
            if (it->get() == item) {
                layer->items.erase(it);
                return true;
            }
    }
    return false;
}

void AddHandDrill(COwnedList<CDrillTool>& tools, std::array<float, DRILL_TOOL_SIZES>& toolSizes,
                  float diameter, CDPoint point)
{
    CDrillTool* target = nullptr;
    for (const auto& tool : tools)
        if (tool->diameter == diameter) {
            target = tool.get();
            break;
        }
    if (!target) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = static_cast<int>(tools.size()) + 1;
        tool->diameter = diameter;
        tool->mode = 1;
        // The size table has a fixed count of slots; a tool beyond it keeps
        // its size in the tool record only.
        if (tool->toolNumber >= 0 && tool->toolNumber < DRILL_TOOL_SIZES)
            toolSizes[tool->toolNumber] = diameter;
        target = tool.get();
        tools.push_back(std::move(tool));
    }
    target->holes.push_back(std::make_unique<CDPoint>(point));
}


CTrackRecord TrackAlong(double x1, double y1, double x2, double y2, double width)
{
    CTrackRecord track;
    track.x1 = float(x1);
    track.y1 = float(y1);
    track.x2 = float(x2);
    track.y2 = float(y2);
    track.width = float(width);
    return track;
}

CTrackRecord PathSegmentTrack(const CPathSegment& s, double width)
{
    return TrackAlong(s.x1, s.y1, s.x2, s.y2, width);
}
