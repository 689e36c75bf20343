// The commands that turn board data into route items: offset rings round
// picked copper or round the route file's drawing (picked afterwards with
// the mouse), the centre lines of picked tracks, and the positioning frame
// round the machine table. The offset conversions keep the board aside in
// the snapshot file first, and never change it when that cannot be written.
#include "view/velm_view.h"

#include "editing/copper_edit.h"
#include "editing/copper_to_route.h"
#include "editing/route_edit.h"
#include "geometry/small_utils.h"
#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/dialog.h"

#include <optional>

namespace {

// The board as it was before a conversion, in the system directory.
// The positioning frame is cut with this router (mm).
constexpr float kFrameRouterMM = 1.5f;

// The router diameter (mm), asked with `current` as the start value. The
// text is taken however the dialog closes, so a cancel keeps `current`;
// none (after a message) when it is not a diameter a router can have.
std::optional<float> AskRouterDiameter(float current)
{
    CNumberInputDlg dlg;
    dlg.m_Prompt = LoadResString(IDS_ROUTING_CUTTER_DIAMETER);
    dlg.m_Value = DiameterText(current);
    dlg.DoModal();
    double value = 0.0;
    if (!ParseNumberText(dlg.m_Value, value)) {
        AfxMessageBox(LoadResString(IDS_EDIT_NOT_A_NUMBER), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (!IsRouterDiameter(value)) {
        AfxMessageBox(LoadResString(IDS_ROUTER_DIAMETER_RANGE), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return float(value);
}

}  // namespace

void CVelmView::RegisterCopperRouteCommands()
{
    m_Commands.OnCommand(ID_COPPER_TO_ROUTE_OFFSET, [this] { OnCopperToRouteOffset(); });
    m_Commands.OnUpdateCommand(ID_COPPER_TO_ROUTE_OFFSET,
                               [this](CCmdUI& ui) { OnUpdateCopperToRouteOffset(ui); });
    m_Commands.OnCommand(ID_COPPER_TO_ROUTE_CENTRE, [this] { OnCopperToRouteCentre(); });
    m_Commands.OnCommand(ID_ROUTE_FROM_LAYERS, [this] { OnRouteFromLayers(); });
    m_Commands.OnUpdateCommand(ID_ROUTE_FROM_LAYERS,
                               [this](CCmdUI& ui) { OnUpdateRouteFromLayers(ui); });
    m_Commands.OnCommand(ID_ROUTE_FRAME, [this] { OnRouteFrame(); });
}

void CVelmView::OnUpdateCopperToRouteOffset(CCmdUI& cmdUI)
{
    cmdUI.Enable(m_Doc.m_WorkStage == static_cast<std::uint8_t>(WorkStage::Edit) &&
                 (!m_SelTracks.empty() || !m_SelFlashes.empty()));
}

void CVelmView::OnUpdateRouteFromLayers(CCmdUI&) {}

void CVelmView::OnCopperToRouteOffset()
{
    // A pick still open holds only converted copper: the board comes back
    // instead, so no snapshot is ever taken of that.
    if (m_CopperToRouteMode) {
        EndOffsetPick();
        return;
    }
    const std::optional<float> d = AskRouterDiameter(g_SimToolSize);
    if (!d)
        return;
    g_RouteOffsetDistance = *d;
    g_SimToolSize = *d;
    if (m_SelTracks.empty() && m_SelFlashes.empty()) {
        Host().MessageBox(LoadResString(IDS_COMMAND_NEEDS_SELECTION), "Try Again !",
                          MB_OK | MB_ICONSTOP);
        return;
    }
    if (!m_Doc.SaveTempFile(kRouteSnapshotFile))
        return;
    m_CopperSelectMode = 0;

    CCopperOutline outline = OutlineCopies(m_SelTracks, m_SelFlashes);
    CTakenCopper taken = TakeCopper(m_Doc, m_SelTracks, m_SelFlashes);
    // The snapshot the pick ends with lacks the converted copper. When it
    // cannot be written the first one (the whole board) would come back
    // instead, so the conversion does not go on.
    if (!m_Doc.SaveTempFile(kRouteSnapshotFile)) {
        PutCopperBack(m_Doc, taken);
        Invalidate();
        return;
    }
    ForgetEditedRecords();
    m_SelTracks.clear();
    m_SelFlashes.clear();
    taken = CTakenCopper();
    ReplaceCopper(m_Doc, std::move(outline));
    Invalidate();
    PumpMessages();

    RouteDrawingLayer(m_Doc, *d);
    const CRingPlanner planner = CopperRingPlanner(*d);
    // The rings are the planner's walks, whatever the calculation settings
    // say about walking.
    m_Doc.CalcIsolationLines(planner.offset, planner.pitch, 1);
    for (int pass = 0; pass < 3; ++pass)
        m_Doc.OnSortIsolationPaths();
    BuildOffsetRings(RingWidth(*d));
}

void CVelmView::OnCopperToRouteCentre()
{
    if (m_CopperToRouteMode) {
        EndOffsetPick();
        return;
    }
    if (!m_Doc.SaveTempFile(kRouteSnapshotFile))
        return;
    m_CopperSelectMode = 0;
    CRefList<CTrackRecord> ordered = OrderTracksIntoChains(m_SelTracks, [] { PumpMessages(); });
    // Arc records were left out of the chains: they stay on the board.
    m_SelTracks.insert(m_SelTracks.begin(), ordered.begin(), ordered.end());

    const std::optional<float> d = AskRouterDiameter(m_SimToolSize);
    if (!d) {
        Invalidate();
        return;
    }
    m_SimToolSize = *d;
    CPathRecord* layer = RouteDrawingLayer(m_Doc, *d);
    for (const CTrackRecord* t : ordered)
        AddPathLine(*layer, CDPoint(t->x1, t->y1), CDPoint(t->x2, t->y2));
    CRefList<CFlashRecord> flashes = m_SelFlashes;
    ForgetEditedRecords();
    m_SelTracks.clear();
    m_SelFlashes.clear();
    DeleteCopper(ordered, flashes, m_Doc);
    m_Doc.SaveTempFile(kRouteSnapshotFile);
    Invalidate();
}

void CVelmView::OnRouteFromLayers()
{
    if (g_RouteFile.empty()) {
        AfxMessageBox(LoadResString(IDS_NO_ROUTE_FILE), MB_OK);
        return;
    }
    const std::optional<float> d = AskRouterDiameter(g_SimToolSize);
    if (!d)
        return;
    if (m_CopperToRouteMode)
        EndOffsetPick();
    if (!m_Doc.SaveTempFile(kRouteSnapshotFile))
        return;
    m_CopperSelectMode = 0;
    ForgetEditedRecords();
    m_Doc.m_PanelLayout.ClearSelections();
    if (!m_Doc.LoadGerber(g_RouteFile)) {
        Invalidate();
        return;
    }
    // The copper sides were aligned by this shift when the job was loaded;
    // the drawing takes it too.
    const float dx = float(m_Doc.m_DataOffset.x), dy = float(m_Doc.m_DataOffset.y);
    ShiftTracks(m_Doc.m_TrackList, dx, dy);
    ShiftFlashes(m_Doc.m_FlashList, dx, dy);
    ShiftFlashes(m_Doc.m_PadList2, dx, dy);
    Invalidate();
    PumpMessages();

    if (AfxMessageBox(LoadResString(IDS_ASK_CLEAR_ROUTE), MB_YESNO | MB_ICONQUESTION) == IDYES)
        g_RouteDataWnd.Edit().ClearAll();
    // The picked rings go to the layer of the router asked here.
    g_RouteOffsetDistance = *d;
    g_LayerDlg.StoreFlags();
    // Only the drawing's rings are offered: the board's own walk would be
    // mistaken for them.
    m_Doc.m_GridPathList.clear();
    const CRingPlanner planner = DrawingRingPlanner(*d);
    m_Doc.CalcIsolationLines(planner.offset, planner.pitch, 1);
    m_Doc.OnSortIsolationPaths();
    BuildOffsetRings(RingWidth(*d));
    g_LayerDlg.LoadFlags();
    Invalidate();
}

void CVelmView::OnRouteFrame()
{
    CPathRecord* layer = RouteDrawingLayer(m_Doc, kFrameRouterMM);
    AddTableFrame(*layer, g_TableWidth, g_TableHeight);
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = TruncToInt32(g_TableWidth);
    g_BoardMaxY = TruncToInt32(g_TableHeight);
    OnBlockLayout();
}

void CVelmView::BuildOffsetRings(int width)
{
    m_TrimList.clear();
    const auto& segments = m_Doc.m_GridPathList;
    for (const auto& [first, last] : SplitIntoRings(segments)) {
        auto ring = std::make_unique<CWidthGroup>();
        ring->width = width;
        for (std::size_t i = first; i < last; ++i)
            ring->segments.push_back(std::make_unique<CGridPathSegment>(*segments[i]));
        m_TrimList.push_back(std::move(ring));
    }
    m_CopperToRouteMode = 1;
    // The pick is under way from the start, so the right button ends it
    // even before a ring is taken (the path stage has no menu to open).
    m_PressState = 1;
    Invalidate();
}

