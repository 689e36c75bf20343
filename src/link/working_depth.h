// Where Z goes down to cut and where it lifts to, in Z pulses, for the running
// job at the machine's position. The depths of the machine parameters count
// from the board surface that probing recorded, interpolated on a plane
// through three probed points of the grid cell under the tool; fixed plunge
// mode uses its absolute heights instead. Larger Z values are deeper.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <vector>

// One probed surface point (machine pulses).
struct CProbePoint {
    std::int32_t z = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The probed surface: the points row by row from the lower-left corner, each
// row from minimum to maximum X, over the probed rectangle at the spacing.
class CProbeGrid {
public:
    std::int32_t m_AverageZ = 0;        // the surface height before any cell is read
    std::vector<CProbePoint> m_Points;
    int m_GridSpacing = 10;             // mm between probed points
    // The probed rectangle in pulses, kept as the layout extent keeps it:
    // left and top hold minimum X and Y, right and bottom maximum X and Y.
    RECT m_AreaRect;
};

// The probing window's surface, which every depth reads.
extern CProbeGrid& g_SurfaceGrid;
// 1 while the depths follow the probed surface (and the view draws it).
extern int g_SurfaceCompensation;

// Surface Z at (x, y), clamped into the probed rectangle; 0 without points.
// Where no cell can be found (an incomplete grid, a spacing of 0) the last
// height found stands.
int GetSurfaceHeight(int x, int y);
// Cutting depth and lift height for g_JobCode at the machine position. A
// value that comes out negative never reaches the machine: the last good one
// is returned instead.
int GetZDownPulses();
int GetZUpPulses();
// Probe editing: evens out the cell under (x, y) by replacing the corner
// that strays furthest from the mean of its plane's three corners, or sets
// the height of the cell's lower-left corner.
void SmoothSurfacePoint(int x, int y);
void SetSurfacePoint(int x, int y, int z);
