// The tool-change prompt: the prompt text, the plunge speed to drill or cut
// with (the current one first), and "tool simulation", which mills the
// current hole size with the router instead of drilling it.
#pragma once

#include "ui/dialog.h"

#include <string>

class CPlungeSpeedDlg : public CDialog {
public:
    CPlungeSpeedDlg();

    std::string m_Prompt;
    int m_Simulate = 0;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Refuses to close with nothing picked; otherwise takes the speed.
    void OnOK() override;
};
