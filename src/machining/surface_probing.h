// The surface probing run of the probing window (CPlaneDetectDlg, declared
// in plane_data.h): the start, then one step a tick of the view's timer
// until every grid point has been touched or the run is stopped.
#pragma once

#include "machining/plane_data.h"

// A descent that finds no surface is tried again this often, each time
// 400 pulses further in X and one millimetre deeper, before the run stops.
constexpr int kMaxProbeRetries = 3;

// One step of the running probing job, from the view's timer; non-zero when
// the run has ended.
int RunProbingStep();
