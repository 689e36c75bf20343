// The aperture dialogs: the question for a D code the aperture table lacks
// (asked while a Gerber file is read) and the view of one parsed record.
#pragma once

#include "ui/dialog.h"

#include <string>

class CApertureDefDlg : public CDialog {
public:
    CApertureDefDlg();

    float m_Length = 0.0f;
    float m_Width = 0.0f;
    std::string m_Name;
    // "ROUND" unless OK was pressed with "RECT" chosen.
    std::string m_Shape = "ROUND";

    bool OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

class CGerberRecordDlg : public CDialog {
public:
    CGerberRecordDlg();

    int m_Group = 0;
    int m_Record = 0;
    int m_Type = 0;
    float m_LineWidth = 0.0f;
    float m_X1 = 0.0f;
    float m_X2 = 0.0f;
    float m_Y1 = 0.0f;
    float m_Y2 = 0.0f;

    void DoDataExchange(CDataExchange* pDX) override;
};
