// Manual drilling and manual engraving: their common start and end, the hole
// search under the pointer, the drill cycle and the engraved line.
#include "machining/manual_runs.h"

#include "geometry/board_orientation.h"
#include "geometry/plane_geometry.h"
#include "geometry/registration.h"
#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/manual_moves.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

namespace {

// Key codes of the request keys besides their letters.
constexpr unsigned kKeyTab = 0x09;
constexpr unsigned kKeyShift = 0x10;
constexpr unsigned kKeyControl = 0x11;

bool IsNone(const CDPoint& p) { return p.x == 0.0 && p.y == 0.0; }

// Asked before every frame of a run: once STOP was pressed (or the link was
// lost) nothing more goes to the controller, not even the rest of a hole
// or of a size being drilled.
bool Halted()
{
    if (g_PositionDlg.m_StopPressed)
        g_AbortFlag = 1;
    return g_AbortFlag != 0;
}

void ShowStatus(const std::string& text)
{
    g_StatusText = text;
    ShowRunnerCaption(text);
}

std::string DepthCaption()
{
    return FormatResText(IDS_PLUNGE_DEPTH,
                         (g_ZPulsesPerMM * g_EngraveDepth + g_PlungeOffsetPulses) / g_ZPulsesPerMM);
}

// A board point (mil) as the machine's point, aligned to the registration.
CDPoint MachinePoint(const CDPoint& mil)
{
    CDPoint p(mil.x * g_PulsesPerMil, mil.y * g_PulsesPerMil);
    AlignTransformPoint(&p);
    return p;
}

// XY to `p` (pulses) at the speed in force and the wait; a target beyond the
// table's travel is refused with a message and nothing is sent.
bool MoveTo(const CDPoint& p)
{
    if (Halted())
        return false;
    return MoveXYTo(p.x, p.y) == 1 && !Halted();
}

bool ZTo(double z)
{
    if (Halted())
        return false;
    SendZTo(z);
    return RunnerWait() && !Halted();
}

bool ZSpeed(float mmPerSecond)
{
    if (Halted())
        return false;
    SendZSpeed(mmPerSecond);
    return true;
}

bool Lift()
{
    if (!ZSpeed(g_LiftSpeed))
        return false;
    g_ToolDown = 0;
    return ZTo(GetZUpPulses());
}

// The tool to `q` (pulses), down to the working depth and up again.
bool DrillCycle(const CDPoint& q, float plungeSpeed)
{
    if (!MoveTo(q))
        return false;
    g_ToolDown = 1;
    if (!ZSpeed(plungeSpeed) || !ZTo(GetZDownPulses()))
        return false;
    return Lift();
}

// The common start; false when STOP (or a lost link) ended it.
bool ManualRunStart(CRunnerView& view)
{
    g_PlungeOffsetPulses = 0;
    RunnerShowAndHome(view);
    RunnerClaim();
    RunnerStartTimer(view);
    if (!g_SkipProbeTest) {
        const CDPoint corner(g_LayoutExtent.left, g_LayoutExtent.top);
        if (WithinTravel(corner.x, corner.y) && !MoveTo(corner))
            return false;
    }
    if (!RunnerPause(50) || Halted())
        return false;
    view.ChangeTool(LoadResString(IDS_CHANGE_CUTTING_TOOL), 1);
    if (Halted() || !RunnerWait())
        return false;
    if (!Lift())
        return false;
    ShowStatus(DepthCaption());
    return true;
}

// The common end. After STOP the machine was stopped and its spindle
// switched off by the position window: nothing more is sent.
void ManualRunEnd(CRunnerView& view, int& mode)
{
    mode = 0;
    g_JobCode = 0;
    g_JobRunning = 0;
    g_ToolDown = 0;
    if (Halted()) {
        view.StopTimer();
        return;
    }
    SendDefaultSpeed();
    SendOutput(7, 0);
    view.StopTimer();
    if (!ZTo(0.0) || !MoveTo(CDPoint(0.0, 0.0)))
        return;
    g_PositionDlg.ShowWindow(false);
    SendDrives(0);
}

// What one manual drilling run keeps between passes.
struct CManualDrillRun {
    CRunnerView& view;
    CManualControls& c;
    CManualHole hole;         // the hole found last; none after it was drilled
    double lastRadius = 0.0;  // of the size drilled last

    // Asks for a tool change when the size differs from the last one drilled.
    void SizeCheck()
    {
        if (hole.radius != lastRadius &&
            AfxMessageBox(LoadResString(IDS_ASK_CHANGE_TOOL), MB_YESNO) == IDYES) {
            const std::string text = FormatResText(IDS_TOOL_SIZE, 2.0 * hole.radius / 39.37);
            g_StatusText = text;
            view.ChangeTool(text, 1);
        }
        lastRadius = hole.radius;
    }

    void Search()
    {
        hole = FindManualHole(view.Blocks(), g_HoleList, c.pointA);
        ShowStatus(hole.found ? FormatResText(IDS_DRILL_SIZE, 2.0 * hole.radius / 39.37) : "");
    }

    // The holes of the found size in one copy; false once STOP came.
    bool DrillSizeIn(std::size_t block)
    {
        const CLayoutBlock& copy = *view.Blocks()[block];
        for (const auto& h : g_HoleList[hole.tool]->holes)
            if (!DrillCycle(BoardToMachine(copy, *h, EAlign::Registration), kManualPlungeSpeed))
                return false;
        return true;
    }

    // One pass of the loop; false when the run is to end.
    bool Pass()
    {
        c.pointA = CDPoint(0.0, 0.0);
        c.pointB = CDPoint(0.0, 0.0);
        PumpMessages();
        if (!IsNone(c.pointA))
            Search();
        if (c.keyCtrl && hole.found) {
            SizeCheck();
            if (Halted() || !DrillCycle(MachinePoint(hole.at), kManualPlungeSpeed))
                return false;
            hole.found = false;
            c.keyCtrl = 0;
        }
        if (c.keyShift && hole.found) {
            SizeCheck();
            if (!DrillSizeIn(hole.block))
                return false;
            hole.found = false;
            c.keyShift = 0;
        }
        if (c.keyTab && hole.found) {
            SizeCheck();
            for (std::size_t b = 0; b < view.Blocks().size(); ++b)
                if (!DrillSizeIn(b))
                    return false;
            hole.found = false;
            c.keyTab = 0;
        }
        if (!IsNone(c.pointB)) {
            if (Halted())
                return false;
            SendDefaultSpeed();
            MoveTo(MachinePoint(c.pointB));
        }
        return !Halted();
    }
};

// One line of manual engraving from A to B (mil): down at A, straight to B
// at the engraving speed, up again.
bool EngraveLine(const CDPoint& a, const CDPoint& b)
{
    if (Halted())
        return false;
    SendDefaultSpeed();
    if (!MoveTo(MachinePoint(a)))
        return false;
    g_ToolDown = 1;
    if (!ZSpeed(kManualPlungeSpeed) || !ZTo(GetZDownPulses()) || Halted())
        return false;
    SendXYSpeed(g_EngraveSpeed);
    const CDPoint end = MachinePoint(b);
    if (!WithinTravel(end.x, end.y) || Halted()) {
        // The tool comes out of the board where it stands.
        g_ToolDown = 0;
        ZTo(GetZUpPulses());
        return false;
    }
    g_MachineLink.CmdVA2(static_cast<float>(end.x), static_cast<float>(end.y));
    g_MachineLink.Send();
    if (!RunnerWait() || Halted())
        return false;
    // The lift goes at the plunge speed still set.
    g_ToolDown = 0;
    return ZTo(GetZUpPulses());
}

// One manual run at a time: a command or job message that arrives while
// a run pumps messages must not start a second run inside the first.
struct CManualRunClaim {
    static inline bool s_Running = false;
    bool claimed = !s_Running;
    CManualRunClaim()
    {
        if (claimed)
            s_Running = true;
    }
    ~CManualRunClaim()
    {
        if (claimed)
            s_Running = false;
    }
    CManualRunClaim(const CManualRunClaim&) = delete;
    CManualRunClaim& operator=(const CManualRunClaim&) = delete;
};

}  // namespace

CDPoint PlaceOnPanel(const CLayoutBlock& block, const CDPoint& hole)
{
    CDPoint q(hole.x - block.m_RefCentre.x, hole.y - block.m_RefCentre.y);
    ApplyBoardOrientation(block, &q);
    return q + block.m_Centre;
}

CManualHole FindManualHole(const COwnedList<CLayoutBlock>& blocks,
                           const COwnedList<CDrillTool>& tools, const CDPoint& pointer)
{
    for (std::size_t b = 0; b < blocks.size(); ++b)
        for (std::size_t t = 0; t < tools.size(); ++t) {
            const double r = tools[t]->diameter / 2.0;
            for (const auto& h : tools[t]->holes) {
                const CDPoint q = PlaceOnPanel(*blocks[b], *h);
                if (Distance(q.x, q.y, pointer.x, pointer.y) < r)
                    return CManualHole{true, q, t, b, r};
            }
        }
    return CManualHole{};
}

void ReleaseManualKey(unsigned key, CManualControls& controls)
{
    if (key == 'C' || key == 'D' || key == kKeyControl)
        controls.keyCtrl = 0;
    if (key == 'S' || key == 'R' || key == kKeyShift)
        controls.keyShift = 0;
    if (key == 'T' || key == kKeyTab)
        controls.keyTab = 0;
}

void ManualDrill(CRunnerView& view, CManualControls& controls)
{
    CManualRunClaim claim;
    if (!claim.claimed)
        return;
    CManualDrillRun run{view, controls, {}, 0.0};
    if (ManualRunStart(view))
        while (controls.mode == 1 && run.Pass()) {
        }
    ManualRunEnd(view, controls.mode);
}

void ManualEngrave(CRunnerView& view, CManualControls& controls)
{
    CManualRunClaim claim;
    if (!claim.claimed)
        return;
    if (ManualRunStart(view)) {
        while (controls.mode == 1 && !Halted()) {
            controls.pointA = CDPoint(0.0, 0.0);
            controls.pointB = CDPoint(0.0, 0.0);
            PumpMessages();
            if (controls.toolChanged == 1) {
                view.ChangeTool(LoadResString(IDS_CHANGE_CUTTING_TOOL), 1);
                controls.toolChanged = 0;
            }
            if (Halted())
                break;
            if (!IsNone(controls.pointA)) {
                if (!EngraveLine(controls.pointA, controls.pointB))
                    continue;
            } else if (!IsNone(controls.pointB)) {
                SendDefaultSpeed();
                MoveTo(MachinePoint(controls.pointB));
            }
        }
    }
    ManualRunEnd(view, controls.mode);
}
