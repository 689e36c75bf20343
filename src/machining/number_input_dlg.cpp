// The numeric input dialog: plain text in and out.
#include "machining/number_input_dlg.h"

#include "resource_ids.h"

CNumberInputDlg::CNumberInputDlg() : CDialog(IDD_NUMBER_INPUT) {}

void CNumberInputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_NI_VALUE, m_Value);
    DDX_Text(pDX, IDC_NI_PROMPT, m_Prompt);
}
