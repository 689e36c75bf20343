// The jog step dialog: the speed of every jog (and of every rapid move) and
// the distance one jog press moves.
#pragma once

#include "ui/dialog.h"

class CJogStepDlg : public CDialog {
public:
    float m_Speed = 10.0f;   // mm/s
    int m_Distance = 4000;   // pulses of 0.005 mm

    CJogStepDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};

extern CJogStepDlg g_JogStepDlg;

// Set move distance: the dialog loaded with the jog step and the rapid
// speed; OK stores both back, Cancel keeps them.
void EditJogStep();
