// Region clearing: the four stroke generators of a clearing region (rows,
// columns, short gaps, the ring round a pad), the crossing test against the
// isolation paths, and the pad and track regions of the mill-pads command.
// The strokes are chained by region_clearing_order.h.
#include "planning/region_clearing.h"

#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "planning/region_clearing_order.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "resource_ids.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

// How far a stroke keeps from an interval end that copper made (mil): rows,
// columns and short gaps, and the pad ring.
constexpr double kLineInset = 3.0;
constexpr double kRingInset = 2.0;
// A row interval with both ends in the area shorter than this would give a
// stroke turned round within the insets; it is left alone.
constexpr double kRowMinimum = 6.0;
// A column stroke needs a longer interval with both ends in the area, and
// this much beyond the inset with one end in it.
constexpr double kColumnMinimum = 8.0;
constexpr double kColumnOneEndMinimum = 4.0;
// An interval running through the whole area must be longer than this.
constexpr double kThroughMinimum = 2.0;
// A short gap is longer than this (and shorter than the caller's limit).
constexpr double kSmallGapMinimum = 3.0;
// The pad ring's circle reaches this far past the region's corner, and its
// columns are looked at from this many pitches' worth of indices beyond it.
constexpr float kRingRadiusExtra = 1.0f;
constexpr float kRingMarginPitches = 2.0f;

// Starting best distances of the chains.
constexpr double kRowsBest = 100000.0;
constexpr double kColumnsBest = 1000000.0;
constexpr double kRingFirstBest = 1e8;
constexpr double kRingLaterBest = 1e7;

// The mill-pads regions: margin round a pad or a track end (mil), the share
// of the radius the ring is centred on, and the track type drawn with a
// rectangular aperture, whose ends get no ring.
constexpr int kPadMargin = 12;
constexpr double kPadRingShare = 0.85;
constexpr std::uint8_t kRectangleTrack = 1;

// Messages are pumped once this many chain steps: a pump every step would
// cost more than the chain on a dense board.
constexpr int kPumpEverySteps = 64;

// The area of a region: its rectangle with the corners in order.
struct Area {
    int xmin, ymin, xmax, ymax;
};

Area AreaOf(const RECT& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// The platform's rectangle test on the point's coordinates truncated to ints.
bool Inside(const Area& a, float x, float y)
{
    double tx = std::trunc(x), ty = std::trunc(y);
    return a.xmin <= tx && tx < a.xmax && a.ymin <= ty && ty < a.ymax;
}

bool InBoard(int x, int y)
{
    return g_BoardMinX <= x && x < g_BoardMaxX && g_BoardMinY <= y && y < g_BoardMaxY;
}

// A region none of whose corners lies on the board is taken as the whole
// board.
void FallBackToBoard(CClearRegion& region)
{
    const RECT& r = region.rect;
    if (InBoard(r.left, r.top) || InBoard(r.right, r.bottom) || InBoard(r.left, r.bottom) ||
        InBoard(r.right, r.top))
        return;
    region.rect = RECT{g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY};
}

bool Finite(const CScanInterval& iv)
{
    return std::isfinite(iv.x1) && std::isfinite(iv.y1) && std::isfinite(iv.x2) &&
           std::isfinite(iv.y2);
}

CClearStroke StrokeOf(float x1, float y1, float x2, float y2, const CScanInterval& from)
{
    CClearStroke s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.pen = 1;
    s.doneMark = 0;
    s.plungeValue = static_cast<std::int32_t>(from.startNet);
    return s;
}

// Calls visit(interval) for every finite interval of the lines first..last
// (indices, clamped to the list; none when last < first).
template <class Visit>
void ForIntervals(const COwnedList<CSubList>& lines, long long first, long long last, Visit&& visit)
{
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(lines.size()) - 1);
    for (long long i = first; i <= last; ++i)
        for (const auto& iv : lines[std::size_t(i)]->intervals)
            if (Finite(*iv))
                visit(*iv);
}

// The index of the line holding `coordinate`: truncated towards zero.
long long LineHolding(int coordinate, int origin, int pitch)
{
    return (static_cast<long long>(coordinate) - origin) / pitch;
}

// The row and column generators' stroke of one interval, worked along the
// line (x of a row, y of a column) and across it.
bool LineStroke(const CScanInterval& iv, const Area& area, bool rows, CClearStroke& out)
{
    const bool startIn = Inside(area, iv.x1, iv.y1), endIn = Inside(area, iv.x2, iv.y2);
    const float a1 = rows ? iv.x1 : iv.y1, a2 = rows ? iv.x2 : iv.y2;
    const float b1 = rows ? iv.y1 : iv.x1, b2 = rows ? iv.y2 : iv.x2;
    const int amin = rows ? area.xmin : area.ymin, amax = rows ? area.xmax : area.ymax;
    const int bmin = rows ? area.ymin : area.xmin, bmax = rows ? area.ymax : area.xmax;
    float from = 0.0f, to = 0.0f;
    if (startIn && endIn) {
        if (rows ? a2 - a1 < kRowMinimum : !(a2 - a1 > kColumnMinimum))
            return false;
        from = static_cast<float>(a1 + kLineInset);
        to = static_cast<float>(a2 - kLineInset);
    } else if (startIn) {
        if (!rows && !(amax - a1 > kColumnOneEndMinimum))
            return false;
        from = static_cast<float>(a1 + kLineInset);
        to = static_cast<float>(amax);
    } else if (endIn) {
        if (!rows && !(a2 - amin > kColumnOneEndMinimum))
            return false;
        from = static_cast<float>(amin);
        to = static_cast<float>(a2 - kLineInset);
    } else if (a2 - a1 > kThroughMinimum && a1 < amin && a2 > amax && b1 > bmin && b2 < bmax) {
        from = static_cast<float>(amin);
        to = static_cast<float>(amax);
    } else {
        return false;
    }
    // Only a row stroke with one end in the area can come out turned round
    // (the column minimums keep theirs in order). Turned the right way, it
    // must still lie on its interval: past the interval's end it would cut
    // into the copper.
    if (from > to) {
        std::swap(from, to);
        if (from < a1 || to > a2)
            return false;
    }
    out = rows ? StrokeOf(from, b1, to, b2, iv) : StrokeOf(b1, from, b2, to, iv);
    return true;
}

// The notices and wait cursor of a generator that shows them.
struct Notices {
    CMessageDlg notice;
    CWaitCursor wait;

    Notices() { notice.ShowId(IDS_CALC_CLEARING); }
};

// The crossing index of the grid path list, made at the first crossing test
// and kept for every region of one command: mill pads clears thousands of
// small regions over the same isolation paths.
class SharedCrossIndex {
public:
    explicit SharedCrossIndex(const CBoardModel& model) : m_Model(model) {}

    bool Crosses(float x1, float y1, float x2, float y2)
    {
        if (!m_Index)
            m_Index = std::make_unique<CIsolationCrossIndex>(m_Model.m_GridPathList);
        return m_Index->Crosses(x1, y1, x2, y2);
    }

private:
    const CBoardModel& m_Model;
    std::unique_ptr<CIsolationCrossIndex> m_Index;
};

// The generators' common end: no candidate gives 0; else the chain goes
// into the region's stroke list and the result is 1. Without a shared
// crossing index the chain makes its own when it needs one.
int Finish(const CBoardModel& model, CClearRegion& region,
           const std::vector<CClearStroke>& candidates, const CStrokeOrderRule& rule,
           Notices* notices, SharedCrossIndex* shared = nullptr)
{
    if (candidates.empty())
        return 0;
    if (notices)
        notices->notice.ShowId(IDS_SORTING_CLEARING);
    SharedCrossIndex own(model);
    SharedCrossIndex& index = shared ? *shared : own;
    CMoveCrossTest crosses = [&index](float x1, float y1, float x2, float y2) {
        return index.Crosses(x1, y1, x2, y2);
    };
    int steps = 0;
    auto pump = [&steps] {
        if (++steps % kPumpEverySteps == 0)
            PumpMessages();
    };
    for (const CClearStroke& s :
         OrderClearStrokes(candidates, model.m_GridStep, rule, crosses, pump))
        region.strokes.push_back(std::make_unique<CClearStroke>(s));
    return 1;
}

// What a generator makes of one interval of the area's lines: candidates
// appended to the list.
using IntervalStrokes =
    std::function<void(const CScanInterval&, const Area&, std::vector<CClearStroke>&)>;

// The rows, columns and short-gap generators: their notices, the board
// fallback, then the intervals of the rows holding the area's y span and of
// the columns holding its x span, each list only when it has a maker.
int ClearAlongLines(CBoardModel& model, CClearRegion& region, const CStrokeOrderRule& rule,
                    const IntervalStrokes& onRow, const IntervalStrokes& onColumn,
                    SharedCrossIndex* shared = nullptr)
{
    Notices notices;
    const int pitch = model.m_GridStep;
    if (pitch <= 0)
        return 0;
    FallBackToBoard(region);
    const Area area = AreaOf(region.rect);
    std::vector<CClearStroke> candidates;
    if (onRow)
        ForIntervals(model.m_RowList, LineHolding(area.ymin, g_BoardMinY, pitch),
                     LineHolding(area.ymax, g_BoardMinY, pitch),
                     [&](const CScanInterval& iv) { onRow(iv, area, candidates); });
    if (onColumn)
        ForIntervals(model.m_ColumnList, LineHolding(area.xmin, g_BoardMinX, pitch),
                     LineHolding(area.xmax, g_BoardMinX, pitch),
                     [&](const CScanInterval& iv) { onColumn(iv, area, candidates); });
    return Finish(model, region, candidates, rule, &notices, shared);
}

IntervalStrokes LineStrokes(bool rows)
{
    return [rows](const CScanInterval& iv, const Area& area, std::vector<CClearStroke>& out) {
        CClearStroke stroke;
        if (LineStroke(iv, area, rows, stroke))
            out.push_back(stroke);
    };
}

CStrokeOrderRule RuleFrom(double best, bool clearFlagEachStep)
{
    CStrokeOrderRule rule;
    rule.firstBest = rule.laterBest = best;
    rule.clearFlagEachStep = clearFlagEachStep;
    return rule;
}

// A square region round a point, `reach` mil from it each way.
RECT SquareAround(float x, float y, double reach)
{
    return RECT{TruncToInt32(x - reach), TruncToInt32(y - reach), TruncToInt32(x + reach),
                TruncToInt32(y + reach)};
}

}  // namespace

int CrossesIsolationPath(const CBoardModel& model, float x1, float y1, float x2, float y2)
{
    for (const auto& segment : model.m_GridPathList) {
        if (segment->type != 0)
            continue;
        float x = 0.0f, y = 0.0f;
        if (IntersectSegmentsTolF(segment->x1, segment->y1, segment->x2, segment->y2, x1, y1, x2,
                                  y2, &x, &y))
            return 1;
    }
    return 0;
}

int ClearRegionRows(CBoardModel& model, CClearRegion& region)
{
    return ClearAlongLines(model, region, RuleFrom(kRowsBest, false), LineStrokes(true), {});
}

int ClearRegionColumns(CBoardModel& model, CClearRegion& region)
{
    return ClearAlongLines(model, region, RuleFrom(kColumnsBest, false), {}, LineStrokes(false));
}

int ClearRegionSmall(CBoardModel& model, CClearRegion& region, int limit)
{
    // No test against the area along the lines: a short gap anywhere on them.
    auto isGap = [limit](const CScanInterval& iv) {
        double length = DistanceF(iv.x1, iv.y1, iv.x2, iv.y2);
        return kSmallGapMinimum < length && length < limit;
    };
    auto onRow = [isGap](const CScanInterval& iv, const Area&, std::vector<CClearStroke>& out) {
        if (!isGap(iv))
            return;
        auto from = static_cast<float>(iv.x1 + kLineInset);
        auto to = static_cast<float>(iv.x2 - kLineInset);
        if (from > to)
            std::swap(from, to);
        out.push_back(StrokeOf(from, iv.y1, to, iv.y2, iv));
    };
    auto onColumn = [isGap](const CScanInterval& iv, const Area&, std::vector<CClearStroke>& out) {
        if (isGap(iv))
            out.push_back(StrokeOf(iv.x1, static_cast<float>(iv.y1 + kLineInset), iv.x2,
                                   static_cast<float>(iv.y2 - kLineInset), iv));
    };
    return ClearAlongLines(model, region, RuleFrom(kRowsBest, true), onRow, onColumn);
}

int ClearPadRing(CBoardModel& model, CClearRegion& region)
{
    const int pitch = model.m_GridStep;
    if (pitch <= 0)
        return 0;
    const Area area = AreaOf(region.rect);
    const float cx = static_cast<float>(area.xmin + area.xmax) / 2.0f;
    const float cy = static_cast<float>(area.ymin + area.ymax) / 2.0f;
    const float radius = static_cast<float>(
        DistanceF(cx, cy, static_cast<float>(area.xmax), static_cast<float>(area.ymax)) +
        kRingRadiusExtra);
    const auto p = static_cast<float>(pitch);
    const long long first =
        TruncToInt32((cx - radius - static_cast<float>(g_BoardMinX)) / p - kRingMarginPitches * p);
    const long long last =
        TruncToInt32((cx + radius - static_cast<float>(g_BoardMinX)) / p + kRingMarginPitches * p);

    std::vector<CClearStroke> candidates;
    ForIntervals(model.m_ColumnList, first, last, [&](const CScanInterval& iv) {
        double d1 = DistanceF(iv.x1, iv.y1, cx, cy), d2 = DistanceF(iv.x2, iv.y2, cx, cy);
        float ax = 0.0f, ay = 0.0f, bx = 0.0f, by = 0.0f;
        int meets = IntersectSegmentCircleF(cx, cy, radius, iv.x1, iv.y1, iv.x2, iv.y2, &ax, &ay,
                                            &bx, &by, 0);
        const auto startIn = static_cast<float>(iv.y1 + kRingInset);
        const auto endIn = static_cast<float>(iv.y2 - kRingInset);
        // An inset end must stay on its interval: on a short interval inside
        // the ring the insets cross, and past the interval's end the stroke
        // would cut into the copper.
        const float low = std::min(iv.y1, iv.y2), high = std::max(iv.y1, iv.y2);
        auto onInterval = [low, high](float y) { return low <= y && y <= high; };
        CClearStroke s;
        if (meets == 1 && d1 > radius && d2 > radius)
            s = StrokeOf(ax, ay, bx, by, iv);
        else if (meets == 1 && d1 <= radius && onInterval(startIn))
            s = StrokeOf(iv.x1, startIn, ax, ay, iv);
        else if (meets == 1 && d1 <= radius)
            return;
        else if (meets == 1 && d2 <= radius && onInterval(endIn))
            s = StrokeOf(ax, ay, iv.x2, endIn, iv);
        else if (meets == 0 && onInterval(startIn) && onInterval(endIn))
            s = StrokeOf(iv.x1, startIn, iv.x2, endIn, iv);
        else
            return;
        candidates.push_back(s);
    });
    CStrokeOrderRule rule;
    rule.rowRule = false;
    rule.firstBest = kRingFirstBest;
    rule.laterBest = kRingLaterBest;
    return Finish(model, region, candidates, rule, nullptr);
}

int AddClearRegion(CBoardModel& model, const RECT& rect, const CRegionGenerator& generate)
{
    auto region = std::make_unique<CClearRegion>();
    region->step = model.m_GridStep;
    region->rect = rect;
    int made = generate(model, *region);
    if (made)
        model.m_ClearRegionList.push_back(std::move(region));
    return made;
}

void MillPads(CBoardModel& model)
{
    CWaitCursor wait;
    CMessageDlg notice;
    notice.ShowId(IDS_CALC_CLEARING);
    // The shapes are copied first: the chains pump messages, and nothing the
    // operator does meanwhile may pull the lists from under the loop.
    struct Pad {
        float x, y, radius;
    };
    std::vector<Pad> pads;
    pads.reserve(model.m_FlashList.size());
    for (const auto& flash : model.m_FlashList)
        pads.push_back({flash->x, flash->y, flash->radius});
    std::vector<CTrackRecord> tracks;
    tracks.reserve(model.m_TrackRefList.size());
    for (const CTrackRecord* track : model.m_TrackRefList)
        if (track)
            tracks.push_back(*track);

    SharedCrossIndex shared(model);
    auto ring = [&model](float x, float y, double r) {
        AddClearRegion(model, SquareAround(x, y, r + kPadMargin), ClearPadRing);
    };
    for (const Pad& pad : pads)
        ring(pad.x, pad.y, kPadRingShare * pad.radius);
    constexpr int kTrackMargin = 2 * kPadMargin;
    for (const CTrackRecord& t : tracks) {
        const float h = t.width / 2;
        RECT rect;
        if (t.x1 == t.x2)
            rect = RECT{TruncToInt32(t.x1 - h - kTrackMargin), TruncToInt32(t.y1 - kTrackMargin),
                        TruncToInt32(t.x2 + h + kTrackMargin), TruncToInt32(t.y2 + kTrackMargin)};
        else
            rect = RECT{TruncToInt32(t.x1 - kTrackMargin), TruncToInt32(t.y1 - h - kTrackMargin),
                        TruncToInt32(t.x2 + kTrackMargin), TruncToInt32(t.y2 + h + kTrackMargin)};
        AddClearRegion(model, rect, [&shared](CBoardModel& m, CClearRegion& region) {
            return ClearAlongLines(m, region, RuleFrom(kRowsBest, false), LineStrokes(true), {},
                                   &shared);
        });
        if (t.type == kRectangleTrack)
            continue;
        const double r = kPadRingShare * t.width / 2;
        ring(t.x1, t.y1, r);
        ring(t.x2, t.y2, r);
    }
}
