// Homing and connection. Every wait here is the link's bounded wait, so a
// controller that stops answering, STOP, or a homing that never ends gives
// the operator the program back.
#include "machining/homing.h"

#include "link/link_state.h"
#include "platform/host.h"
#include "platform/program_objects.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

int g_PositionLost = 1;

namespace {

const CProgramObjectReset s_Reset([] { g_PositionLost = 1; });

void SendCommand() { g_MachineLink.Send(); }

// The mode words are frames of the binary protocol: an ASCII controller
// would take them for noise, so they go out only to a binary one.
void SendZModeWord(const CAxisModeWords& words)
{
    if (g_ControllerKind == 1)
        g_BinLink.Cmd05(words.z);
}

void SendXYModeWords(const CAxisModeWords& words)
{
    if (g_ControllerKind != 1)
        return;
    g_BinLink.Cmd03(words.x);
    g_BinLink.Cmd04(words.y);
}

// Waits for the operator to let go of the machine's pause button, asking
// again after every look that still finds it held.
bool AwaitPauseReleased()
{
    CWaitLimits limits;
    limits.deadlineMs = kHomingDeadlineMs;
    EWaitEnd end = WaitMachine(
        [] {
            if (!ReadPositionReply(20))
                return EPoll::NoAnswer;
            if (!PauseButtonHeld())
                return EPoll::Done;
            AfxMessageBox(LoadResString(IDS_RELEASE_PAUSE_BUTTON));
            return EPoll::Waiting;
        },
        limits);
    if (end == EWaitEnd::Silent)
        g_MachineLink.ControllerLost();
    return end == EWaitEnd::Done;
}

// The steps of homing after the controller reset; false when one of its
// waits did not end with the machine ready.
bool HomeAxes()
{
    g_MachineLink.CmdDL3();
    SendCommand();
    g_MachineLink.CmdEB(1);
    SendCommand();
    CAxisModeWords homing = AxisModeWords(true);
    SendZModeWord(homing);
    SendXYModeWords(homing);

    g_MachineLink.CmdHM1();
    SendCommand();
    if (!AwaitReady(kHomingDeadlineMs))
        return false;
    g_MachineLink.CmdHM2();
    SendCommand();
    if (!AwaitPauseReleased())
        return false;
    g_StatusText = LoadResString(IDS_HOMING);
    if (!AwaitReady(kHomingDeadlineMs))
        return false;

    g_MachineLink.CmdEL3();
    SendCommand();
    if (!ReadPositionReply(20))
        return false;
    if (g_MachineX != 0 || g_MachineY != 0) {
        g_MachineLink.CmdHM2();
        SendCommand();
        if (!AwaitReady(kHomingDeadlineMs))
            return false;
    }
    return true;
}

}  // namespace

bool PlausibleAxis(std::int32_t pulses) { return pulses >= 0 && pulses <= kMaxPlausiblePulses; }

CAxisModeWords AxisModeWords(bool homing)
{
    const int plain = homing ? 0x40 : 0x43;
    const int inverted = homing ? 0x140 : 0x143;
    CAxisModeWords words;
    words.x = g_DriverMode | (g_XYTwoPhaseStep ? plain : inverted);
    words.y = words.x;
    words.z = g_DriverMode | (g_ZInvertDir ? inverted : plain);
    return words;
}

bool IsKX1100Family()
{
    for (unsigned id : {IDS_KX1100, IDS_KX1100L}) {
        std::string name = LoadResString(id);
        if (!name.empty() && g_MachineModel.find(name) != std::string::npos)
            return true;
    }
    return false;
}

bool ReadPositionReply(unsigned pauseMs)
{
    g_MachineLink.CmdZZ();
    g_MachineLink.SendQuery();
    Sleep(pauseMs);
    g_MachineLink.ReadReply();
    return g_ControllerKind != 0 || g_MachineLink.m_ZZReceived == 1;
}

bool PauseButtonHeld() { return g_MachineLink.m_ReplyFields[10] != 0; }

bool AwaitReady(unsigned deadlineMs) { return ReadyWaitEnded(WaitUntilReady(deadlineMs)); }

bool ReadyWaitEnded(EWaitEnd end)
{
    switch (end) {
    case EWaitEnd::Done:
        return true;
    case EWaitEnd::Silent:
        g_MachineLink.ControllerLost();
        return false;
    case EWaitEnd::Deadline:
        // A machine still busy long after any move could have ended is not
        // fit to go on with: the work stops as on STOP.
        g_AbortFlag = 1;
        return false;
    case EWaitEnd::Aborted:
        break;
    }
    return false;
}

void MachineHome(const std::function<void()>& resetController)
{
    if (!g_MachineLink.IsReady())
        return;
    // The cable test reads the binary controller's inputs.
    if (g_ControllerKind == 1 && IsKX1100Family() && g_BinLink.CheckCable())
        return;
    SendZModeWord(AxisModeWords(true));
    g_MachineLink.ReadReply();
    if (!PlausibleAxis(g_MachineX) || !PlausibleAxis(g_MachineY) || !PlausibleAxis(g_MachineZ))
        g_PositionLost = 1;

    // With a trusted position the machine first runs back to 0, 0 at speed,
    // so the slow homing runs only the last stretch.
    if (!g_PositionLost && !g_AbortFlag) {
        g_MachineLink.CmdEB(1);
        SendCommand();
        g_MachineLink.CmdHM1();
        SendCommand();
        g_MachineLink.SetDefaultSpeed();
        g_MachineLink.CmdMA2(0.0f, 0.0f);
        SendCommand();
        if (!AwaitReady(kHomingDeadlineMs)) {
            g_PositionLost = 1;
            return;
        }
    }

    g_AbortFlag = 0;
    if (resetController)
        resetController();
    g_AbortFlag = 0;
    g_PositionPollOff = 1;

    bool homed = AwaitPauseReleased() && HomeAxes();
    // The drives go back to their running modes however homing ended.
    CAxisModeWords running = AxisModeWords(false);
    SendXYModeWords(running);
    SendZModeWord(running);
    g_MachineLink.ReadReply();
    if (!homed)
        g_PositionLost = 1;
    else if (g_MachineX == 0 || g_MachineY == 0)
        g_PositionLost = 0;
}

int ConnectMachine(const std::function<void()>& resetController)
{
    g_PortState = -1;
    if (g_MachineLink.OpenAnyPort()) {
        if (resetController)
            resetController();
        Sleep(200);
        g_StatusText = LoadResString(IDS_MACHINE_CONNECTED);
        return 1;
    }
    AfxMessageBox(LoadResString(IDS_MACHINE_CONNECT_FAILED));
    g_PortState = -1;
    return 0;
}
