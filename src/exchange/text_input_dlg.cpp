// The text-input dialog: plain text in and out.
#include "exchange/text_input_dlg.h"

#include "resource_ids.h"

CTextInputDlg::CTextInputDlg() : CDialog(IDD_TEXT_INPUT) {}

void CTextInputDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEXT_INPUT_VALUE, m_Text);
}
