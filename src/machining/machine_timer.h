// The view's timer tick, the heartbeat of machine work outside the runners'
// own loops: it jogs the table while the joystick is deflected, polls the
// machine position and shows it in the position window, and runs one step
// of the surface probing. The position display also keeps Z on the probed
// surface while an engraving or milling job runs. The view supplies its
// timer and its drawing through CMachineTimerView.
#pragma once

// Index 0 to 3 into the joystick speeds {0.1, 1, 5, 35} mm/s.
extern int g_JoystickSpeedIndex;

class CMachineTimerView {
public:
    virtual ~CMachineTimerView() = default;
    virtual void StartTimer(unsigned milliseconds) = 0;
    virtual void StopTimer() = 0;
    virtual int JoystickOn() const = 0;
    virtual int& MonitorOn() = 0;
    // The joystick's buttons as teach and measure keys.
    virtual void OnJogKey(unsigned /*buttons*/, int /*speedIndex*/) {}
    // Marks the tool's position (mil) on the board.
    virtual void DrawDotNow(float /*x*/, float /*y*/) {}
};

// The joystick jog speed value of the binary link: pulses per mm times the
// chosen speed in mm/s, divided by 10, truncated.
int JoystickJogSpeed(int speedIndex);
// Whether a joystick deflection counts as full towards the far end (65535
// or 65280) or towards 0.
inline bool FullDeflectionUp(unsigned pos) { return pos == 65535 || pos == 65280; }
inline bool FullDeflectionDown(unsigned pos) { return pos == 0; }

// One tick of the view's timer 1.
void MachineTimerTick(CMachineTimerView& view);
// Shows the last machine position in the position window in the display
// unit, and keeps Z on the surface during engraving and milling jobs.
void UpdatePositionDisplay(CMachineTimerView& view);
// Position monitoring on or off (the position window and the timer).
void ToggleMonitor(CMachineTimerView& view);
