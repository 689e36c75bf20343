// How one layer of drawing data is engraved: the layer, the depth, the
// cutter, the speed, whether the tool is changed and measured first, the
// tool-height reference and whether the spindle stays on between runs.
#pragma once

#include "ui/dialog.h"

#include <string>

class CMachiningDataDlg : public CDialog {
public:
    CMachiningDataDlg();

    std::string m_LayerList;     // the layers offered, each followed by ";"
    std::string m_Layer;         // the layer chosen
    float m_Depth = 0.1f;        // mm
    float m_ToolDiameter = 0.2f; // mm
    float m_Speed = 8.0f;        // mm/s
    int m_ToolChange = 0;        // change the tool and measure its height first
    float m_Reference = 0.0f;    // mm, the tool-height reference
    int m_SpindleOn = 0;         // the spindle stays on between runs

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

extern CMachiningDataDlg g_MachiningDataDlg;
