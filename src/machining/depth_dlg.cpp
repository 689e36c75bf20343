// The engraving-depth window.
#include "machining/depth_dlg.h"

#include "resource_ids.h"
#include "settings/machine_settings.h"

CEngraveDepthDlg::CEngraveDepthDlg() : CDialog(IDD_ENGRAVE_DEPTH) {}

void CEngraveDepthDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_ED_DEPTH, m_Depth); }

int DefaultEngraveDepthPulses() { return static_cast<int>(g_ZPulsesPerMM * 0.09); }
