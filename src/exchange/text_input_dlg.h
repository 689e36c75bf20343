// One line of text to engrave, asked by the view's text tool.
#pragma once

#include "ui/dialog.h"

#include <string>

class CTextInputDlg : public CDialog {
public:
    CTextInputDlg();

    std::string m_strText;

    void DoDataExchange(CDataExchange* pDX) override;
};
