// The view's drilling jobs and tool change: the entries the job gate and the
// runners call (RunDrillJob, RunDrillPreview, ChangeTool and its twins) and
// the drill selection command. The work is the machining floor's
// (drill_job.h, tool_change.h, drill_selection.h); the view lends it its
// timer, homing, position readout and panel copies through CViewRunner.
#include "view/view_runner.h"

#include "import/drill_reader.h"
#include "link/job_codes.h"
#include "machining/drill_job.h"
#include "machining/drill_list_dlg.h"
#include "machining/drill_selection.h"
#include "machining/tool_change.h"
#include "platform/host.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/registry.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

std::vector<CRegistrationHole> ReadRegistrationHoles()
{
    std::vector<CRegistrationHole> holes;
    CMetricDrillUnits metric(CMetricDrillUnits::EScope::Coordinates);
    CDrillReader reader;
    reader.Attach(&g_HoleDataWnd);
    reader.ReadHeader();
    for (int code = reader.ReadNextBlock(); code != DRILL_END; code = reader.ReadNextBlock())
        if (code == DRILL_POSITION)
            holes.push_back({CDPoint(reader.m_OutX, reader.m_OutY), reader.m_CurrentLine - 1});
    return holes;
}

void CViewRunner::SaveResumeProject()
{
    CVelmDoc& doc = *m_View.GetDocument();
    if (doc.m_ResumeProjectSaved)
        return;
    doc.SaveProject("temp.prj");
    doc.m_ResumeProjectSaved = 1;
}

CDPoint CViewRunner::DetectPoint() const
{
    const CVelmDoc& doc = *m_View.GetDocument();
    return CDPoint(doc.m_DetectPosX, doc.m_DetectPosY);
}

void CVelmView::RunDrillJob(unsigned /*start*/)
{
    CViewRunner runner(*this);
    ::RunDrillJob(runner);
}

void CVelmView::RunDrillPreview(unsigned /*start*/)
{
    CViewRunner runner(*this);
    ::RunDrillPreview(runner);
}

void CVelmView::ChangeTool(const std::string& prompt, int detect)
{
    CViewRunner runner(*this);
    ::ChangeTool(runner, prompt, detect);
}

void CVelmView::ChangeToolConfirm(const std::string& prompt)
{
    CViewRunner runner(*this);
    ::ChangeToolConfirm(runner, prompt);
}

void CVelmView::ProbeToolHeight()
{
    CViewRunner runner(*this);
    ::ProbeToolHeight(runner);
}

void CVelmView::OnDrillSelect()
{
    CDrillListDlg dlg;
    dlg.m_List = DrillListText(g_HoleList);
    if (dlg.DoModal() != IDOK)
        return;
    ApplyDrillListText(dlg.m_List, g_HoleList);
    Invalidate();
}

void CVelmView::RegisterDrillJobs()
{
    // The large-hole mode belongs to one run; the gate clears the resume
    // count and the job code.
    SetJobRunner(JOB_DRILL, [this](unsigned start) {
        RunDrillJob(start);
        m_LargeHoleMode = 0;
    });
    SetJobRunner(JOB_DRILL_PREVIEW, [this](unsigned start) {
        RunDrillPreview(start);
        m_LargeHoleMode = 0;
    });
    // The registration-hole jobs work only while their text is shown.
    SetJobRunner(JOB_DRILL_REG_HOLES, [this](unsigned) {
        std::string language;
        RegGetString("Language", language);
        if (!g_HoleDataWnd.IsVisible())
            return;
        CViewRunner runner(*this);
        DrillRegistrationHoles(runner, ReadRegistrationHoles(), language);
    });
    SetJobRunner(JOB_ENGRAVE_REG_HOLES, [this](unsigned) {
        if (!g_HoleDataWnd.IsVisible())
            return;
        CViewRunner runner(*this);
        EngraveRegistrationHoles(runner, ReadRegistrationHoles());
    });
    m_Commands.OnCommand(ID_MACHINE_DRILL_SELECTION, [this] { OnDrillSelect(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_DRILL_SELECTION,
                               [](CCmdUI& ui) { ui.Enable(!g_HoleList.empty()); });
}
