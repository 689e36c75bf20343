// The commands of the copper and path editor: arming its modes, the popup's
// cancel, and the edits that act at once on the picked copper (delete, line
// width, offset, T1 path), on the isolation lines (unselect, delete, undo,
// lock) and on the DXF-CAM layer list.
#include "view/velm_view.h"

#include "editing/add_copper.h"
#include "editing/copper_edit.h"
#include "editing/copper_to_path.h"
#include "editing/isolation_edit.h"
#include "editing/path_chain_setup.h"
#include "exchange/dxf_dialogs.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "view/edit_support.h"

#include <cstdio>

namespace {

constexpr double MIL_PER_MM = 39.37;
// The prompt of the route and DXF-CAM set-up modes, as the program words it.
const char* const kChainSetupPrompt = "Ctrl(Enabel/Disable)   Shift(CW/CCW)";

std::string WidthText(float width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(width));
    return text;
}

}  // namespace

void CVelmView::RegisterEditCommands()
{
    const std::pair<unsigned, void (CVelmView::*)()> commands[] = {
        {ID_ADD_COPPER_LINE, &CVelmView::OnAddCopperLine},
        {ID_ADD_COPPER_CIRCLE, &CVelmView::OnAddCopperCircle},
        {ID_ADD_COPPER_RECT, &CVelmView::OnAddCopperRect},
        {ID_COPPER_SELECT, &CVelmView::OnCopperSelect},
        {ID_COPPER_UNSELECT, &CVelmView::OnCopperUnselect},
        {ID_COPPER_DELETE, &CVelmView::OnCopperDelete},
        {ID_COPPER_COPY, &CVelmView::OnCopyPicked},
        {ID_MOVE_COPPER, &CVelmView::OnMoveCopper},
        {ID_COPPER_ALIGN, &CVelmView::OnCopperAlign},
        {ID_DATA_RANGE, &CVelmView::OnDataRange},
        {ID_INPUT_TEXT, &CVelmView::OnInputText},
        {ID_COPPER_LINE_WIDTH, &CVelmView::OnCopperLineWidth},
        {ID_COPPER_OFFSET, &CVelmView::OnCopperOffset},
        {ID_ROUTE_MACHINING_SETUP, &CVelmView::OnRouteMachiningSetup},
        {ID_DXF_CAM_STATE, &CVelmView::OnDxfCamState},
        {ID_DXF_CAM_LAYERS, &CVelmView::OnDxfCamLayers},
        {ID_COPPER_TO_T1_PATH, &CVelmView::OnCopperToT1Path},
        {ID_ISO_SELECT_LINE, &CVelmView::OnIsoSelectLine},
        {ID_ISO_SELECT_AREA, &CVelmView::OnIsoSelectArea},
        {ID_ISO_UNSELECT, &CVelmView::OnIsoUnselect},
        {ID_ISO_DELETE, &CVelmView::OnIsoDelete},
        {ID_ISO_UNDO_DELETE, &CVelmView::OnIsoUndoDelete},
        {ID_ISO_LOCK, &CVelmView::OnIsoLock},
        {ID_ISO_UNLOCK, &CVelmView::OnIsoUnlock},
        {ID_POPUP_CANCEL, &CVelmView::OnPopupCancel},
        {ID_DRILL_ADD, &CVelmView::OnDrillAdd},
        {ID_DRILL_AUTO_ALIGN_MODE, &CVelmView::OnDrillAutoAlignMode},
        {ID_DRILL_ALIGN, &CVelmView::OnDrillAlign},
        {ID_DRILL_FIND, &CVelmView::OnDrillFind},
        {ID_DRILL_MOVE, &CVelmView::OnDrillMove},
        {ID_DRILL_AUTO_ALIGN, &CVelmView::OnDrillAutoAlign},
        {ID_DRILL_ROTATE, &CVelmView::OnDrillRotate},
        {ID_DRILL_MIRROR_X, &CVelmView::OnDrillMirrorX},
        {ID_DRILL_MIRROR_Y, &CVelmView::OnDrillMirrorY},
        {ID_ADD_LOCATING_HOLES, &CVelmView::OnAddDoubleSidedHoles},
    };
    for (const auto& [id, handler] : commands)
        m_Commands.OnCommand(id, [this, handler = handler] { (this->*handler)(); });
}

void CVelmView::OnAddCopperLine()
{
    m_CopperLineMode = 1;
    g_StatusText = LoadResString(IDS_LINE);
}

void CVelmView::OnAddCopperCircle()
{
    m_CopperCircleMode = 1;
    g_StatusText = LoadResString(IDS_ROUND);
}

void CVelmView::OnAddCopperRect()
{
    m_CopperRectMode = 1;
    g_StatusText = LoadResString(IDS_SQUARE);
}

void CVelmView::OnCopperSelect()
{
    m_CopperSelectMode = 1;
    g_StatusText = "Select !";
    MessageBeep(0);
}

void CVelmView::OnCopperUnselect()
{
    m_CopperSelectMode = 0;
    m_SelTracks.clear();
    m_SelFlashes.clear();
    Invalidate();
    g_StatusText = "Cancel Select!";
    MessageBeep(0);
}

void CVelmView::OnCopperDelete()
{
    if (Host().MessageBox(LoadResString(IDS_ASK_DELETE_SELECTION), "Are You Sure ?",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_CopperSelectMode = 0;
    const bool nothing = m_SelTracks.empty() && m_SelFlashes.empty();
    ForgetEditedRecords();
    DeleteCopper(m_SelTracks, m_SelFlashes, m_Doc);
    if (nothing)
        Host().MessageBox(LoadResString(IDS_COMMAND_NEEDS_SELECTION), "Try Again !",
                          MB_OK | MB_ICONSTOP);
    Invalidate();
}

void CVelmView::OnCopyPicked()
{
    if (m_SelTracks.empty() && m_SelFlashes.empty()) {
        Host().MessageBox(LoadResString(IDS_COMMAND_NEEDS_SELECTION), "Try Again !",
                          MB_OK | MB_ICONSTOP);
        return;
    }
    m_CopyMode = 1;
    m_CopperSelectMode = 0;
    for (const CFlashRecord* f : m_SelFlashes)
        DrawHoverEllipseXor(f, VIEW_WHITE);
    for (const CTrackRecord* t : m_SelTracks)
        DrawSelectionXor(t, VIEW_WHITE);
    g_StatusText = "COPY: Select Base Point!";
    MessageBeep(0);
}

void CVelmView::OnMoveCopper()
{
    m_MoveMode = m_MoveMode ? 0 : 1;
    m_TrimBlockMode = 0;
    m_RangeMode = 0;
    m_TrimMode = 0;
}

void CVelmView::OnCopperAlign()
{
    m_CopperAlignMode = 1;
    // A point left held by another mode is not the alignment's first pad.
    m_PressState = 0;
}

void CVelmView::ForgetEditedRecords()
{
    for (const CTrackRecord* t : m_SelTracks)
        std::erase(m_SelRouteItems, t);
    for (const CFlashRecord* f : m_SelFlashes)
        std::erase(m_SelRouteItems, f);
    // The pick and the drag hold path segments, which a delete or an undo
    // frees; a drag of copper holds the joint.
    m_EditList.clear();
    m_DragSegments.clear();
    m_DragJoint = nullptr;
    g_MoveDragKind = -1;
}

void CVelmView::OnDataRange() { m_DataRangeMode = 1; }

void CVelmView::OnInputText() { m_TextMode = 1; }

void CVelmView::OnCopperLineWidth()
{
    if (m_SelTracks.empty()) {
        m_LineWidthMode = 1;
        return;
    }
    // Cancel, an empty field or a width of zero or less changes nothing: a
    // track without width cannot be cut.
    const auto width = AskNumber(LoadResString(IDS_ENTER_LINE_WIDTH),
                                 WidthText(m_SelTracks.front()->width), true);
    if (!width)
        return;
    SetTrackWidth(m_SelTracks, m_SelFlashes, static_cast<float>(*width));
    m_SelTracks.clear();
    m_SelFlashes.clear();
    Invalidate();
}

void CVelmView::OnCopperOffset()
{
    if (m_SelTracks.empty() && m_SelFlashes.empty()) {
        AfxMessageBox(LoadResString(IDS_NOTHING_SELECTED), MB_OK);
        return;
    }
    const auto dx = AskNumber(LoadResString(IDS_ENTER_X_OFFSET), "0", false);
    if (!dx)
        return;
    const auto dy = AskNumber(LoadResString(IDS_ENTER_Y_OFFSET), "0", false);
    if (!dy)
        return;
    MoveCopper(m_SelTracks, m_SelFlashes, CDPoint(*dx * MIL_PER_MM, *dy * MIL_PER_MM));
    Invalidate();
}

void CVelmView::OnRouteMachiningSetup()
{
    m_RouteSetupMode = 1;
    m_PressState = 1;
    g_StatusText = kChainSetupPrompt;
}

void CVelmView::OnDxfCamState()
{
    m_DxfCamMode = 1;
    m_PressState = 1;
    g_StatusText = kChainSetupPrompt;
}

void CVelmView::OnDxfCamLayers()
{
    CDxfLayerDlg dlg;
    dlg.m_strLayers = DxfLayerText(m_Doc.m_PathLayerList);
    if (dlg.DoModal() != IDOK)
        return;
    ApplyDxfLayerText(m_Doc.m_PathLayerList, dlg.m_strLayers);
    Invalidate();
}

void CVelmView::OnCopperToT1Path()
{
    CopperToT1Path(m_Doc, m_SelTracks, m_SelFlashes, g_CurrentSide, m_Doc.m_ToolWidth1,
                   m_Doc.m_ToolValue1);
    m_SelTracks.clear();
    m_SelFlashes.clear();
    Invalidate();
}

void CVelmView::OnIsoSelectLine()
{
    m_IsoPickMode = 1;
    m_IsoAreaMode = 0;
    g_StatusText = "Select Isolate Ring!";
    MessageBeep(0);
}

void CVelmView::OnIsoSelectArea()
{
    m_IsoPickMode = 1;
    m_IsoAreaMode = 1;
    g_StatusText = "Select Isolate Area!";
    MessageBeep(0);
}

bool CVelmView::IsEditablePathLayer(const CPathRecord& layer) const
{
    return layer.side == g_CurrentSide && IsLayerVisible(layer.name.c_str());
}

namespace {

PathLayerTest EditableLayers(const CVelmView& view)
{
    return [&view](const CPathRecord& layer) { return view.IsEditablePathLayer(layer); };
}

}  // namespace

void CVelmView::OnIsoUnselect()
{
    ChangeSegmentStates(m_Doc.m_PathLayerList, EditableLayers(*this), SEGMENT_SELECTED,
                        SEGMENT_NORMAL);
    Invalidate();
}

void CVelmView::OnIsoDelete()
{
    CIsoBusy busy;
    if (!busy.Entered())
        return;
    m_Doc.SaveUndoSnapshot();
    ForgetEditedRecords();
    DeleteSelectedSegments(m_Doc.m_PathLayerList, EditableLayers(*this));
    Invalidate();
}

void CVelmView::OnIsoUndoDelete()
{
    // The restored layers are new records: nothing may point at the old.
    if (m_Doc.LoadUndoSnapshot())
        ForgetEditedRecords();
    Invalidate();
}

void CVelmView::OnIsoLock()
{
    m_Doc.SaveUndoSnapshot();
    ChangeSegmentStates(m_Doc.m_PathLayerList, EditableLayers(*this), SEGMENT_SELECTED,
                        SEGMENT_LOCKED);
    Invalidate();
}

void CVelmView::OnIsoUnlock()
{
    m_Doc.SaveUndoSnapshot();
    ChangeSegmentStates(m_Doc.m_PathLayerList, EditableLayers(*this), SEGMENT_LOCKED,
                        SEGMENT_NORMAL);
    Invalidate();
}

void CVelmView::SetIsoStateInRegion(std::uint8_t state)
{
    m_Doc.SaveUndoSnapshot();
    SetSegmentStatesInContour(m_Doc.m_PathLayerList, EditableLayers(*this), m_Doc.m_PickContour,
                              state);
}

void CVelmView::OnPopupCancel()
{
    MessageBeep(0);
    m_MoveMode = 0;
    m_DataRangeMode = 0;
    m_TextMode = 0;
    m_CopperSelectMode = 0;
    m_IsoPickMode = 0;
    m_RulerActive = 0;
    m_CopperLineMode = 0;
    m_CopperCircleMode = 0;
    m_CopperRectMode = 0;
    m_RouteSetupMode = 0;
    m_DxfCamMode = 0;
    m_LineWidthMode = 0;
    m_CopperAlignMode = 0;
    m_PressState = 0;
    m_IsoAreaMode = 0;
    // The copy is cancelled with the rest: left armed, the next click would
    // place a copy the operator just said not to make.
    m_CopyMode = 0;
    m_PickFlags.fill(0);
    m_RangeMode = 0;
    m_TrimMode = 0;
    m_ResetClearMode = 0;
    m_DrillAddMode = 0;
    m_DrillAlignMode = 0;
    m_DrillFindMode = 0;
    m_DrillMoveMode = 0;
    AbandonRubberBand();
    m_EditShapeShown = 0;
    g_MoveDragKind = -1;
    m_EditList.clear();
    Invalidate();
    g_StatusText = "Cancel !";
}
