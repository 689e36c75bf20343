// The tool-change prompt with the plunge speed.
#include "machining/plunge_speed_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"

#include <cstdio>
#include <cstdlib>

CPlungeSpeedDlg::CPlungeSpeedDlg() : CDialog(IDD_PLUNGE_SPEED) {}

void CPlungeSpeedDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PS_PROMPT, m_Prompt);
    DDX_Check(pDX, IDC_PS_SIMULATE, m_Simulate);
}

bool CPlungeSpeedDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    char current[32];
    std::snprintf(current, sizeof current, "%g", g_PlungeSpeed);
    AddString(IDC_PS_SPEEDS, current);
    for (const char* speed : {"25", "20", "15", "10", "5", "3", "1", "0.5"})
        if (std::string(speed) != current)
            AddString(IDC_PS_SPEEDS, speed);
    SetCurSel(IDC_PS_SPEEDS, 0);
    // The box keeps what the caller set; the member waits for OK.
    m_Simulate = 0;
    return true;
}

void CPlungeSpeedDlg::OnOK()
{
    const int selection = GetCurSel(IDC_PS_SPEEDS);
    const float speed =
        selection < 0 ? 0.0f : static_cast<float>(std::atof(GetLBText(IDC_PS_SPEEDS, selection).c_str()));
    if (speed == 0.0f) {
        AfxMessageBox("You must select something !");
        return;
    }
    g_PlungeSpeed = speed;
    CDialog::OnOK();
}
