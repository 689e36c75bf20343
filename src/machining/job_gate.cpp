// The job gate, the table of job commands, Continue and the menu rules of
// the job commands.
#include "machining/job_gate.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/machine_wait.h"
#include "machining/plane_data.h"
#include "machining/number_input_dlg.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "platform/program_objects.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "ui/cmd_ui.h"

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {


using W = EWorkStore;
const std::array<CJobCommand, 14> kJobCommands{{
    // id, code, "WORK", when stored, runner argument, probe test, clears the
    // skip flag, starts after STOP, resume count cleared before the runner
    {ID_MACHINE_DRILL, JOB_DRILL, "DRILL", W::AtGate, 1, true, false, false, false},
    {ID_MACHINE_ISOLATE, JOB_ISOLATE, "ISOLATE", W::AfterWait, 0, true, false, false, false},
    {ID_MACHINE_MILL, JOB_MILL, "MILL", W::AtGate, 0, true, false, false, false},
    {ID_MACHINE_ROUTE, JOB_ROUTE, nullptr, W::None, 1, true, false, false, true},
    {ID_MACHINE_ISOLATE_MILL, JOB_ISOLATE_MILL, nullptr, W::None, 1, true, false, true, false},
    {ID_MACHINE_DRILL_LOCATING_HOLES, JOB_DRILL_REG_HOLES, nullptr, W::None, 1, true, true, false,
     false},
    {ID_MACHINE_ENGRAVE, JOB_ENGRAVE, "TP", W::AtGate, 0, true, false, false, false},
    {ID_MACHINE_ENGRAVE_SELECTION, JOB_ENGRAVE_SELECTION, "TPS", W::AtGate, 0, true, false, false,
     false},
    {ID_MACHINE_ENGRAVE_LOCATING_HOLES, JOB_ENGRAVE_REG_HOLES, nullptr, W::None, 1, true, true,
     false, false},
    {ID_PREVIEW_DRILLS, JOB_DRILL_PREVIEW, "CHECKDRILL", W::AtGate, 1, false, false, false, false},
    {ID_MANUAL_ENGRAVE, JOB_MANUAL_ENGRAVE, nullptr, W::None, 1, false, true, false, false},
    {ID_MANUAL_DRILL, JOB_MANUAL_DRILL, nullptr, W::None, 1, false, false, false, false},
    {ID_MANUAL_FIND_HOLES, JOB_FIND_LOCATING_HOLES, nullptr, W::None, 0, false, false, false,
     false},
    {ID_ENGRAVE_CAM_DATA, JOB_ENGRAVE_CAM, "ISOLATE", W::AfterWait, 0, true, true, false, false},
}};

bool IsManual(int code)
{
    return code == JOB_MANUAL_ENGRAVE || code == JOB_MANUAL_DRILL ||
           code == JOB_FIND_LOCATING_HOLES;
}

bool GatePasses(const CJobCommand& job, CJobContext& context)
{
    if (!JobIdle(g_JobCode))
        return false;
    if (job.startsAfterAbort)
        return g_AbortFlag || context.IsReady();
    return context.IsReady() && !g_AbortFlag;
}

// Unless the settings turn it off, the machining area is worked out and the
// operator confirms the probe device; false when the test was declined.
bool ProbeTestPasses(CJobContext& context)
{
    if (g_SkipProbeTest || g_FixedPlungeMode)
        return true;
    g_ProbeTestDlg.CalcLayoutExtent();
    if (g_ModelSkipsProbeTest)
        return true;
    return context.RunProbeTest() == IDOK;
}

// The count typed into Continue's prompt: a whole number, blanks around it
// allowed; false for anything else.
bool ParseRecordCount(const std::string& text, long& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0';
}

}  // namespace

bool CJobContext::IsReady() { return g_MachineLink.IsReady(); }

int CJobContext::RunProbeTest()
{
    g_ProbeTestDlg.m_Success = 0;
    return g_ProbeTestDlg.DoModal();
}

EWaitEnd CJobContext::WaitReady() { return WaitUntilReady(); }

const CJobCommand* FindJobCommand(unsigned id)
{
    for (const CJobCommand& job : kJobCommands)
        if (job.id == id)
            return &job;
    return nullptr;
}

bool IsUploadModel() { return g_MachineModel == "TQ615"; }

bool MachineIdleAndConnected() { return g_PortState >= 0 && g_JobCode == 0 && !g_AbortFlag; }

int RunJobCommand(unsigned id, CJobContext& context)
{
    const CJobCommand* found = FindJobCommand(id);
    if (!found)
        return 0;
    const CJobCommand& job = *found;
    if (job.clearSkipProbe)
        g_SkipProbeTest = 0;
    if (!GatePasses(job, context))
        return 0;
    // The combined job may start after STOP; the flag goes now, or the wait
    // below would end at once on it.
    if (job.startsAfterAbort)
        g_AbortFlag = 0;
    // Stored only now: a refused command must not overwrite the resume name
    // of the job that runs.
    if (job.store == EWorkStore::AtGate)
        RegSetString("WORK", job.work);
    if (job.code == JOB_ENGRAVE && !context.SurfaceDataOk() &&
        AfxMessageBox(LoadResString(IDS_SURFACE_DATA_SUSPECT), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    g_JobCode = job.code;
    if (context.WaitReady() != EWaitEnd::Done) {
        g_JobCode = 0;
        return 0;
    }
    if (job.store == EWorkStore::AfterWait)
        RegSetString("WORK", job.work);
    if (job.probeTest) {
        bool passed = ProbeTestPasses(context);
        if (job.code == JOB_ENGRAVE)
            context.Repaint();
        if (!passed) {
            g_JobCode = 0;
            return 0;
        }
    }
    if (job.resetResumeBefore)
        context.ResumeCount() = 0;
    context.RunRunner(job.code, job.runnerArg);
    // The manual routines give the code back themselves.
    if (IsManual(job.code)) {
        if (job.code != JOB_FIND_LOCATING_HOLES) {
            context.ResumeCount() = 0;
            context.Repaint();
        }
        return 1;
    }
    context.ResumeCount() = 0;
    g_JobCode = 0;
    return 1;
}

int Continue(CJobContext& context)
{
    if (!context.IsReady() || g_AbortFlag)
        return 0;
    std::string work;
    RegGetString("WORK", work);
    std::int32_t stored = 0;
    RegGetLong("count", stored);

    CNumberInputDlg dlg;
    dlg.m_Prompt = LoadResString(IDS_RECORDS_BACK);
    // Assigned as one character: GCC 12 warns falsely (-Wrestrict) on "1".
    dlg.m_Value.assign(1, '1');
    if (dlg.DoModal() != IDOK)
        return 0;
    long back = 0;
    if (!ParseRecordCount(dlg.m_Value, back)) {
        AfxMessageBox(LoadResString(IDS_NOT_A_WHOLE_NUMBER), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    // A count outside the stored progress would skip the whole job, or
    // start before its first record, and report completion.
    const long progress = stored < 0 ? 0 : stored;
    const long from = back >= progress ? 0 : back <= 0 ? progress : progress - back;
    context.ResumeCount() = static_cast<int>(from);

    static const std::array<std::pair<const char*, unsigned>, 7> kResumable{{
        {"ISOLATE", ID_MACHINE_ISOLATE},
        {"MILL", ID_MACHINE_MILL},
        {"DRILL", ID_MACHINE_DRILL},
        {"DRILLDIN", ID_MACHINE_DRILL_LOCATING_HOLES},
        {"ROUTE", ID_MACHINE_ROUTE},
        {"TP", ID_MACHINE_ENGRAVE},
        {"TPS", ID_MACHINE_ENGRAVE_SELECTION},
    }};
    int started = 0;
    for (const auto& [name, id] : kResumable)
        if (work == name)
            started |= RunJobCommand(id, context);
    return started;
}

bool UpdateJobCommandUI(CCmdUI& ui, const CJobMenuState& state)
{
    const unsigned id = ui.m_nID;
    const bool connected = g_PortState >= 0;
    if (id == ID_MACHINE_SPARE) {
        ui.Enable(connected);
        return true;
    }
    if (id == ID_MACHINE_EMPTY) {
        ui.Enable(connected && !g_AbortFlag);
        return true;
    }
    const CJobCommand* job = FindJobCommand(id);
    // The drill preview of the tool bars has no rule of its own.
    if ((!job && id != ID_MACHINE_CONTINUE) || (job && job->code == JOB_DRILL_PREVIEW))
        return false;
    if (IsUploadModel()) {
        ui.Enable(false);
        return true;
    }
    if (id == ID_MACHINE_CONTINUE) {
        ui.Enable(connected && !g_AbortFlag);
        return true;
    }
    switch (job->code) {
    case JOB_DRILL:
    case JOB_ROUTE:
    case JOB_DRILL_REG_HOLES:
    case JOB_ENGRAVE:
    case JOB_ENGRAVE_SELECTION:
        ui.SetCheck(g_JobCode == job->code ? 1 : 0);
        break;
    default:
        break;
    }
    const bool idle = MachineIdleAndConnected();
    bool enable = idle;
    if (idle) {
        switch (job->code) {
        case JOB_DRILL:
        case JOB_MANUAL_DRILL: enable = state.drillTools > 0; break;
        case JOB_ISOLATE: enable = state.isoSegments > 0; break;
        case JOB_MILL: enable = state.clearAreas > 0; break;
        case JOB_ISOLATE_MILL: enable = state.isoSegments + state.clearAreas >= 1; break;
        case JOB_DRILL_REG_HOLES:
        case JOB_ENGRAVE_REG_HOLES: enable = state.holeWindowReady; break;
        default: break;
        }
    }
    ui.Enable(enable);
    return true;
}
