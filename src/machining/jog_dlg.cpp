// The jog window's presses: relative moves held inside the travel, homing
// and the spindle switch, each waiting for the controller through the one
// machine wait.
#include "machining/jog_dlg.h"

#include "link/link_state.h"
#include "link/machine_wait.h"
#include "machining/manual_moves.h"
#include "platform/program_objects.h"
#include "platform/host.h"
#include "platform/win_types.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

int CJogDlg::s_SpindleOn = 0;

namespace {

const CProgramObjectReset s_Reset([] { CJogDlg::s_SpindleOn = 0; });

}  // namespace

CJogDlg::CJogDlg() : CDialog(IDD_JOG)
{
    OnCommand(IDC_JOG_X_PLUS, [this] { OnAxis(AxisX, 1); });
    OnCommand(IDC_JOG_X_MINUS, [this] { OnAxis(AxisX, -1); });
    OnCommand(IDC_JOG_Y_PLUS, [this] { OnAxis(AxisY, 1); });
    OnCommand(IDC_JOG_Y_MINUS, [this] { OnAxis(AxisY, -1); });
    OnCommand(IDC_JOG_Z_PLUS, [this] { OnAxis(AxisZ, 1); });
    OnCommand(IDC_JOG_Z_MINUS, [this] { OnAxis(AxisZ, -1); });
    OnCommand(IDC_JOG_HOME, [this] { OnHome(); });
    OnCommand(IDC_JOG_SPINDLE, [this] { OnSpindle(); });
}

void CJogDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_JOG_SPEED, m_Speed);
    DDV_MinMaxFloat(pDX, IDC_JOG_SPEED, m_Speed, 0.0f, 500.0f);
    DDX_Text(pDX, IDC_JOG_MOVE_X, m_MoveX);
    DDV_MinMaxFloat(pDX, IDC_JOG_MOVE_X, m_MoveX, 0.0f, 500.0f);
    DDX_Text(pDX, IDC_JOG_MOVE_Y, m_MoveY);
    DDV_MinMaxFloat(pDX, IDC_JOG_MOVE_Y, m_MoveY, 0.0f, 500.0f);
    DDX_Text(pDX, IDC_JOG_MOVE_Z, m_MoveZ);
    DDV_MinMaxFloat(pDX, IDC_JOG_MOVE_Z, m_MoveZ, 0.0f, 200.0f);
}

bool CJogDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Speed = 10.0f;
    m_MoveX = 10.0f;
    m_MoveY = 10.0f;
    m_MoveZ = 1.0f;
    UpdateData(false);
    return true;
}

bool CJogDlg::ClosedByAbort()
{
    if (!g_AbortFlag)
        return false;
    EndDialog(IDOK);
    return true;
}

void CJogDlg::OnAxis(Axis axis, int sign)
{
    if (ClosedByAbort() || m_Moving)
        return;
    // A field out of range has been reported; nothing moves on it.
    if (!UpdateData(true))
        return;
    const float step = axis == AxisX ? m_MoveX : axis == AxisY ? m_MoveY : m_MoveZ;
    m_Moving = true;
    JogMove(axis, sign, step, m_Speed);
    m_Moving = false;
}

void CJogDlg::OnHome()
{
    if (ClosedByAbort() || m_Moving)
        return;
    m_Moving = true;
    g_MachineLink.CmdHM1();
    g_MachineLink.Send();
    if (WaitUntilReady(kHomingDeadlineMs) == EWaitEnd::Done) {
        g_MachineLink.CmdHM2();
        g_MachineLink.Send();
        WaitUntilReady(kHomingDeadlineMs);
    }
    m_Moving = false;
}

void CJogDlg::OnSpindle()
{
    if (ClosedByAbort())
        return;
    s_SpindleOn = s_SpindleOn ? 0 : 1;
    g_MachineLink.CmdOutput(7, s_SpindleOn);
    g_MachineLink.Send();
}

void CJogDlg::OnKeyDown(unsigned key)
{
    switch (key) {
    case VK_PRIOR: OnAxis(AxisZ, -1); break;
    case VK_NEXT: OnAxis(AxisZ, 1); break;
    case VK_UP: OnAxis(AxisY, -1); break;
    case VK_DOWN: OnAxis(AxisY, 1); break;
    case VK_RIGHT: OnAxis(AxisX, 1); break;
    case VK_LEFT: OnAxis(AxisX, -1); break;
    default: break;
    }
}
