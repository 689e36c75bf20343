// Logic of the aperture question and of the Gerber record view.
#include "import/aperture_dialogs.h"

bool CApertureDefDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ResetContent(IDC_TYPE);
    AddString(IDC_TYPE, "ROUND");
    AddString(IDC_TYPE, "RECT");
    SetCurSel(IDC_TYPE, 0);
    return true;
}

void CApertureDefDlg::OnOK()
{
    const int choice = GetCurSel(IDC_TYPE);
    CDialog::OnOK();
    m_Shape = choice > 0 ? "RECT" : "ROUND";
}

void CApertureDefDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_LENGTH, m_Length);
    DDX_Text(pDX, IDC_WIDTH, m_Width);
    DDX_Text(pDX, IDC_NAME, m_Name);
}

void CGerberRecordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_GROUP, m_Group);
    DDX_Text(pDX, IDC_RECORD, m_Record);
    DDX_Text(pDX, IDC_TYPE, m_Type);
    DDX_Text(pDX, IDC_WIDTH, m_LineWidth);
    DDX_Text(pDX, IDC_X1, m_X1);
    DDX_Text(pDX, IDC_X2, m_X2);
    DDX_Text(pDX, IDC_Y1, m_Y1);
    DDX_Text(pDX, IDC_Y2, m_Y2);
}
