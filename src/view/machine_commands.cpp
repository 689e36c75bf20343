// The view's small machine commands that are not jobs: the tool change
// button, the spindle speed dialog, the machine input window, the fixed
// plunge mode, the air-pressure check and the position window's command.
#include "view/velm_view.h"

#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/machine_wait.h"
#include "machining/homing.h"
#include "machining/job_gate.h"
#include "machining/job_runner.h"
#include "machining/machine_timer.h"
#include "machining/position_dlg.h"
#include "machining/spindle_speed_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

namespace {

// The field of the position reply that carries the controller's status word.
constexpr std::size_t kStatusField = 3;

}  // namespace

void CVelmView::OnToolChange()
{
    const int keptSkip = g_SkipProbeTest;
    g_SkipProbeTest = 0;
    if (g_SpindleOn == 1) {
        g_MachineLink.CmdOutput(7, 0);
        g_MachineLink.Send();
    }
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    if (g_JobCode != 0 || !ToolChangeAtFront()) {
        // The running manual engraving changes the tool at its next pass,
        // a running job before its next item.
        m_ToolChanged = 1;
        if (g_JobCode != 0)
            m_ToolChangeRequest = 1;
        return;
    }
    ReadPositionReply(30);
    const std::int32_t x0 = g_MachineX;
    g_MachineLink.CmdHM1();
    g_MachineLink.Send();
    g_MachineLink.SetDefaultSpeed();
    const float front = ToolChangeFrontY();
    g_MachineLink.CmdMA2(static_cast<float>(x0), front);
    g_MachineLink.Send();
    // The readout follows the table to the front; the wait ends on STOP, on
    // silence or after the move deadline.
    WaitMachine([this] {
        const int ready = g_MachineLink.ReadyState();
        if (ready == 1)
            return EPoll::Done;
        ReadPositionReply(20);
        UpdatePositionDisplay();
        return ready == 0 ? EPoll::Waiting : EPoll::NoAnswer;
    }, CWaitLimits{kMoveDeadlineMs, 2000, 10});
    g_SkipProbeTest = keptSkip;
    if (g_AbortFlag || g_PositionDlg.m_StopPressed == 1)
        g_AbortFlag = 1;
}

void CVelmView::OnSpindleSpeed()
{
    CSpindleSpeedDlg dlg;
    dlg.DoModal();
}

int CVelmView::CheckAirPressure()
{
    ReadPositionReply(20);
    if (g_MachineLink.m_ReplyFields[kStatusField] & 1) {
        AfxMessageBox(LoadResString(IDS_AIR_PRESSURE_FAILED), MB_OK | MB_ICONSTOP);
        return 0;
    }
    return 1;
}

void CVelmView::OnShowMachineCoords()
{
    if (g_PositionDlg.IsVisible()) {
        g_PositionDlg.ShowWindow(false);
        return;
    }
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
}

void CVelmView::RegisterToolCommands()
{
    m_Commands.OnCommand(ID_MACHINE_TOOL_CHANGE, [this] { OnToolChange(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_TOOL_CHANGE, [](CCmdUI& ui) {
        ui.Enable(!IsUploadModel() && g_PortState >= 0 && !g_AbortFlag);
    });
    m_Commands.OnCommand(ID_SPINDLE_SPEED, [this] { OnSpindleSpeed(); });
    m_Commands.OnCommand(ID_WINDOW_MACHINE_INPUTS, [this] { OnShowMachineInputs(); });
    m_Commands.OnUpdateCommand(ID_WINDOW_MACHINE_INPUTS,
                               [](CCmdUI& ui) { ui.Enable(g_PortState >= 0); });
    m_Commands.OnCommand(ID_FIXED_PLUNGE_MODE, [this] { OnFixedPlungeSetup(); });
    m_Commands.OnUpdateCommand(ID_FIXED_PLUNGE_MODE,
                               [](CCmdUI& ui) { ui.Enable(!IsUploadModel()); });
    m_Commands.OnCommand(ID_WINDOW_MACHINE_COORDINATES, [this] { OnShowMachineCoords(); });
    m_Commands.OnUpdateCommand(ID_WINDOW_MACHINE_COORDINATES,
                               [](CCmdUI& ui) { ui.Enable(g_PortState >= 0); });
}
