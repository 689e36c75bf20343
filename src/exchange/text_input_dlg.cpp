// The text input dialog.
#include "exchange/text_input_dlg.h"

#include "resource_ids.h"

CTextInputDlg::CTextInputDlg() : CDialog(IDD_TEXT_INPUT) {}

void CTextInputDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_TI_TEXT, m_strText); }
