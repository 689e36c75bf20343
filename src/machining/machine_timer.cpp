// The view timer's tick, the joystick jog and the position display.
#include "machining/machine_timer.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/machine_wait.h"
#include "link/working_depth.h"
#include "machining/homing.h"
#include "machining/position_dlg.h"
#include "machining/input_signal_dlg.h"
#include "machining/surface_probing.h"
#include "platform/host.h"
#include "platform/joystick.h"
#include "platform/program_objects.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

#include <cstdio>
#include <string>

int g_JoystickSpeedIndex = 1;

namespace {

CProgramObjectReset s_Reset([] { g_JoystickSpeedIndex = 1; });

constexpr float kJoystickSpeeds[4] = {0.1f, 1.0f, 5.0f, 35.0f};
constexpr unsigned kTickMs = 30;

std::string FormatG(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

enum class EAxis { X, Y };

// Which way the stick is held on one axis: +1 towards the far end, -1
// towards 0, 0 anything else.
int Deflection(const JOYINFO& info, EAxis axis)
{
    const unsigned pos = axis == EAxis::X ? info.wXpos : info.wYpos;
    return FullDeflectionUp(pos) ? 1 : FullDeflectionDown(pos) ? -1 : 0;
}

// Waits, keeping the window alive, until the stick leaves its full
// deflection `held` on `axis`; ends on STOP and after the move deadline too.
void WaitStickReleased(EAxis axis, int held)
{
    CWaitLimits limits;
    limits.deadlineMs = kMoveDeadlineMs;
    limits.pollMs = 5;
    WaitMachine(
        [axis, held] {
            JOYINFO info;
            if (joyGetPos(JOYSTICKID1, &info) != JOYERR_NOERROR)
                return EPoll::Done;  // unplugged: nobody holds it any more
            return Deflection(info, axis) == held ? EPoll::Waiting : EPoll::Done;
        },
        limits);
}

void ShowJogPosition()
{
    char text[80];
    std::snprintf(text, sizeof text, "X:%g Y:%g", g_MachineX / g_XYPulsesPerMM,
                  g_MachineY / g_XYPulsesPerMM);
    g_StatusText = text;
}

// Jogs one axis while the stick is held at full deflection. The binary
// controller is driven by its own speed, move and reset frames; the ASCII
// controller by a move to the end of the travel and a stop; with no
// controller nothing is sent.
void JogAxis(EAxis axis, int direction, int speed)
{
    const bool onX = axis == EAxis::X;
    const double travel = onX ? g_TableWidth : g_TableHeight;
    const auto target = static_cast<std::int32_t>(direction > 0 ? g_PulsesPerMil * travel : 0.0);
    if (g_ControllerKind == 1) {
        g_MachineLink.CmdEB(1);
        onX ? g_BinLink.SetSpeedX(speed) : g_BinLink.SetSpeedY(speed);
        onX ? g_BinLink.MoveXTo(target) : g_BinLink.MoveYTo(target);
        WaitStickReleased(axis, direction);
        onX ? g_BinLink.SetSpeedX(0) : g_BinLink.SetSpeedY(0);
        Sleep(50);
        g_BinLink.Reset();
        g_BinLink.ReadPosition(&g_BinLink.m_PosX, &g_BinLink.m_PosY, &g_BinLink.m_PosZ);
        g_BinLink.CmdLess();
        onX ? g_BinLink.SetSpeedX(speed) : g_BinLink.SetSpeedY(speed);
        g_BinLink.ReadPosition(&g_MachineX, &g_MachineY, &g_MachineZ);
    } else if (g_ControllerKind == 0) {
        g_MachineLink.CmdEB(1);
        g_MachineLink.Send();
        // The binary speed value counts tens of pulses per second.
        const float rate = static_cast<float>(speed) * 10.0f;
        g_MachineLink.CmdSP2(rate, rate);
        g_MachineLink.Send();
        if (onX)
            g_MachineLink.CmdMA2(static_cast<float>(target), static_cast<float>(g_MachineY));
        else
            g_MachineLink.CmdMA2(static_cast<float>(g_MachineX), static_cast<float>(target));
        g_MachineLink.Send();
        WaitStickReleased(axis, direction);
        g_MachineLink.CmdST3();
        g_MachineLink.Send();
        ReadPositionReply(15);
    } else {
        return;
    }
    ShowJogPosition();
}

void JoystickStep(CMachineTimerView& view)
{
    JOYINFO info;
    if (joyGetPos(JOYSTICKID1, &info) != JOYERR_NOERROR)
        return;
    if (info.wButtons)
        view.OnJogKey(info.wButtons, g_JoystickSpeedIndex);
    const int speed = JoystickJogSpeed(g_JoystickSpeedIndex);
    for (EAxis axis : {EAxis::X, EAxis::Y}) {
        const int direction = Deflection(info, axis);
        if (direction != 0)
            JogAxis(axis, direction, speed);
    }
}

bool FollowsSurface(int code)
{
    switch (code) {
    case 2: case 3: case 4: case 5: case 10: case 11: case 12: case 13: case 15: case 18:
        return true;
    default:
        return false;
    }
}

}  // namespace

int JoystickJogSpeed(int speedIndex)
{
    if (speedIndex < 0 || speedIndex > 3)
        speedIndex = 1;
    return static_cast<int>(g_XYPulsesPerMM * kJoystickSpeeds[speedIndex] / 10.0f);
}

void MachineTimerTick(CMachineTimerView& view)
{
    // No tick may arrive while this one pumps messages.
    view.StopTimer();
    if (view.JoystickOn())
        JoystickStep(view);
    if (g_PositionPollOff == 0) {
        ReadPositionReply(15);
        UpdatePositionDisplay(view);
    }
    if (g_JobCode == JOB_SURFACE_PROBE && RunProbingStep()) {
        view.MonitorOn() = 0;
        g_PositionDlg.ShowWindow(false);
        return;
    }
    view.StartTimer(kTickMs);
}

void UpdatePositionDisplay(CMachineTimerView& view)
{
    if (g_JobCode == 0)
        g_InputSignalDlg.Refresh();
    if (!g_SkipProbeTest && !g_FixedPlungeMode && g_PositionPollOff == 0 &&
        FollowsSurface(g_JobCode)) {
        g_MachineLink.CmdMA1(static_cast<float>(g_ToolDown ? GetZDownPulses() : GetZUpPulses()));
        g_MachineLink.Send();
    }
    if (!g_PositionDlg.IsVisible())
        return;
    double xy = 1.0 / g_XYPulsesPerMM;
    double z = 1.0 / g_ZPulsesPerMM;
    const char* unit = "mm";
    if (g_UnitSelector == 1) {
        xy *= 39.37;
        z *= 39.37;
        unit = "mil";
    } else if (g_UnitSelector == 2) {
        xy = 1.0;
        z = 1.0;
        unit = "pulse";
    }
    if (g_JobCode != JOB_SURFACE_PROBE)
        view.DrawDotNow(static_cast<float>(g_MachineX / g_XYPulsesPerMM * 39.37),
                        static_cast<float>(g_MachineY / g_XYPulsesPerMM * 39.37));
    g_PositionDlg.m_X = FormatG(g_MachineX * xy);
    g_PositionDlg.m_Y = FormatG(g_MachineY * xy);
    g_PositionDlg.m_Z = FormatG(g_MachineZ * z);
    g_PositionDlg.m_Unit = unit;
    g_PositionDlg.UpdateData(false);
}

void ToggleMonitor(CMachineTimerView& view)
{
    if (view.MonitorOn()) {
        view.MonitorOn() = 0;
        g_PositionDlg.ShowWindow(false);
        view.StopTimer();
        return;
    }
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    view.MonitorOn() = 1;
    g_AbortFlag = 0;
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    view.StartTimer(20);
    g_PositionPollOff = 1;
}
