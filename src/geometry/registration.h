// Registration alignment: when target points have been measured on the real
// board, every board point sent to the machine is mapped into the measured
// frame by the offset of the first target and the rotation between the
// reference and the measured targets.
#pragma once

#include "geometry/point.h"
#include "machining/vision_targets.h"

// Maps the point in place (after the board orientation). With no targets the
// point is left exactly as it is; otherwise the arithmetic is single precision.
void AlignTransformPoint(CDPoint* p);
