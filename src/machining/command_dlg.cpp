// The command dialog's fields and the axis digit its checks stand for.
#include "machining/command_dlg.h"

#include "resource_ids.h"

CCommandDlg::CCommandDlg() : CDialog(IDD_COMMAND) {}

void CCommandDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CMD_TEXT, m_Command);
    DDX_Check(pDX, IDC_CMD_AXIS_X, m_AxisX);
    DDX_Check(pDX, IDC_CMD_AXIS_Y, m_AxisY);
    DDX_Check(pDX, IDC_CMD_AXIS_Z, m_AxisZ);
}

int CCommandDlg::AxisDigit() const
{
    // Indexed by the checks as bits: X 1, Y 2, Z 4.
    static constexpr int kDigits[8] = {-1, 0, 1, 3, 2, 4, 5, 6};
    int bits = (m_AxisX ? 1 : 0) | (m_AxisY ? 2 : 0) | (m_AxisZ ? 4 : 0);
    return kDigits[bits];
}
