// The jog window: moves each axis by a typed distance at a typed speed, by
// button or key, homes the machine and switches the spindle. A move is sent
// only when every field is in range, and it is held inside the table's
// travel as the controller reports the position at the moment of the press.
#pragma once

#include "ui/dialog.h"

class CJogDlg : public CDialog {
public:
    float m_Speed = 0.0f;  // mm/s
    float m_MoveX = 0.0f;  // mm
    float m_MoveY = 0.0f;  // mm
    float m_MoveZ = 0.0f;  // mm
    // The spindle button's state; it lasts from one opening to the next.
    static int s_SpindleOn;

    CJogDlg();
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Page Up Z-, Page Down Z+, Up Y-, Down Y+, Right X+, Left X-.
    void OnKeyDown(unsigned key) override;

private:
    enum Axis { AxisX, AxisY, AxisZ };
    void OnAxis(Axis axis, int sign);
    void OnHome();
    void OnSpindle();
    // A set abort flag (a lost link, STOP) closes the window instead.
    bool ClosedByAbort();
    // Set while a move or homing runs. Presses that arrive during its wait
    // are dropped: their travel limit would be judged on a position the
    // running move is still leaving.
    bool m_Moving = false;
};
