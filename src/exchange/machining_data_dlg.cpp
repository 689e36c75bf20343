// The per-layer machining data dialog.
#include "exchange/machining_data_dlg.h"

#include "exchange/dxf_dialogs.h"
#include "platform/program_objects.h"
#include "resource_ids.h"

CMachiningDataDlg g_MachiningDataDlg;

namespace {
CProgramObjectReset s_Reset([] { g_MachiningDataDlg = CMachiningDataDlg(); });
}  // namespace

CMachiningDataDlg::CMachiningDataDlg() : CDialog(IDD_MACHINING_DATA) {}

bool CMachiningDataDlg::OnInitDialog()
{
    FillLayerCombo(*this, IDC_MD_LAYER, m_strLayerList, m_nLayerIndex);
    return CDialog::OnInitDialog();
}

void CMachiningDataDlg::OnOK()
{
    // The layer is taken even when a number below is refused.
    ReadLayerCombo(*this, IDC_MD_LAYER, m_strLayer, m_nLayerIndex);
    CDialog::OnOK();
}

void CMachiningDataDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_MD_DEPTH, m_fDepth);
    DDX_Text(pDX, IDC_MD_TOOL_DIAMETER, m_fToolDiameter);
    DDX_Text(pDX, IDC_MD_SPEED, m_fSpeed);
    DDX_Check(pDX, IDC_MD_TOOL_CHANGE, m_bToolChangeProbe);
    DDX_Text(pDX, IDC_MD_REFERENCE, m_fHeightRef);
    DDX_Check(pDX, IDC_MD_SPINDLE_ON, m_bSpindleOn);
}
