// Logic of the aperture question and of the Gerber record view.
#include "import/aperture_dialogs.h"

#include "resource_ids.h"

CApertureDefDlg::CApertureDefDlg() : CDialog(IDD_APERTURE_DEF) {}

bool CApertureDefDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ResetContent(IDC_APERTURE_TYPE);
    AddString(IDC_APERTURE_TYPE, "ROUND");
    AddString(IDC_APERTURE_TYPE, "RECT");
    SetCurSel(IDC_APERTURE_TYPE, 0);
    return true;
}

void CApertureDefDlg::OnOK()
{
    const int choice = GetCurSel(IDC_APERTURE_TYPE);
    CDialog::OnOK();
    m_Shape = choice > 0 ? "RECT" : "ROUND";
}

void CApertureDefDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_APERTURE_LENGTH, m_Length);
    DDX_Text(pDX, IDC_APERTURE_WIDTH, m_Width);
    DDX_Text(pDX, IDC_APERTURE_NAME, m_Name);
}

CGerberRecordDlg::CGerberRecordDlg() : CDialog(IDD_GERBER_RECORD) {}

void CGerberRecordDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_RECORD_GROUP, m_Group);
    DDX_Text(pDX, IDC_RECORD_NUMBER, m_Record);
    DDX_Text(pDX, IDC_RECORD_TYPE, m_Type);
    DDX_Text(pDX, IDC_RECORD_WIDTH, m_LineWidth);
    DDX_Text(pDX, IDC_RECORD_X1, m_X1);
    DDX_Text(pDX, IDC_RECORD_X2, m_X2);
    DDX_Text(pDX, IDC_RECORD_Y1, m_Y1);
    DDX_Text(pDX, IDC_RECORD_Y2, m_Y2);
}
