// The view's job commands: each runs through the job gate of the machining
// floor with the view's runners, resume count and drawing; Continue; the
// job message; and the menu rules of the job commands.
#include "view/velm_view.h"

#include "link/job_codes.h"
#include "exchange/machining_data_dlg.h"
#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/plane_data.h"
#include "machining/surface_probing.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

namespace {

class CViewJobContext : public CJobContext {
public:
    explicit CViewJobContext(CVelmView& view) : m_View(view)
    {
        // The probe-device test works out the machining area of this view's
        // board copies.
        g_ProbeTestDlg.m_Layout = &view.GetDocument()->m_PanelLayout;
    }
    void RunRunner(int code, unsigned start) override { m_View.RunJobRunner(code, start); }
    int SurfaceDataOk() override { return m_View.m_SurfaceDataPlausible; }
    int& ResumeCount() override { return m_View.m_ResumeCount; }
    void Repaint() override { m_View.Invalidate(); }

private:
    CVelmView& m_View;
};

// The job commands that run straight through the gate.
constexpr unsigned kGateCommands[] = {
    ID_MACHINE_DRILL,          ID_MACHINE_ISOLATE,
    ID_MACHINE_MILL,           ID_MACHINE_ROUTE,
    ID_MACHINE_ISOLATE_MILL,   ID_MACHINE_DRILL_LOCATING_HOLES,
    ID_MACHINE_ENGRAVE,        ID_MACHINE_ENGRAVE_SELECTION,
    ID_MACHINE_ENGRAVE_LOCATING_HOLES, ID_PREVIEW_DRILLS,
    ID_MANUAL_FIND_HOLES,
};

// Ids whose menu rules the gate gives.
constexpr unsigned kRuleCommands[] = {
    ID_MACHINE_DRILL,          ID_MACHINE_ISOLATE,
    ID_MACHINE_MILL,           ID_MACHINE_ROUTE,
    ID_MACHINE_ISOLATE_MILL,   ID_MACHINE_DRILL_LOCATING_HOLES,
    ID_MACHINE_ENGRAVE,        ID_MACHINE_ENGRAVE_SELECTION,
    ID_MACHINE_ENGRAVE_LOCATING_HOLES, ID_MANUAL_ENGRAVE,
    ID_MANUAL_DRILL,           ID_MANUAL_FIND_HOLES,
    ID_ENGRAVE_CAM_DATA,       ID_MACHINE_CONTINUE,
    ID_MACHINE_EMPTY,          ID_MACHINE_SPARE,
};

// The layers of drawing data: side 5 is machined, side 6 set aside.
bool IsCamLayer(const CPathRecord& layer) { return layer.side == 5 || layer.side == 6; }

}  // namespace

void CVelmView::OnEngraveCamData()
{
    g_SkipProbeTest = 0;
    for (;;) {
        RegGetInt("machineoffset", g_MachineOffset);
        g_MachiningDataDlg.m_strLayerList = m_Doc.m_LayerName;
        g_MachiningDataDlg.m_fHeightRef = static_cast<float>(g_MachineOffset / g_XYPulsesPerMM);
        if (g_MachiningDataDlg.DoModal() != IDOK)
            break;
        g_MachineOffset = static_cast<int>(g_MachiningDataDlg.m_fHeightRef * g_XYPulsesPerMM);
        RegSetInt("machineoffset", g_MachineOffset);
        // Only the chosen layer is machined, with the dialog's tool.
        for (const auto& layer : m_Doc.m_PathLayerList) {
            if (!IsCamLayer(*layer))
                continue;
            if (layer->name != g_MachiningDataDlg.m_strLayer) {
                layer->side = 6;
                continue;
            }
            layer->side = 5;
            layer->size = g_MachiningDataDlg.m_fToolDiameter * 100.0f / 2.54f;
            layer->depth = g_MachiningDataDlg.m_fDepth * g_ZPulsesPerMM;
            g_ParamM7 = g_MachiningDataDlg.m_fSpeed;
        }
        Invalidate();
        CViewJobContext context(*this);
        const int ran = RunJobCommand(ID_ENGRAVE_CAM_DATA, context);
        // Every layer set aside is offered again, also after a refusal.
        for (const auto& layer : m_Doc.m_PathLayerList)
            if (IsCamLayer(*layer))
                layer->side = 5;
        Invalidate();
        if (!ran)
            return;
    }
    g_MachineLink.CmdOutput(7, 0);
    g_MachineLink.Send();
    g_MachiningDataDlg.m_bSpindleOn = 0;
}

void CVelmView::SetJobRunner(int code, JobRunner runner) { m_JobRunners[code] = std::move(runner); }

void CVelmView::RunJobRunner(int code, unsigned start)
{
    auto it = m_JobRunners.find(code);
    if (it != m_JobRunners.end() && it->second) {
        // A copy: the runner may install another while it runs.
        JobRunner runner = it->second;
        runner(start);
        return;
    }
    // No runner for this job: it ends at once, as a finished one does.
    if (code == JOB_MANUAL_ENGRAVE)
        m_ManualEngraveMode = 0;
    if (code == JOB_MANUAL_DRILL)
        m_ManualDrillMode = 0;
    g_JobCode = 0;
}

void CVelmView::OnMachineContinue()
{
    CViewJobContext context(*this);
    Continue(context);
}

int CVelmView::OnJobMessage()
{
    // Each test reads the code afresh: a runner that changes it lets a later
    // line run. Codes 15 and 16 re-enter their own runners.
    for (int code : {JOB_DRILL, JOB_ISOLATE, JOB_MILL, JOB_ROUTE, JOB_ISOLATE_MILL, JOB_ENGRAVE,
                     JOB_ENGRAVE_SELECTION, JOB_ENGRAVE_CAM, JOB_ENGRAVE_REG_HOLES,
                     JOB_DRILL_PREVIEW})
        if (g_JobCode == code)
            RunJobRunner(code, 0);
    if (g_JobCode == JOB_SURFACE_PROBE)
        RunProbingStep();
    for (int code : {JOB_MANUAL_ENGRAVE, JOB_MANUAL_DRILL, JOB_FIND_LOCATING_HOLES})
        RunJobRunner(code, 0);
    return 0;
}

void CVelmView::RegisterMachineCommands()
{
    for (unsigned id : kGateCommands)
        m_Commands.OnCommand(id, [this, id] {
            CViewJobContext context(*this);
            RunJobCommand(id, context);
        });
    // The manual modes toggle; turning one off only clears its flag, and the
    // running manual routine ends when it sees that.
    m_Commands.OnCommand(ID_MANUAL_ENGRAVE, [this] {
        g_SkipProbeTest = 0;
        m_ManualEngraveMode = !m_ManualEngraveMode;
        if (m_ManualEngraveMode) {
            CViewJobContext context(*this);
            RunJobCommand(ID_MANUAL_ENGRAVE, context);
        }
    });
    m_Commands.OnCommand(ID_MANUAL_DRILL, [this] {
        m_ManualDrillMode = !m_ManualDrillMode;
        if (m_ManualDrillMode) {
            CViewJobContext context(*this);
            RunJobCommand(ID_MANUAL_DRILL, context);
        }
    });
    m_Commands.OnCommand(ID_MACHINE_CONTINUE, [this] { OnMachineContinue(); });
    m_Commands.OnCommand(ID_ENGRAVE_CAM_DATA, [this] { OnEngraveCamData(); });
    m_Commands.OnCommand(ID_MACHINE_EMPTY, [] {});
    for (unsigned id : kRuleCommands)
        m_Commands.OnUpdateCommand(id, [this](CCmdUI& ui) {
            CJobMenuState state;
            state.drillTools = static_cast<int>(g_HoleList.size());
            state.isoSegments = static_cast<int>(m_Doc.m_GridPathList.size());
            state.clearAreas = static_cast<int>(m_Doc.m_ClearRegionList.size());
            state.holeWindowReady =
                g_HoleDataWnd.IsVisible() && g_HoleDataWnd.m_Edit.GetLineCount() > 2;
            UpdateJobCommandUI(ui, state);
        });
    RegisterTimerCommands();
    RegisterToolCommands();
    RegisterSurfaceCommands();
    RegisterDrillJobs();
    RegisterPathJobs();
    RegisterManualCommands();
}
