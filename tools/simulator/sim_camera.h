// A scripted camera over the simulated table: holes at known table
// positions (pulses), and a picture centred on the spindle's position less
// the camera offset. Asked where the nearest hole lies from the picture's
// centre, it answers for holes within its field of view.
#pragma once

#include <cstdint>
#include <vector>

class CSimCamera {
public:
    struct Hole {
        double x = 0.0, y = 0.0;
    };
    std::vector<Hole> holes;
    double fieldRadius = 400.0;  // pulses seen around the picture's centre

    // The hole nearest the picture's centre (spindle at x, y; camera offset
    // ax, ay: the camera looks at x - ax, y - ay), as its distance from the
    // centre; false when none is in view.
    bool HoleOffset(std::int32_t x, std::int32_t y, std::int32_t ax, std::int32_t ay, double* dx,
                    double* dy) const;
};
