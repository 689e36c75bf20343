// The view's surface commands: the probing window (its command and menu
// rule, and the view as the run's host), the surface map over the probed
// rectangle, its toggle, and the machining time estimate.
#include "view/velm_view.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/machining_report.h"
#include "machining/surface_probing.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "ui/cmd_ui.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kViewTimer = 1;
constexpr unsigned kProbeTickMs = 30;

// The view as the probing run sees it.
class CViewProbing : public CProbingView {
public:
    explicit CViewProbing(CVelmView& view) : m_View(view) {}
    void MachineHome() override { m_View.MachineHome(); }
    void UpdatePositionDisplay() override { m_View.UpdatePositionDisplay(); }
    void StartTimer() override { m_View.m_TimerId = m_View.StartTimer(kViewTimer, kProbeTickMs); }
    const CPanelLayout* Layout() const override { return &m_View.GetDocument()->m_PanelLayout; }
    void Invalidate() override { m_View.Invalidate(); }

private:
    CVelmView& m_View;
};

// The grid lines of the surface map along one axis: from the low edge one
// step at a time, the last exactly on the high edge.
std::vector<int> GridLines(int low, int high, int step)
{
    std::vector<int> lines;
    for (std::int64_t at = low;; at += step) {
        if (at >= high) {
            lines.push_back(high);
            break;
        }
        lines.push_back(static_cast<int>(at));
    }
    return lines;
}

}  // namespace

CProbingView& CVelmView::ProbingHost()
{
    if (!m_ProbingHost)
        m_ProbingHost = std::make_unique<CViewProbing>(*this);
    return *m_ProbingHost;
}

void CVelmView::OnMachinePlaneDetect()
{
    if (g_PortState >= 0 && (!g_MachineLink.IsReady() || g_AbortFlag))
        return;
    g_MachineLink.CmdSP2(g_RapidSpeed * g_XYPulsesPerMM, g_RapidSpeed * g_XYPulsesPerMM);
    g_MachineLink.Send();
    g_MachineLink.CmdSP1(g_PlungeSpeed * g_ZPulsesPerMM);
    g_MachineLink.Send();
    g_MachineLink.CmdHS2(g_HomeSpeed * g_XYPulsesPerMM, g_HomeSpeed * g_XYPulsesPerMM);
    g_MachineLink.Send();
    g_MachineLink.CmdHS1(g_ParamM14 * g_ZPulsesPerMM);
    g_MachineLink.Send();
    CPlaneDetectDlg& dlg = g_PlaneDetectDlg;
    dlg.m_View = &ProbingHost();
    g_ProbeTestDlg.m_Layout = &m_Doc.m_PanelLayout;
    dlg.CreateModeless();
    g_ProbeTestDlg.CalcLayoutExtent();
    dlg.FormatCorners("%ld,%ld");
    dlg.UpdateData(false);
    dlg.ShowWindow(true);
}

void CVelmView::OnUpdateMachinePlaneDetect(CCmdUI& ui)
{
    if (g_MachineModel == "TQ615") {
        ui.Enable(false);
        return;
    }
    ui.Enable(g_PortState >= 0 && !g_AbortFlag);
    ui.SetCheck(g_JobCode == JOB_SURFACE_PROBE ? 1 : 0);
}

void CVelmView::OnToggleSurfaceMap()
{
    g_SurfaceCompensation = !g_SurfaceCompensation;
    Invalidate();
}

void CVelmView::DrawSurfaceMap()
{
    m_SurfaceDataPlausible = 1;
    const CPlaneDetectDlg& grid = g_PlaneDetectDlg;
    const RECT area = grid.m_AreaRect;
    const int step = static_cast<int>(std::min(grid.m_GridSpacing * double(g_XYPulsesPerMM), 1e9));
    const int sub = static_cast<int>(std::min(grid.m_GridSpacing * 20.0, 1e9));
    // A spacing or rectangle from a bad file has no map.
    if (step < 1 || sub < 1 || area.left > area.right || area.top > area.bottom)
        return;
    const std::vector<int> columns = GridLines(area.left, area.right, step);
    const std::vector<int> rows = GridLines(area.top, area.bottom, step);

    int highest = 0, lowest = 100000;
    int reference = GetSurfaceHeight(area.left, area.top);
    for (int y : rows)
        for (int x : columns) {
            const int h = GetSurfaceHeight(x, y);
            highest = std::max(highest, h);
            lowest = std::min(lowest, h);
            reference = static_cast<int>((std::int64_t(reference) + h) / 2);
        }
    // A flat surface has no shades: every square is mid-grey.
    const float scale = highest != lowest ? 125.0f / float(highest - lowest) : 0.0f;
    const double toMil = 39.37 / g_XYPulsesPerMM;

    CViewDC v(*this);
    for (int y : rows)
        for (int x : columns)
            for (std::int64_t dy = 0; dy < step && y + dy < area.bottom; dy += sub)
                for (std::int64_t dx = 0; dx < step && x + dx < area.right; dx += sub) {
                    const int px = static_cast<int>(x + dx), py = static_cast<int>(y + dy);
                    const int h = GetSurfaceHeight(px, py);
                    const int shade =
                        std::clamp(static_cast<int>(128.0 - double(h - reference) * scale), 0, 255);
                    const COLORREF grey = RGB(shade, shade, shade);
                    COLORREF fill = grey;
                    if (dx == 0 && dy == 0) {
                        const double average =
                            (double(GetSurfaceHeight(x + step, y)) + GetSurfaceHeight(x + step, y + step) +
                             GetSurfaceHeight(x, y + step) + GetSurfaceHeight(x - step, y - step) +
                             GetSurfaceHeight(x, y - step) + GetSurfaceHeight(x - step, y)) /
                            6.0;
                        if (std::fabs(h - average) > 6.0) {
                            fill = RGB(255, 0, 0);
                            m_SurfaceDataPlausible = 0;
                        } else {
                            fill = RGB(255, 255, 0);
                        }
                    }
                    v.dc.SelectPen(SolidPen(1, grey));
                    v.dc.SelectBrush(SolidBrush(fill));
                    ClippedRectangle(v.dc, MapX(px * toMil), MapY(py * toMil),
                                     MapX((px + sub) * toMil), MapY((py + sub) * toMil));
                }
}

void CVelmView::OnEstimateTime()
{
    CMachiningReportDlg& report = g_ReportDlg;
    report.CreateModeless();
    report.ShowWindow(true);
    report.m_ReportText.ClearAll();
    CEstimateInput input;
    input.pathLayers = &m_Doc.m_PathLayerList;
    input.blocks = &m_BlockList;
    input.resumeCount = m_ResumeCount;
    input.layerVisible = [this](const std::string& name) { return IsLayerVisible(name.c_str()) != 0; };
    report.Estimate(input);
}

void CVelmView::RegisterSurfaceCommands()
{
    m_Commands.OnCommand(ID_MACHINE_SURFACE_PROBE, [this] { OnMachinePlaneDetect(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_SURFACE_PROBE,
                               [this](CCmdUI& ui) { OnUpdateMachinePlaneDetect(ui); });
    m_Commands.OnCommand(ID_SURFACE_COMPENSATION, [this] { OnToggleSurfaceMap(); });
    m_Commands.OnUpdateCommand(ID_SURFACE_COMPENSATION,
                               [](CCmdUI& ui) { ui.SetCheck(g_SurfaceCompensation ? 1 : 0); });
    m_Commands.OnCommand(ID_WINDOW_TIME_ESTIMATE, [this] { OnEstimateTime(); });
}
