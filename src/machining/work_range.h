// Partial machining by numbered range: the range dialog, and the resume of
// an interrupted clearing or outline run from the record it reached. The
// records outside the range are marked to be left out by the runners.
#pragma once

#include "platform/object_lists.h"
#include "ui/dialog.h"

#include <functional>
#include <string>

struct CPathRecord;

class CWorkRangeDlg : public CDialog {
public:
    std::string m_Caption;
    int m_From = 0;
    int m_To = 0;
    int m_Total = 0;

    CWorkRangeDlg();
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The registry values of one kind of range: the record the runner reached,
// and the range last chosen.
struct CRangeValues {
    const char* now;
    const char* to;
    const char* from;
};
extern const CRangeValues kMillRange;
extern const CRangeValues kOutlineRange;

// Marks record `number` (1-based, in machining order) left out or not.
using RangeMark = std::function<void(int number, bool skip)>;

// Proposes the range from the record reached (a missing value keeps the
// dialog's number) to the last one chosen, or to the total when that is 0;
// runs the dialog; on OK stores the range and marks each of the `total`
// records, those outside [from, to] to be left out. False on Cancel, with
// nothing changed.
bool ResumeRange(CWorkRangeDlg& dlg, const CRangeValues& values, int total, const RangeMark& mark);

// The outline's range resume: its records are the segments of the route
// layers it cuts (shown, side 5), layer after layer, as the outline job
// numbers them; those outside the range are marked for the job to pass
// over. False on Cancel.
bool ResumeOutlineRange(CWorkRangeDlg& dlg, const COwnedList<CPathRecord>& layers,
                        const std::function<bool(const std::string&)>& visible);
