// The two plunge-speed tables: a row applies to diameters below its bound.
#include "machining/plunge_speed.h"

#include "settings/machine_param_dlg.h"

#include <cstddef>

namespace {

struct CSpeedRow {
    float below;  // mm
    float speed;  // mm/s
};

template <std::size_t N>
float SpeedFor(const CSpeedRow (&rows)[N], float otherwise, float diameterMM)
{
    for (const CSpeedRow& row : rows)
        if (diameterMM < row.below)
            return row.speed;
    return otherwise;
}

constexpr CSpeedRow kDrillRows[] = {{0.4f, 0.5f}, {0.5f, 2.0f},  {0.6f, 5.0f}, {0.8f, 10.0f},
                                    {1.2f, 25.0f}, {1.5f, 15.0f}, {2.0f, 5.0f}, {3.0f, 2.0f}};
constexpr CSpeedRow kChangerRows[] = {{0.5f, 2.0f}, {0.7f, 4.0f}, {1.2f, 8.0f}, {1.5f, 6.0f},
                                      {2.0f, 4.0f}};

}  // namespace

void SelectZelta6DrillParam(float diameterMM)
{
    if (g_MachineModel == "ZELTA6")
        return;
    g_PlungeSpeed = SpeedFor(kDrillRows, 1.0f, diameterMM);
}

float DrillPlungeSpeed(float diameterMM) { return SpeedFor(kChangerRows, 2.0f, diameterMM); }
