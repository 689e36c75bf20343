// The registration targets: pairs of a reference point and the position
// measured for it, kept in the registry as "TargetCount", "TC_x%d" and
// "TC_y%d" and reloaded with the settings.
#pragma once

#include "geometry/registration.h"

// Forgets every stored target (CVelmView::OnClearVisionData): all points
// zero, the count 0, also in the registry.
void ClearVisionData();
