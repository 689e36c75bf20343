// Registration alignment: when target points have been measured on the real
// board, every board point sent to the machine is mapped into the measured
// frame by the offset of the first target and the rotation between the
// reference and the measured targets.
#pragma once

#include "geometry/point.h"

#include <array>

constexpr int VISION_TARGET_POINTS = 40;
// Pairs: point 2i is the reference of target i, point 2i + 1 its measured
// position.
constexpr int VISION_TARGET_PAIRS = VISION_TARGET_POINTS / 2;

// The measured targets (the settings keep them in the registry).
extern std::array<CDPoint, VISION_TARGET_POINTS> g_TargetPoints;
// The number of stored pairs.
extern int g_TargetCount;

// Maps the point in place (after the board orientation). With no targets the
// point is left exactly as it is; otherwise the arithmetic is single precision.
void AlignTransformPoint(CDPoint* p);
