// The path-calculation dialog: widths and depths (mm) of the three engraving
// tools, T1 chosen from a list of cutter tips, the layers to make and the
// clearing overlap. The path-calculation command fills it from the model's
// tool settings, runs it and takes the values back.
#pragma once

#include "ui/dialog.h"

#include <string>

class CBoardModel;

class CPathCalcDlg : public CDialog {
public:
    // The T1 list: tip width in mm and cutter angle; the width is the number
    // an entry begins with.
    static constexpr int T1_TOOLS = 4;
    static constexpr const char* T1_TOOL_TEXTS[T1_TOOLS] = {"0.2/90'", "0.15/90'", "0.15/60'",
                                                           "0.1/60'"};

    float m_T1Size = 0.0f, m_T2Size = 0.0f;    // mm
    float m_T1Depth = 0.0f, m_T2Depth = 0.0f;  // mm
    float m_T3Size = 0.0f, m_T3Depth = 0.0f;   // mm
    float m_Overlap = 0.0f;
    int T1Select = 0;                          // registry value "T1Select"
    float m_T1DepthField = 0.0f, m_T2DepthField = 0.0f;
    std::string m_unit = "mm";                 // registry value "m_unit"
    std::string m_unit2 = "mm", m_unit3 = "mm";
    int m_T1Iso = 1, m_T1Clear = 1, m_T2Iso = 1, m_T2Clear = 1;
    float m_OverlapField = 0.0f;
    int m_T3Clear = 1;
    float m_T3DepthField = 0.0f;
    std::string m_T1Text, m_T2WidthText, m_T3WidthText;

    CPathCalcDlg();

    // The model's tool settings in mm: widths from mil, depths from Z pulses
    // by g_ZPulsesPerMM. An overlap above 1.0 in the model is 0.2 first.
    void FillFromTools(CBoardModel& model);
    // The dialog's widths back in mil and depths in Z pulses; the overlap
    // is left to the caller, which takes m_Overlap only once the widths are
    // in order.
    void WriteBackTools(CBoardModel& model) const;

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;

    void OnChangeT2Width();
    void OnChangeT3Width();
    void OnChangeT1Depth();
    void OnChangeT2Depth();
    void OnChangeT3Depth();
    void OnChangeOverlap();
    void OnSelChangeT1Tool();
    void OnEditChangeT1Tool();
    void OnDefaults();
    void OnPreview();

private:
    // What the operator set in the controls, read without refusing
    // anything: a number field that does not hold a number keeps its member
    // (OK refuses it, with a message, should it stay so).
    void TakeFields();
};
