// The engraving-depth window of an area-engraving tool: one depth in Z
// pulses.
#pragma once

#include "ui/dialog.h"

class CEngraveDepthDlg : public CDialog {
public:
    int m_Depth = 0;  // Z pulses

    CEngraveDepthDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};

// The depth the engraving tool offers first: 0.09 mm in Z pulses.
int DefaultEngraveDepthPulses();
