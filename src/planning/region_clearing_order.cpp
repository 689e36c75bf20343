// The stroke chain of a clearing region and the crossing index.
//
// Why the indexed chain picks what the full scan picks: a candidate is taken
// over the current best when its strictly nearer end lies strictly closer than
// the best so far and the rule accepts it, and whether the rule accepts it
// does not depend on the best distance (the coordinate prefilter is implied by
// the distance test, see NearInBothAxes). So the full scan ends on the first
// candidate in list order among the accepted ones at the least distance below
// the starting best. The indexed chain finds that same candidate from a grid
// of stroke ends, ring by ring around the last end, until no nearer end can be
// left, breaking ties by list position; where the rings would cost more than
// a look at every remaining candidate it looks at every one.
#include "planning/region_clearing_order.h"

#include "geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

// Below this pitch (mil) the reach is three pitches, else one and a half,
// each less a mil.
constexpr int kFineRasterPitch = 10;
constexpr float kFineReachPitches = 3.0f;
constexpr float kCoarseReachPitches = 1.5f;
constexpr float kReachShortening = 1.0f;
// A candidate away from the last stroke's start must turn from that
// stroke's direction by more than this (radians, not reduced round the turn).
constexpr double kTurnAway = 1.0;
// Which way the first step takes a candidate when none qualified and no step
// has set the direction yet: as it is, like the chain's first stroke.
constexpr int kInitialDirectionFlag = 1;

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// Items sorted into the cells of a grid: the items of cell c are
// items[start[c]] .. items[start[c + 1] - 1], in rising item order.
// `forCells(item, visit)` calls visit(cell) for each cell of an item.
template <class ForCells>
void FillBuckets(std::size_t cells, const std::vector<std::size_t>& which, ForCells&& forCells,
                 std::vector<std::size_t>& start, std::vector<std::size_t>& items)
{
    start.assign(cells + 1, 0);
    for (std::size_t item : which)
        forCells(item, [&](std::size_t cell) { ++start[cell + 1]; });
    for (std::size_t cell = 0; cell < cells; ++cell)
        start[cell + 1] += start[cell];
    items.assign(start.back(), 0);
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (std::size_t item : which)
        forCells(item, [&](std::size_t cell) { items[fill[cell]++] = item; });
}


// Where the chain stands: the last stroke's end (P) and start (Q) and, for
// the row rule, its direction.
struct ChainEnd {
    float px = 0.0f, py = 0.0f;
    float qx = 0.0f, qy = 0.0f;
    double theta = 0.0;
};

double Direction(float x1, float y1, float x2, float y2)
{
    return std::atan2(double(y2 - y1), double(x2 - x1));
}

float EndX(const CClearStroke& c, int end) { return end == 0 ? c.x1 : c.x2; }
float EndY(const CClearStroke& c, int end) { return end == 0 ? c.y1 : c.y2; }

// The row rule's acceptance of a candidate reached at `end` (0 its start,
// 1 its end, which turns it round).
bool RowRuleAccepts(const CClearStroke& c, int end, const ChainEnd& ch, float reach,
                    const CMoveCrossTest& crosses)
{
    float ex = EndX(c, end), ey = EndY(c, end);
    if (DistanceF(ch.qx, ch.qy, ex, ey) < reach)
        return !(crosses && crosses(ch.px, ch.py, ex, ey));
    double dir = Direction(ex, ey, EndX(c, 1 - end), EndY(c, 1 - end));
    return std::fabs(dir - ch.theta) > kTurnAway;
}

// The row rule's prefilter: an end near enough in x and one in y. Taken in
// double, as the distances are, so a candidate whose end lies within `best`
// always passes it (the distance is never below an axis difference).
bool NearInBothAxes(const CClearStroke& c, const ChainEnd& ch, double best)
{
    auto near = [best](float a, float b) { return std::fabs(double(a) - double(b)) < best; };
    return (near(c.x1, ch.px) || near(c.x2, ch.px)) && (near(c.y1, ch.py) || near(c.y2, ch.py));
}

bool Finite(const CClearStroke& c)
{
    return std::isfinite(c.x1) && std::isfinite(c.y1) && std::isfinite(c.x2) &&
           std::isfinite(c.y2);
}

// The steps every chain shares; the picker says which candidate a step takes.
template <class Picker>
std::vector<CClearStroke> Chain(const std::vector<CClearStroke>& candidates, int pitch,
                                const CStrokeOrderRule& rule, Picker& picker,
                                const CChainStepHook& step)
{
    std::vector<CClearStroke> out;
    if (candidates.empty())
        return out;
    out.reserve(candidates.size() + candidates.size() / 2);
    const float reach = ClearingReach(pitch);
    const CClearStroke& first = candidates.front();
    out.push_back(first);
    picker.Remove(0);
    ChainEnd ch{first.x2, first.y2, first.x1, first.y1,
                Direction(first.x1, first.y1, first.x2, first.y2)};
    int flag = kInitialDirectionFlag;
    for (bool firstStep = true; !picker.Empty(); firstStep = false) {
        double best = firstStep ? rule.firstBest : rule.laterBest;
        std::size_t index = picker.Pick(ch, reach, best, flag);
        if (index == kNone)
            index = picker.FirstRemaining();
        CClearStroke taken = candidates[index];
        if (flag == 0) {
            std::swap(taken.x1, taken.x2);
            std::swap(taken.y1, taken.y2);
        }
        if (rule.rowRule)
            ch.theta = Direction(taken.x1, taken.y1, taken.x2, taken.y2);
        if (best < reach) {
            CClearStroke link;
            link.x1 = ch.px;
            link.y1 = ch.py;
            link.x2 = taken.x1;
            link.y2 = taken.y1;
            link.pen = 1;
            link.doneMark = 0;
            link.plungeValue = taken.plungeValue;
            out.push_back(link);
            flag = 0;
        }
        out.push_back(taken);
        picker.Remove(index);
        ch.px = taken.x2;
        ch.py = taken.y2;
        ch.qx = taken.x1;
        ch.qy = taken.y1;
        if (rule.clearFlagEachStep)
            flag = 0;
        if (step)
            step();
    }
    return out;
}

// Every remaining candidate in list order at every step.
class FullScanPicker {
public:
    FullScanPicker(const std::vector<CClearStroke>& candidates, const CStrokeOrderRule& rule,
                   const CMoveCrossTest& crosses)
        : m_Candidates(candidates), m_Rule(rule), m_Crosses(crosses)
    {
        m_Remaining.reserve(candidates.size());
        for (std::size_t i = 0; i < candidates.size(); ++i)
            m_Remaining.push_back(i);
    }

    bool Empty() const { return m_Remaining.empty(); }
    std::size_t FirstRemaining() const { return m_Remaining.front(); }
    void Remove(std::size_t index)
    {
        m_Remaining.erase(std::find(m_Remaining.begin(), m_Remaining.end(), index));
    }

    std::size_t Pick(const ChainEnd& ch, float reach, double& best, int& flag) const
    {
        std::size_t chosen = kNone;
        for (std::size_t i : m_Remaining) {
            if (best == 0.0)
                break;
            const CClearStroke& c = m_Candidates[i];
            if (m_Rule.rowRule && !NearInBothAxes(c, ch, best))
                continue;
            double d1 = DistanceF(ch.px, ch.py, c.x1, c.y1);
            double d2 = DistanceF(ch.px, ch.py, c.x2, c.y2);
            int end = -1;
            double d = 0.0;
            if (d1 < best && d1 < d2) {
                end = 0;
                d = d1;
            } else if (d2 < best && d2 < d1) {
                end = 1;
                d = d2;
            }
            if (end < 0 || (m_Rule.rowRule && !RowRuleAccepts(c, end, ch, reach, m_Crosses)))
                continue;
            chosen = i;
            flag = end == 0 ? 1 : 0;
            best = d;
        }
        return chosen;
    }

private:
    const std::vector<CClearStroke>& m_Candidates;
    const CStrokeOrderRule& m_Rule;
    const CMoveCrossTest& m_Crosses;
    std::vector<std::size_t> m_Remaining;
};

// Candidates found through a grid of their ends.
class GridPicker {
public:
    GridPicker(const std::vector<CClearStroke>& candidates, const CStrokeOrderRule& rule,
               const CMoveCrossTest& crosses)
        : m_Candidates(candidates), m_Rule(rule), m_Crosses(crosses),
          m_Removed(candidates.size(), 0), m_Alive(candidates.size()),
          m_AlivePos(candidates.size()), m_CellOf(2 * candidates.size(), 0)
    {
        for (std::size_t i = 0; i < candidates.size(); ++i)
            m_Alive[i] = m_AlivePos[i] = i;
        BuildGrid();
    }

    bool Empty() const { return m_Alive.empty(); }
    std::size_t FirstRemaining() const { return m_First; }

    void Remove(std::size_t index)
    {
        m_Removed[index] = 1;
        if (m_Cells > 0) {
            --m_CellAlive[m_CellOf[2 * index]];
            --m_CellAlive[m_CellOf[2 * index + 1]];
        }
        std::size_t pos = m_AlivePos[index];
        m_Alive[pos] = m_Alive.back();
        m_AlivePos[m_Alive[pos]] = pos;
        m_Alive.pop_back();
        while (m_First < m_Removed.size() && m_Removed[m_First])
            ++m_First;
    }

    std::size_t Pick(const ChainEnd& ch, float reach, double& best, int& flag) const
    {
        Search search{ch, reach, best, kNone, flag};
        if (m_Cells == 0) {
            ConsiderAll(search);
        } else {
            const long long px = m_Grid.Column(ch.px), py = m_Grid.Row(ch.py);
            const long long lastRing =
                std::max({px, m_Grid.columns - 1 - px, py, m_Grid.rows - 1 - py});
            std::size_t looked = 0;
            for (long long k = 0; k <= lastRing; ++k) {
                // A ring-k cell lies at least (k - 1) cells from P; one cell
                // more keeps rounding of the distances out of the question.
                if (k >= 2 && double(k - 2) * m_Grid.side > search.best)
                    break;
                std::size_t ringCells = k == 0 ? 1 : std::size_t(8 * k);
                looked += ringCells;
                if (looked > kRingsPerCandidate * m_Alive.size() + kRingSlack) {
                    ConsiderAll(search);
                    break;
                }
                VisitRing(search, px, py, k);
            }
        }
        best = search.best;
        flag = search.flag;
        return search.index;
    }

private:
    // Cells of rings worth looking at per remaining candidate before a look at
    // every one is cheaper.
    static constexpr std::size_t kRingsPerCandidate = 2;
    static constexpr std::size_t kRingSlack = 16;
    // Ends per cell the grid aims at, and its bound on the cells per end.
    static constexpr double kEndsPerCell = 2.0;
    static constexpr double kCellsPerEnd = 4.0;

    struct Search {
        const ChainEnd& ch;
        float reach;
        double best;
        std::size_t index;
        int flag;
    };

    // The full scan's verdict on one end of a candidate, as a running
    // minimum over (distance, list position).
    void Consider(Search& s, std::size_t i, int end) const
    {
        const CClearStroke& c = m_Candidates[i];
        double d = DistanceF(s.ch.px, s.ch.py, EndX(c, end), EndY(c, end));
        double other = DistanceF(s.ch.px, s.ch.py, EndX(c, 1 - end), EndY(c, 1 - end));
        if (!(d < other))
            return;
        if (!(d < s.best || (d == s.best && s.index != kNone && i < s.index)))
            return;
        if (m_Rule.rowRule && !RowRuleAccepts(c, end, s.ch, s.reach, m_Crosses))
            return;
        s.best = d;
        s.index = i;
        s.flag = end == 0 ? 1 : 0;
    }

    void ConsiderAll(Search& s) const
    {
        for (std::size_t i : m_Alive) {
            Consider(s, i, 0);
            Consider(s, i, 1);
        }
    }

    void VisitCell(Search& s, long long column, long long row) const
    {
        if (column < 0 || row < 0 || column >= m_Grid.columns || row >= m_Grid.rows)
            return;
        std::size_t cell = m_Grid.Cell(column, row);
        if (m_CellAlive[cell] == 0)
            return;
        for (std::size_t k = m_CellStart[cell]; k < m_CellStart[cell + 1]; ++k) {
            std::size_t item = m_CellItems[k];
            if (!m_Removed[item / 2])
                Consider(s, item / 2, int(item % 2));
        }
    }

    void VisitRing(Search& s, long long cx, long long cy, long long k) const
    {
        if (k == 0) {
            VisitCell(s, cx, cy);
            return;
        }
        for (long long x = cx - k; x <= cx + k; ++x) {
            VisitCell(s, x, cy - k);
            VisitCell(s, x, cy + k);
        }
        for (long long y = cy - k + 1; y <= cy + k - 1; ++y) {
            VisitCell(s, cx - k, y);
            VisitCell(s, cx + k, y);
        }
    }

    void BuildGrid()
    {
        // A non-finite end has no cell: such a chain is looked at whole.
        if (m_Candidates.empty() ||
            !std::all_of(m_Candidates.begin(), m_Candidates.end(), Finite))
            return;
        double minX = m_Candidates[0].x1, maxX = minX, minY = m_Candidates[0].y1, maxY = minY;
        for (const CClearStroke& c : m_Candidates) {
            minX = std::min({minX, double(c.x1), double(c.x2)});
            maxX = std::max({maxX, double(c.x1), double(c.x2)});
            minY = std::min({minY, double(c.y1), double(c.y2)});
            maxY = std::max({maxY, double(c.y1), double(c.y2)});
        }
        m_Grid = CCellGrid::Over(minX, minY, maxX, maxY, double(m_CellOf.size()), kEndsPerCell,
                                 kCellsPerEnd);
        m_Cells = m_Grid.Cells();
        std::vector<std::size_t> items(m_CellOf.size());
        for (std::size_t item = 0; item < items.size(); ++item) {
            const CClearStroke& c = m_Candidates[item / 2];
            int end = int(item % 2);
            items[item] = item;
            m_CellOf[item] = m_Grid.Cell(m_Grid.Column(EndX(c, end)), m_Grid.Row(EndY(c, end)));
        }
        FillBuckets(m_Cells, items,
                    [this](std::size_t item, auto&& visit) { visit(m_CellOf[item]); },
                    m_CellStart, m_CellItems);
        m_CellAlive.assign(m_Cells, 0);
        for (std::size_t cell : m_CellOf)
            ++m_CellAlive[cell];
    }

    const std::vector<CClearStroke>& m_Candidates;
    const CStrokeOrderRule& m_Rule;
    const CMoveCrossTest& m_Crosses;
    std::vector<char> m_Removed;
    std::vector<std::size_t> m_Alive;
    std::vector<std::size_t> m_AlivePos;
    std::size_t m_First = 0;
    // The grid: the cell of each end (item 2i is candidate i's start, 2i + 1
    // its end), the items of each cell and how many of them remain.
    std::vector<std::size_t> m_CellOf;
    CCellGrid m_Grid;
    std::size_t m_Cells = 0;
    std::vector<std::size_t> m_CellStart;
    std::vector<std::size_t> m_CellItems;
    std::vector<std::size_t> m_CellAlive;
};

}  // namespace

CCellGrid CCellGrid::Over(double minX, double minY, double maxX, double maxY, double items,
                      double perCell, double cellsPerItem)
{
    constexpr double kMinSide = 1.0;
    constexpr double kSideGrowth = 1.5;
    constexpr double kFewCells = 64.0;
    CCellGrid g;
    const double width = std::max(maxX - minX, kMinSide);
    const double height = std::max(maxY - minY, kMinSide);
    const double maxCells = cellsPerItem * items + kFewCells;
    g.side = std::max(kMinSide, std::sqrt(width * height * perCell / items));
    auto count = [&](double extent) { return std::floor(extent / g.side) + 1.0; };
    while (count(width) * count(height) > maxCells)
        g.side *= kSideGrowth;
    g.minX = minX;
    g.minY = minY;
    g.columns = static_cast<long long>(count(width));
    g.rows = static_cast<long long>(count(height));
    return g;
}

float ClearingReach(int pitch)
{
    float p = static_cast<float>(pitch);
    return pitch < kFineRasterPitch ? kFineReachPitches * p - kReachShortening
                                    : kCoarseReachPitches * p - kReachShortening;
}

std::vector<CClearStroke> OrderClearStrokes(const std::vector<CClearStroke>& candidates, int pitch,
                                            const CStrokeOrderRule& rule,
                                            const CMoveCrossTest& crosses,
                                            const CChainStepHook& step)
{
    GridPicker picker(candidates, rule, crosses);
    return Chain(candidates, pitch, rule, picker, step);
}

std::vector<CClearStroke> OrderClearStrokesFullScan(const std::vector<CClearStroke>& candidates,
                                                    int pitch, const CStrokeOrderRule& rule,
                                                    const CMoveCrossTest& crosses,
                                                    const CChainStepHook& step)
{
    FullScanPicker picker(candidates, rule, crosses);
    return Chain(candidates, pitch, rule, picker, step);
}

// ---- the crossing index ----

namespace {

// Farther than the segment test's widest tolerance (0.02 mil): a crossing it
// accepts lies within both boxes widened by that much.
constexpr double kCrossMargin = 0.05;
// A segment over more cells than this is tested on every query.
constexpr long long kMaxCellsPerSegment = 64;
constexpr double kSegmentsPerCell = 1.0;
constexpr double kCellsPerSegment = 4.0;

struct CellSpan {
    long long c0, c1, r0, r1;
    double Count() const { return double(c1 - c0 + 1) * double(r1 - r0 + 1); }
};

// The cells under a box widened by the margin.
CellSpan SpanOf(const CCellGrid& grid, float x1, float y1, float x2, float y2)
{
    return {grid.Column(std::min(x1, x2) - kCrossMargin),
            grid.Column(std::max(x1, x2) + kCrossMargin),
            grid.Row(std::min(y1, y2) - kCrossMargin), grid.Row(std::max(y1, y2) + kCrossMargin)};
}

}  // namespace

CIsolationCrossIndex::CIsolationCrossIndex(const COwnedList<CGridPathSegment>& segments)
{
    for (const auto& s : segments)
        if (s->type == 0)
            m_Segments.push_back({s->x1, s->y1, s->x2, s->y2});
    m_Seen.assign(m_Segments.size(), 0);

    std::vector<std::size_t> placed;
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (std::size_t i = 0; i < m_Segments.size(); ++i) {
        const Segment& s = m_Segments[i];
        if (!std::isfinite(s.x1) || !std::isfinite(s.y1) || !std::isfinite(s.x2) ||
            !std::isfinite(s.y2)) {
            m_Wide.push_back(i);
            continue;
        }
        bool first = placed.empty();
        minX = std::min({first ? s.x1 : minX, double(s.x1), double(s.x2)});
        maxX = std::max({first ? s.x1 : maxX, double(s.x1), double(s.x2)});
        minY = std::min({first ? s.y1 : minY, double(s.y1), double(s.y2)});
        maxY = std::max({first ? s.y1 : maxY, double(s.y1), double(s.y2)});
        placed.push_back(i);
    }
    if (placed.empty())
        return;
    m_Grid = CCellGrid::Over(minX, minY, maxX, maxY, double(placed.size()), kSegmentsPerCell,
                             kCellsPerSegment);
    std::vector<std::size_t> gridded;
    for (std::size_t i : placed) {
        const Segment& s = m_Segments[i];
        (SpanOf(m_Grid, s.x1, s.y1, s.x2, s.y2).Count() > double(kMaxCellsPerSegment) ? m_Wide
                                                                                     : gridded)
            .push_back(i);
    }
    FillBuckets(
        m_Grid.Cells(), gridded,
        [this](std::size_t i, auto&& visit) {
            const Segment& s = m_Segments[i];
            CellSpan span = SpanOf(m_Grid, s.x1, s.y1, s.x2, s.y2);
            for (long long r = span.r0; r <= span.r1; ++r)
                for (long long c = span.c0; c <= span.c1; ++c)
                    visit(m_Grid.Cell(c, r));
        },
        m_CellStart, m_CellItems);
}

bool CIsolationCrossIndex::Hits(std::size_t segment, float x1, float y1, float x2, float y2) const
{
    const Segment& s = m_Segments[segment];
    float x = 0.0f, y = 0.0f;
    return IntersectSegmentsTolF(s.x1, s.y1, s.x2, s.y2, x1, y1, x2, y2, &x, &y) != 0;
}

bool CIsolationCrossIndex::Crosses(float x1, float y1, float x2, float y2) const
{
    for (std::size_t i : m_Wide)
        if (Hits(i, x1, y1, x2, y2))
            return true;
    if (m_CellStart.empty())
        return false;
    CellSpan span = SpanOf(m_Grid, x1, y1, x2, y2);
    bool finite = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
    if (!finite || span.Count() > double(m_Segments.size())) {
        for (std::size_t i = 0; i < m_Segments.size(); ++i)
            if (Hits(i, x1, y1, x2, y2))
                return true;
        return false;
    }
    if (++m_Stamp == 0) {
        std::fill(m_Seen.begin(), m_Seen.end(), 0);
        m_Stamp = 1;
    }
    for (long long r = span.r0; r <= span.r1; ++r) {
        for (long long c = span.c0; c <= span.c1; ++c) {
            std::size_t at = m_Grid.Cell(c, r);
            for (std::size_t k = m_CellStart[at]; k < m_CellStart[at + 1]; ++k) {
                std::size_t i = m_CellItems[k];
                if (m_Seen[i] == m_Stamp)
                    continue;
                m_Seen[i] = m_Stamp;
                if (Hits(i, x1, y1, x2, y2))
                    return true;
            }
        }
    }
    return false;
}
