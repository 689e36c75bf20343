// The hole-to-pad alignment search.
#include "editing/drill_alignment.h"

#include "editing/drill_point_edit.h"
#include "geometry/point.h"
#include "platform/message_pump.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

// A hole hits a pad when the pad's centre lies this close on both axes.
constexpr double HIT_REACH = 4.0;
// Holes tried as anchors, each against every pad.
constexpr std::size_t ANCHOR_HOLES = 20;
// The share of holes on pads that accepts a shift once every hole is tested.
constexpr double ACCEPTED_SHARE = 0.7;

// End pads of strokes are no pads a hole is aligned to.
bool CountsAsPad(const CFlashRecord& f) { return f.type != 3; }

bool Hits(const CFlashRecord& pad, double x, double y)
{
    return std::fabs(pad.x - x) < HIT_REACH && std::fabs(pad.y - y) < HIT_REACH;
}

// The pads that count in square cells, so the hit test looks at a few cells
// instead of every pad; the answer is the same as testing every pad.
class CPadIndex {
public:
    explicit CPadIndex(const COwnedList<CFlashRecord>& flashes)
    {
        for (const auto& f : flashes)
            if (CountsAsPad(*f)) {
                m_Pads.push_back(f.get());
                m_Cells[Key(Cell(f->x), Cell(f->y))].push_back(f.get());
            }
    }

    const std::vector<const CFlashRecord*>& Pads() const { return m_Pads; }

    bool Hit(double x, double y) const
    {
        const std::int64_t cx = Cell(x), cy = Cell(y);
        for (std::int64_t i = cx - 1; i <= cx + 1; ++i)
            for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
                auto cell = m_Cells.find(Key(i, j));
                if (cell == m_Cells.end())
                    continue;
                for (const CFlashRecord* f : cell->second)
                    if (Hits(*f, x, y))
                        return true;
            }
        return false;
    }

private:
    static std::int64_t Cell(double v) { return static_cast<std::int64_t>(std::floor(v / (2 * HIT_REACH))); }
    static std::uint64_t Key(std::int64_t i, std::int64_t j)
    {
        return (static_cast<std::uint64_t>(i) << 32) ^ static_cast<std::uint32_t>(j);
    }

    std::vector<const CFlashRecord*> m_Pads;
    std::unordered_map<std::uint64_t, std::vector<const CFlashRecord*>> m_Cells;
};

// Whether most holes moved by the shift land on pads: accepted early on a
// clear majority, rejected early on a clear minority.
bool ShiftMatches(const std::vector<CDPoint>& holes, const CPadIndex& pads, CDPoint shift)
{
    int hits = 0, misses = 0;
    double ratio = 0.0;
    for (const CDPoint& hole : holes) {
        PumpMessages();
        if (pads.Hit(hole.x + shift.x, hole.y + shift.y)) {
            ++hits;
            if (hits + misses > 100 && ratio > 0.9)
                return true;
        } else {
            ++misses;
            if (hits + misses > 50 && ratio < 0.5)
                return false;
        }
        ratio = double(hits) / double(hits + misses);
    }
    return ratio > ACCEPTED_SHARE;
}

// The pads of a side as shapes in square cells, each shape in every cell its
// box touches, for the test whether a point lies on a pad.
class CPadShapes {
public:
    CPadShapes(const COwnedList<CFlashRecord>& flashes, const CRefList<CTrackRecord>& padTracks)
    {
        for (const auto& f : flashes)
            if (f->type != 3)
                Add({f.get(), nullptr}, f->x - f->radius, f->y - f->radius, f->x + f->radius,
                    f->y + f->radius);
        for (const CTrackRecord* t : padTracks) {
            const double half = t->width / 2.0;
            Add({nullptr, t}, std::min(t->x1, t->x2) - half, std::min(t->y1, t->y2) - half,
                std::max(t->x1, t->x2) + half, std::max(t->y1, t->y2) + half);
        }
    }

    bool Contains(const CDPoint& p) const
    {
        auto on = [&p](const Shape& s) {
            return s.flash ? std::hypot(p.x - s.flash->x, p.y - s.flash->y) <= s.flash->radius
                           : PointInTrack(*s.track, p.x, p.y) != 0;
        };
        if (std::any_of(m_Large.begin(), m_Large.end(), on))
            return true;
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
        auto cell = m_Cells.find(Key(Cell(p.x), Cell(p.y)));
        return cell != m_Cells.end() && std::any_of(cell->second.begin(), cell->second.end(), on);
    }

private:
    static constexpr double CELL = 50.0;
    static constexpr double LARGE_AREA = 1000.0 * CELL * CELL;
    struct Shape {
        const CFlashRecord* flash;
        const CTrackRecord* track;
    };

    void Add(const Shape& shape, double minX, double minY, double maxX, double maxY)
    {
        if (!std::isfinite(minX) || !std::isfinite(minY) || !std::isfinite(maxX) ||
            !std::isfinite(maxY))
            return;
        // A pad of many cells (no real pad is) is tested for every point.
        if ((maxX - minX) * (maxY - minY) > LARGE_AREA) {
            m_Large.push_back(shape);
            return;
        }
        for (std::int64_t i = Cell(minX); i <= Cell(maxX); ++i)
            for (std::int64_t j = Cell(minY); j <= Cell(maxY); ++j)
                m_Cells[Key(i, j)].push_back(shape);
    }
    static std::int64_t Cell(double v) { return static_cast<std::int64_t>(std::floor(v / CELL)); }
    static std::uint64_t Key(std::int64_t i, std::int64_t j)
    {
        return (static_cast<std::uint64_t>(i) << 32) ^ static_cast<std::uint32_t>(j);
    }

    std::unordered_map<std::uint64_t, std::vector<Shape>> m_Cells;
    std::vector<Shape> m_Large;
};

}  // namespace

std::size_t HolesOnPads(const COwnedList<CDrillTool>& tools, const COwnedList<CFlashRecord>& flashes,
                        const CRefList<CTrackRecord>& padTracks)
{
    const CPadShapes pads(flashes, padTracks);
    std::size_t on = 0;
    for (const auto& tool : tools)
        for (const auto& hole : tool->holes)
            on += pads.Contains(*hole) ? 1 : 0;
    return on;
}

bool MostHolesOnPads(std::size_t onPads, std::size_t holes)
{
    return holes > 0 && double(onPads) / double(holes) > ACCEPTED_SHARE;
}

bool PadAt(const COwnedList<CFlashRecord>& flashes, const CDPoint& p)
{
    return std::any_of(flashes.begin(), flashes.end(),
                       [&p](const auto& f) { return CountsAsPad(*f) && Hits(*f, p.x, p.y); });
}

std::size_t HoleCount(const COwnedList<CDrillTool>& tools)
{
    std::size_t count = 0;
    for (const auto& tool : tools)
        count += tool->holes.size();
    return count;
}

int AutoAlignDrills(const COwnedList<CFlashRecord>& flashes, COwnedList<CDrillTool>& tools)
{
    g_AlignEnable = 1;
    std::vector<CDPoint> holes;
    for (const auto& tool : tools)
        for (const auto& hole : tool->holes)
            holes.push_back(*hole);
    const CPadIndex pads(flashes);

    bool found = false;
    CDPoint shift;
    for (std::size_t a = 0; a < holes.size() && a < ANCHOR_HOLES && !found && g_AlignEnable; ++a)
        for (const CFlashRecord* pad : pads.Pads()) {
            CDPoint candidate(pad->x - holes[a].x, pad->y - holes[a].y);
            if (ShiftMatches(holes, pads, candidate)) {
                shift = candidate;
                found = true;
                break;
            }
        }

    if (found)
        ShiftHoles(tools, shift);
    g_DrillDataSet = 1;
    return found ? 1 : 0;
}
