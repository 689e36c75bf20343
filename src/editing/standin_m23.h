// Stand-in until the real one is merged.
// The coordinate-input dialog: one point asked in the display unit and
// handed over in mil.
#pragma once

#include "ui/dialog.h"

#include <string>

class CCoordInputDlg : public CDialog {
public:
    float m_CoordX = 0.0f;
    float m_CoordY = 0.0f;
    std::string m_UnitText;

    CCoordInputDlg();
};
