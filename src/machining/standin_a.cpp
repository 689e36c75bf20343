// Stand-in until the real one is merged.
#include "machining/standin_a.h"

#include "platform/host.h"

namespace {
constexpr unsigned kNumberInputTemplate = 208;
constexpr unsigned kNumberInputValue = 1046;
constexpr unsigned kNumberInputPrompt = 1189;
constexpr unsigned kInputSignalTemplate = 0xA0A1;
constexpr unsigned kFixedPlungeTemplate = 255;
}  // namespace

CNumberInputDlg::CNumberInputDlg() : CDialog(kNumberInputTemplate) {}

void CNumberInputDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, kNumberInputValue, m_Value);
    DDX_Text(pDX, kNumberInputPrompt, m_Prompt);
}

int RunProbeTestDialog() { return IDOK; }

CInputSignalDlg g_InputSignalDlg;

CInputSignalDlg::CInputSignalDlg() : CDialog(kInputSignalTemplate) {}
int CInputSignalDlg::Create() { return 0; }
void CInputSignalDlg::Refresh() {}

CFixedPlungeDlg::CFixedPlungeDlg() : CDialog(kFixedPlungeTemplate) {}

int RunProbingStep() { return 1; }

float g_AbsEngraveDown = 0.0f;
float g_AbsEngraveUp = 0.0f;
