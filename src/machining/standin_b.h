// Stand-in until the real one is merged.
// The jog window, the command console's window and the position window,
// as far as the homing and manual-move commands use them.
#pragma once

#include <string>

class CJogDlg {
public:
    int DoModal();
};

class CCommandDlg {
public:
    std::string m_Command;
    int m_AxisX = 0;
    int m_AxisY = 0;
    int m_AxisZ = 0;
    int DoModal();
};

class CPositionDlg {
public:
    int CreateOnce();
    void ShowWindow(bool show);
};

extern CPositionDlg g_PositionDlg;
