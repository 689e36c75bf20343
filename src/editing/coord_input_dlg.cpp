// The coordinate dialog: mil in, the display unit on screen, mil out.
#include "editing/coord_input_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

namespace {

constexpr float kMmPerMil = 0.0254f;

}  // namespace

CCoordInputDlg::CCoordInputDlg() : CDialog(IDD_COORD_INPUT) {}

void CCoordInputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COORD_X, m_CoordX);
    DDX_Text(pDX, IDC_COORD_Y, m_CoordY);
    DDX_Text(pDX, IDC_COORD_UNIT, m_UnitText);
}

bool CCoordInputDlg::OnInitDialog()
{
    switch (g_UnitSelector) {
    case 0:
        m_UnitText = "mm";
        m_CoordX *= kMmPerMil;
        m_CoordY *= kMmPerMil;
        break;
    case 2:
        m_UnitText = "pulse";
        m_CoordX *= kMmPerMil * g_XYPulsesPerMM;
        m_CoordY *= kMmPerMil * g_XYPulsesPerMM;
        break;
    default: m_UnitText = "mil"; break;
    }
    return CDialog::OnInitDialog();
}

void CCoordInputDlg::OnOK()
{
    // A text that is no number keeps the dialog open, values untouched.
    if (!UpdateData(true))
        return;
    if (g_UnitSelector == 0) {
        m_CoordX /= kMmPerMil;
        m_CoordY /= kMmPerMil;
    } else if (g_UnitSelector == 2) {
        m_UnitText = "pulse";
        m_CoordX /= g_XYPulsesPerMM * kMmPerMil;
        m_CoordY /= g_XYPulsesPerMM * kMmPerMil;
    }
    EndDialog(IDOK);
}
