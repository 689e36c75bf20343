// The plunge-mode window: fixed plunge mode, in which drilling, routing and
// engraving go to fixed Z heights instead of measured ones, with its six
// heights. The registry keeps them: what was stored last is shown each time
// the window opens, whatever the settings file set at start-up.
#pragma once

#include "ui/dialog.h"

class CFixedPlungeDlg : public CDialog {
public:
    int m_FixedPlunge = 0;
    float m_DrillDown = 0.0f;  // mm
    float m_RouteDown = 0.0f;
    float m_DrillUp = 0.0f;
    float m_RouteUp = 0.0f;
    float m_EngraveDown = 0.0f;
    float m_EngraveUp = 0.0f;

    CFixedPlungeDlg();
    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The plunge-mode command: the window filled from the fixed-plunge settings;
// after OK the settings take what it holds (the mode off also ends a drill
// job's skipped probe test). Cancel changes nothing.
void RunFixedPlungeSetup();
