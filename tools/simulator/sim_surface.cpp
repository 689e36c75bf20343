// The shaped board surface of the simulator and the record of the depths
// the tool went below it.
#include "controller_simulator.h"

#include <cmath>
#include <cstdlib>

double CSimSurface::At(double x, double y) const
{
    constexpr double kPi = 3.14159265358979323846;
    const double u = std::clamp(x / spanX, 0.0, 1.0), v = std::clamp(y / spanY, 0.0, 1.0);
    return z0 + slopeX * x + slopeY * y + warp * std::sin(kPi * u) * std::sin(kPi * v);
}

void CControllerSimulator::SetSurfaceShape(const CSimSurface& shape)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_HasSurface = true;
    m_HasShape = true;
    m_Shape = shape;
}

std::vector<CSimCut> CControllerSimulator::Cuts()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Cuts;
}

double CControllerSimulator::SurfaceAt(double x, double y) const
{
    return m_HasShape ? m_Shape.At(x, y) : double(m_SurfaceZ);
}

std::int32_t CControllerSimulator::SurfaceZHere(double now) const
{
    // The probe stops at the first whole pulse that reaches the surface.
    return static_cast<std::int32_t>(std::ceil(SurfaceAt(PositionOf(0, now), PositionOf(1, now))));
}

void CControllerSimulator::RecordCut(double now, const std::array<std::int64_t, 4>& target,
                                     const std::array<bool, 4>& axes)
{
    if (!axes[2] || !m_HasSurface)
        return;
    const auto x = static_cast<std::int32_t>(axes[0] ? target[0] : PositionOf(0, now));
    const auto y = static_cast<std::int32_t>(axes[1] ? target[1] : PositionOf(1, now));
    const auto z = static_cast<std::int32_t>(target[2]);
    const double depth = z - SurfaceAt(x, y);
    if (depth > 0.0)
        m_Cuts.push_back(CSimCut{x, y, z, depth});
}

bool ParseSurface(const char* text, CSimSurface& surface)
{
    double v[6] = {0.0, 0.0, 0.0, 0.0, 1.0, 1.0};
    int count = 0;
    const char* at = text;
    while (count < 6) {
        char* end = nullptr;
        v[count] = std::strtod(at, &end);
        if (end == at)
            return false;
        ++count;
        if (*end == '\0')
            break;
        if (*end != ',')
            return false;
        at = end + 1;
    }
    if ((count != 3 && count != 6) || !(v[4] > 0.0) || !(v[5] > 0.0))
        return false;
    surface = CSimSurface{v[0], v[1], v[2], v[3], v[4], v[5]};
    return true;
}
