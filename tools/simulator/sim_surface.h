// The board under the simulated machine's probe: a plane tilted in X and Y
// with a gentle dome-shaped warp on top, as a clamped copper-clad board
// lies on a table that is not quite level. Z grows downward, as the
// machine counts it.
#pragma once

#include <cstdint>

struct CSimSurface {
    double z0 = 0.0;       // surface Z at (0, 0), Z pulses
    double slopeX = 0.0;   // Z pulses per XY pulse along X
    double slopeY = 0.0;   // and along Y
    double warp = 0.0;     // Z pulses the middle of the warp lies lower
    double spanX = 1.0;    // the warp's extent from (0, 0), XY pulses
    double spanY = 1.0;

    // Surface Z under the XY point (x, y).
    double At(double x, double y) const;
};

// One plunge the simulator saw below its surface: where, and how deep
// below the surface there the tool went (Z pulses).
struct CSimCut {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    double depth = 0.0;
};

// Reads "Z0,SLOPEX,SLOPEY[,WARP,SPANX,SPANY]" (the program's --surface
// option); false when it is not six or three numbers with spans above 0.
bool ParseSurface(const char* text, CSimSurface& surface);
