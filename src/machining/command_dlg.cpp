// The command dialog's fields.
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
