// The machining conditions the program-upload commands ask for: feed speed,
// heights, a memo and whether the controller runs the program once it is
// uploaded. The calling command fills the members and reads them after OK.
#pragma once

#include "ui/dialog.h"

#include <string>

class CMachiningCondDlg : public CDialog {
public:
    CMachiningCondDlg();

    float m_FeedSpeed = 0.0f;        // mm/sec
    float m_ReferenceHeight = 0.0f;  // mm
    float m_LiftHeight = 0.0f;       // mm
    float m_PlungeHeight = 0.0f;     // mm
    std::string m_Memo;
    int m_RunAfterUpload = 0;

    void DoDataExchange(CDataExchange* pDX) override;
};
