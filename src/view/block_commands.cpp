// The layout stage: the first copy of the board centred on the table, the
// automatic grid of copies, and the block menu of the layout stage. Most of
// the menu only arms a mode that the selection workers carry out.
#include "view/velm_view.h"

#include "editing/auto_layout_dlg.h"
#include "editing/block_layout.h"
#include "editing/coord_input_dlg.h"
#include "link/link_state.h"
#include "machining/position_test.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

namespace {

RECT BoardExtent() { return RECT{g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY}; }

}  // namespace

void CVelmView::PlaceFirstCopyIfNone()
{
    m_Doc.m_LayoutDone = 1;
    if (!m_BlockList.empty())
        return;
    OnWindowAll();
    // The table's y runs the other way from the board's; the solder side
    // is seen from below.
    BlockOrientation orientation;
    orientation.sign = POINT{1, -1};
    if (g_CurrentSide == 1)
        orientation.sign.x = -1;
    if (!g_HasComponentSide && !g_HasSolderSide)
        orientation.sign.x = 1;
    PlaceFirstBlock(m_BlockList, m_OutlinePoints, BoardExtent(), g_TableWidth, g_TableHeight,
                    orientation);
}

void CVelmView::OnBlockLayout()
{
    PlaceFirstCopyIfNone();
    UpdateScrollSizes();
    m_Doc.m_WorkStage = 3;
    m_LastPoint = POINT{0, 0};
    OnWindowAll();
}

void CVelmView::OnAutoLayout()
{
    // With no copy yet there is no orientation to repeat: place the first
    // copy as the layout stage would, and take its orientation.
    if (m_BlockList.empty())
        OnBlockLayout();
    const CLayoutBlock& first = *m_BlockList.front();
    const BlockOrientation orientation{first.m_Swap, first.m_Sign};
    const POINT most = MaxLayoutCounts(LayoutCell(BoardExtent(), orientation.swap), g_TableWidth,
                                       g_TableHeight);
    CAutoLayoutDlg dlg;
    dlg.m_CountX = most.x;
    dlg.m_CountY = most.y;
    if (dlg.DoModal() == IDOK) {
        // Editing lists may point at the copies about to go.
        m_EditList.clear();
        PlaceBlockGrid(m_BlockList, m_OutlinePoints, BoardExtent(), g_TableWidth, g_TableHeight,
                       dlg.m_CountX, dlg.m_CountY, orientation);
        m_Doc.m_ResumeProjectSaved = 0;
    }
    Invalidate();
}

namespace {

// A block edit armed: the next machine job writes its resume project again.
void ArmBlockMode(CVelmDoc& doc, int& mode, unsigned prompt)
{
    doc.m_ResumeProjectSaved = 0;
    g_StatusText = LoadResString(prompt);
    mode = 1;
}

}  // namespace

void CVelmView::OnBlockCopy() { ArmBlockMode(m_Doc, m_BlockCopyMode, IDS_COPY); }
void CVelmView::OnBlockDelete() { ArmBlockMode(m_Doc, m_BlockDeleteMode, IDS_DELETE); }
void CVelmView::OnBlockMove() { ArmBlockMode(m_Doc, m_BlockMoveMode, IDS_MOVE); }
void CVelmView::OnBlockMirrorX() { ArmBlockMode(m_Doc, m_BlockMirrorXMode, IDS_MIRROR); }
void CVelmView::OnBlockMirrorY() { ArmBlockMode(m_Doc, m_BlockMirrorYMode, IDS_MIRROR); }
void CVelmView::OnBlockRotate() { ArmBlockMode(m_Doc, m_BlockRotateMode, IDS_ROTATE); }
void CVelmView::OnSelectMachiningData() { m_SelectDataMode = 1; }
void CVelmView::OnSelectMachiningBlock() { m_SelectBlockMode = 1; }
void CVelmView::OnBlockCoords() { m_BlockCoordsMode = 1; }
void CVelmView::OnDrillCoordPick() { m_DrillCoordMode = 1; }
void CVelmView::OnToolDetectPick() { m_ToolDetectMode = 1; }

void CVelmView::OnToolDetectInput()
{
    CCoordInputDlg dlg;
    dlg.m_CoordX = static_cast<float>(m_Doc.m_DetectPosX);
    dlg.m_CoordY = static_cast<float>(m_Doc.m_DetectPosY);
    if (dlg.DoModal() == IDOK) {
        m_Doc.m_DetectPosX = dlg.m_CoordX;
        m_Doc.m_DetectPosY = dlg.m_CoordY;
        Invalidate();
    }
}

void CVelmView::OnToolDetectSave()
{
    RegSetDouble("DetectPosX", m_Doc.m_DetectPosX);
    RegSetDouble("DetectPosY", m_Doc.m_DetectPosY);
}

void CVelmView::OnToolDetectLoad()
{
    // A value never stored keeps the current point.
    RegGetDouble("DetectPosX", m_Doc.m_DetectPosX);
    RegGetDouble("DetectPosY", m_Doc.m_DetectPosY);
    Invalidate();
}

void CVelmView::OnMachineRangeTest()
{
    if (g_PortState < 0)
        ConnectMachine();
    if (g_PortState < 0)
        return;
    g_ProbeTestDlg.m_Layout = &m_Doc.m_PanelLayout;
    g_ProbeTestDlg.CalcLayoutExtent();
    CBoardPositionTestDlg dlg;
    dlg.DoModal();
}

void CVelmView::OnPopupCancel3()
{
    for (int* mode : {&m_PressState, &m_BlockRotateMode, &m_BlockMirrorXMode, &m_BlockMirrorYMode,
                      &m_BlockCoordsMode, &m_DrillCoordMode, &m_BlockMoveMode, &m_SelectBlockMode,
                      &m_SelectDataMode, &m_BlockDeleteMode, &m_BlockCopyMode, &m_RegHoleAddMode,
                      &m_RegHolePickMode, &m_SampleDrillMode})
        *mode = 0;
    m_EditList.clear();
    Invalidate();
    g_StatusText.clear();
}

void CVelmView::OnEnterPartialStage()
{
    m_Doc.m_WorkStage = 4;
    m_SubMode = 5;
    m_Doc.m_LayoutDone = 1;
    g_StatusText.clear();
    g_HoleDataWnd.ShowWindow(false);
    Invalidate();
    // The picks of the partial stage start from nothing excluded.
    for (const auto& segment : m_Doc.m_GridPathList)
        segment->doneMark = 0;
    for (const auto& region : m_Doc.m_ClearRegionList)
        for (const auto& stroke : region->strokes)
            stroke->doneMark = 0;
    OnWindowAll();
}

void CVelmView::RegisterBlockCommands()
{
    const struct {
        unsigned id;
        void (CVelmView::*handler)();
    } commands[] = {
        {ID_AUTO_LAYOUT, &CVelmView::OnAutoLayout},
        {ID_BLOCK_COPY, &CVelmView::OnBlockCopy},
        {ID_BLOCK_DELETE, &CVelmView::OnBlockDelete},
        {ID_BLOCK_MOVE, &CVelmView::OnBlockMove},
        {ID_BLOCK_MIRROR_X, &CVelmView::OnBlockMirrorX},
        {ID_BLOCK_MIRROR_Y, &CVelmView::OnBlockMirrorY},
        {ID_BLOCK_ROTATE, &CVelmView::OnBlockRotate},
        {ID_SELECT_MACHINING_DATA, &CVelmView::OnSelectMachiningData},
        {ID_SELECT_MACHINING_BLOCK, &CVelmView::OnSelectMachiningBlock},
        {ID_BLOCK_COORDINATES, &CVelmView::OnBlockCoords},
        {ID_DRILL_COORDINATES, &CVelmView::OnDrillCoordPick},
        {ID_TOOL_DETECT_PICK, &CVelmView::OnToolDetectPick},
        {ID_TOOL_DETECT_INPUT, &CVelmView::OnToolDetectInput},
        {ID_TOOL_DETECT_SAVE, &CVelmView::OnToolDetectSave},
        {ID_TOOL_DETECT_LOAD, &CVelmView::OnToolDetectLoad},
        {ID_MACHINE_RANGE_TEST, &CVelmView::OnMachineRangeTest},
        {ID_LAYOUT_CANCEL, &CVelmView::OnPopupCancel3},
        {ID_ENTER_PARTIAL_STAGE, &CVelmView::OnEnterPartialStage},
    };
    for (const auto& c : commands)
        m_Commands.OnCommand(c.id, [this, handler = c.handler] { (this->*handler)(); });
}
