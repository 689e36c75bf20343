// The grid counts of the automatic layout. The caller sets both counts to
// the largest grid that fits; the lists offer 1 up to them, and after OK the
// counts hold the operator's choice.
#pragma once

#include "ui/dialog.h"

class CAutoLayoutDlg : public CDialog {
public:
    CAutoLayoutDlg();

    int m_CountX = 1;
    int m_CountY = 1;

    bool OnInitDialog() override;
    void OnOK() override;
};
