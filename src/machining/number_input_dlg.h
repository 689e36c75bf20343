// A prompt and one typed value: the dialog many machine and editing commands
// ask a number with. The caller sets the prompt and reads the value as text
// after OK.
#pragma once

#include "ui/dialog.h"

#include <string>

class CNumberInputDlg : public CDialog {
public:
    std::string m_Value;
    std::string m_Prompt;

    CNumberInputDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};
