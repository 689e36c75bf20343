// The text to engrave, asked in one line.
#pragma once

#include "ui/dialog.h"

#include <string>

class CTextInputDlg : public CDialog {
public:
    std::string m_Text;

    CTextInputDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};
