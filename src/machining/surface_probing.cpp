// The surface probing run: the start, the timer-stepped state machine that
// visits every grid point, lowers the probe until it touches and records
// the touch, the hole avoidance, the row profile, and OK and Cancel of the
// probing window.
#include "machining/surface_probing.h"

#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "link/job_codes.h"
#include "link/link_state.h"
#include "machining/homing.h"
#include "machining/job_runner.h"
#include "machining/manual_moves.h"
#include "machining/position_dlg.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/program_objects.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/panel_layout.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The run's state between steps: one set for the program.
struct CProbeRun {
    std::int32_t gridX = 0, gridY = 0;  // the next grid point
    std::int32_t step = 0;              // grid spacing in pulses
    int moved = 0;                      // 1: over a point, touching down
    int descending = 0;                 // 1: the descent was sent
    int startLatch = 0;                 // 1 while the start runs
    // The point being touched down on (its grid Y even after the grid has
    // moved on to the next row), whether it is the grid's last one, and the
    // descents tried there without contact.
    std::int32_t pointY = 0;
    int lastPoint = 0;
    int retries = 0;
    std::int32_t descentTarget = 0;     // where the descent would end untouched
};
CProbeRun s_Run;
const CProgramObjectReset s_Reset([] { s_Run = CProbeRun(); });

constexpr int kProbeAxis = 2;
// The probe touches a hole's edge no nearer than this (pulses).
constexpr double kHoleClearance = 40.0;
// Holes smaller than this radius (mil) are kept off as if 40 mil.
constexpr float kSmallHoleRadius = 5.0f;
constexpr float kSmallHoleStandIn = 40.0f;
// A retry moves on this far in X.
constexpr std::int32_t kRetryShift = 400;

bool Binary() { return g_ControllerKind == 1; }

int Trunc(double v) { return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0)); }

void SendFrame() { g_MachineLink.Send(); }

// The wait of the probing run: until the controller is ready, or STOP, or
// the controller falls silent. The position is read back and shown
// afterwards when asked.
bool Wait(CProbingView* view, bool showPosition)
{
    if (!AwaitReady())
        return false;
    if (g_AbortFlag)
        return false;
    if (showPosition) {
        ReadPositionReply(20);
        if (view)
            view->UpdatePositionDisplay();
    }
    return true;
}

// Output bit 1 and the spindle off: binary frames, only for the binary
// controller (nothing switched the spindle on otherwise).
void SpindleOff()
{
    if (!Binary())
        return;
    g_BinLink.SetOutputBit(1, 1, false);
    g_BinLink.SpindleOffPulse();
}

int AbortExit()
{
    g_JobCode = 0;
    g_PositionPollOff = 0;
    SpindleOff();
    return 1;
}

// Where the machine waits while the operator prepares the probe.
POINT PreparationPosition()
{
    if (ToolChangeAtFront())
        return POINT{Trunc(100.0 * g_XYPulsesPerMM), Trunc(ToolChangeFrontY())};
    return POINT{Trunc(g_TableWidth * g_PulsesPerMil * 0.5), 0};
}

std::string FormatText(unsigned id, long a, long b = 0)
{
    char text[512];
    std::snprintf(text, sizeof text, LoadResString(id).c_str(), a, b);
    return text;
}

// The next grid line after `at` towards `last`: one step on, the last
// line where a step would pass it; false when `at` is the last line.
bool NextGridLine(std::int32_t& at, std::int32_t last, std::int32_t step)
{
    if (std::int64_t(at) < std::int64_t(last) - step) {
        at += step;
        return true;
    }
    if (at < last) {
        at = last;
        return true;
    }
    return false;
}

}  // namespace

int RunProbingStep() { return g_PlaneDetectDlg.RunProbing(0); }

void CPlaneDetectDlg::OnStartMeasure()
{
    g_ProbeTestDlg.m_Layout = m_View ? m_View->Layout() : nullptr;
    if (!g_MachineLink.IsReady() || g_JobCode == JOB_SURFACE_PROBE || s_Run.startLatch)
        return;
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    if (!UpdateData(true))
        return;
    // A spacing below 1 mm would never advance the grid.
    if (m_GridSpacing < 1) {
        AfxMessageBox(LoadResString(IDS_PROBE_SPACING), MB_ICONEXCLAMATION);
        return;
    }
    // The grid must lie on the table: an area of no board copies, or one
    // off the table, is not probed.
    g_ProbeTestDlg.CalcLayoutExtent();
    const RECT& extent = g_LayoutExtent;
    for (const POINT corner : {POINT{std::min(extent.left, extent.right), std::min(extent.top, extent.bottom)},
                               POINT{std::max(extent.left, extent.right), std::max(extent.top, extent.bottom)}})
        if (!WithinTravel(corner.x, corner.y)) {
            AfxMessageBox(FormatText(IDS_TARGET_BEYOND_TRAVEL, corner.x, corner.y), MB_ICONEXCLAMATION);
            return;
        }
    g_AbortFlag = 0;
    if (m_View)
        m_View->MachineHome();
    if (g_AbortFlag)
        return;

    const POINT prepare = PreparationPosition();
    g_MachineLink.SetDefaultSpeed();
    g_MachineLink.CmdMA2(static_cast<float>(prepare.x), static_cast<float>(prepare.y));
    SendFrame();
    if (!Wait(m_View, true))
        return;

    s_Run.startLatch = 1;
    const std::string cutter = LoadResString(IDS_CHANGE_TO_ENGRAVING_CUTTER);
    if (g_MachineModel == "ZELTA6") {
        int tool = 0;
        RegGetInt("toolnum", tool);
        if (tool != 0) {
            char text[512];
            std::snprintf(text, sizeof text, LoadResString(IDS_TOOL_TO_SLOT).c_str(), tool);
            AfxMessageBox(text);
            if (m_View)
                m_View->MachineHome();
        }
    }
    // The operator fits the engraving cutter that carries the probe wire.
    AfxMessageBox(cutter);
    if (ModelContains("Y"))
        AfxMessageBox(LoadResString(IDS_ATTACH_DETECT_WIRE));

    g_MachineLink.CmdEL3();
    SendFrame();
    g_ProbeTestDlg.CalcLayoutExtent();
    if (g_MachineModel != "ZELTA6") {
        g_ProbeTestDlg.m_Success = 0;
        if (g_ProbeTestDlg.DoModal() != IDOK) {
            s_Run.startLatch = 0;
            return;
        }
    }
    if (m_View)
        m_View->StartTimer();
    g_AbortFlag = 0;
    g_PositionPollOff = 1;

    RECT& area = g_LayoutExtent;
    if (area.left > area.right)
        std::swap(area.left, area.right);
    if (area.top > area.bottom)
        std::swap(area.top, area.bottom);

    // The surface probed before is replaced point by point from here on: the
    // depths stop following it until the new one is committed.
    g_SurfaceCompensation = 0;
    m_Points.clear();
    m_ZTarget = Trunc(g_ZTop * g_ZPulsesPerMM + 3000.0);
    m_GridStartX = area.left;
    m_GridStartY = area.top;
    FormatCorners("%ld , %ld");
    UpdateData(false);

    const int ended = RunProbing(1);
    if (m_View)
        m_View->Invalidate();
    // A run whose first moves were stopped has ended already.
    if (!ended)
        g_JobCode = JOB_SURFACE_PROBE;
    s_Run.startLatch = 0;
}

int CPlaneDetectDlg::RunProbing(int start)
{
    const RECT& area = g_LayoutExtent;
    if (start) {
        DrawRowProfile(0);
        BuildHoleAvoidList();
        s_Run.step = std::max(1, Trunc(m_GridSpacing * g_XYPulsesPerMM));
        s_Run.moved = 0;
        s_Run.descending = 0;
        s_Run.lastPoint = 0;
        s_Run.retries = 0;
        m_Valid = 0;
        m_ResultText.ClearAll();

        g_MachineLink.SetDefaultSpeed();
        s_Run.gridX = area.left;
        s_Run.gridY = area.top;
        g_MachineLink.CmdMA2(static_cast<float>(s_Run.gridX), static_cast<float>(s_Run.gridY));
        SendFrame();
        if (!Wait(m_View, false))
            return AbortExit();
        g_MachineLink.CmdSP1(2000.0f);
        SendFrame();
        g_MachineLink.CmdMA1(g_ZTop * g_ZPulsesPerMM);
        SendFrame();
        if (!Wait(m_View, false))
            return AbortExit();
        if (ModelContains("H") && Binary()) {
            CMachineParamDlg::SetSpindleSpeed(5000.0f);
            g_BinLink.SetOutputBit(1, 1, true);
            g_BinLink.SpindleOnPulse();
        }
    }

    // STOP or Cancel since the last step, or a step with no run started:
    // nothing more is sent.
    if (g_AbortFlag || s_Run.step == 0)
        return AbortExit();

    // Go to the next grid point.
    if (!s_Run.moved) {
        s_Run.moved = 1;
        s_Run.pointY = s_Run.gridY;
        const int x = AvoidHoles(s_Run.gridX, s_Run.gridY);
        g_MachineLink.CmdMA2(static_cast<float>(x), static_cast<float>(s_Run.gridY));
        SendFrame();
        if (!NextGridLine(s_Run.gridX, area.right, s_Run.step)) {
            s_Run.gridX = area.left;
            DrawRowProfile(static_cast<int>(m_Points.size()));
            if (!NextGridLine(s_Run.gridY, area.bottom, s_Run.step))
                s_Run.lastPoint = 1;
        }
        return 0;
    }

    // Over the point: start the descent, which the contact stop ends at the
    // surface.
    if (!s_Run.descending) {
        if (!Wait(m_View, true))
            return AbortExit();
        if (Binary())
            g_BinLink.Cmd02(8);
        g_MachineLink.CmdEL3();
        SendFrame();
        g_MachineLink.CmdSP1(Binary() ? 2.0f * g_ZPulsesPerMM : g_ZPulsesPerMM);
        SendFrame();
        Sleep(30);
        s_Run.descentTarget = Trunc(m_ZTarget + 2.5 * g_ZPulsesPerMM);
        g_MachineLink.CmdMA1(static_cast<float>(s_Run.descentTarget));
        SendFrame();
        Sleep(40);
        s_Run.descending = 1;
        return 0;
    }

    // The descent has ended: touched, or tried again beside the point.
    const bool ready = Wait(m_View, true);
    if (Binary())
        g_BinLink.Cmd02(0);
    if (!ready || g_AbortFlag)
        return AbortExit();
    g_MachineLink.CmdSP1(4000.0f);
    SendFrame();
    Sleep(20);
    if (IsProbeTouching()) {
        // A touch whose position never came back is no point of the surface.
        if (!ReadPositionReply(100))
            return AbortExit();
        m_ResultText.WriteLineF("[X%ldY%ldZ%ld]", static_cast<long>(g_MachineX),
                                static_cast<long>(g_MachineY), static_cast<long>(g_MachineZ));
        m_Points.push_back(CProbePoint{g_MachineZ, g_MachineX, g_MachineY});
        g_BinLink.m_PosZ = g_MachineZ;
        DrawRowProfile(-1);
        g_MachineLink.CmdDL3();
        SendFrame();
        Sleep(20);
        m_ZTarget = Trunc(g_MachineZ - 1.5 * g_ZPulsesPerMM);
        g_MachineLink.CmdMA1(static_cast<float>(m_ZTarget));
        SendFrame();
        Sleep(20);
        s_Run.moved = 0;
        g_MachineLink.CmdMA1(static_cast<float>(m_ZTarget));
        SendFrame();
        Sleep(100);
        s_Run.descending = 0;
        s_Run.retries = 0;
        if (!s_Run.lastPoint)
            return 0;
        return FinishProbing();
    }

    ReadPositionReply(100);
    g_MachineLink.CmdMA1(static_cast<float>(m_ZTarget));
    SendFrame();
    Sleep(50);
    // A probe that never touches would go on deeper and further in X into
    // the table: a few tries, inside the travel, then the run stops.
    const CTravel travel = TableTravel();
    const std::int32_t deeper = m_ZTarget + Trunc(g_XYPulsesPerMM);
    const bool zRoom = travel.maxZ <= 0.0 || deeper + 2.5 * g_ZPulsesPerMM <= travel.maxZ;
    if (++s_Run.retries > kMaxProbeRetries || !zRoom) {
        AfxMessageBox(FormatText(IDS_PROBE_NO_CONTACT, g_MachineX, s_Run.pointY), MB_ICONSTOP);
        g_MachineLink.CmdDL3();
        SendFrame();
        return AbortExit();
    }
    m_ZTarget = deeper;
    const double shifted = std::min<double>(double(g_MachineX) + kRetryShift, travel.maxX);
    g_MachineLink.CmdMA2(static_cast<float>(shifted), static_cast<float>(s_Run.pointY));
    SendFrame();
    s_Run.descending = 0;
    return 0;
}

int CPlaneDetectDlg::FinishProbing()
{
    if (!Wait(m_View, false)) {
        SpindleOff();
        g_JobCode = 0;
        g_PositionPollOff = 0;
        return 1;
    }
    if (ModelContains("Y"))
        AfxMessageBox(LoadResString(IDS_REMOVE_DETECT_WIRE));
    if (Binary())
        g_BinLink.Cmd02(0);
    g_MachineLink.CmdOutput(5, 1);
    SendFrame();
    SpindleOff();
    if (m_View)
        m_View->MachineHome();
    g_MachineLink.CmdOutput(5, 0);
    SendFrame();
    Sleep(20);
    g_JobCode = 0;
    g_PositionPollOff = 0;
    AverageZ();
    m_HoleAvoid.clear();
    m_AreaRect = g_LayoutExtent;
    SpindleOff();
    // Only a grid probed to its last point is a surface to commit.
    m_Valid = 1;
    return 1;
}

int CPlaneDetectDlg::IsProbeTouching()
{
    if (g_ControllerKind == 0) {
        g_MachineLink.CmdER(kProbeAxis);
        if (!g_MachineLink.SendQuery())
            return 0;
        Sleep(100);
        char reply[100];
        g_MachineLink.ReadAvailable(reply, sizeof reply);
        return std::strstr(reply, "er3") != nullptr;
    }
    // The binary controller has no contact answer: the contact stop ended
    // the descent short of its target, or the probe found nothing (an idle
    // controller alone would take the bottom of the descent for the board).
    return g_BinLink.UpdatePositionIfIdle() && g_BinLink.m_PosZ < s_Run.descentTarget;
}

void CPlaneDetectDlg::BuildHoleAvoidList()
{
    m_HoleAvoid.clear();
    const CPanelLayout* layout = m_View ? m_View->Layout() : g_ProbeTestDlg.m_Layout;
    if (!layout)
        return;
    for (const auto& tool : g_HoleList)
        for (const auto& block : layout->m_BlockList)
            for (const auto& hole : tool->holes) {
                float radius = tool->diameter / 2.0f;
                if (radius < kSmallHoleRadius)
                    radius = kSmallHoleStandIn;
                CDPoint p(hole->x - block->m_RefCentre.x, hole->y - block->m_RefCentre.y);
                ApplyBoardOrientation(*block, &p);
                p = CDPoint((p.x + block->m_Centre.x) * g_PulsesPerMil,
                            (p.y + block->m_Centre.y) * g_PulsesPerMil);
                AlignTransformPoint(&p);
                m_HoleAvoid.push_back(CHoleAvoid{Trunc(p.x), Trunc(p.y), radius * g_PulsesPerMil});
            }
}

int CPlaneDetectDlg::AvoidHoles(int x, int y) const
{
    for (const CHoleAvoid& hole : m_HoleAvoid) {
        const double dx = double(hole.x) - x, dy = double(hole.y) - y;
        if (std::sqrt(dx * dx + dy * dy) < hole.radius + kHoleClearance)
            x = Trunc(hole.x + hole.radius + kHoleClearance);
    }
    // Off a hole at the table's edge the probe stays on the table.
    return std::min<int>(x, Trunc(TableTravel().maxX));
}

// The profile box is 246 x 54 dialog units; its pixels are taken at the
// usual two per horizontal and per vertical unit.
void CPlaneDetectDlg::DrawRowProfile(int start)
{
    constexpr int kWidth = 492, kHeight = 108;
    if (start != -1) {
        m_Profile.clear();
        m_ProfileRowStart = start;
    }
    m_Profile.clear();
    if (m_ProfileRowStart < 0 || m_ProfileRowStart >= static_cast<int>(m_Points.size()))
        return;
    const double span = double(g_LayoutExtent.right) - g_LayoutExtent.left;
    const double scale = span != 0.0 ? (kWidth - 20) / span : 0.0;
    const CProbePoint& first = m_Points[static_cast<std::size_t>(m_ProfileRowStart)];
    m_Profile.push_back(POINT{10, kHeight / 2});
    for (std::size_t i = static_cast<std::size_t>(m_ProfileRowStart) + 1; i < m_Points.size(); ++i)
        m_Profile.push_back(POINT{Trunc((m_Points[i].x - g_LayoutExtent.left) * scale + 10.0),
                                  Trunc(double(m_Points[i].z) - first.z + kHeight / 2)});
}

void CPlaneDetectDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!m_Valid) {
        ShowWindow(false);
        return;
    }
    m_AreaRect = g_LayoutExtent;
    // Compensation follows only a surface that is also on disk, so the
    // project and a later start see the same one.
    const int saved = SavePlaneData(JoinPath(g_SystemDir, "temp.pos"));
    ShowWindow(false);
    g_SurfaceCompensation = saved ? 1 : 0;
}

// Stops the run; the points probed so far stay, but an unfinished grid is
// never committed.
void CPlaneDetectDlg::OnCancel()
{
    g_MachineLink.CmdST3();
    SendFrame();
    g_MachineLink.CmdEB(0);
    SendFrame();
    g_AbortFlag = 1;
    ShowWindow(false);
}
