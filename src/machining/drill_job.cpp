// The drilling job and the drill preview, written in the runner vocabulary.
#include "machining/drill_job.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/plunge_speed.h"
#include "machining/position_dlg.h"
#include "machining/tool_change.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/program_objects.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <cmath>
#include <cstdio>

int g_LastDrillTool = -1;

namespace {

const CProgramObjectReset s_Reset([] { g_LastDrillTool = -1; });

float ToolSizeMil(int toolNumber)
{
    return toolNumber >= 0 && toolNumber < DRILL_TOOL_SIZES
               ? g_ToolSizes[static_cast<std::size_t>(toolNumber)]
               : 0.0f;
}

float DiameterMM(const CDrillTool& tool) { return tool.diameter / 39.37f; }

// The caption of a hole: the tool and the holes of this tool still to do in
// this copy, counting down.
void ShowHoleCaption(int toolNumber, std::size_t remaining)
{
    char text[64];
    std::snprintf(text, sizeof text, "T%d Count:%d", toolNumber, static_cast<int>(remaining));
    ShowRunnerCaption(text);
}

// The tool that a run starts with or resumes at: its plunge speed, its
// number for the tool change, and whether its holes are milled.
void TakeTool(CRunnerView& view, const CDrillTool& tool)
{
    SelectZelta6DrillParam(DiameterMM(tool));
    g_CurrentToolNo = tool.toolNumber;
    if (DiameterMM(tool) > g_SimDrillSize && g_FixedPlungeMode == 0)
        view.LargeHoleMode() = 1;
}

// What the drilling job keeps while it runs.
struct CDrillRun {
    CRunnerView& view;
    int detect = 1;  // the tool height is detected at the first change only

    void AfterChange()
    {
        if (!g_DrillMultiplyDetect)
            detect = 0;
    }

    // Raising the drill: the lift speed, then Z to the lift height.
    bool Lift()
    {
        g_ToolDown = 0;
        SendZSpeed(g_LiftSpeed);
        SendZTo(GetZUpPulses());
        return RunnerWait();
    }

    // The plunges of one hole at the drill's position: one, or n pecks that
    // each go one n-th deeper from the lift height and come back up.
    bool Plunge(int pecks)
    {
        if (pecks <= 1) {
            SendZTo(GetZDownPulses());
            return RunnerWait();
        }
        SendZTo(g_ToolTouchZ);
        if (!RunnerWait())
            return false;
        const int down = GetZDownPulses(), up = GetZUpPulses();
        const auto step = static_cast<float>((down - up) / pecks);
        for (int i = 1; i <= pecks; ++i) {
            g_ToolDown = 0;
            SendZSpeed(g_LiftSpeed);
            SendZTo(up + (i - 1) * static_cast<double>(step));
            if (!RunnerWait())
                return false;
            g_ToolDown = 1;
            SendZSpeed(g_PlungeSpeed);
            SendZTo(up + i * static_cast<double>(step));
            if (!RunnerWait())
                return false;
            if (!Lift())
                return false;
        }
        return true;
    }

    bool DrillHole(const CDPoint& at, int mode)
    {
        SendDefaultSpeed();
        SendXYTo(at);
        if (!RunnerWait())
            return false;
        g_ToolDown = 1;
        SendZSpeed(g_PlungeSpeed);
        return Plunge(PeckCount(mode)) && Lift();
    }

    // A hole larger than the largest drill: the router goes down on its
    // edge at the routing depth and mills the full circle.
    bool MillHole(const CDPoint& centre, int toolNumber)
    {
        const CDPoint start(centre.x + ToolSizeMil(toolNumber) / 2.0 * g_PulsesPerMil -
                                g_SimToolSize * g_XYPulsesPerMM / 2.0,
                            centre.y);
        SendDefaultSpeed();
        SendXYTo(start);
        if (!RunnerWait())
            return false;
        g_ToolDown = 1;
        SendZSpeed(g_PlungeSpeed);
        g_JobCode = JOB_ROUTE;  // the routing depth and lift apply
        SendZTo(GetZDownPulses());
        bool ok = RunnerWait();
        if (ok) {
            SendXYSpeed(g_RouteSpeed);
            SendFullCircle(centre, start);
            ok = RunnerWait() && Lift();
        }
        // Another command may have ended the job meanwhile.
        if (g_JobCode == JOB_ROUTE)
            g_JobCode = JOB_DRILL;
        return ok;
    }

    // A new tool: its prompt and change, unless the same drill is still in
    // the spindle, the size is not drilled or the router mills it.
    bool BeginTool(const CDrillTool& tool)
    {
        if (DiameterMM(tool) <= g_SimDrillSize)
            view.LargeHoleMode() = 0;
        if (tool.toolNumber == g_LastDrillTool || tool.mode == 0 || view.LargeHoleMode()) {
            g_LastDrillTool = tool.toolNumber;
            g_CurrentToolNo = tool.toolNumber;
            return true;
        }
        g_LastDrillTool = tool.toolNumber;
        const std::string prompt = DrillToolPrompt(tool.toolNumber);
        TakeTool(view, tool);
        if (tool.mode == 1 || (tool.mode & 0xF) == 3)
            view.ChangeTool(prompt, detect);
        AfterChange();
        if (g_FixedPlungeMode == 1)
            g_SkipProbeTest = 1;
        return !RunnerStopped();
    }
};

// The first position of `order` to work on Continue: as many holes as the
// operator's count, never beyond the end.

// The tool of the hole a resumed run starts at; null on a fresh start or
// when the count is past the last hole.
const CDrillTool* ResumedTool(const std::vector<CHoleVisit>& order, std::size_t next)
{
    return next > 0 && next < order.size() ? g_HoleList[order[next].tool].get() : nullptr;
}

}  // namespace

std::vector<CHoleVisit> DrillOrder(const COwnedList<CDrillTool>& tools,
                                   const COwnedList<CLayoutBlock>& blocks, ESelectedCopies selected)
{
    std::vector<CHoleVisit> order;
    for (std::size_t t = 0; t < tools.size(); ++t) {
        if (tools[t]->mode == 0)
            continue;
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            if (selected == ESelectedCopies::Skip && blocks[b]->m_Selected)
                continue;
            for (std::size_t h = 0; h < tools[t]->holes.size(); ++h)
                order.push_back({t, b, h});
        }
    }
    return order;
}

std::string DrillToolPrompt(int toolNumber)
{
    const float size = ToolSizeMil(toolNumber);
    if (size == 0.0f)
        return FormatResText(IDS_CHANGE_TOOL_NUMBER, toolNumber);
    return FormatResText(IDS_CHANGE_DRILL, toolNumber, static_cast<double>(size),
                         static_cast<double>(size) * 0.0254);
}

int PeckCount(int mode)
{
    if ((mode & 0xF) != 3)
        return 1;
    const int n = mode >> 4;
    return n > 1 ? n : 1;
}

void RunDrillJob(CRunnerView& view)
{
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (g_HoleList.empty() || blocks.empty())
        return;
    if (!g_FixedPlungeMode)
        g_LastDrillTool = -1;
    view.SaveResumeProject();
    RunnerShowAndHome(view);
    PrepareZSpeed(g_LiftSpeed);
    if (g_AbortFlag)
        return;
    RunnerBegin(view);
    if (g_SkipProbeTest == 1)
        SendOutput(7, 1);
    else
        g_LastDrillTool = -1;
    g_PositionPollOff = 0;
    if (!RunnerGoToAreaCorner(view))
        return;
    RunnerPause(100);
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));

    CDrillRun run{view};
    const std::vector<CHoleVisit> order = DrillOrder(g_HoleList, blocks, ESelectedCopies::Skip);
    std::size_t next = ResumeStart(view, order.size());
    if (const CDrillTool* resumed = ResumedTool(order, next)) {
        const CDrillTool& tool = *resumed;
        g_LastDrillTool = tool.toolNumber;
        const std::string prompt = DrillToolPrompt(tool.toolNumber);
        TakeTool(view, tool);
        view.ChangeTool(prompt, run.detect);
        if (RunnerStopped())
            return;
        run.AfterChange();
    }

    const std::string requestPrompt = LoadResString(IDS_CHANGE_CUTTING_TOOL);
    std::size_t lastTool = next < order.size() && next > 0 ? order[next].tool : order.size();
    for (; next < order.size() && !g_AbortFlag && g_JobCode != JOB_IDLE; ++next) {
        const CHoleVisit& visit = order[next];
        const CDrillTool& tool = *g_HoleList[visit.tool];
        if (visit.tool != lastTool) {
            lastTool = visit.tool;
            if (!run.BeginTool(tool))
                break;
        }
        ShowHoleCaption(tool.toolNumber, tool.holes.size() - visit.hole);
        // Progress first: a STOP from here on leaves "count" at this hole,
        // which Continue then drills, and no hole twice.
        StoreProgress(static_cast<long>(next));
        if (!RunnerServeToolChangeRequest(view, requestPrompt, run.detect))
            break;
        PumpMessages();
        if (RunnerStopped())
            break;
        const CDPoint at =
            BoardToMachine(*blocks[visit.block], *tool.holes[visit.hole], EAlign::Registration);
        const bool done = view.LargeHoleMode() ? run.MillHole(at, tool.toolNumber)
                                               : run.DrillHole(at, tool.mode);
        if (!done)
            break;
    }

    RunnerWait();
    if (g_AbortFlag) {
        RunnerAbandon(view, true);
        return;
    }
    PrepareOutput(5, 1);
    RunnerPause(100);
    PrepareOutput(5, 0);
    g_JobCode = JOB_IDLE;
    g_JobRunning = 0;
    SendOutput(7, 0);
    RunnerReturnHome(view, false);
    AfxMessageBox(LoadResString(IDS_DRILLING_DONE));
}

void RunDrillPreview(CRunnerView& view)
{
    std::int32_t ax = 0, ay = 0;
    RegGetLong("AX", ax);
    RegGetLong("AY", ay);
    if (std::hypot(static_cast<double>(ax), static_cast<double>(ay)) > 50000.0) {
        AfxMessageBox("Lens Offset Error !");
        return;
    }
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (g_HoleList.empty() || blocks.empty())
        return;
    view.SaveResumeProject();
    RunnerShowAndHome(view);
    if (g_AbortFlag)
        return;
    RunnerBegin(view);
    if (!RunnerGoToAreaCorner(view))
        return;
    SendDrives(0);
    AfxMessageBox("Adjust Focus\t..");
    SendDrives(1);
    RunnerPause(500);
    g_PositionPollOff = 0;
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));

    const std::vector<CHoleVisit> order = DrillOrder(g_HoleList, blocks, ESelectedCopies::Visit);
    std::size_t next = ResumeStart(view, order.size());
    int visiting = -1;
    if (const CDrillTool* resumed = ResumedTool(order, next)) {
        const CDrillTool& tool = *resumed;
        visiting = tool.toolNumber;
        const std::string prompt = DrillToolPrompt(tool.toolNumber);
        SelectZelta6DrillParam(DiameterMM(tool));
        g_CurrentToolNo = tool.toolNumber;
        view.ChangeTool(prompt, 1);
        if (g_AbortFlag)
            return;
    }

    const std::string requestPrompt = LoadResString(IDS_CHANGE_CUTTING_TOOL);
    for (; next < order.size() && !g_AbortFlag && g_JobCode != JOB_IDLE; ++next) {
        const CHoleVisit& visit = order[next];
        const CDrillTool& tool = *g_HoleList[visit.tool];
        if (tool.toolNumber != visiting) {
            visiting = tool.toolNumber;
            g_CurrentToolNo = tool.toolNumber;
        }
        ShowHoleCaption(tool.toolNumber, tool.holes.size() - visit.hole);
        StoreProgress(static_cast<long>(next));
        if (view.ToolChangeRequest())
            view.ChangeTool(requestPrompt, 1);
        PumpMessages();
        if (g_AbortFlag)
            break;
        const CDPoint at =
            BoardToMachine(*blocks[visit.block], *tool.holes[visit.hole], EAlign::Registration);
        SendDefaultSpeed();
        // The camera sits AX, AY from the spindle; a hole it cannot reach
        // is left out.
        if (at.x - ax > 0 && at.y - ay > 0) {
            SendXYTo(at.x - ax, at.y - ay);
            if (!RunnerWait())
                break;
            RunnerPause(1000);
        }
    }

    RunnerWait();
    if (g_AbortFlag) {
        RunnerAbandon(view, true);
        return;
    }
    g_JobCode = JOB_IDLE;
    RunnerReturnHome(view, false);
    g_MeasureDataWnd.ShowWindow(false);
}
