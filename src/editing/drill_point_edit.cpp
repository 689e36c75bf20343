// Rotation, mirroring, shifting and the search of drill holes.
#include "editing/drill_point_edit.h"

#include "geometry/plane_geometry.h"
#include "records/board_records.h"

#include <utility>

namespace {

template <class F>
void EachHole(COwnedList<CDrillTool>& tools, F f)
{
    for (auto& tool : tools)
        for (auto& hole : tool->holes)
            f(*hole);
}

}  // namespace

std::optional<CDPoint> HoleCentroid(const COwnedList<CDrillTool>& tools)
{
    CDPoint sum;
    long count = 0;
    for (const auto& tool : tools)
        for (const auto& hole : tool->holes) {
            sum += *hole;
            ++count;
        }
    if (count == 0)
        return std::nullopt;
    return CDPoint(sum.x / double(count), sum.y / double(count));
}

void RotateHoles(COwnedList<CDrillTool>& tools)
{
    const auto before = HoleCentroid(tools);
    if (!before)
        return;
    EachHole(tools, [](CDPoint& h) { std::swap(h.x, h.y); });
    const CDPoint move = *before - *HoleCentroid(tools);
    ShiftHoles(tools, move);
}

void MirrorHolesX(COwnedList<CDrillTool>& tools)
{
    if (const auto c = HoleCentroid(tools))
        EachHole(tools, [&](CDPoint& h) { h.x = 2 * c->x - h.x; });
}

void MirrorHolesY(COwnedList<CDrillTool>& tools)
{
    if (const auto c = HoleCentroid(tools))
        EachHole(tools, [&](CDPoint& h) { h.y = 2 * c->y - h.y; });
}

void ShiftHoles(COwnedList<CDrillTool>& tools, CDPoint shift)
{
    EachHole(tools, [&](CDPoint& h) { h += shift; });
}

std::optional<CDPoint> LastHoleNear(const COwnedList<CDrillTool>& tools, CDPoint p, double reach)
{
    std::optional<CDPoint> found;
    for (const auto& tool : tools)
        for (const auto& hole : tool->holes)
            if (static_cast<int>(Distance(hole->x, hole->y, p.x, p.y)) < reach)
                found = *hole;
    return found;
}
