// The jog step dialog and its command.
#include "machining/jog_step_dlg.h"

#include "platform/host.h"
#include "platform/program_objects.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"

CJogStepDlg g_JogStepDlg;

namespace {

const CProgramObjectReset s_Reset([] {
    g_JogStepDlg.m_Speed = 10.0f;
    g_JogStepDlg.m_Distance = 4000;
});

}  // namespace

CJogStepDlg::CJogStepDlg() : CDialog(IDD_JOG_STEP) {}

void CJogStepDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_JS_SPEED, m_Speed);
    DDX_Text(pDX, IDC_JS_DISTANCE, m_Distance);
}

void EditJogStep()
{
    g_JogStepDlg.m_Distance = g_JogStep;
    g_JogStepDlg.m_Speed = g_RapidSpeed;
    if (g_JogStepDlg.DoModal() != IDOK)
        return;
    g_JogStep = g_JogStepDlg.m_Distance;
    g_RapidSpeed = g_JogStepDlg.m_Speed;
}
