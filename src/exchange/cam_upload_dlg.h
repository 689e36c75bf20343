// The settings for uploading one DXF-CAM layer as a program into the
// controller's memory: the layer, feed speed, lift and plunge heights, the
// cutter, the program's start address, a memo and whether the program runs
// when the upload ends. The values persist in the registry between runs
// ("TQ615Dxf..."), loaded before the dialog and stored after OK.
#pragma once

#include "ui/dialog.h"

#include <string>

class CCamUploadDlg : public CDialog {
public:
    CCamUploadDlg();

    std::string m_strLayerList;     // the layers offered, each followed by ";" (consumed)
    std::string m_strLayer;         // the layer chosen
    // Its place in the sorted list and the first selection; the first
    // layer until the registry remembers another.
    int m_nLayerIndex = 0;
    float m_fToolDiameter = 0.0f;   // mm
    int m_nStartAddress = 0;        // where the program starts in controller memory
    float m_fLiftHeight = 0.0f;     // mm
    float m_fPlungeHeight = 0.0f;   // mm
    std::string m_strMemo;
    int m_bAutoRun = 0;             // run the program when the upload ends
    std::string m_strFeedSpeed;     // mm/s, as typed

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The eight values from and to the registry; a value the registry
    // lacks leaves its member as it is.
    void LoadRegistryValues();
    void StoreRegistryValues() const;
};
