// The board position test: before a job the operator drives the machine to
// the corners of the area the board copies occupy, to see that the board
// lies right; OK and Cancel (Esc) home the machine.
#pragma once

#include "ui/dialog.h"

class CBoardPositionTestDlg : public CDialog {
public:
    CBoardPositionTestDlg();

    // Drives to a corner of the layout extent (IDC_BPT_LEFT_TOP to
    // IDC_BPT_RIGHT_BOTTOM) or to its centre (IDC_BPT_CENTRE). A target
    // beyond the table's travel is refused.
    void MoveToCorner(unsigned id);
    // Homes the machine and closes.
    void OnOK() override;
    // Homes the machine; the dialog stays open.
    void OnCancel() override;

private:
    // A move or homing is under way: the buttons wait for it.
    bool m_Busy = false;
    void Home();
};
