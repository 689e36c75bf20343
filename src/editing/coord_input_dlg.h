// One point asked of the operator in the display unit (mm, mil or pulse)
// and handed over in mil: the callers set and read m_CoordX and m_CoordY in
// mil, and read them only after OK (after Cancel they hold the display
// unit's values).
#pragma once

#include "ui/dialog.h"

#include <string>

class CCoordInputDlg : public CDialog {
public:
    CCoordInputDlg();

    float m_CoordX = 0.0f;
    float m_CoordY = 0.0f;
    std::string m_UnitText;

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
};
