// The drill number format: program-wide settings held by the drill format
// dialog object, each kept under the registry value of its own name. Every
// drill reading decodes its numbers with them; the format detection and the
// project file change them in memory, only the dialog's OK stores them.
#pragma once

#include "ui/dialog.h"

#include <vector>

class CDrillFormatDlg : public CDialog {
public:
    int dUnitInt = 2;     // integer digits of numbers without a decimal point
    int dUnitDec = 4;     // decimal digits
    int dInchMM = 0;      // coordinate unit: 0 inch, 1 metric
    int dInchMMSize = 0;  // tool size unit: 0 inch, 1 metric
    int dAbsRel = 0;      // 0 absolute, 1 relative (kept only; G90/G91 rule the readers)
    int dZeroSup = 1;     // zero suppression: 0 leading, 1 trailing, 2 none
    int dAutoFormat = 0;  // detect the format before a job's drill file is read

    // The defaults, then the registry values that exist.
    CDrillFormatDlg();
    CDrillFormatDlg(const CDrillFormatDlg& other);
    CDrillFormatDlg& operator=(const CDrillFormatDlg& other) = default;

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnInitDialog() override;
    void OnOK() override;
    // Gives back every value the buttons changed since the dialog opened.
    void OnCancel() override;

    void OnInchCoordinates();
    void OnMetricCoordinates();
    void OnRelative();
    void OnAbsolute();
    void OnTrailing();
    void OnNone();
    void OnLeading();
    void OnAutoFormat();

    // Writes the seven values under the program key (nothing when it does not open).
    void StoreFormat() const;

private:
    std::vector<int> m_Opened;  // the values when the dialog opened
    void RegisterHandlers();
    // Checks `chosen` and clears the other buttons of its group.
    void CheckGroup(std::initializer_list<unsigned> group, unsigned chosen);
};

extern CDrillFormatDlg g_DrillFormatDlg;

// The texts the program writes itself (registration holes, measured holes)
// are metric whatever the drill format says: while one is read the drill
// format's units say millimetres, and they are given back at the end. The
// coordinates-only form leaves the tool size unit alone.
class CMetricDrillUnits {
public:
    enum class EScope { Coordinates, CoordinatesAndSizes };

    // `metric` false leaves the units as they are for the reading.
    explicit CMetricDrillUnits(EScope scope, bool metric = true)
        : m_Scope(scope), m_Coord(g_DrillFormatDlg.dInchMM), m_Size(g_DrillFormatDlg.dInchMMSize)
    {
        if (!metric)
            return;
        g_DrillFormatDlg.dInchMM = 1;
        if (m_Scope == EScope::CoordinatesAndSizes)
            g_DrillFormatDlg.dInchMMSize = 1;
    }
    ~CMetricDrillUnits()
    {
        g_DrillFormatDlg.dInchMM = m_Coord;
        if (m_Scope == EScope::CoordinatesAndSizes)
            g_DrillFormatDlg.dInchMMSize = m_Size;
    }
    CMetricDrillUnits(const CMetricDrillUnits&) = delete;
    CMetricDrillUnits& operator=(const CMetricDrillUnits&) = delete;

private:
    EScope m_Scope;
    int m_Coord, m_Size;
};
