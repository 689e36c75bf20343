// Measuring the board data (drill and pad extents), the scan-line raster the
// isolation planner starts from, switching the working side with the board
// flip, and the update handlers of the work-stage and side commands.
#include "document/velm_doc.h"
#include "geometry/small_utils.h"

#include "import/drill_reader.h"
#include "link/link_state.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <new>

namespace {

constexpr int COMPONENT_SIDE = 0;
constexpr int SOLDER_SIDE = 1;

const char* SideFileName(int side) { return side == COMPONENT_SIDE ? "top.tmp" : "bot.tmp"; }

// One full-length scan line from (x1, y1) to (x2, y2), both ends at the
// board edge.
std::unique_ptr<CSubList> FullScanLine(float x1, float y1, float x2, float y2)
{
    auto interval = std::make_unique<CScanInterval>();
    interval->x1 = x1;
    interval->y1 = y1;
    interval->x2 = x2;
    interval->y2 = y2;
    interval->startTag = CScanInterval::kBoardEdge;
    interval->endTag = CScanInterval::kBoardEdge;
    interval->startNet = 0;
    interval->endNet = 0;
    auto line = std::make_unique<CSubList>();
    line->intervals.push_back(std::move(interval));
    return line;
}

}  // namespace

void CVelmDoc::ComputeBoardExtent()
{
    if (!g_HoleList.empty()) {
        float minX = 10000000.0f, minY = 10000000.0f;
        float maxX = -10000000.0f, maxY = -10000000.0f;
        bool anyHole = false;
        for (const auto& tool : g_HoleList)
            for (const auto& hole : tool->holes) {
                float x = static_cast<float>(hole->x);
                float y = static_cast<float>(hole->y);
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
                anyHole = true;
            }
        // Tools without holes measure nothing; their untouched start values
        // would otherwise make an extent of the whole number range.
        if (anyHole)
            m_DrillExtent = {TruncToInt32(minX), TruncToInt32(minY),
                             TruncToInt32(maxX), TruncToInt32(maxY)};
        else
            m_DrillExtent = EMPTY_EXTENT;
        m_DataChanged = 1;
    }
    if (g_RouteDataWnd.IsVisible()) {
        // The route text is the program's own, written in inch.
        const int unitBefore = g_DrillFormatDlg.dInchMM;
        g_DrillFormatDlg.dInchMM = 0;
        g_DrillReader.Attach(&g_RouteDataWnd);
        g_DrillReader.ReadHeader();
        int minX = 1000000, minY = 1000000, maxX = -1000000, maxY = -1000000;
        bool anyDrawn = false;
        for (int code = g_DrillReader.ReadNextBlock(); code != DRILL_END;
             code = g_DrillReader.ReadNextBlock()) {
            if (code != DRILL_POSITION || !g_DrillReader.DrawFlag())
                continue;
            const int x = TruncToInt32(g_DrillReader.m_CurX);
            const int y = TruncToInt32(g_DrillReader.m_CurY);
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
            anyDrawn = true;
        }
        g_DrillFormatDlg.dInchMM = unitBefore;
        // A text that draws nothing measures nothing: its untouched start
        // values would make an extent of two million mil.
        if (anyDrawn) {
            m_DataExtent = {std::min(minX, maxX), std::min(minY, maxY), std::max(minX, maxX),
                            std::max(minY, maxY)};
            m_DataChanged = 1;
        }
    }
}

void CVelmDoc::GetPadExtent(CDPoint* maxCorner, CDPoint* minCorner)
{
    // The two maxima start apart on purpose: stored files were measured so.
    int maxX = -1000000, maxY = -10000000;
    int minX = 10000000, minY = 10000000;
    auto widen = [&](float x, float y, float reach) {
        if (x + reach > maxX)
            maxX = TruncToInt32(x + reach);
        if (y + reach > maxY)
            maxY = TruncToInt32(y + reach);
        if (x - reach < minX)
            minX = TruncToInt32(x - reach);
        if (y - reach < minY)
            minY = TruncToInt32(y - reach);
    };
    for (const auto& flash : m_FlashList)
        widen(flash->x, flash->y, flash->radius);
    for (const auto& flash : m_PadList2)
        widen(flash->x, flash->y, flash->radius);
    for (const auto& track : m_TrackList) {
        widen(track->x1, track->y1, track->width);
        widen(track->x2, track->y2, track->width);
    }
    *maxCorner = CDPoint(maxX, maxY);
    *minCorner = CDPoint(minX, minY);
}

int CVelmDoc::InitCells()
{
    ComputeBoardExtent();
    const int pitch = m_GridStep;
    if (pitch <= 0) {
        AfxMessageBox("Grid step must be greater than 0 !", MB_OK);
        return 0;
    }
    const int rows = (g_BoardMaxY - g_BoardMinY) / pitch;
    const int columns = (g_BoardMaxX - g_BoardMinX) / pitch;
    try {
        for (int i = 0; i <= rows; ++i) {
            float y = static_cast<float>(g_BoardMinY + i * pitch);
            m_RowList.push_back(FullScanLine(static_cast<float>(g_BoardMinX), y,
                                             static_cast<float>(g_BoardMaxX), y));
        }
        for (int i = 0; i <= columns; ++i) {
            float x = static_cast<float>(g_BoardMinX + i * pitch);
            m_ColumnList.push_back(FullScanLine(x, static_cast<float>(g_BoardMinY), x,
                                                static_cast<float>(g_BoardMaxY)));
        }
    } catch (const std::bad_alloc&) {
        AfxMessageBox(LoadResString(IDS_CELLS_OUT_OF_MEMORY), MB_OK);
        return 0;
    }
    return 1;
}

// Parks the working side in its file, loads the other one and turns the
// panel copies over with the board. When either file fails the working side
// stays as it was: loading over unsaved copper, or labelling one side's
// copper as the other's, would later overwrite a good side file.
int CVelmDoc::SwitchSide(int toSide)
{
    const int fromSide = toSide == COMPONENT_SIDE ? SOLDER_SIDE : COMPONENT_SIDE;
    if (!SaveTempFile(SideFileName(fromSide)) || !LoadTempFile(SideFileName(toSide)))
        return 0;
    // A job is known by its working side's file; a project keeps its name.
    const std::string& title = GetTitle();
    if (title.empty() || title == g_ComponentGerberFile || title == g_SolderGerberFile)
        SetTitle(toSide == COMPONENT_SIDE ? g_ComponentGerberFile : g_SolderGerberFile);
    g_CurrentSide = toSide;
    g_ComponentSideActive = toSide == COMPONENT_SIDE ? 1 : 0;
    g_SolderSideActive = toSide == SOLDER_SIDE ? 1 : 0;
    g_CopperColor = toSide == COMPONENT_SIDE ? COMPONENT_COPPER_COLOR : SOLDER_COPPER_COLOR;
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
    m_PanelLayout.MirrorBlocks(g_TableWidth);
    m_PanelLayout.ClearSelections();
    return 1;
}

void CVelmDoc::OnComponentSide()
{
    m_JobFlag = 0;
    if (g_CurrentSide == SOLDER_SIDE)
        SwitchSide(COMPONENT_SIDE);
}

void CVelmDoc::OnSolderSide()
{
    m_JobFlag = 0;
    if (g_CurrentSide == COMPONENT_SIDE)
        SwitchSide(SOLDER_SIDE);
}

void CVelmDoc::OnBoardFlip()
{
    if (g_JobCode != 0)
        return;
    m_JobFlag = 0;
    m_PanelLayout.ClearSelections();
    SwitchSide(g_CurrentSide == COMPONENT_SIDE ? SOLDER_SIDE : COMPONENT_SIDE);
}

void CVelmDoc::OnUpdateBoardFlip(CCmdUI& cmdUI)
{
    cmdUI.Enable(g_JobCode == 0);
}

void CVelmDoc::OnUpdateStageEdit(CCmdUI& cmdUI)
{
    cmdUI.Enable(true);
    cmdUI.SetCheck(m_WorkStage == 1);
}

void CVelmDoc::OnUpdateStagePaths(CCmdUI& cmdUI)
{
    cmdUI.Enable(m_IsolationDone != 0);
    cmdUI.SetCheck(m_WorkStage == 2);
}

void CVelmDoc::OnUpdateStageLayout(CCmdUI& cmdUI)
{
    cmdUI.Enable(true);
    cmdUI.SetCheck(m_WorkStage == 3);
}

void CVelmDoc::OnUpdateCalcIsolationLines(CCmdUI& cmdUI)
{
    cmdUI.Enable(m_WorkStage == 1 || m_WorkStage == 2);
    cmdUI.SetCheck(0);
}

void CVelmDoc::OnUpdateMachineParams(CCmdUI& cmdUI)
{
    bool blocked = g_PortState < 0 || g_JobCode != 0 || g_AbortFlag != 0 ||
                   g_MachineModel == "TQ615";
    cmdUI.Enable(!blocked);
    cmdUI.SetCheck(0);
}

void CVelmDoc::OnUpdateSpareCommand(CCmdUI& cmdUI)
{
    cmdUI.Enable(true);
    cmdUI.SetCheck(0);
}

void CVelmDoc::OnUpdateComponentSide(CCmdUI& cmdUI)
{
    cmdUI.Enable(g_HasComponentSide != 0 && g_JobCode == 0);
    cmdUI.SetCheck(g_CurrentSide == COMPONENT_SIDE);
}

void CVelmDoc::OnUpdateSolderSide(CCmdUI& cmdUI)
{
    cmdUI.Enable(g_HasSolderSide != 0 && g_JobCode == 0);
    cmdUI.SetCheck(g_CurrentSide == SOLDER_SIDE);
}

void CVelmDoc::OnUpdateStagePartial(CCmdUI& cmdUI)
{
    cmdUI.Enable(m_LayoutDone == 1);
    cmdUI.SetCheck(m_WorkStage == static_cast<std::uint8_t>(WorkStage::Partial));
}

void CVelmDoc::OnUpdateStageMachining(CCmdUI& cmdUI)
{
    cmdUI.SetCheck(m_WorkStage == static_cast<std::uint8_t>(WorkStage::Machining));
}
