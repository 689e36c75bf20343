// The calculation settings: what the plain scan-line calculation of the
// calculation command uses (isolation offset, data density, plunge offset,
// whether earlier results stay and whether paths are walked) and which
// processing method runs. The members keep their values for the whole run;
// they are not stored.
#pragma once

#include "ui/dialog.h"

// The values the dialog and the macros accept: a pitch below one mil would
// lay no raster, a negative offset would shrink the copper.
constexpr float CALC_MIN_OFFSET = 0.0f;
constexpr float CALC_MAX_OFFSET = 1000.0f;
constexpr int CALC_MIN_PITCH = 1;
constexpr int CALC_MAX_PITCH = 1000;

class CCalcSettingsDlg : public CDialog {
public:
    float m_IsoOffset = 4.0f;   // mil, the whole widening of a track
    int m_DataDensity = 6;      // mil, the pitch of the scan lines
    int m_PlungeOffset = 20;    // Z pulses
    int m_KeepData = 1;         // 0: the earlier results are freed first
    int m_GenerateLines = 1;    // 0: the raster is cut without walking paths

    CCalcSettingsDlg();

    bool OnInitDialog() override;
    // The method chosen (0, the plain calculation, when the list is empty)
    // and the switches are taken only once the edits hold numbers, so a
    // refused entry followed by Cancel leaves every setting as it was.
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

extern CCalcSettingsDlg g_CalcSettingsDlg;
