// The range dialog and the range resume.
#include "machining/work_range.h"

#include "machining/path_jobs.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "records/board_records.h"
#include "settings/registry.h"

#include <cstdint>
#include <vector>

const CRangeValues kMillRange{"MILL_Now", "MILL_TO", "MILL_FROM"};
const CRangeValues kOutlineRange{"OUTLINE_NOW", "OUTLINE_To", "OUTLINE_From"};

CWorkRangeDlg::CWorkRangeDlg() : CDialog(IDD_WORK_RANGE) {}

bool CWorkRangeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_Caption);
    return true;
}

void CWorkRangeDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_WR_FROM, m_From);
    DDX_Text(pDX, IDC_WR_TO, m_To);
    DDX_Text(pDX, IDC_WR_TOTAL, m_Total);
}

bool ResumeRange(CWorkRangeDlg& dlg, const CRangeValues& values, int total, const RangeMark& mark)
{
    dlg.m_Total = total;
    std::int32_t from = dlg.m_From, to = dlg.m_To;
    RegGetLong(values.now, from);
    RegGetLong(values.to, to);
    dlg.m_From = from;
    dlg.m_To = to == 0 ? total : to;
    if (dlg.DoModal() != IDOK)
        return false;
    RegSetLongValue(values.to, dlg.m_To);
    RegSetLongValue(values.from, dlg.m_From);
    for (int number = 1; number <= total; ++number)
        mark(number, number < dlg.m_From || number > dlg.m_To);
    return true;
}

bool ResumeOutlineRange(CWorkRangeDlg& dlg, const COwnedList<CPathRecord>& layers,
                        const std::function<bool(const std::string&)>& visible)
{
    std::vector<CPathSegment*> records;
    for (const CPathRecord* layer : OutlineRouteLayers(layers, visible))
        for (const auto& segment : layer->items)
            records.push_back(segment.get());
    return ResumeRange(dlg, kOutlineRange, static_cast<int>(records.size()), [&](int number, bool skip) {
        records[static_cast<std::size_t>(number - 1)]->skip = skip ? 1 : 0;
    });
}
