// The tool change and the tool-height detection. Z grows downward and 0 is
// the homed top; the touch-off is a slow absolute move down that the
// controller ends where the tool touches the board (the contact stop that
// "EL" switches on).
#include "machining/tool_change.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/plunge_speed_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/spindle_speed_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

#include <cmath>

namespace {

void SendDL()
{
    g_MachineLink.CmdDL3();
    g_MachineLink.Send();
}

void SendEL()
{
    g_MachineLink.CmdEL3();
    g_MachineLink.Send();
}

// The contact stop of the binary controller (0x02 with 8 on, 0 off).
void BinaryContactStop(int value)
{
    if (g_ControllerKind == 1)
        g_BinLink.Cmd02(value);
}

// What the steps share: the view for the readout, and the stop check.
struct CChange {
    CRunnerView& view;
    bool Wait(unsigned pollPauseMs)
    {
        return RunnerWaitFollowing(pollPauseMs, [this] { view.UpdatePositionDisplay(); });
    }
    // A stop ends the change at once; the runner then ends the job.
    bool Stopped()
    {
        if (!RunnerStopped())
            return false;
        g_AbortFlag = 1;
        return true;
    }
};

// The nearer Y edge of the machining area at the current X.
CDPoint EdgeTouchPoint(std::int32_t x0, std::int32_t y0)
{
    const RECT& area = g_LayoutExtent;
    const bool bottomNearer = y0 - area.top > area.bottom - y0;
    return CDPoint(x0, bottomNearer ? area.bottom : area.top);
}

double TouchOffEnd() { return (g_ZTop + 25.0) * g_ZPulsesPerMM; }

// Reads the touch and takes it as the tool height; false (the job stops)
// when the tool went the whole way down without touching anything.
bool TakeTouch()
{
    RunnerReadPosition(100);
    if (TouchFailed(g_MachineZ, TouchOffEnd())) {
        AfxMessageBox(LoadResString(IDS_TOUCH_FAILED_JOB_STOPPED), MB_OK | MB_ICONSTOP);
        g_AbortFlag = 1;
        return false;
    }
    g_MachineOffset = static_cast<int>(g_MachineZ - GetSurfaceHeight(g_MachineX, g_MachineY));
    g_ToolTouchZ = g_MachineZ;
    return true;
}

// The spindle on again when the job wants it (or the probe test is not
// skipped); `settleMs` lets a spindle that needs it come up to speed.
void RestartSpindle(unsigned settleMs)
{
    if (!g_JobRunning && g_SkipProbeTest)
        return;
    SendOutput(7, 1);
    if (settleMs)
        RunnerPause(settleMs);
    if (g_MachineModel != "KX4200E")
        return;
    while (AfxMessageBox(LoadResString(IDS_RESTART_MOTORS), MB_YESNO) == IDYES) {
        SendOutput(7, 0);
        RunnerPause(500);
        SendOutput(7, 1);
    }
}

// The operator's prompt; with "tool simulation" checked the current hole
// size is milled by the router when the router is the smaller tool.
void PromptOperator(CRunnerView& view, const std::string& prompt)
{
    CPlungeSpeedDlg dlg;
    for (;;) {
        dlg.m_Simulate = view.LargeHoleMode();
        view.LargeHoleMode() = 0;
        dlg.m_Prompt = prompt;
        dlg.DoModal();
        if (!dlg.m_Simulate)
            return;
        const int tool = g_CurrentToolNo;
        const float drillMil = tool >= 0 && tool < DRILL_TOOL_SIZES ? g_ToolSizes[static_cast<std::size_t>(tool)] : 0.0f;
        const float drillMM = drillMil / 39.37f;
        if (g_SimToolSize < drillMM) {
            AfxMessageBox(FormatResText(IDS_CHANGE_TO_ROUTING_CUTTER, static_cast<double>(g_SimToolSize)));
            g_PlungeSpeed = 2.0f;
            view.LargeHoleMode() = 1;
            return;
        }
        AfxMessageBox(LoadResString(drillMM == 0.0f ? IDS_SIMULATION_NO_DRILL_SIZES
                                                    : IDS_SIMULATION_HOLE_TOO_SMALL));
    }
}

void Prompt(CRunnerView& view, const std::string& prompt, int keptCode)
{
    if (g_MachineModel != "ZELTA6") {
        PromptOperator(view, prompt);
        return;
    }
    if (prompt == LoadResString(IDS_CHANGE_TOOL))
        view.AtcManualExchange(prompt);
    else if (keptCode == JOB_DRILL || keptCode == JOB_DRILL_REG_HOLES)
        view.AtcDrillTool(prompt);
    else
        view.AtcExchangeTool(prompt);
}

void RunChange(CRunnerView& view, const std::string& prompt, int detect, bool confirm)
{
    CChange change{view};
    const int keptCode = g_JobCode;
    g_JobCode = JOB_TOOL_CHANGE;
    if (change.Stopped())
        return;
    view.StopTimer();
    view.ToolChangeRequest() = 0;
    RunnerReadPosition(30);
    const std::int32_t x0 = g_MachineX, y0 = g_MachineY;

    g_MachineLink.CmdHM1();
    g_MachineLink.Send();
    RunnerPause(200);
    g_ToolDown = 0;
    g_StatusText = LoadResString(IDS_SPINDLE_OFF);
    SendOutput(7, 0);

    if (ToolChangeAtFront()) {
        SendDefaultSpeed();
        g_MachineLink.CmdMA2(static_cast<float>(x0), ToolChangeFrontY());
        change.Wait(20);
        if (change.Stopped())
            return;
    }
    PrepareOutput(5, 1);
    Prompt(view, prompt, keptCode);
    PrepareOutput(5, 0);
    if (change.Stopped())
        return;

    if (confirm || detect || view.LargeHoleMode() == 1) {
        if (ModelContains("Y"))
            AfxMessageBox(LoadResString(IDS_ATTACH_DETECT_WIRE));
        SendDL();
        SendEL();
        BinaryContactStop(8);
        g_MachineOffset = 0;
        SendDefaultSpeed();
        if (!g_SkipProbeTest && !g_FixedPlungeMode) {
            const CDPoint pick = view.DetectPoint();
            const CDPoint at = pick.x != 0.0 || pick.y != 0.0
                                   ? CDPoint(pick.x * g_PulsesPerMil, pick.y * g_PulsesPerMil)
                                   : EdgeTouchPoint(x0, y0);
            SendXYTo(at);
            RunnerPause(50);
            change.Wait(20);
            if (change.Stopped())
                return;
            if (confirm)
                AfxMessageBox(LoadResString(IDS_ASK_CONTINUE));
            SendZSpeedPulses(2000.0f);
            RunnerPause(30);
            SendZTo(g_ZTop * g_ZPulsesPerMM);
            change.Wait(15);
            if (change.Stopped())
                return;
            SendZSpeedPulses(confirm ? 300.0f : 2.0f * g_ZPulsesPerMM);
            RunnerPause(30);
            if (confirm)
                SendZTo(TouchOffEnd());
            if (ModelContains("H")) {
                ApplySpindleSpeed(5000.0f);
                if (g_ControllerKind == 1) {
                    g_BinLink.SetOutputBit(1, 1, true);
                    g_BinLink.SpindleOnPulse();
                }
            }
            RunnerPause(30);
            if (!confirm)
                SendZTo(TouchOffEnd());
            RunnerPause(30);
            change.Wait(15);
            BinaryContactStop(0);
            if (change.Stopped() || !TakeTouch())
                return;
            SendDL();
            RunnerPause(20);
            SendZTo(confirm ? g_ZTop * g_ZPulsesPerMM : g_ToolTouchZ - g_ZPulsesPerMM);
            RunnerWait();
            if (confirm) {
                AfxMessageBox(LoadResString(IDS_ASK_CONTINUE));
            } else if (change.Stopped()) {
                return;
            }
            SendEL();
        }
        if (confirm)
            view.StartTimer();
        g_PositionPollOff = 1;
        SendZSpeed(g_LiftSpeed);
        RunnerPause(20);
        if (!confirm) {
            SendZTo(GetZUpPulses() - g_ZPulsesPerMM);
            if (ModelContains("Y"))
                AfxMessageBox(LoadResString(IDS_REMOVE_DETECT_WIRE));
            RunnerPause(50);
            change.Wait(15);
            if (change.Stopped())
                return;
        }
    }
    if (!confirm)
        view.StartTimer();
    g_JobCode = keptCode;
    RestartSpindle(0);
    if (!confirm && change.Stopped())
        return;
    SendXYTo(x0, y0);
    RunnerPause(20);
    change.Wait(15);
    if (!confirm && change.Stopped())
        return;
    g_PositionPollOff = 0;
    if (confirm)
        view.StartTimer();
    BinaryContactStop(0);
}

}  // namespace

bool TouchFailed(std::int32_t touchZ, double target)
{
    // 9800 and 6000 are where the move ends with the usual top heights.
    return touchZ == 9800 || touchZ == 6000 || touchZ >= static_cast<std::int32_t>(std::lround(target)) - 1;
}

void ChangeTool(CRunnerView& view, const std::string& prompt, int detect)
{
    RunChange(view, prompt, detect, false);
}

void ChangeToolConfirm(CRunnerView& view, const std::string& prompt)
{
    RunChange(view, prompt, 1, true);
}

void ProbeToolHeight(CRunnerView& view)
{
    if (g_AbortFlag)
        return;
    view.StopTimer();
    view.ToolChangeRequest() = 0;
    RunnerReadPosition(30);
    const std::int32_t x0 = g_MachineX, y0 = g_MachineY;
    SendOutput(7, 0);
    RunnerPause(4000);
    SendDL();
    SendEL();
    const int keptCode = g_JobCode;
    g_JobCode = JOB_IDLE;
    BinaryContactStop(8);
    g_MachineOffset = 0;
    SendDefaultSpeed();
    auto wait = [&view](unsigned pollPauseMs) {
        return RunnerWaitFollowing(pollPauseMs, [&view] { view.UpdatePositionDisplay(); });
    };
    if (!g_SkipProbeTest && !g_FixedPlungeMode) {
        SendXYTo(EdgeTouchPoint(x0, y0));
        RunnerPause(50);
        wait(20);
        SendZSpeedPulses(2000.0f);
        RunnerPause(30);
        SendZSpeedPulses(300.0f);
        RunnerPause(60);
        SendZTo(TouchOffEnd());
        RunnerPause(30);
        wait(15);
        if (g_AbortFlag)
            return;
        BinaryContactStop(0);
        if (!TakeTouch())
            return;
        SendDL();
        RunnerPause(20);
        SendZTo(g_ToolTouchZ - g_ZPulsesPerMM);
        RunnerWait();
        SendEL();
    }
    g_PositionPollOff = 1;
    view.StartTimer();
    SendZSpeed(g_LiftSpeed);
    RunnerPause(20);
    SendZTo(GetZUpPulses() - g_ZPulsesPerMM);
    RunnerPause(50);
    wait(15);
    if (g_AbortFlag)
        return;
    g_JobCode = keptCode;
    RestartSpindle(ModelContains("H") ? 5000 : 0);
    SendXYTo(x0, y0);
    RunnerPause(20);
    wait(15);
    g_PositionPollOff = 0;
    BinaryContactStop(0);
}
