#include "sim_camera.h"

#include <cmath>

bool CSimCamera::HoleOffset(std::int32_t x, std::int32_t y, std::int32_t ax, std::int32_t ay,
                            double* dx, double* dy) const
{
    const double cx = static_cast<double>(x) - ax, cy = static_cast<double>(y) - ay;
    double best = fieldRadius;
    bool found = false;
    for (const Hole& h : holes) {
        const double d = std::hypot(h.x - cx, h.y - cy);
        if (d <= best) {
            best = d;
            *dx = h.x - cx;
            *dy = h.y - cy;
            found = true;
        }
    }
    return found;
}
