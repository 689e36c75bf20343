// Stand-in until the real one is merged.
// The machine dialogs this floor calls before their own code lands: the
// number prompt, the probe-device test run, the input-signal window and the
// fixed-plunge dialog.
#pragma once

#include "ui/dialog.h"

#include <string>

class CNumberInputDlg : public CDialog {
public:
    CNumberInputDlg();
    std::string m_Value;
    std::string m_Prompt;
    void DoDataExchange(CDataExchange* pDX) override;
};

// Runs the probe-device test dialog modally; IDOK once the probe signalled.
int RunProbeTestDialog();

class CInputSignalDlg : public CDialog {
public:
    CInputSignalDlg();
    int Create();
    void Refresh();
};
extern CInputSignalDlg g_InputSignalDlg;

class CFixedPlungeDlg : public CDialog {
public:
    CFixedPlungeDlg();
    int m_Enable = 0;
    float m_DrillDown = 0.0f, m_DrillUp = 0.0f, m_RouteDown = 0.0f, m_RouteUp = 0.0f,
          m_EngraveDown = 0.0f, m_EngraveUp = 0.0f;
};

// One step of the surface probing of g_PlaneDetectDlg; non-zero when the
// probing has finished or was aborted.
int RunProbingStep();

// The fixed engraving heights (mm) of the fixed plunge mode.
extern float g_AbsEngraveDown;
extern float g_AbsEngraveUp;
