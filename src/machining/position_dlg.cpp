// The position window and its STOP.
#include "machining/position_dlg.h"

#include "link/link_state.h"
#include "machining/job_gate.h"
#include "platform/program_objects.h"
#include "resource_ids.h"

CPositionDlg g_PositionDlg;

namespace {
CProgramObjectReset s_Reset([] {
    g_PositionDlg.DestroyWindow();
    g_PositionDlg = CPositionDlg();
});
}  // namespace

CPositionDlg::CPositionDlg() : CDialog(IDD_POSITION) {}

int CPositionDlg::CreateOnce()
{
    if (m_Created || IsWindow())
        return 0;
    m_Created = 1;
    return CreateModeless() ? 1 : 0;
}

bool CPositionDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OnCommand(IDC_POS_STOP, [this] { OnStop(); });
    return true;
}

void CPositionDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_POS_X, m_X);
    DDX_Text(pDX, IDC_POS_Y, m_Y);
    DDX_Text(pDX, IDC_POS_Z, m_Z);
    DDX_Text(pDX, IDC_POS_UNIT, m_Unit);
    DDV_MaxChars(pDX, IDC_POS_UNIT, m_Unit, 10);
}

void CPositionDlg::StopMachine(bool fromButton)
{
    if (fromButton) {
        // The second link object remembers what ran when STOP came.
        g_MachineLink2.m_JobCode = g_JobCode;
        g_MachineLink2.m_ToolDown = g_ToolDown;
    }
    g_MachineLink.CmdST3();
    g_MachineLink.Send();
    // The binary controller has no stop frame of the ASCII language: its
    // reset halts the axes.
    if (g_ControllerKind == 1)
        g_BinLink.Reset();
    g_AbortFlag = 1;
    g_JobSpindle = 0;
    if (fromButton) {
        g_MachineLink.Send();
        g_MachineLink.CmdEB(0);
        g_MachineLink.Send();
    }
    g_MachineLink.CmdOutput(7, 0);
    g_MachineLink.Send();
}

void CPositionDlg::OnStop()
{
    StopMachine(true);
    ShowWindow(false);
    m_StopPressed = 1;
}

void CPositionDlg::OnOK()
{
    Control(IDC_POS_STOP).check = 1;
    ControlChanged(IDC_POS_STOP);
    StopMachine(false);
    m_StopPressed = 1;
}

void CPositionDlg::OnCancel()
{
    if (g_JobCode != 0)
        return;
    ShowWindow(false);
}

void CPositionDlg::ShowWindow(bool show)
{
    CDialog::ShowWindow(show);
    m_StopPressed = 0;
}
