// The drill format of a fresh settings file: inch, 2.4 digits, trailing
// zeros left out, with or without the automatic format.
#pragma once

#include "settings/drill_format_dlg.h"

inline void SetFreshDrillFormat(int autoFormat)
{
    CDrillFormatDlg& f = g_DrillFormatDlg;
    f.dUnitInt = 2;
    f.dUnitDec = 4;
    f.dInchMM = f.dInchMMSize = 0;
    f.dZeroSup = 1;
    f.dAutoFormat = autoFormat;
}
