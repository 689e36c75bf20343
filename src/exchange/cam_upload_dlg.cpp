// The CAM program upload dialog and its registry values.
#include "exchange/cam_upload_dlg.h"

#include "exchange/dxf_dialogs.h"
#include "resource_ids.h"
#include "settings/registry.h"

CCamUploadDlg::CCamUploadDlg() : CDialog(IDD_CAM_UPLOAD) {}

bool CCamUploadDlg::OnInitDialog()
{
    FillLayerCombo(*this, IDC_CU_LAYER, m_strLayerList, m_nLayerIndex);
    return CDialog::OnInitDialog();
}

void CCamUploadDlg::OnOK()
{
    // The layer is taken even when a number below is refused.
    ReadLayerCombo(*this, IDC_CU_LAYER, m_strLayer, m_nLayerIndex);
    CDialog::OnOK();
}

void CCamUploadDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CU_TOOL_DIAMETER, m_fToolDiameter);
    DDX_Text(pDX, IDC_CU_START_ADDRESS, m_nStartAddress);
    DDX_Text(pDX, IDC_CU_LIFT_HEIGHT, m_fLiftHeight);
    DDX_Text(pDX, IDC_CU_PLUNGE_HEIGHT, m_fPlungeHeight);
    DDX_Text(pDX, IDC_CU_MEMO, m_strMemo);
    DDX_Check(pDX, IDC_CU_AUTO_RUN, m_bAutoRun);
    DDX_Text(pDX, IDC_CU_FEED_SPEED, m_strFeedSpeed);
}

void CCamUploadDlg::LoadRegistryValues()
{
    RegGetString("TQ615DxfFeedSpeed", m_strFeedSpeed);
    RegGetFloat("TQ615DxfUpHeight", m_fLiftHeight);
    RegGetFloat("TQ615DxfDownHeight", m_fPlungeHeight);
    RegGetString("TQ615DxfMemo", m_strMemo);
    RegGetInt("TQ615DxfAddress", m_nStartAddress);
    RegGetFloat("TQ615DxfDiameter", m_fToolDiameter);
    RegGetInt("TQ615DxfRun", m_bAutoRun);
    RegGetInt("TQ615DxfSelect", m_nLayerIndex);
}

void CCamUploadDlg::StoreRegistryValues() const
{
    RegSetString("TQ615DxfFeedSpeed", m_strFeedSpeed);
    RegSetFloat("TQ615DxfUpHeight", m_fLiftHeight);
    RegSetFloat("TQ615DxfDownHeight", m_fPlungeHeight);
    RegSetString("TQ615DxfMemo", m_strMemo);
    RegSetInt("TQ615DxfAddress", m_nStartAddress);
    RegSetFloat("TQ615DxfDiameter", m_fToolDiameter);
    RegSetInt("TQ615DxfRun", m_bAutoRun);
    RegSetInt("TQ615DxfSelect", m_nLayerIndex);
}
