// The view's manual runs and jogs: manual drilling and engraving on the
// view's pointer and keys, the jog buttons, the keyboard's Z jog and the
// jog-step dialog. The work is the machining floor's (manual_runs.h,
// manual_moves.h, jog_step_dlg.h).
#include "view/view_runner.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/jog_step_dlg.h"
#include "machining/manual_moves.h"
#include "machining/manual_runs.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "ui/cmd_ui.h"

namespace {

CManualControls ManualControls(CVelmView& view, int& mode)
{
    return CManualControls{mode,           view.m_ManualPointA, view.m_ManualPointB,
                           view.m_KeyCtrl, view.m_KeyShift,     view.m_KeyTab,
                           view.m_ToolChanged};
}

}  // namespace

void CVelmView::ManualDrill()
{
    CViewRunner runner(*this);
    CManualControls controls = ManualControls(*this, m_ManualDrillMode);
    ::ManualDrill(runner, controls);
}

void CVelmView::ManualEngrave()
{
    CViewRunner runner(*this);
    CManualControls controls = ManualControls(*this, m_ManualEngraveMode);
    ::ManualEngrave(runner, controls);
}

void CVelmView::OnManualKeyUp(unsigned key)
{
    CManualControls controls = ManualControls(*this, m_ManualDrillMode);
    ReleaseManualKey(key, controls);
}

void CVelmView::OnJog(int axis, int direction)
{
    if (!MachineIdleAndConnected())
        return;
    JogMove(axis, direction, static_cast<float>(g_JogStep) / g_XYPulsesPerMM, g_RapidSpeed);
}

void CVelmView::OnJogZUp()
{
    if (!MachineIdleAndConnected())
        return;
    // Z grows downward: one step toward 0 lifts the tool.
    JogMove(2, -1, static_cast<float>(g_JogStep) / g_ZPulsesPerMM, g_PlungeSpeed);
}

void CVelmView::OnSetJogStep() { EditJogStep(); }

void CVelmView::RegisterManualCommands()
{
    // The job gate starts a manual run with its code set; a job message for
    // a run that is not the one running starts nothing.
    SetJobRunner(JOB_MANUAL_DRILL, [this](unsigned) {
        if (g_JobCode == JOB_MANUAL_DRILL && m_ManualDrillMode)
            ManualDrill();
    });
    SetJobRunner(JOB_MANUAL_ENGRAVE, [this](unsigned) {
        if (g_JobCode == JOB_MANUAL_ENGRAVE && m_ManualEngraveMode)
            ManualEngrave();
    });
    struct CJogCommand {
        unsigned id;
        int axis;
        int direction;
    };
    for (const CJogCommand& jog : {CJogCommand{ID_MOVE_PLUS_Y, 1, 1}, CJogCommand{ID_MOVE_MINUS_Y, 1, -1},
                                   CJogCommand{ID_MOVE_MINUS_X, 0, -1}, CJogCommand{ID_MOVE_PLUS_X, 0, 1}})
        m_Commands.OnCommand(jog.id, [this, jog] { OnJog(jog.axis, jog.direction); });
    m_Commands.OnCommand(ID_SET_MOVE_DISTANCE, [this] { OnSetJogStep(); });
    for (unsigned id : {ID_MOVE_PLUS_Y, ID_MOVE_MINUS_Y, ID_MOVE_MINUS_X, ID_MOVE_PLUS_X,
                        ID_SET_MOVE_DISTANCE})
        m_Commands.OnUpdateCommand(id, [](CCmdUI& ui) { ui.Enable(MachineIdleAndConnected()); });
    RegisterPartialCommands();
}
