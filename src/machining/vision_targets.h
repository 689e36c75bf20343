// The registration targets: pairs of a reference point and the position
// measured for it, kept in the registry as "TargetCount", "TC_x%d" and
// "TC_y%d" and reloaded with the settings.
#pragma once

#include "geometry/point.h"

#include <array>

constexpr int VISION_TARGET_POINTS = 40;
// Pairs: point 2i is the reference of target i, point 2i + 1 its measured
// position.
constexpr int VISION_TARGET_PAIRS = VISION_TARGET_POINTS / 2;

extern std::array<CDPoint, VISION_TARGET_POINTS> g_TargetPoints;
// The number of stored pairs.
extern int g_TargetCount;

// Forgets every stored target (CVelmView::OnClearVisionData): all points
// zero, the count 0, also in the registry.
void ClearVisionData();
