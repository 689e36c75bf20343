// The machining-conditions dialog: its members exchanged with the controls.
#include "machining/machining_cond_dlg.h"

#include "resource_ids.h"

CMachiningCondDlg::CMachiningCondDlg() : CDialog(IDD_MACHINING_COND) {}

void CMachiningCondDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MC_FEED_SPEED, m_FeedSpeed);
    DDX_Text(pDX, IDC_MC_REFERENCE_HEIGHT, m_ReferenceHeight);
    DDX_Text(pDX, IDC_MC_LIFT_HEIGHT, m_LiftHeight);
    DDX_Text(pDX, IDC_MC_PLUNGE_HEIGHT, m_PlungeHeight);
    DDX_Text(pDX, IDC_MC_MEMO, m_Memo);
    DDX_Check(pDX, IDC_MC_RUN_AFTER_UPLOAD, m_RunAfterUpload);
}
