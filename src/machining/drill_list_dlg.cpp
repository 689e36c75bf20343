// The drilling settings window.
#include "machining/drill_list_dlg.h"

#include "resource_ids.h"

CDrillListDlg::CDrillListDlg() : CDialog(IDD_DRILL_LIST) {}

void CDrillListDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_DL_TEXT, m_List); }
