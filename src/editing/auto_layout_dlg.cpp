// The automatic layout's count dialog.
#include "editing/auto_layout_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"

#include <cstdlib>
#include <string>

CAutoLayoutDlg::CAutoLayoutDlg() : CDialog(IDD_AUTO_LAYOUT) {}

bool CAutoLayoutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const struct {
        unsigned id;
        int count;
    } lists[] = {{IDC_AUTO_LAYOUT_X, m_CountX}, {IDC_AUTO_LAYOUT_Y, m_CountY}};
    for (const auto& list : lists) {
        ResetContent(list.id);
        for (int n = 1; n <= list.count; ++n)
            AddString(list.id, std::to_string(n));
        SetCurSel(list.id, 0);
    }
    return true;
}

void CAutoLayoutDlg::OnOK()
{
    const int x = std::atoi(GetDlgItemText(IDC_AUTO_LAYOUT_X).c_str());
    const int y = std::atoi(GetDlgItemText(IDC_AUTO_LAYOUT_Y).c_str());
    // A count that is no positive number falls back to a single copy.
    if (x <= 0 || y <= 0) {
        m_CountX = m_CountY = 1;
    } else {
        m_CountX = x;
        m_CountY = y;
    }
    EndDialog(IDOK);
}
