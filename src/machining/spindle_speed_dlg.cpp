// The spindle speed dialog.
#include "machining/spindle_speed_dlg.h"

#include "link/ascii_link.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"

#include <cstdlib>
#include <string>

CSpindleSpeedDlg::CSpindleSpeedDlg() : CDialog(IDD_SPINDLE_SPEED) {}

void ApplySpindleSpeed(float rpm)
{
    if (g_SpindleSpeedSetter)
        g_SpindleSpeedSetter(static_cast<float>(static_cast<int>(rpm)));
}

bool CSpindleSpeedDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OnSelectionChanged(IDC_SPINDLE_SPEEDS, [this] { OnSelChange(); });
    // The high-speed spindle goes to 100000 RPM, the others to 60000.
    const int count = g_MachineModel == "KX1300YJ" ? 10 : 6;
    for (int i = 1; i <= count; ++i)
        AddString(IDC_SPINDLE_SPEEDS, std::to_string(i * 10000) + " RPM");
    const bool jModel = g_MachineModel.find('J') != std::string::npos;
    const float index = jModel ? (g_SpindleSpeed - 10000.0f) / 10000.0f
                               : (g_SpindleSpeed - 8000.0f) / 9000.0f;
    const int selection = static_cast<int>(index);
    SetCurSel(IDC_SPINDLE_SPEEDS, selection >= 0 && selection < count ? selection : -1);
    return true;
}

void CSpindleSpeedDlg::OnSelChange()
{
    g_SpindleSpeed = static_cast<float>(GetCurSel(IDC_SPINDLE_SPEEDS) * 10000 + 10000);
    ApplySpindleSpeed(g_SpindleSpeed);
}

void CSpindleSpeedDlg::OnOK()
{
    const int selection = GetCurSel(IDC_SPINDLE_SPEEDS);
    if (selection >= 0) {
        g_SpindleSpeed = static_cast<float>(
            std::atof(GetLBText(IDC_SPINDLE_SPEEDS, selection).c_str()));
        ApplySpindleSpeed(g_SpindleSpeed);
    }
    EndDialog(IDOK);
}
