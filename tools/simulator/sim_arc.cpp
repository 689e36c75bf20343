// The binary controller's arc: the two-segment moves 0x80 and 0x82 turn the
// table about a centre. Their first pair is the centre and their second the
// end, both relative to where the table stands; 0x80 turns counter-clockwise
// (X right, Y up), 0x82 clockwise. The controller keeps the radius the arc
// starts on, so the arc ends on that circle in the direction of the given
// end (the link scales that end a pulse towards the centre and closes the
// gap with a line move of its own), and an end that comes back to the start
// is a whole turn.
#include "controller_simulator.h"

#include <cmath>
#include <cstdlib>

void CControllerSimulator::BinaryArc(bool counterClockwise, std::array<std::int64_t, 4>& target,
                                     std::int32_t centreX, std::int32_t centreY, std::int32_t endX,
                                     std::int32_t endY)
{
    const double sx = static_cast<double>(target[0]), sy = static_cast<double>(target[1]);
    const double cx = sx + centreX, cy = sy + centreY;
    double ex = sx + endX, ey = sy + endY;
    const double radius = std::hypot(sx - cx, sy - cy);
    const double reach = std::hypot(ex - cx, ey - cy);
    if (radius > 0.0 && reach > 0.0) {
        ex = cx + (ex - cx) * radius / reach;
        ey = cy + (ey - cy) * radius / reach;
    }
    target[0] = std::llround(ex);
    target[1] = std::llround(ey);
    if (radius <= 0.0 || reach <= 0.0)
        return;  // no circle to turn on: a straight move
    constexpr double kDegrees = 180.0 / 3.14159265358979323846;
    double sweep = (std::atan2(ey - cy, ex - cx) - std::atan2(sy - cy, sx - cx)) * kDegrees;
    const bool backAtStart = std::llabs(target[0] - static_cast<std::int64_t>(sx)) <= 1 &&
                             std::llabs(target[1] - static_cast<std::int64_t>(sy)) <= 1;
    if (backAtStart) {
        target[0] = static_cast<std::int64_t>(sx);
        target[1] = static_cast<std::int64_t>(sy);
        sweep = counterClockwise ? 360.0 : -360.0;
    } else if (counterClockwise) {
        while (sweep <= 0.0)
            sweep += 360.0;
    } else {
        while (sweep >= 0.0)
            sweep -= 360.0;
    }
    NoteArc(cx, cy, sweep);
}
