// Moves outside a job: to a corner of the work area, the travel test, the
// jog buttons and the command console's axes. Every absolute target is
// checked against the table's travel, and a jog is limited on the position
// the controller reports at the moment of the press.
#pragma once

#include "link/machine_wait.h"
#include "platform/win_types.h"

#include <cstdint>

// The table's travel in whole pulses: X from 0 to the table width, Y from
// 0 to the table height (each times the pulses per mil), Z from 0 (homed,
// at the top) down to the Z limit.
struct CTravel {
    double maxX = 0.0;
    double maxY = 0.0;
    double maxZ = 0.0;
};
CTravel TableTravel();
bool WithinTravel(double x, double y);

// Moves X and Y to (x, y) pulses at the speed in force and waits until the
// machine is there. A target beyond the travel is refused with a message
// and nothing is sent. 1 when the machine arrived.
int MoveXYTo(double x, double y, unsigned deadlineMs = kMoveDeadlineMs);

enum class EWorkAreaCorner { LowerLeft, UpperLeft, LowerRight, UpperRight };
// The corner of the machining area (left, top, right, bottom in pulses).
POINT WorkAreaCorner(const RECT& area, EWorkAreaCorner corner);
// Drives to that corner of g_LayoutExtent, which the caller has computed,
// with the drives on for the move: only with a port open, the controller
// ready and STOP clear.
void MoveToWorkAreaCorner(EWorkAreaCorner corner);

// Five runs to the far corner of the table and back at rising speeds, on
// an open port with the controller ready; STOP ends it.
void RunTravelTest();

// The jog steps and speed the jog window takes (mm, mm/s).
constexpr float kMaxJogSpeed = 500.0f;
constexpr float kMaxJogStepXY = 500.0f;
constexpr float kMaxJogStepZ = 200.0f;
// The distance asked for (pulses, signed) cut so the move ends inside
// [0, limit] from `position`. A position already outside the travel is
// never driven further out, nor pulled back by more than the step.
long ClampJogDistance(long position, long distance, long limit);
// One press of a jog button: `axis` 0 X, 1 Y, 2 Z, `direction` +1 or -1 (Z
// grows downward, so Z+ lowers the tool), the step in mm at the speed in
// mm/s. A step or speed out of range is refused. The position is read from
// the controller first and the move cut short at the travel's end; a press
// toward an end the axis already stands at sends nothing. Returns the
// pulses moved (signed), 0 when nothing was sent. A press while a jog
// still runs is dropped.
int JogMove(int axis, int direction, float stepMm, float speedMmPerS);

// The command console's axis digit for the checked axes: X 0, Y 1, Z 2,
// X and Y 3, X and Z 4, Y and Z 5, all three 6; -1 when none is checked.
int ConsoleAxisDigit(bool x, bool y, bool z);
