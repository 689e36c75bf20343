// The Adjust Origin window, the calibration hole and the measurement report.
#include "machining/camera_offset_dlg.h"

#include "geometry/plane_geometry.h"
#include "link/link_state.h"
#include "machining/homing.h"
#include "machining/job_gate.h"
#include "machining/job_runner.h"
#include "machining/plunge_speed_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

float PulsesToMil(int pulses) { return pulses / g_XYPulsesPerMM * 100.0f / 2.54f; }
float PulsesToMM(int pulses) { return pulses / g_XYPulsesPerMM; }
int MMToPulses(float mm) { return static_cast<int>(mm * g_XYPulsesPerMM); }

CCameraOffset ReadCameraOffset()
{
    CCameraOffset offset;
    RegGetLong("AX", offset.x);
    RegGetLong("AY", offset.y);
    return offset;
}

void StoreCameraOffset(std::int32_t ax, std::int32_t ay)
{
    RegSetLongValue("AX", ax);
    RegSetLongValue("AY", ay);
}

namespace {

// The command that `build` prepares, sent unless STOP is pending: every
// step of the calibration hole goes through it, so STOP halts the machine
// before the next command whatever step it came in.
template <class Build>
bool Step(Build build)
{
    if (g_AbortFlag)
        return false;
    build();
    g_MachineLink.Send();
    return true;
}

// A pause that STOP cuts short; false when it did.
bool Pause(unsigned milliseconds)
{
    return WaitPumping(milliseconds) != EWaitEnd::Aborted && !g_AbortFlag;
}

bool IsBinary() { return g_ControllerKind == 1; }

}  // namespace

bool DrillCalibrationHole(ECalibrationHole caller, std::int32_t* holeX, std::int32_t* holeY)
{
    const bool lens = caller == ECalibrationHole::LensCalibration;
    const bool spindleModel = g_MachineModel.find('H') != std::string::npos;
    g_AbortFlag = 0;
    g_ToolDown = 0;
    g_JobSpindle = 1;
    if (!Step([] { g_MachineLink.CmdEB(1); }) || !Pause(200))
        return false;
    if (lens && IsBinary() && !g_AbortFlag)
        g_BinLink.Cmd02(0);
    if (!Step([] { g_MachineLink.CmdHM1(); }) || !Pause(100) || !ReadPositionReply(100))
        return false;
    const std::int32_t x0 = g_MachineX, y0 = g_MachineY;
    if (lens) {
        g_BinLink.m_PosX = x0;
        g_BinLink.m_PosY = y0;
    }
    if (ToolChangeAtFront()) {
        // The default speed goes out at once, so it is no step of its own.
        if (g_AbortFlag)
            return false;
        g_MachineLink.SetDefaultSpeed();
        if (!Step([&] { g_MachineLink.CmdMA2(static_cast<float>(x0), ToolChangeFrontY()); }) ||
            !AwaitReady())
            return false;
    }
    CPlungeSpeedDlg prompt;
    prompt.m_Prompt = "Change Drill Bit !";
    prompt.DoModal();
    if (!Step([&] { g_MachineLink.CmdMA2(static_cast<float>(x0), static_cast<float>(y0)); }) ||
        !AwaitReady())
        return false;
    const float zTop = g_ZTop * g_ZPulsesPerMM;
    if (!Step([] { g_MachineLink.CmdSP1(2000.0f); }) || !Pause(30) ||
        !Step([&] { g_MachineLink.CmdMA1(zTop); }) || !AwaitReady())
        return false;

    // Down slowly with the surface detection on: the controller stops Z
    // where the tool meets the board.
    if (!Step([] { g_MachineLink.CmdDL3(); }) || !Step([] { g_MachineLink.CmdEL3(); }))
        return false;
    g_JobCode = 0;
    if (IsBinary())
        g_BinLink.Cmd02(8);
    if (lens && spindleModel && IsBinary()) {
        CMachineParamDlg::SetSpindleSpeed(5000.0f);
        g_BinLink.SetOutputBit(1, 1, true);
        g_BinLink.SpindleOnPulse();
    }
    if (!Pause(30) || !Step([] { g_MachineLink.CmdSP1(300.0f); }) || !Pause(30) ||
        !Step([&] { g_MachineLink.CmdMA1(zTop + 25.0f * g_ZPulsesPerMM); }) || !Pause(30) ||
        !AwaitReady())
        return false;
    if (IsBinary())
        g_BinLink.Cmd02(0);
    if (lens && spindleModel && IsBinary()) {
        g_BinLink.SetOutputBit(1, 1, false);
        g_BinLink.SpindleOffPulse();
    }
    if (!Pause(30) || !ReadPositionReply(100))
        return false;
    const std::int32_t touch = g_MachineZ;
    *holeX = g_MachineX;
    *holeY = g_MachineY;
    if (lens) {
        RegSetLongValue("x1", g_MachineX);
        RegSetLongValue("y1", g_MachineY);
    }

    const auto above = static_cast<float>(touch - 100);
    if (!Step([&] { g_MachineLink.CmdMA1(above); }) ||
        !Step([] { g_MachineLink.CmdOutput(7, 1); }) || !AwaitReady())
        return false;
    if (!lens && spindleModel && !Pause(5000))
        return false;
    if (!Pause(600))
        return false;
    g_ToolDown = 1;
    if (!Step([] { g_MachineLink.CmdSP1(g_PlungeSpeed * g_ZPulsesPerMM); }) ||
        !Step([&] { g_MachineLink.CmdMA1(static_cast<float>(touch) + 0.2f * g_ZPulsesPerMM); }) ||
        !AwaitReady())
        return false;
    if (!Step([&] { g_MachineLink.CmdMA1(above); }) || !AwaitReady() ||
        !Step([] { g_MachineLink.CmdOutput(7, 0); }) || !Step([] { g_MachineLink.CmdHM1(); }) ||
        !AwaitReady())
        return false;
    return true;
}

// ---- Adjust Origin ----

CAdjustOriginDlg::CAdjustOriginDlg() : CDialog(IDD_ADJUST_ORIGIN)
{
    const struct {
        unsigned id;
        float dx, dy;
    } jogs[] = {
        {IDC_AO_X_MINUS, -2.0f, 0.0f},    {IDC_AO_X_PLUS, 2.0f, 0.0f},
        {IDC_AO_Y_MINUS, 0.0f, -2.0f},    {IDC_AO_Y_PLUS, 0.0f, 2.0f},
        {IDC_AO_X_MINUS_MM, -1.0f, 0.0f}, {IDC_AO_X_PLUS_MM, 1.0f, 0.0f},
        {IDC_AO_Y_MINUS_MM, 0.0f, -1.0f}, {IDC_AO_Y_PLUS_MM, 0.0f, 1.0f},
        {IDC_AO_X_MINUS_FAR, -4000.0f, 0.0f}, {IDC_AO_X_PLUS_FAR, 4000.0f, 0.0f},
        {IDC_AO_Y_MINUS_FAR, 0.0f, -4000.0f}, {IDC_AO_Y_PLUS_FAR, 0.0f, 4000.0f},
    };
    for (const auto& jog : jogs) {
        // The middle row moves by whole millimetres, the others by pulses.
        const bool mm = jog.id == IDC_AO_X_MINUS_MM || jog.id == IDC_AO_X_PLUS_MM ||
                        jog.id == IDC_AO_Y_MINUS_MM || jog.id == IDC_AO_Y_PLUS_MM;
        OnCommand(jog.id, [this, jog, mm] {
            const float scale = mm ? g_XYPulsesPerMM : 1.0f;
            OnJog(jog.dx * scale, jog.dy * scale);
        });
    }
    OnCommand(IDC_AO_HOME, [this] { OnHome(); });
    OnCommand(IDC_AO_DRILL_HOLE, [this] { OnDrillHole(); });
    OnCommand(IDC_AO_GET_OFFSET, [this] { OnGetOffset(); });
    OnCommand(IDC_AO_MATCH_HOLE, [this] { OnMatchHole(); });
    OnCommand(IDC_AO_MOVE, [this] { OnMove(); });
    OnCommand(IDC_AO_FOCUS, [this] { OnFocus(); });
}

bool CAdjustOriginDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_JogSpeed = 30.0f;
    return true;
}

bool CAdjustOriginDlg::ClosedByAbort()
{
    if (!g_AbortFlag)
        return false;
    EndDialog(IDOK);
    return true;
}

void CAdjustOriginDlg::SendJogSpeed()
{
    g_MachineLink.CmdSP3(m_JogSpeed * g_XYPulsesPerMM, m_JogSpeed * g_XYPulsesPerMM,
                         m_JogSpeed * g_ZPulsesPerMM);
    g_MachineLink.Send();
}

void CAdjustOriginDlg::OnJog(float dx, float dy)
{
    if (ClosedByAbort())
        return;
    UpdateData(true);
    SendJogSpeed();
    g_MachineLink.CmdMR3(dx, dy, 0.0f);
    g_MachineLink.Send();
}

void CAdjustOriginDlg::OnHome()
{
    if (ClosedByAbort())
        return;
    g_MachineLink.CmdHM1();
    g_MachineLink.Send();
    if (!AwaitReady())
        return;
    g_MachineLink.CmdHM2();
    g_MachineLink.Send();
    AwaitReady();
}

void CAdjustOriginDlg::OnDrillHole()
{
    std::int32_t x = 0, y = 0;
    if (DrillCalibrationHole(ECalibrationHole::AdjustOrigin, &x, &y)) {
        m_HoleX = x;
        m_HoleY = y;
    }
}

void CAdjustOriginDlg::OnGetOffset()
{
    ReadPositionReply(100);
    m_CamX = g_MachineX;
    m_CamY = g_MachineY;
    StoreCameraOffset(m_HoleX - m_CamX, m_HoleY - m_CamY);
}

void CAdjustOriginDlg::OnMatchHole()
{
    const CCameraOffset offset = ReadCameraOffset();
    if ((m_HoleX == 0 && m_HoleY == 0) || (m_CamX == 0 && m_CamY == 0)) {
        // Nothing calibrated since the window opened: the stored offset
        // stands for the hole-minus-camera difference.
        m_HoleX = offset.x;
        m_HoleY = offset.y;
        m_CamX = 0;
        m_CamY = 0;
    }
    ReadPositionReply(100);
    m_MatchX = g_MachineX;
    m_MatchY = g_MachineY;
    EndDialog(IDOK);
}

void CAdjustOriginDlg::OnMove()
{
    ReadPositionReply(100);
    const CCameraOffset offset = ReadCameraOffset();
    SendJogSpeed();
    if (g_MachineX > offset.x && g_MachineY > offset.y) {
        g_MachineLink.CmdMR3(static_cast<float>(-offset.x), static_cast<float>(-offset.y), 0.0f);
        g_MachineLink.Send();
    }
}

void CAdjustOriginDlg::OnFocus()
{
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    AfxMessageBox("Adjust Focus\t..");
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
}

void CAdjustOriginDlg::OnCancel()
{
    g_MachineLink.CmdST3();
    g_MachineLink.Send();
    g_AbortFlag = 1;
    g_JobCode = 0;
    g_JobSpindle = 0;
    g_MachineLink.CmdOutput(7, 0);
    g_MachineLink.Send();
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    CDialog::OnCancel();
}

// ---- Measure report ----

namespace {

// A value of the report in `unit`: whole pulses first, then converted.
// A value that is not finite (the circle through three points on a line)
// is shown as such instead of being truncated.
std::string UnitValue(double pulses, EMeasureUnit unit, bool truncate)
{
    if (!std::isfinite(pulses))
        return "---";
    double v = pulses;
    if (truncate || unit != EMeasureUnit::Pulse)
        v = std::trunc(pulses);
    if (unit == EMeasureUnit::MM)
        v = v / g_XYPulsesPerMM;
    else if (unit == EMeasureUnit::Mil)
        v = v / g_XYPulsesPerMM * 100.0 / 2.54;
    char text[48];
    std::snprintf(text, sizeof text, "%g", static_cast<float>(v));
    return text;
}

}  // namespace

std::string MeasureReport(const CMeasurePoints& p, EMeasureUnit unit)
{
    const double ab = Distance(p.ax, p.ay, p.bx, p.by);
    const double bc = Distance(p.bx, p.by, p.cx, p.cy);
    float cx = 0.0f, cy = 0.0f, r = 0.0f;
    CircleFrom3Points(p.ax, p.ay, p.bx, p.by, p.cx, p.cy, &cx, &cy, &r);
    // The turn between the directions of BA and BC, from 0 to 360 degrees
    // and not folded: the operator reads the reflex angle as it comes (a
    // narrow angle across the negative x axis shows as nearly 360).
    const double angle = std::fabs(std::atan2(p.ay - p.by, p.ax - p.bx) -
                                   std::atan2(p.cy - p.by, p.cx - p.bx)) * 180.0 / M_PI;
    // A and B on one spot give no line: C's distance from that point.
    const double toLine = (p.ax == p.bx && p.ay == p.by)
                              ? Distance(p.cx, p.cy, p.ax, p.ay)
                              : std::fabs(PointLineDistanceF(p.cx, p.cy, p.ax, p.ay, p.bx, p.by));
    const auto point = [&](const char* name, float x, float y) {
        return std::string("Point ") + name + " (" + UnitValue(x, unit, false) + "," +
               UnitValue(y, unit, false) + ")\r\n";
    };
    std::string text = point("A", p.ax, p.ay) + point("B", p.bx, p.by) + point("C", p.cx, p.cy);
    char angleText[48];
    std::snprintf(angleText, sizeof angleText, "%g", angle);
    text += "---------------------\r\n";
    text += "Length AB( " + UnitValue(ab, unit, true) + " )\r\n";
    text += "Length BC( " + UnitValue(bc, unit, true) + " )\r\n";
    text += "Diameter ( " + UnitValue(2.0 * r, unit, true) + " )\r\n";
    text += std::string("Angle ( ") + angleText + " )\r\n";
    text += "Point to line ( " + UnitValue(toLine, unit, true) + " )\r\n";
    text += "---------------------\r\n";
    switch (unit) {
    case EMeasureUnit::Pulse: text += "Unit: pulse"; break;
    case EMeasureUnit::MM: text += "Unit: mm"; break;
    case EMeasureUnit::Mil: text += "Unit: Mil (1/1000 Inch)"; break;
    }
    return text;
}

CMeasureDlg::CMeasureDlg() : CDialog(IDD_MEASURE)
{
    OnCommand(IDC_MS_MM, [this] { ShowReport(EMeasureUnit::MM); });
    OnCommand(IDC_MS_INCH, [this] { ShowReport(EMeasureUnit::Mil); });
    OnCommand(IDC_MS_PULSE, [this] { ShowReport(EMeasureUnit::Pulse); });
}

bool CMeasureDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::string unit;
    RegGetString("Measure", unit);
    ShowReport(unit == "INCH" ? EMeasureUnit::Mil
               : unit == "MM" ? EMeasureUnit::MM
                              : EMeasureUnit::Pulse);
    return true;
}

void CMeasureDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_MS_REPORT, m_Report); }

void CMeasureDlg::ShowReport(EMeasureUnit unit)
{
    m_Report = MeasureReport(m_Points, unit);
    UpdateData(false);
    RegSetString("Measure", unit == EMeasureUnit::Mil  ? "INCH"
                            : unit == EMeasureUnit::MM ? "MM"
                                                       : "PULSE");
}
