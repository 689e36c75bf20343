// The registration-hole jobs, written in the runner vocabulary.
#include "machining/registration_holes.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/plunge_speed_dlg.h"
#include "machining/position_dlg.h"
#include "machining/spindle_speed_dlg.h"
#include "machining/tool_change.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <cstdio>

namespace {

// The first drill: T30, 1.25 mm.
constexpr int kFirstTool = 30;
constexpr double kFirstToolMil = 49.2125;
constexpr double kFirstToolMM = 1.25;
// The engraved circle: 90 mil across, started on its right edge.
constexpr double kCircleRadiusMil = 45.0;
// The surface is touched off 100 mil in front of the circle's start.
constexpr double kTouchOffsetMil = 100.0;

CDPoint Pulses(double xMil, double yMil) { return CDPoint(xMil * g_PulsesPerMil, yMil * g_PulsesPerMil); }

// The text cannot be edited while a job works through it.
void LockHoleText(bool locked)
{
    g_HoleDataWnd.m_Edit.SetReadOnly(locked);
    if (locked)
        g_HoleDataWnd.ShowWindow(true);
}

// The steps both jobs start with after the homing: the run state, the text
// locked and shown, the timer with the position poll.
void ClaimAndLock(CRunnerView& view)
{
    RunnerBegin(view);
    LockHoleText(true);
    g_PositionPollOff = 0;
}

// A tool change the operator asked for; the spindle speed of the change
// stands for the call only. False when it was stopped.
bool ServeRequest(CRunnerView& view, float spindleSpeed)
{
    if (!view.ToolChangeRequest())
        return !RunnerStopped();
    const float kept = g_SpindleSpeed;
    if (spindleSpeed > 0.0f)
        g_SpindleSpeed = spindleSpeed;
    view.ChangeTool(LoadResString(IDS_CHANGE_TOOL), 1);
    g_SpindleSpeed = kept;
    return !RunnerStopped();
}

bool WaitShowing(CRunnerView& view, unsigned pollPauseMs)
{
    return RunnerWaitFollowing(pollPauseMs, [&view] { view.UpdatePositionDisplay(); });
}

// The end of both jobs: finished, the machine goes home; stopped, the
// window and the timer go.
void Finish(CRunnerView& view)
{
    RunnerWait();
    LockHoleText(false);
    if (g_AbortFlag) {
        RunnerAbandon(view, true);
        return;
    }
    StoreWorkName("");
    g_JobCode = JOB_IDLE;
    g_JobRunning = 0;
    SendOutput(7, 0);
    RunnerReturnHome(view, true);
}

// One engraved circle: touch the surface off beside the hole, then cut the
// circle just below it. False when the job is to end.
bool EngraveHole(CRunnerView& view, const CDPoint& hole)
{
    SendXYTo(Pulses(hole.x + kCircleRadiusMil, hole.y - kTouchOffsetMil));
    if (!RunnerWait() || RunnerStopped())
        return false;
    if (ModelContains("Y"))
        AfxMessageBox(LoadResString(IDS_ATTACH_DETECT_WIRE));
    SendZSpeedPulses(2000.0f);
    RunnerPause(30);
    SendZTo(g_ZTop * g_ZPulsesPerMM);
    if (!WaitShowing(view, 15) || RunnerStopped())
        return false;

    g_MachineLink.CmdDL3();
    g_MachineLink.Send();
    g_MachineLink.CmdEL3();
    g_MachineLink.Send();
    const int keptCode = g_JobCode;
    g_JobCode = JOB_IDLE;  // the readout must not pull Z to the surface meanwhile
    if (g_ControllerKind == 1)
        g_BinLink.Cmd02(8);
    if (ModelContains("H")) {
        ApplySpindleSpeed(5000.0f);
        if (g_ControllerKind == 1) {
            g_BinLink.SetOutputBit(1, 1, true);
            g_BinLink.SpindleOnPulse();
        }
    }
    SendZSpeedPulses(300.0f);
    RunnerPause(30);
    const double touchEnd = (25.0 + g_ZTop) * g_ZPulsesPerMM;
    SendZTo(touchEnd);
    RunnerPause(30);
    WaitShowing(view, 15);
    if (g_ControllerKind == 1)
        g_BinLink.Cmd02(0);
    if (RunnerStopped())
        return false;

    RunnerReadPosition(100);
    const std::int32_t surface = g_MachineZ;
    if (TouchFailed(surface, touchEnd)) {
        AfxMessageBox(LoadResString(IDS_TOUCH_FAILED_JOB_STOPPED), MB_OK | MB_ICONSTOP);
        g_AbortFlag = 1;
        return false;
    }
    g_MachineLink.CmdDL3();
    g_MachineLink.Send();
    RunnerPause(20);
    SendZTo(surface - g_ZPulsesPerMM);
    if (!RunnerWait() || RunnerStopped()) {
        g_AbortFlag = 1;
        return false;
    }
    g_MachineLink.CmdEL3();
    g_MachineLink.Send();
    if (ModelContains("Y"))
        AfxMessageBox(LoadResString(IDS_REMOVE_DETECT_WIRE));

    const CDPoint start = Pulses(hole.x + kCircleRadiusMil, hole.y);
    SendXYTo(start);
    if (!RunnerWait())
        return false;
    SendOutput(7, 1);
    if (ModelContains("H"))
        RunnerPause(2000);
    RunnerPause(600);
    g_ToolDown = 1;
    SendZSpeed(g_PlungeSpeed);
    SendZTo(surface + 20.0);
    if (!RunnerWait())
        return false;
    SendXYSpeed(5.0f);
    // The circle goes out as the arc of each controller: a line move to the
    // start, where the tool already stands, would leave the binary
    // controller's mark a dimple.
    SendFullCircle(Pulses(hole.x, hole.y), start);
    if (!RunnerWait())
        return false;
    SendZSpeed(g_LiftSpeed);
    g_ToolDown = 0;
    SendZTo(g_ZTop * g_ZPulsesPerMM);
    const bool lifted = RunnerWait();
    SendOutput(7, 0);
    g_JobCode = keptCode;
    return lifted;
}

}  // namespace

void DrillRegistrationHoles(CRunnerView& view, const std::vector<CRegistrationHole>& holes,
                            const std::string& language)
{
    view.SaveResumeProject();
    RunnerShowAndHome(view);
    if (g_AbortFlag)
        return;
    ClaimAndLock(view);
    if (!g_SkipProbeTest) {
        RunnerMoveToAreaCorner();
        RunnerPause(100);
        RunnerWait();
    }
    RunnerPause(300);
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));

    const std::string prompt =
        FormatResText(IDS_CHANGE_DRILL, kFirstTool, kFirstToolMil, kFirstToolMM) +
        (language == "CHINESE" ? " (黑)" : " (black)");
    g_PlungeSpeed = 5.0f;
    const float keptSpeed = g_SpindleSpeed;
    g_SpindleSpeed = 30000.0f;
    ChangeToolConfirm(view, prompt);
    g_SpindleSpeed = keptSpeed;

    long count = 0;
    for (const CRegistrationHole& hole : holes) {
        if (g_AbortFlag || g_JobCode == JOB_IDLE || !ServeRequest(view, 20000.0f))
            break;
        g_HoleDataWnd.m_Edit.SelectLine(hole.line);
        char caption[32];
        std::snprintf(caption, sizeof caption, "Count: %ld", ++count);
        ShowRunnerCaption(caption);
        SendDefaultSpeed();
        SendXYTo(Pulses(hole.at.x, hole.at.y));
        if (!RunnerWait() || RunnerStopped())
            break;
        g_ToolDown = 1;
        SendZSpeed(g_PlungeSpeed);
        SendZTo(GetZDownPulses());
        if (!RunnerWait() || RunnerStopped())
            break;
        SendZSpeed(g_LiftSpeed);
        g_ToolDown = 0;
        SendZTo(GetZUpPulses());
        if (!RunnerWait())
            break;
    }
    const bool finished = !g_AbortFlag;
    Finish(view);
    if (finished)
        AfxMessageBox(LoadResString(IDS_REG_HOLES_DONE));
}

void EngraveRegistrationHoles(CRunnerView& view, const std::vector<CRegistrationHole>& holes)
{
    RunnerShowAndHome(view);
    if (g_AbortFlag)
        return;
    ClaimAndLock(view);
    if (ModelContainsAnyOf({IDS_KX1100, IDS_KX1100L, IDS_KX1300, IDS_KX1300L, IDS_KX1600,
                            IDS_KX1600L}) &&
        g_ToolChangePosition == 1) {
        const float beyond =
            ModelContainsAnyOf({IDS_KX1600, IDS_KX1600L, IDS_KX1300, IDS_KX1300L}) ? 50.0f : 25.0f;
        SendDefaultSpeed();
        SendXYTo(100.0 * g_XYPulsesPerMM, g_PulsesPerMil * g_TableHeight + beyond * g_XYPulsesPerMM);
        if (!WaitShowing(view, 15)) {
            Finish(view);
            return;
        }
    }
    CPlungeSpeedDlg prompt;
    prompt.m_Prompt = LoadResString(IDS_CHANGE_TO_ENGRAVING_CUTTER);
    prompt.DoModal();
    RunnerStartTimer(view);
    RunnerPause(300);
    ShowRunnerCaption(LoadResString(IDS_CHANGE_TO_ENGRAVING_CUTTER));

    for (const CRegistrationHole& hole : holes) {
        if (g_AbortFlag || g_JobCode == JOB_IDLE || !ServeRequest(view, 0.0f))
            break;
        g_HoleDataWnd.m_Edit.SelectLine(hole.line);
        if (!EngraveHole(view, hole.at))
            break;
    }
    Finish(view);
}
