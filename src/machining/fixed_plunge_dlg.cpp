// The plunge-mode window, its registry values and the command that runs it.
#include "machining/fixed_plunge_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"

namespace {

struct CFixedHeight {
    const char* name;
    float CFixedPlungeDlg::*member;
};

constexpr CFixedHeight kHeights[] = {
    {"FixedDrillDown", &CFixedPlungeDlg::m_DrillDown},
    {"FixedDrillUp", &CFixedPlungeDlg::m_DrillUp},
    {"FixedRouteDown", &CFixedPlungeDlg::m_RouteDown},
    {"FixedRouteUp", &CFixedPlungeDlg::m_RouteUp},
    {"FixedCraveDown", &CFixedPlungeDlg::m_EngraveDown},
    {"FixedCraveUp", &CFixedPlungeDlg::m_EngraveUp},
};

}  // namespace

CFixedPlungeDlg::CFixedPlungeDlg() : CDialog(IDD_FIXED_PLUNGE) {}

void CFixedPlungeDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_FP_FIXED, m_FixedPlunge);
    DDX_Text(pDX, IDC_FP_DRILL_DOWN, m_DrillDown);
    DDX_Text(pDX, IDC_FP_ROUTE_DOWN, m_RouteDown);
    DDX_Text(pDX, IDC_FP_DRILL_UP, m_DrillUp);
    DDX_Text(pDX, IDC_FP_ROUTE_UP, m_RouteUp);
    DDX_Text(pDX, IDC_FP_ENGRAVE_DOWN, m_EngraveDown);
    DDX_Text(pDX, IDC_FP_ENGRAVE_UP, m_EngraveUp);
}

bool CFixedPlungeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS) {
        key.ReadInt("FixedDrill", m_FixedPlunge);
        for (const CFixedHeight& height : kHeights)
            key.ReadFloat(height.name, this->*height.member);
        key.Close();
    }
    UpdateData(false);
    return true;
}

void CFixedPlungeDlg::OnOK()
{
    // A field that is not a number keeps the window open and stores nothing.
    if (!UpdateData(true))
        return;
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS) {
        key.WriteInt("FixedDrill", m_FixedPlunge);
        for (const CFixedHeight& height : kHeights)
            key.WriteFloat(height.name, this->*height.member);
        key.Close();
    }
    EndDialog(IDOK);
}

void RunFixedPlungeSetup()
{
    CFixedPlungeDlg dialog;
    dialog.m_FixedPlunge = g_FixedPlungeMode == 1 ? 1 : 0;
    dialog.m_DrillDown = g_AbsDrillDown;
    dialog.m_DrillUp = g_AbsDrillUp;
    dialog.m_RouteDown = g_AbsRouteDown;
    dialog.m_RouteUp = g_AbsRouteUp;
    dialog.m_EngraveDown = g_AbsEngraveDown;
    dialog.m_EngraveUp = g_AbsEngraveUp;
    if (dialog.DoModal() != IDOK)
        return;
    if (dialog.m_FixedPlunge) {
        g_FixedPlungeMode = 1;
    } else {
        g_FixedPlungeMode = 0;
        g_SkipProbeTest = 0;
    }
    g_AbsDrillDown = dialog.m_DrillDown;
    g_AbsDrillUp = dialog.m_DrillUp;
    g_AbsRouteDown = dialog.m_RouteDown;
    g_AbsRouteUp = dialog.m_RouteUp;
    g_AbsEngraveDown = dialog.m_EngraveDown;
    g_AbsEngraveUp = dialog.m_EngraveUp;
}
