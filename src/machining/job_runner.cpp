// The runner vocabulary, the coordinate pipeline and the common steps of the
// machine jobs.
#include "machining/job_runner.h"

#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "link/link_state.h"
#include "link/machine_wait.h"
#include "machining/homing.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "ui/line_store.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>

namespace {

void Transmit() { g_MachineLink.Send(); }

float F(double v) { return static_cast<float>(v); }

}  // namespace

std::int32_t WholePulses(double v) { return static_cast<std::int32_t>(std::trunc(v)); }

std::size_t ResumeStart(CRunnerView& view, std::size_t items)
{
    const int count = view.ResumeCount();
    return count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), items);
}

void SendZSpeed(float mmPerSecond)
{
    PrepareZSpeed(mmPerSecond);
    Transmit();
}

void PrepareZSpeed(float mmPerSecond) { g_MachineLink.CmdSP1(mmPerSecond * g_ZPulsesPerMM); }

void SendZSpeedPulses(float pulsesPerSecond)
{
    g_MachineLink.CmdSP1(pulsesPerSecond);
    Transmit();
}

void SendXYSpeed(float mmPerSecond) { g_MachineLink.SetSpeed(mmPerSecond); }

void SendDefaultSpeed() { g_MachineLink.SetDefaultSpeed(); }

void SendZTo(double z)
{
    PrepareZTo(z);
    Transmit();
}

void PrepareZTo(double z) { g_MachineLink.CmdMA1(F(z)); }

void SendXYTo(double x, double y)
{
    g_MachineLink.CmdMA2(F(x), F(y));
    Transmit();
}

void SendOutput(int output, int state)
{
    PrepareOutput(output, state);
    Transmit();
}

void PrepareOutput(int output, int state) { g_MachineLink.CmdOutput(output, state); }

void SendDrives(int on)
{
    g_MachineLink.CmdEB(on);
    Transmit();
}

void SendFullCircle(const CDPoint& centre, const CDPoint& start)
{
    if (g_ControllerKind == 1)
        g_BinLink.LineMove82(WholePulses(centre.x), WholePulses(centre.y), WholePulses(start.x),
                             WholePulses(start.y));
    // The arc command builds nothing on the binary road.
    g_MachineLink.CmdCA(F(centre.x), F(centre.y), 360.0f);
    Transmit();
}

bool RunnerWait()
{
    if (!AwaitReady(kMoveDeadlineMs))
        return false;
    // The depths of the next plunge and lift are taken at the machine's
    // position: it is read once the move has ended, not left to the
    // timer's last poll, which may have caught the move half way.
    RunnerReadPosition(0);
    return true;
}

bool RunnerWaitShowing(unsigned pollPauseMs, void (*show)(void*), void* context)
{
    CWaitLimits limits;
    limits.deadlineMs = kMoveDeadlineMs;
    return ReadyWaitEnded(WaitMachine(
        [&] {
            const int ready = g_MachineLink.ReadyState();
            if (ready == 1)
                return EPoll::Done;
            RunnerReadPosition(pollPauseMs);
            show(context);
            return ready == 0 ? EPoll::Waiting : EPoll::NoAnswer;
        },
        limits));
}

bool RunnerPause(unsigned milliseconds) { return WaitPumping(milliseconds) == EWaitEnd::Done; }

bool RunnerStopped() { return g_AbortFlag != 0 || g_PositionDlg.m_StopPressed != 0; }

bool RunnerReadPosition(unsigned pauseMs) { return ReadPositionReply(pauseMs); }

CDPoint BoardToMachine(const CLayoutBlock& block, const CDPoint& board, EAlign align)
{
    CDPoint p(board.x - block.m_RefCentre.x, board.y - block.m_RefCentre.y);
    ApplyBoardOrientation(block, &p);
    p += block.m_Centre;
    p.x *= g_PulsesPerMil;
    p.y *= g_PulsesPerMil;
    if (align == EAlign::Registration)
        AlignTransformPoint(&p);
    return p;
}

void StoreProgress(long itemsDone) { RegSetLongValue("count", static_cast<std::int32_t>(itemsDone)); }

void StoreWorkName(const std::string& name) { RegSetString("WORK", name); }

void ShowRunnerCaption(const std::string& text) { g_PositionDlg.SetWindowText(text); }

bool ModelContains(const char* part) { return g_MachineModel.find(part) != std::string::npos; }

bool ModelContainsAnyOf(std::initializer_list<unsigned> nameIds)
{
    for (unsigned id : nameIds) {
        const std::string name = LoadResString(id);
        if (!name.empty() && ModelContains(name.c_str()))
            return true;
    }
    return false;
}

bool ToolChangeAtFront()
{
    return g_ToolChangePosition == 1 &&
           ModelContainsAnyOf({IDS_KX1100, IDS_KX1100L, IDS_KX1300, IDS_KX1300L, IDS_KX1600,
                               IDS_KX1600L});
}

float ToolChangeFrontY()
{
    const float beyondMM =
        ModelContainsAnyOf({IDS_KX1600, IDS_KX1600L, IDS_KX1300, IDS_KX1300L}) ? 50.0f : 25.0f;
    return static_cast<float>(g_PulsesPerMil * g_TableHeight + beyondMM * g_XYPulsesPerMM);
}

void RunnerShowAndHome(CRunnerView& view)
{
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    view.MachineHome();
    SendDefaultSpeed();
}

void RunnerClaim()
{
    g_AbortFlag = 0;
    g_ToolDown = 0;
    g_JobRunning = 1;
}

void RunnerBegin(CRunnerView& view)
{
    g_MachineLink.CmdCO();
    g_MachineLink.Send();
    RunnerClaim();
    view.StartTimer();
}

void RunnerStartTimer(CRunnerView& view)
{
    g_PositionPollOff = 0;
    view.StartTimer();
}

void RunnerMoveToAreaCorner()
{
    SendXYTo(static_cast<double>(g_LayoutExtent.left), static_cast<double>(g_LayoutExtent.top));
}

bool RunnerGoToAreaCorner(CRunnerView& view)
{
    RunnerMoveToAreaCorner();
    RunnerPause(100);
    RunnerWait();
    if (!g_AbortFlag)
        return true;
    RunnerAbandon(view, true);
    return false;
}

bool RunnerServeToolChangeRequest(CRunnerView& view, const std::string& prompt, int detect)
{
    if (view.ToolChangeRequest())
        view.ChangeTool(prompt, detect);
    return !RunnerStopped();
}

void RunnerAbandon(CRunnerView& view, bool stopTimer)
{
    g_PositionDlg.ShowWindow(false);
    if (stopTimer)
        view.StopTimer();
}

void RunnerReturnHome(CRunnerView& view, bool sendZ)
{
    SendDefaultSpeed();
    if (sendZ)
        SendZTo(0.0);
    else
        PrepareZTo(0.0);
    RunnerWait();
    SendXYTo(0.0, 0.0);
    RunnerWait();
    view.StopTimer();
    g_PositionDlg.ShowWindow(false);
    SendDrives(0);
    StoreWorkName("");
}

void CRunnerView::AtcManualExchange(const std::string& prompt) { AfxMessageBox(prompt); }
void CRunnerView::AtcDrillTool(const std::string& prompt) { AfxMessageBox(prompt); }
void CRunnerView::AtcExchangeTool(const std::string& prompt) { AfxMessageBox(prompt); }
