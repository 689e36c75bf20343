// The low-level console's dialog: one raw controller command line and the
// axes it addresses (ConsoleAxisDigit turns the checks into the digit).
#pragma once

#include "ui/dialog.h"

#include <string>

class CCommandDlg : public CDialog {
public:
    std::string m_Command;
    int m_AxisX = 0;
    int m_AxisY = 0;
    int m_AxisZ = 0;

    CCommandDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};
