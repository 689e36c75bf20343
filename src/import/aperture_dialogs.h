// The aperture dialogs: the question for a D code the aperture table lacks
// (asked while a Gerber file is read) and the view of one parsed record.
#pragma once

#include "ui/dialog.h"

#include <string>

class CApertureDefDlg : public CDialog {
public:
    static constexpr unsigned IDD = 194;           // "定義鏡頭"
    static constexpr unsigned IDC_TYPE = 1086;     // combo "鏡頭型態"
    static constexpr unsigned IDC_LENGTH = 1140;   // edit "長度", mil
    static constexpr unsigned IDC_WIDTH = 1141;    // edit "寬度", mil
    static constexpr unsigned IDC_NAME = 1143;     // edit "鏡頭名稱"

    CApertureDefDlg() : CDialog(IDD) {}

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
    static constexpr unsigned IDD = 190;           // "GERBER 原始資料"
    static constexpr unsigned IDC_GROUP = 1047;
    static constexpr unsigned IDC_RECORD = 1134;
    static constexpr unsigned IDC_TYPE = 1052;
    static constexpr unsigned IDC_WIDTH = 1053;
    static constexpr unsigned IDC_X1 = 1048;
    static constexpr unsigned IDC_Y1 = 1049;
    static constexpr unsigned IDC_X2 = 1050;
    static constexpr unsigned IDC_Y2 = 1051;

    CGerberRecordDlg() : CDialog(IDD) {}

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
