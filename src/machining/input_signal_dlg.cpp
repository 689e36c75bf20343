// The input-signal window: the home switches of X, Y and Z and the probe
// input, read from the binary controller's input bytes.
#include "machining/input_signal_dlg.h"

#include "link/link_state.h"
#include "platform/program_objects.h"
#include "resource_ids.h"

#include <string>

CInputSignalDlg g_InputSignalDlg;

namespace {

const CProgramObjectReset s_Reset([] {
    g_InputSignalDlg.DestroyWindow();
    g_InputSignalDlg = CInputSignalDlg();
});

}  // namespace

CInputSignalDlg::CInputSignalDlg() : CDialog(IDD_INPUT_SIGNAL)
{
    OnCommand(IDC_IS_READ, [this] { Refresh(); });
}

void CInputSignalDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_IS_X_HOME, m_XHome);
    DDX_Text(pDX, IDC_IS_Y_HOME, m_YHome);
    DDX_Text(pDX, IDC_IS_Z_HOME, m_ZHome);
    DDX_Text(pDX, IDC_IS_PROBE, m_Probe);
}

int CInputSignalDlg::Create()
{
    if (m_Created == 1 || IsWindow())
        return 0;
    m_Created = 1;
    return CreateModeless() ? 1 : 0;
}

void CInputSignalDlg::OnCancel() { ShowWindow(false); }

void CInputSignalDlg::Refresh()
{
    if (m_Created != 1 || g_PortState < 0)
        return;
    // The inputs are bytes of the binary controller; an ASCII controller is
    // never sent its frames, and a query that goes unanswered leaves the
    // readout as it was rather than showing made-up zeros.
    if (g_ControllerKind != 1)
        return;
    bool ok4 = false, ok5 = false, ok6 = false;
    unsigned char in4 = g_BinLink.QueryByte('4', &ok4);
    unsigned char in5 = g_BinLink.QueryByte('5', &ok5);
    unsigned char in6 = g_BinLink.QueryByte('6', &ok6);
    if (!ok4 || !ok5 || !ok6)
        return;
    m_XHome = std::to_string(in4 & 1);
    m_YHome = std::to_string(in5 & 1);
    m_ZHome = std::to_string(in6 & 1);
    m_Probe = std::to_string(in6 & 2);
    if (IsWindow())
        UpdateData(false);
}
