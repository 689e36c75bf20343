// The calculation settings dialog: its edits, its two switches and the list
// of processing methods read from the macro text.
#include "planning/calc_settings_dlg.h"

#include "planning/process_macro.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <algorithm>

CCalcSettingsDlg::CCalcSettingsDlg() : CDialog(IDD_CALC_SETTINGS) {}

void CCalcSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CALC_ISO_OFFSET, m_IsoOffset);
    DDV_MinMaxFloat(pDX, IDC_CALC_ISO_OFFSET, m_IsoOffset, CALC_MIN_OFFSET, CALC_MAX_OFFSET);
    DDX_Text(pDX, IDC_CALC_DATA_DENSITY, m_DataDensity);
    DDV_MinMaxInt(pDX, IDC_CALC_DATA_DENSITY, m_DataDensity, CALC_MIN_PITCH, CALC_MAX_PITCH);
    DDX_Text(pDX, IDC_CALC_PLUNGE_OFFSET, m_PlungeOffset);
}

bool CCalcSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Keeping the earlier data is offered every time, whatever was chosen
    // last: freeing results is a choice made for one run.
    CheckDlgButton(IDC_CALC_KEEP_DATA, 1);
    CheckDlgButton(IDC_CALC_GENERATE_LINES, m_GenerateLines ? 1 : 0);
    ResetContent(IDC_CALC_METHOD);
    for (const std::string& name : MacroMethodNames())
        AddString(IDC_CALC_METHOD, name);
    SetCurSel(IDC_CALC_METHOD, 0);
    return true;
}

void CCalcSettingsDlg::OnOK()
{
    const float offset = m_IsoOffset;
    const int density = m_DataDensity, plunge = m_PlungeOffset;
    if (!UpdateData(true)) {
        // The exchange stops at the refused edit, having taken the ones
        // before it: they go back, so Cancel after it changes nothing.
        m_IsoOffset = offset;
        m_DataDensity = density;
        m_PlungeOffset = plunge;
        return;
    }
    g_CalcMethod = std::max(0, GetCurSel(IDC_CALC_METHOD));
    m_KeepData = IsDlgButtonChecked(IDC_CALC_KEEP_DATA) ? 1 : 0;
    m_GenerateLines = IsDlgButtonChecked(IDC_CALC_GENERATE_LINES) ? 1 : 0;
    EndDialog(IDOK);
}
