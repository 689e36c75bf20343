// The working Z depth of the jobs and the probed-surface compensation.
#include "link/working_depth.h"

#include "link/link_state.h"
#include "platform/program_objects.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace {

// What the depths remember between calls.
struct CDepthMemory {
    bool heightSeeded = false;
    int lastHeight = 0;
    int lastDown = 0;
    int lastUp = 0;
};
CDepthMemory s_Memory;
const CProgramObjectReset s_Reset([] {
    s_Memory = CDepthMemory();
    g_SurfaceCompensation = 0;
});

// The cell of the grid under a point: the point clamped into the probed
// rectangle and the indices of the cell's four corners in the point array.
struct CGridCell {
    int x = 0, y = 0;
    std::size_t lowerLeft = 0, lowerRight = 0, upperLeft = 0, upperRight = 0;
};

// Grid lines along one axis: one per step from the low edge, and the high
// edge itself when the span is no multiple of the step.
std::int64_t LineCount(std::int64_t span, std::int64_t step)
{
    return span / step + (span % step == 0 ? 1 : 2);
}

// The cell under (x, y), or none when the grid has no cell there. A point on
// the right or top edge belongs to the last cell, not to one past it, so no
// corner index runs into the next row. The rectangle and spacing may come
// from a file: they are taken in 64 bits and a step below one pulse has no
// cells.
std::optional<CGridCell> FindCell(const CProbeGrid& grid, int x, int y)
{
    const std::int64_t left = grid.m_AreaRect.left, right = grid.m_AreaRect.right;
    const std::int64_t bottom = grid.m_AreaRect.top, top = grid.m_AreaRect.bottom;
    const double stepPulses = static_cast<float>(grid.m_GridSpacing) * g_XYPulsesPerMM;
    if (!(stepPulses >= 1.0 && stepPulses < 2147483648.0) || right < left || top < bottom)
        return std::nullopt;
    const std::int64_t step = static_cast<std::int64_t>(stepPulses);
    const std::int64_t columns = LineCount(right - left, step);
    const std::int64_t rows = LineCount(top - bottom, step);
    if (columns < 2 || rows < 2)
        return std::nullopt;
    CGridCell cell;
    cell.x = static_cast<int>(std::clamp<std::int64_t>(x, left, right));
    cell.y = static_cast<int>(std::clamp<std::int64_t>(y, bottom, top));
    const auto c = static_cast<std::size_t>(std::min((cell.x - left) / step, columns - 2));
    const auto r = static_cast<std::size_t>(std::min((cell.y - bottom) / step, rows - 2));
    const auto cols = static_cast<std::size_t>(columns);
    cell.lowerLeft = c + r * cols;
    cell.lowerRight = c + 1 + r * cols;
    cell.upperLeft = c + (r + 1) * cols;
    cell.upperRight = c + 1 + (r + 1) * cols;
    if (cell.upperRight >= grid.m_Points.size())
        return std::nullopt;
    return cell;
}

std::int64_t SquaredDistance(const CProbePoint& p, int x, int y)
{
    const std::int64_t dx = std::int64_t(p.x) - x, dy = std::int64_t(p.y) - y;
    return dx * dx + dy * dy;
}

// Of the two corners off the cell's diagonal, the one nearer to the point;
// on a tie the upper-left one.
std::size_t NearerCorner(const CProbeGrid& grid, const CGridCell& cell)
{
    const auto& pts = grid.m_Points;
    return SquaredDistance(pts[cell.lowerRight], cell.x, cell.y) <
                   SquaredDistance(pts[cell.upperLeft], cell.x, cell.y)
               ? cell.lowerRight
               : cell.upperLeft;
}

// Z of the plane through three points at (x, y); none when they lie on one
// line (a probe retried beside its grid point can make that).
std::optional<double> PlaneZ(const CProbePoint& a, const CProbePoint& b, const CProbePoint& c,
                             int x, int y)
{
    const double ux = double(b.x) - a.x, uy = double(b.y) - a.y, uz = double(b.z) - a.z;
    const double vx = double(c.x) - a.x, vy = double(c.y) - a.y, vz = double(c.z) - a.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (nz == 0.0)
        return std::nullopt;
    return a.z - (nx * (double(x) - a.x) + ny * (double(y) - a.y)) / nz;
}

bool IsDrillJob(int code) { return code == 1 || code == 19; }
bool IsRouteJob(int code) { return code == 4; }
bool IsRegistrationHoleJob(int code) { return code == 7; }
bool IsEngraveJob(int code)
{
    switch (code) {
    case 2: case 3: case 5: case 10: case 11: case 12: case 13: case 15: case 16: case 18:
        return true;
    default:
        return false;
    }
}

// Z pulses for a height in mm, computed as the parameters are kept (single
// precision), so 3.6 mm at 200 pulses per mm is 720 pulses, not 719.
float Pulses(float mm) { return g_ZPulsesPerMM * mm; }

// The absolute heights of fixed plunge mode. The combined job engraves and
// the registration holes are drilled, so they take those heights too.
std::optional<float> FixedHeight(int code, bool down)
{
    if (IsDrillJob(code) || IsRegistrationHoleJob(code))
        return down ? g_AbsDrillDown : g_AbsDrillUp;
    if (IsEngraveJob(code))
        return down ? g_AbsEngraveDown : g_AbsEngraveUp;
    if (IsRouteJob(code))
        return down ? g_AbsRouteDown : g_AbsRouteUp;
    return std::nullopt;
}

// Toward zero, held inside the int range (settings read from a file may be
// anything).
int Truncate(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

// The surface under the machine (while compensation is on) plus the tool
// tip's offset.
double SurfaceBase()
{
    const int surface = g_SurfaceCompensation ? GetSurfaceHeight(g_MachineX, g_MachineY) : 0;
    return double(surface) + double(g_MachineOffset);
}

}  // namespace

int g_SurfaceCompensation = 0;

int GetSurfaceHeight(int x, int y)
{
    const CProbeGrid& grid = g_SurfaceGrid;
    if (!s_Memory.heightSeeded) {
        s_Memory.lastHeight = grid.m_AverageZ;
        s_Memory.heightSeeded = true;
    }
    if (grid.m_Points.empty())
        return 0;
    std::optional<CGridCell> cell = FindCell(grid, x, y);
    if (!cell)
        return s_Memory.lastHeight;
    const auto& pts = grid.m_Points;
    std::optional<double> z = PlaneZ(pts[cell->lowerLeft], pts[NearerCorner(grid, *cell)],
                                     pts[cell->upperRight], cell->x, cell->y);
    if (!z)
        return s_Memory.lastHeight;
    // A surface at Z 0 is a height like any other.
    s_Memory.lastHeight = Truncate(*z);
    return s_Memory.lastHeight;
}

int GetZDownPulses()
{
    const int code = g_JobCode;
    int down = 0;
    if (g_FixedPlungeMode) {
        down = Truncate(Pulses(FixedHeight(code, true).value_or(0.0f)));
    } else {
        const double base = SurfaceBase();
        if (IsDrillJob(code))
            down = Truncate(base + Pulses(g_DrillDepth));
        else if (IsEngraveJob(code))
            down = Truncate(base + g_PlungeOffsetPulses + Pulses(g_EngraveDepth));
        else if (IsRouteJob(code))
            down = Truncate(base + g_PlungeOffsetPulses + g_ZPulsesPerMM * (g_RouteDepth + 0.2));
        else if (IsRegistrationHoleJob(code))
            // Registration holes go through the board even when the drill
            // depth is set shallow.
            down = Truncate(base + (g_DrillDepth <= 3.5f ? g_ZPulsesPerMM * 3.7
                                                         : Pulses(g_DrillDepth)));
        else
            down = Truncate(base);
    }
    if (down < 0)
        return s_Memory.lastDown;
    s_Memory.lastDown = down;
    return down;
}

int GetZUpPulses()
{
    const int code = g_JobCode;
    int up = 0;
    if (g_FixedPlungeMode) {
        if (std::optional<float> height = FixedHeight(code, false))
            return Truncate(Pulses(*height));
    } else {
        // The lift height counts in whole millimetres.
        const int lift = Truncate(Pulses(std::trunc(g_LiftHeight)));
        double value = SurfaceBase() - lift;
        if (IsDrillJob(code) || IsRouteJob(code) || IsRegistrationHoleJob(code) || code == 5)
            value -= 2.0 * g_ZPulsesPerMM;
        else if (IsEngraveJob(code))
            value -= g_ZPulsesPerMM / 2.0;
        up = Truncate(value);
    }
    if (up < 0)
        return s_Memory.lastUp;
    if (g_MachineZ >= up)
        s_Memory.lastUp = up;
    // Lifting never sends Z deeper than it is.
    return std::min<int>(g_MachineZ, up);
}

void SmoothSurfacePoint(int x, int y)
{
    CProbeGrid& grid = g_SurfaceGrid;
    std::optional<CGridCell> cell = FindCell(grid, x, y);
    if (!cell)
        return;
    CProbePoint& l = grid.m_Points[cell->lowerLeft];
    CProbePoint& n = grid.m_Points[NearerCorner(grid, *cell)];
    CProbePoint& u = grid.m_Points[cell->upperRight];
    const std::int64_t mean = (std::int64_t(l.z) + n.z + u.z) / 3;
    const std::int64_t dl = std::llabs(l.z - mean), dn = std::llabs(n.z - mean),
                       du = std::llabs(u.z - mean);
    auto half = [](std::int32_t a, std::int32_t b) {
        return static_cast<std::int32_t>((std::int64_t(a) + b) / 2);
    };
    if (dl > dn && dl > du)
        l.z = half(u.z, n.z);
    else if (du > dl && du > dn)
        u.z = half(l.z, n.z);
    else if (dn > dl && dn > du)
        n.z = half(l.z, u.z);
}

void SetSurfacePoint(int x, int y, int z)
{
    CProbeGrid& grid = g_SurfaceGrid;
    if (std::optional<CGridCell> cell = FindCell(grid, x, y))
        grid.m_Points[cell->lowerLeft].z = z;
}
