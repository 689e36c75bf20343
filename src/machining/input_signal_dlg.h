// The modeless readout of the machine's home switches and surface probe. It
// is created on the first request and refreshed by its button and by the
// position display while no job runs.
#pragma once

#include "ui/dialog.h"

#include <string>

class CInputSignalDlg : public CDialog {
public:
    int m_Created = 0;
    std::string m_XHome;
    std::string m_YHome;
    std::string m_ZHome;
    std::string m_Probe;

    CInputSignalDlg();
    void DoDataExchange(CDataExchange* pDX) override;
    // Creates the window once; 0 when it has been created already.
    virtual int Create();
    // Reads the inputs again and shows them (nothing while no port is open).
    void Refresh();
    // Closing the window hides it: it is made once and shown again by the
    // next request.
    void OnCancel() override;
};

extern CInputSignalDlg g_InputSignalDlg;
