// The machining report window, in which the time estimate writes for each
// engraving and milling tool the length travelled and the time it takes,
// then the total; the three sums by tool-path name it is worked out from;
// and the estimate itself (time_estimate.cpp).
#pragma once

#include "geometry/board_orientation.h"
#include "platform/object_lists.h"
#include "records/board_records.h"
#include "ui/dialog.h"
#include "ui/line_store.h"

#include <array>
#include <functional>
#include <string>

// Sums by name: "Reset" empties the table and gives 0; any other name adds
// the value to its entry (made on first use) and gives the new sum, so a
// value of 0 reads the sum. Names are compared exactly. The table holds
// 255 names; a value for a further name is given back but not kept.
float AddRapidLength(const std::string& name, float value);
float AddCutLength(const std::string& name, float value);
int AddPlungeCount(const std::string& name, int value);

// What the estimate walks: the path layers, the placed copies of the board
// (in list order), the segments an interrupted job already machined, and
// which layers the working layers show.
struct CEstimateInput {
    const COwnedList<CPathRecord>* pathLayers = nullptr;
    const COwnedList<CLayoutBlock>* blocks = nullptr;
    int resumeCount = 0;
    std::function<bool(const std::string&)> layerVisible;
};

class CMachiningReportDlg : public CDialog {
public:
    CMachiningReportDlg();

    int m_Open = 0;
    CLineEdit m_ReportText;

    // The window, once; 0 when it was made already or cannot be.
    virtual int CreateModeless();
    bool OnInitDialog() override;
    // Hides the window; its text stays.
    void OnOK() override;
    void OnCancel() override { OnOK(); }
    // The time estimate of the current side into the report (empty when
    // the board has no placed copy). Changes no setting.
    void Estimate(const CEstimateInput& input);

private:
    void ShowText();
};

extern CMachiningReportDlg g_ReportDlg;

// Writes the length and the estimated time of one tool-path name into the
// report and returns the seconds. A speed of 0 or less costs no time.
int WriteToolTimeSummary(const std::string& name);
