// The hole-to-pad alignment search.
#include "editing/drill_alignment.h"

#include "geometry/point.h"
#include "platform/message_pump.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "settings/work_order_dlg.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

// A hole hits a pad when the pad's centre lies this close on both axes.
constexpr double HIT_REACH = 4.0;
// Holes tried as anchors, each against every pad.
constexpr std::size_t ANCHOR_HOLES = 20;

// The pads that count (end pads of strokes do not) in square cells, so the
// hit test looks at a few cells instead of every pad; the answer is the same
// as testing every pad.
class CPadIndex {
public:
    explicit CPadIndex(const COwnedList<CFlashRecord>& flashes)
    {
        for (const auto& f : flashes)
            if (f->type != 3) {
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
                    if (std::fabs(f->x - x) < HIT_REACH && std::fabs(f->y - y) < HIT_REACH)
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
    return ratio > 0.7;
}

}  // namespace

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
        for (const auto& tool : tools)
            for (const auto& hole : tool->holes)
                *hole += shift;
    g_DrillDataSet = 1;
    return found ? 1 : 0;
}
