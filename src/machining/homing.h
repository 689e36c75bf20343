// Bringing the machine to a known state: finding the controller on the
// serial ports, and homing, which every job runs at its start and end. The
// controller reset belongs to the document, so the callers hand it in.
#pragma once

#include "link/machine_wait.h"

#include <cstdint>
#include <functional>

// 1 while the machine position is not trusted (from start-up until a homing
// has found X or Y at 0): homing then skips its quick return to 0, 0.
extern int g_PositionLost;

// A read-back axis value is plausible between 0 and 100000 pulses.
constexpr std::int32_t kMaxPlausiblePulses = 100000;
bool PlausibleAxis(std::int32_t pulses);

// The binary controller's X, Y and Z mode words (commands 0x03 to 0x05),
// from the driver mode and the stepping options: one set while homing, one
// for normal running.
struct CAxisModeWords {
    int x = 0;
    int y = 0;
    int z = 0;
};
CAxisModeWords AxisModeWords(bool homing);

// The model name holds the KX1100 or the KX1100L name of the string table.
bool IsKX1100Family();

// The position query: ZZ, a pause of `pauseMs`, then the reply read into
// g_MachineX, g_MachineY, g_MachineZ and the fields after them. True when
// a reply came (on the binary road the reply is read at once).
bool ReadPositionReply(unsigned pauseMs);
// The machine's pause button as the last position reply reported it.
bool PauseButtonHeld();

// How a wait for the controller's readiness ended, acted on: true when the
// controller became ready; a silent controller is handled as a lost one,
// a deadline stops the work as STOP does.
bool ReadyWaitEnded(EWaitEnd end);

// Waits until the controller reports ready. True when it did; false on
// STOP, on the deadline, or when the controller fell silent, which is
// handled as a lost controller (told once, port closed).
bool AwaitReady(unsigned deadlineMs = kMoveDeadlineMs);

// Homes the machine (Z first, then X and Y) unless the controller is busy
// or absent. `resetController` sets the controller up anew part way
// through. STOP, a silent controller or a homing that outlasts its
// deadline ends it early; the position then stays untrusted.
void MachineHome(const std::function<void()>& resetController);

// Finds a controller on the configured port, else on the others; on
// success resets it and says so in the status text, returns 1. Otherwise
// tells the operator to check the cable and the power, returns 0.
int ConnectMachine(const std::function<void()>& resetController);
