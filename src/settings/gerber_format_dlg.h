// The Gerber number format and the Gerber import options: program-wide
// settings held by the Gerber format dialog object, each kept under the
// registry value of its own name. Files that declare their format, and the
// format detection, change them in memory; only the dialog's OK stores them.
#pragma once

#include "ui/dialog.h"

#include <vector>

class CGerberFormatDlg : public CDialog {
public:
    static constexpr unsigned IDD = 224;                  // "底片檔格式"
    static constexpr unsigned IDC_ABSOLUTE = 1076;        // "絕對座標"
    static constexpr unsigned IDC_INCREMENTAL = 1077;     // "相對座標"
    static constexpr unsigned IDC_ZERO_LEADING = 1078;
    static constexpr unsigned IDC_ZERO_TRAILING = 1079;
    static constexpr unsigned IDC_ZERO_NONE = 1080;
    static constexpr unsigned IDC_AUTO_FORMAT = 1177;     // "自動設定格式"
    static constexpr unsigned IDC_LARGE_AREA = 1178;      // "大片銅箔"
    static constexpr unsigned IDC_AREA_FILL = 1179;       // "銅箔填滿"
    static constexpr unsigned IDC_OVERLAP_DELETE = 1180;  // "重疊銅箔刪除"
    static constexpr unsigned IDC_UNIT_DEC = 1185;        // list "小數"
    static constexpr unsigned IDC_INCH = 1234;            // data "英制"
    static constexpr unsigned IDC_METRIC = 1235;          // data "公制"
    static constexpr unsigned IDC_UNIT_INT = 1236;        // list "整數"
    static constexpr unsigned IDC_APERTURE_INCH = 1237;
    static constexpr unsigned IDC_APERTURE_METRIC = 1238;
    static constexpr unsigned IDC_GROUP_FLAG = 1254;      // "群組搜尋"

    // Defaults, then the stored values.
    CGerberFormatDlg();
    // A copy registers its own handlers (they refer to its members).
    CGerberFormatDlg(const CGerberFormatDlg& other);
    CGerberFormatDlg& operator=(const CGerberFormatDlg& other) = default;

    int UnitInt = 2;        // integer digits of a coordinate
    int UnitDec = 3;        // decimal digits
    int InchMM = 0;         // unit of the Gerber data: 0 inch, 1 mm
    int InchMM2 = 0;        // unit of the aperture file: 0 inch, 1 mm
    int AbsRel = 0;         // 0 absolute, 1 incremental (shown only)
    int ZeroSup = 0;        // zero suppression: 0 leading, 1 trailing, 2 none
    int AutoFormat = 1;     // detect the format before reading
    int LargeArea = 0;      // large copper areas
    int GroupFlag = 0;      // group search
    int AreaFill = 1;       // read with the area-fill reader
    int OverlapDelete = 1;  // delete overlapping copper (area-fill reader)

    bool OnInitDialog() override;
    void OnOK() override;
    // Gives back every value the buttons changed since the dialog opened.
    void OnCancel() override;

    void OnInch() { SetRadio(InchMM, 0, {IDC_INCH, IDC_METRIC}); }
    void OnMetric() { SetRadio(InchMM, 1, {IDC_INCH, IDC_METRIC}); }
    void OnAbsolute() { SetRadio(AbsRel, 0, {IDC_ABSOLUTE, IDC_INCREMENTAL}); }
    void OnIncremental() { SetRadio(AbsRel, 1, {IDC_ABSOLUTE, IDC_INCREMENTAL}); }
    void OnZeroSuppressLeading() { SetRadio(ZeroSup, 0, ZeroGroup()); }
    void OnZeroSuppressTrailing() { SetRadio(ZeroSup, 1, ZeroGroup()); }
    void OnZeroSuppressNone() { SetRadio(ZeroSup, 2, ZeroGroup()); }
    void OnApertureInch() { SetRadio(InchMM2, 0, {IDC_APERTURE_INCH, IDC_APERTURE_METRIC}); }
    void OnApertureMetric() { SetRadio(InchMM2, 1, {IDC_APERTURE_INCH, IDC_APERTURE_METRIC}); }
    void OnAutoFormat() { Toggle(AutoFormat, IDC_AUTO_FORMAT); }
    void OnLargeArea() { Toggle(LargeArea, IDC_LARGE_AREA); }
    void OnGroupFlag() { Toggle(GroupFlag, IDC_GROUP_FLAG); }
    void OnAreaFill() { Toggle(AreaFill, IDC_AREA_FILL); }
    void OnOverlapDelete() { Toggle(OverlapDelete, IDC_OVERLAP_DELETE); }

private:
    static std::vector<unsigned> ZeroGroup()
    {
        return {IDC_ZERO_LEADING, IDC_ZERO_TRAILING, IDC_ZERO_NONE};
    }
    // Sets the member and checks that button alone in its group.
    void SetRadio(int& member, int value, const std::vector<unsigned>& group);
    void Toggle(int& member, unsigned id);
    void RegisterHandlers();

    std::vector<int> m_Opened;  // the values when the dialog opened
};

extern CGerberFormatDlg g_GerberFormatDlg;
