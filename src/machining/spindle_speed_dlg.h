// The spindle speed dialog: a list of speeds in steps of 10000 RPM; picking
// one sets the speed at once, OK sets the one shown.
#pragma once

#include "ui/dialog.h"

class CSpindleSpeedDlg : public CDialog {
public:
    CSpindleSpeedDlg();
    bool OnInitDialog() override;
    void OnOK() override;
    void OnSelChange();
};

// Sends the spindle speed (rpm) through the machine parameters.
void ApplySpindleSpeed(float rpm);
