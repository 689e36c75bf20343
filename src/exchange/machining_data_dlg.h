// How one layer of drawing data is engraved: the layer, the depth, the
// cutter, the speed, whether the tool is changed and measured first, the
// tool-height reference and whether the spindle stays on between runs. One
// program-wide object keeps the last values for the whole run.
#pragma once

#include "ui/dialog.h"

#include <string>

class CMachiningDataDlg : public CDialog {
public:
    CMachiningDataDlg();

    std::string m_strLayerList;     // the layers offered, each followed by ";" (consumed)
    std::string m_strLayer;         // the layer chosen
    int m_nLayerIndex = 0;          // its place in the sorted list; the first selection
    float m_fDepth = 0.0f;          // mm
    float m_fToolDiameter = 0.0f;   // mm
    float m_fSpeed = 0.0f;          // mm/s
    int m_bToolChangeProbe = 0;     // change the tool and measure its height first
    float m_fHeightRef = 0.0f;      // mm, the tool-height reference
    int m_bSpindleOn = 0;           // the spindle stays on between runs

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

extern CMachiningDataDlg g_MachiningDataDlg;
