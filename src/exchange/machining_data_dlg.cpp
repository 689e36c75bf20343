// The per-layer machining data dialog.
#include "exchange/machining_data_dlg.h"

#include "platform/program_objects.h"
#include "resource_ids.h"

CMachiningDataDlg g_MachiningDataDlg;

namespace {
CProgramObjectReset s_Reset([] { g_MachiningDataDlg = CMachiningDataDlg(); });
}  // namespace

CMachiningDataDlg::CMachiningDataDlg() : CDialog(IDD_MACHINING_DATA) {}

bool CMachiningDataDlg::OnInitDialog()
{
    std::size_t start = 0;
    while (start < m_LayerList.size()) {
        std::size_t end = m_LayerList.find(';', start);
        if (end == std::string::npos)
            end = m_LayerList.size();
        if (end > start)
            AddString(IDC_MD_LAYER, m_LayerList.substr(start, end - start));
        start = end + 1;
    }
    return CDialog::OnInitDialog();
}

void CMachiningDataDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_MD_LAYER, m_Layer);
    DDX_Text(pDX, IDC_MD_DEPTH, m_Depth);
    DDX_Text(pDX, IDC_MD_TOOL_DIAMETER, m_ToolDiameter);
    DDX_Text(pDX, IDC_MD_SPEED, m_Speed);
    DDX_Check(pDX, IDC_MD_TOOL_CHANGE, m_ToolChange);
    DDX_Text(pDX, IDC_MD_REFERENCE, m_Reference);
    DDX_Check(pDX, IDC_MD_SPINDLE_ON, m_SpindleOn);
}
