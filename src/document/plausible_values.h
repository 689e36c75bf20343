// The values a project or side file holds as the program writes them. A
// file's format has no check sum, but a damaged byte often leaves a value
// the program never writes: a coordinate past any board, a size below 0 or
// one that is not a number, a flag that is neither 0 nor 1.
#pragma once

#include "import/gerber_number.h"

#include <cstdint>

// A number, and no farther from the origin than an absolute Gerber
// coordinate can name.
inline bool PlausiblePosition(double v)
{
    return v >= -GERBER_MAX_POSITION_MIL && v <= GERBER_MAX_POSITION_MIL;
}
inline bool PlausibleSize(double v) { return v >= 0.0 && v <= GERBER_MAX_POSITION_MIL; }
inline bool PlausibleFlag(std::int32_t v) { return v == 0 || v == 1; }
