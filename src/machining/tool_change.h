// The tool change every job stops for, and the tool-height detection: the
// spindle parks and stops, the operator is prompted (or the automatic tool
// changer works), the new tool's tip is touched on the board surface so the
// working depths count from it, the tool lifts, the spindle restarts and the
// table returns to where the job stopped. The view's members of the same
// names call these with itself as the runner view.
#pragma once

#include "machining/job_runner.h"

#include <string>

// The tool change of every runner; the height is detected when `detect` is
// non-zero or the current size is to be milled (large-hole mode). Callers
// look at the abort flag afterwards: a stop, or a touch that found no
// surface, sets it.
void ChangeTool(CRunnerView& view, const std::string& prompt, int detect);
// The registration-hole jobs' change: always detects, and asks "Continue ?"
// over the touch-off point and after the touch.
void ChangeToolConfirm(CRunnerView& view, const std::string& prompt);
// A height re-test of the tool in the spindle, without a change.
void ProbeToolHeight(CRunnerView& view);

// The touch-off move ends at `target` (Z pulses) when the tool touched
// nothing on the way: that Z is no surface.
bool TouchFailed(std::int32_t touchZ, double target);
