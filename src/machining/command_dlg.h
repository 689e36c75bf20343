// The low-level console's dialog: one raw controller command line and the
// axes it addresses.
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
    // The controller's digit for the checked axes: X 0, Y 1, Z 2, X+Y 3,
    // X+Z 4, Y+Z 5, all three 6; -1 when none is checked.
    int AxisDigit() const;
};
