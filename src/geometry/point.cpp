// Point equality within the board's 0.001 resolution.
#include "geometry/point.h"

#include <cmath>

bool CDPoint::operator==(const CDPoint& o) const
{
    return std::fabs(x - o.x) < 0.001 && std::fabs(y - o.y) < 0.001;
}
