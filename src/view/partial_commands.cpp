// Partial machining: the picking sub-modes of the partial-selection stage,
// select and unselect all copies, and the clearing and outline range
// resumes that mark the records outside the range to be left out (the work
// is the machining floor's work_range.h).
#include "view/velm_view.h"

#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

namespace {

// The index of each command's own memory of the sub-mode it set last.
enum EPartialCommand { ClearingPick, OutlinePick, UnselectAll, SelectAll, ClearingRange, OutlineRange };

// Sets the sub-mode for `command`; true when it differs from the one that
// command set last.
bool SetPartialSubMode(CVelmView& view, EPartialCommand command, int subMode)
{
    int& last = view.m_PartialSubModes[static_cast<std::size_t>(command)];
    const bool changed = last != subMode;
    last = subMode;
    view.m_SubMode = subMode;
    return changed;
}

// A window pick of clearing areas (sub-mode 3) or of the outline (2).
void StartWindowPick(CVelmView& view, EPartialCommand command, int subMode)
{
    const bool changed = SetPartialSubMode(view, command, subMode);
    view.Invalidate();
    view.m_PickFlags[static_cast<std::size_t>(subMode)] = 1;
    view.m_BlockPicking = 1;
    view.m_EditList.clear();
    if (changed)
        view.OnWindowAll();
}

}  // namespace

void CVelmView::OnPartialClearingPick() { StartWindowPick(*this, ClearingPick, 3); }

void CVelmView::OnPartialOutlinePick() { StartWindowPick(*this, OutlinePick, 2); }

void CVelmView::OnPartialUnselectAll()
{
    const bool changed = SetPartialSubMode(*this, UnselectAll, 0);
    Invalidate();
    for (const auto& block : m_BlockList)
        block->m_Selected = 0;
    m_PickFlags[0] = 0;
    if (changed)
        OnWindowAll();
    m_Doc.m_ShowWorkArea = 0;
}

void CVelmView::OnPartialSelectAll()
{
    SetPartialSubMode(*this, SelectAll, 0);
    OnWindowAll();
    m_Doc.m_ShowWorkArea = 0;
    Invalidate();
    m_BlockPicking = 1;
    m_PickFlags[0] = 1;
    AfxMessageBox(LoadResString(IDS_CLICK_AREA_TO_MACHINE));
    for (const auto& block : m_BlockList) {
        block->m_Selected = 1;
        DrawBlockFrame(block.get(), VIEW_MAGENTA);
    }
}

void CVelmView::OnClearingRangeResume()
{
    std::vector<CClearStroke*> strokes;
    for (const auto& region : m_Doc.m_ClearRegionList)
        for (const auto& stroke : region->strokes)
            strokes.push_back(stroke.get());
    m_MillRangeDlg.m_Caption = LoadResString(IDS_CLEARING_RANGE_CAPTION);
    // A stroke left out carries the mark the milling job leaves on the
    // strokes it has done, so the job passes over it.
    if (!ResumeRange(m_MillRangeDlg, kMillRange, static_cast<int>(strokes.size()),
                     [&](int number, bool skip) {
                         strokes[static_cast<std::size_t>(number - 1)]->doneMark = skip ? 1 : 0;
                     }))
        return;
    const bool changed = SetPartialSubMode(*this, ClearingRange, 3);
    Invalidate();
    m_PickFlags[3] = 0;
    if (changed)
        OnWindowAll();
}

void CVelmView::OnOutlineRangeResume()
{
    m_OutlineRangeDlg.m_Caption = LoadResString(IDS_OUTLINE_RANGE_CAPTION);
    if (!ResumeOutlineRange(m_OutlineRangeDlg, m_Doc.m_PathLayerList, [this](const std::string& name) {
            return IsLayerVisible(name.c_str()) != 0;
        }))
        return;
    const bool changed = SetPartialSubMode(*this, OutlineRange, 2);
    Invalidate();
    m_BlockPicking = 0;
    m_PickFlags[2] = 0;
    if (changed)
        OnWindowAll();
}

void CVelmView::RegisterPartialCommands()
{
    m_Commands.OnCommand(ID_PARTIAL_CLEARING_PICK, [this] { OnPartialClearingPick(); });
    m_Commands.OnCommand(ID_PARTIAL_OUTLINE_PICK, [this] { OnPartialOutlinePick(); });
    m_Commands.OnCommand(ID_PARTIAL_UNSELECT_ALL, [this] { OnPartialUnselectAll(); });
    m_Commands.OnCommand(ID_PARTIAL_SELECT_ALL, [this] { OnPartialSelectAll(); });
    m_Commands.OnCommand(ID_PARTIAL_CLEARING_RESUME, [this] { OnClearingRangeResume(); });
    m_Commands.OnCommand(ID_PARTIAL_OUTLINE_RESUME, [this] { OnOutlineRangeResume(); });
}
