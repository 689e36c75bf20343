// The position window: the machine's X, Y and Z with their unit and the STOP
// button, the operator's one sure way to halt a job. One global window,
// created the first time a job or command needs it, then only shown and
// hidden.
#pragma once

#include "ui/dialog.h"

#include <string>

class CPositionDlg : public CDialog {
public:
    CPositionDlg();

    int m_Moved = 0;        // the window moved; the view's next paint skips the board
    int m_Created = 0;
    int m_StopPressed = 0;  // STOP latch: set by STOP and Enter, cleared by show and hide
    std::string m_X, m_Y, m_Z;
    std::string m_Unit;     // at most 10 characters

    // Creates the window the first time; 0 (and nothing done) when it exists.
    virtual int CreateOnce();
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter: stops like STOP but keeps the window shown, its button pushed.
    void OnOK() override;
    // Esc hides the window, except while a job runs: STOP must stay in reach.
    void OnCancel() override;
    void ShowWindow(bool show) override;
    // The STOP button.
    void OnStop();
    // The window was moved by the operator.
    void OnMoved() { m_Moved = 1; }

private:
    // What STOP and Enter share: the stop command, the abort flag, the
    // spindle off; the button also sends the stop twice and disables the
    // drives.
    void StopMachine(bool fromButton);
};

extern CPositionDlg g_PositionDlg;
