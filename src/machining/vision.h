// The camera (CCD) beside the spindle: lens focus, the calibration hole and
// the camera offset, drill-point sampling for the registration targets, and
// the origin adjustment that matches a hole seen by the camera to the
// measurement data and shifts the board origin by the difference.
//
// The camera's picture is shown on a monitor of its own and the operator
// centres holes by eye. A camera source, where one is installed, tells how
// far the hole's centre lies from the picture's centre, so a sample is taken
// at the hole itself; without one the commands say so and take the camera's
// centre.
#pragma once

#include "geometry/point.h"
#include "machining/view_hooks.h"
#include "platform/object_lists.h"

#include <cstdint>

class CHoleTextWalk;
class CLayoutBlock;

// Registration targets are taken in sets; the table holds 18 of them.
constexpr int kMaxTargetSets = 18;
// A measured hole matches the camera's hole within this many pulses.
constexpr double kMatchRadiusPulses = 400.0;

class CCameraSource {
public:
    virtual ~CCameraSource() = default;
    // Where the hole in the picture lies from the picture's centre (machine
    // pulses); false when the picture shows no hole.
    virtual bool HoleOffset(double* dx, double* dy) = 0;
};
// The camera in use; null when none is connected.
extern CCameraSource* g_CameraSource;

// The spindle position over the hole the camera shows: the machine position
// read now, plus the stored camera offset, plus the camera source's view of
// the hole. Without a camera source the operator is told that the centre of
// the picture is taken.
CDPoint CameraHolePosition();

// Lens focus: drives off while the operator focuses, then on again.
void LensFocus();
// Arms the drill-point sampling (1) unless 18 sets are taken (then the
// operator is told and 0).
int StartDrillSampling(int* sampleMode);
// The mouse dispatch's sample: the panel hole `hole` (mil) and the spindle
// position over it become the next target pair, also in the registry.
void RecordVisionTarget(const CDPoint& hole);
// The CCD offset from the calibration hole's spindle position ("x1", "y1")
// and the camera now over that hole; asks first. 1 when it was stored.
int ResetCcdOffset();
// Drills the calibration hole and brings the camera over it.
void DrillLensCalibrationHole();

// The measured hole of `measure` that lies within kMatchRadiusPulses of
// `target` (pulses) on some board copy, placed as the jobs place points;
// false when none does. The text's lines are selected as they are read.
bool MatchMeasuredHole(CHoleTextWalk& measure, const COwnedList<CLayoutBlock>& blocks,
                       const CDPoint& target, CDPoint* match);
// The origin adjustment: the Adjust Origin window, then the match. On a
// match the board origin correction is set ("Adjust Ok !"); without one the
// correction in force is kept ("Adjust Fail !").
void AdjustOrigin(CHoleTextWalk& measure, const COwnedList<CLayoutBlock>& blocks,
                  const CMachineViewHooks& view);
