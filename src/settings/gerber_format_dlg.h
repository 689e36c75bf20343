// The Gerber number format and the Gerber import options: program-wide
// settings held by the Gerber format dialog object, each kept under the
// registry value of its own name. Files that declare their format, and the
// format detection, change them in memory; only the dialog's OK stores them.
#pragma once

#include "ui/dialog.h"

#include <vector>

class CGerberFormatDlg : public CDialog {
public:
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

    void OnInch();
    void OnMetric();
    void OnAbsolute();
    void OnIncremental();
    void OnZeroSuppressLeading();
    void OnZeroSuppressTrailing();
    void OnZeroSuppressNone();
    void OnApertureInch();
    void OnApertureMetric();
    void OnAutoFormat();
    void OnLargeArea();
    void OnGroupFlag();
    void OnAreaFill();
    void OnOverlapDelete();

private:
    static std::vector<unsigned> ZeroGroup();
    // Sets the member and checks that button alone in its group.
    void SetRadio(int& member, int value, const std::vector<unsigned>& group);
    void Toggle(int& member, unsigned id);
    void RegisterHandlers();

    std::vector<int> m_Opened;  // the values when the dialog opened
};

extern CGerberFormatDlg g_GerberFormatDlg;
