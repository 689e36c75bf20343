// Stand-in until the real one is merged.
// The tool-change prompt with the plunge-speed choice: a message shown to
// the operator; OK stores the chosen plunge speed.
#pragma once

#include "ui/dialog.h"

#include <string>

class CPlungeSpeedDlg : public CDialog {
public:
    std::string m_Message;

    CPlungeSpeedDlg();
};
