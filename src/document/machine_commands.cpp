// The document's machine commands that act at once: the spindle, the DL/EL
// and EB switches, the controller reset and the machine-parameter dialog.
// Each enables only while a port is open; the check marks follow the states
// the commands leave.
#include "document/velm_doc.h"

#include "link/link_state.h"
#include "machining/machine_setup.h"
#include "settings/machine_param_dlg.h"
#include "ui/cmd_ui.h"

namespace {

void Send(const char*) { g_MachineLink.Send(); }

void UpdateSwitch(CCmdUI& cmdUI, bool checked)
{
    cmdUI.Enable(g_PortState >= 0);
    cmdUI.SetCheck(checked ? 1 : 0);
}

}  // namespace

void CVelmDoc::OnSpindleOn()
{
    g_JobRunning = 1;
    Send(g_MachineLink.CmdOutput(7, 1));
    // The pulse is a frame of the binary controller only.
    if (g_ControllerKind == 1)
        g_BinLink.SpindleOnPulse();
}

void CVelmDoc::OnSpindleOff()
{
    g_JobRunning = 0;
    Send(g_MachineLink.CmdOutput(7, 0));
    if (g_ControllerKind == 1)
        g_BinLink.SpindleOffPulse();
}

void CVelmDoc::OnCmdDL()
{
    g_ELState = 0;
    Send(g_MachineLink.CmdDL3());
}

void CVelmDoc::OnCmdEL()
{
    g_ELState = 1;
    Send(g_MachineLink.CmdEL3());
}

void CVelmDoc::OnCmdEB0()
{
    g_EBState = 0;
    Send(g_MachineLink.CmdEB(0));
}

void CVelmDoc::OnCmdEB1()
{
    g_EBState = 1;
    Send(g_MachineLink.CmdEB(1));
}

void CVelmDoc::OnResetEngraver() { ResetController(); }

void CVelmDoc::OnMachineParams() { g_MachineParamDlg.DoModal(); }

void CVelmDoc::OnUpdateSpindleOn(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_JobRunning != 0); }
void CVelmDoc::OnUpdateSpindleOff(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_JobRunning == 0); }
void CVelmDoc::OnUpdateCmdDL(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_ELState == 0); }
void CVelmDoc::OnUpdateCmdEL(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_ELState != 0); }
void CVelmDoc::OnUpdateCmdEB0(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_EBState == 0); }
void CVelmDoc::OnUpdateCmdEB1(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, g_EBState != 0); }
void CVelmDoc::OnUpdateResetEngraver(CCmdUI& cmdUI) { UpdateSwitch(cmdUI, false); }
