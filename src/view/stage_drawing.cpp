// OnDraw: what each work stage shows, in which order and colour. The edit
// stage shows the board data once, the path stage the computed paths, the
// layout and machining stages one copy of everything per panel copy, and the
// partial stage the one kind of data being picked from.
#include "view/velm_view.h"

#include "link/working_depth.h"
#include "machining/position_dlg.h"
#include "records/board_extent.h"

void CVelmView::OnDraw(CDrawSurface& dc)
{
    RECT client = GetClientRect();
    dc.FillSolidRect(client, RGB(0, 0, 0));
    // A fresh picture holds none of the mouse's inverted marks.
    m_MarkerShown = m_HoverShown = 0;
    m_HoverFlash = nullptr;
    // The paint after the position window was moved shows no board: dragging
    // that window over the view must not redraw the whole board each time.
    if (g_PositionDlg.m_Moved) {
        g_PositionDlg.m_Moved = 0;
        // A band being dragged stays on the screen, as the moves expect.
        if (m_BandActive)
            DrawBand();
        return;
    }

    const auto stage = static_cast<WorkStage>(m_Doc.m_WorkStage);
    DrawWorkArea(stage);
    m_ZoomHistScale[m_ZoomHistIndex] = m_Scale;
    m_ZoomHistOrigin[m_ZoomHistIndex] = m_Origin;

    bool drawn = true;
    switch (stage) {
    case WorkStage::Edit: DrawEditStage(); break;
    case WorkStage::Paths: DrawPathStage(); break;
    case WorkStage::Layout: drawn = DrawLayoutStage(); break;
    case WorkStage::Partial: drawn = DrawPartialStage(); break;
    case WorkStage::Machining: drawn = DrawMachiningStage(); break;
    default: break;
    }
    if (drawn)
        DrawTrackerRect(dc);
    if (m_BandActive)
        DrawBand();
}

// The work-area rectangle, in the stages that work on the board itself
// rather than on the machine table.
void CVelmView::DrawWorkArea(WorkStage stage)
{
    const bool boardStage =
        stage == WorkStage::Edit || stage == WorkStage::Paths || stage == WorkStage::Partial;
    if (m_Doc.m_ShowWorkArea && boardStage) {
        DrawLine(g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMinY, VIEW_GREEN);
        DrawLine(g_BoardMinX, g_BoardMinY, g_BoardMinX, g_BoardMaxY, VIEW_GREEN);
        DrawLine(g_BoardMinX, g_BoardMaxY, g_BoardMaxX, g_BoardMaxY, VIEW_GREEN);
        DrawLine(g_BoardMaxX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY, VIEW_GREEN);
    } else {
        m_LastPoint = POINT{0, 0};
    }
}

void CVelmView::DrawEditStage()
{
    DrawCopper(g_CopperColor);
    DrawLayersXor();
    DrawRoute(VIEW_CYAN);
    DrawSelection(VIEW_WHITE);
    DrawDrillHoles(VIEW_LIGHT_GREEN);
    if (m_RulerActive)
        DrawRuler(m_PressState > 1 ? 1 : 0);
}

void CVelmView::DrawPathStage()
{
    if (m_HideRoute == 0)
        for (const auto& region : m_Doc.m_ClearRegionList) {
            DrawClearArea(region.get(), VIEW_GREEN);
            DrawRoute(VIEW_CYAN);
        }
    DrawIsoPaths(VIEW_TEAL);
    DrawLayersXor();
    if (!m_TrimList.empty())
        DrawTrimList(VIEW_CYAN);
    if (!m_SelClearRegions.empty())
        DrawClearArea(m_SelClearRegions.front(), VIEW_WHITE);
}

bool CVelmView::DrawLayoutStage()
{
    DrawTableAndFrames();
    // In the layout stage the edit list holds the picked blocks.
    for (void* item : m_EditList)
        DrawBlockFrameXor(static_cast<const CLayoutBlock*>(item), VIEW_WHITE, CDPoint());
    return DrawPanelCopies();
}

// The kind of data m_SubMode picks from: 0 the panel copies' frames, 1 the
// holes, 2 the paths, 3 the clearing, 4 the route, else the copper.
bool CVelmView::DrawPartialStage()
{
    switch (m_SubMode) {
    case 0: DrawTableAndFrames(); break;
    case 1: DrawDrillHoles(VIEW_LIGHT_GREEN); break;
    case 2: DrawIsoPaths(VIEW_TEAL); break;
    case 3:
        for (const auto& region : m_Doc.m_ClearRegionList) {
            DrawClearArea(region.get(), VIEW_GREEN);
            if (PumpDuringDraw())
                return false;
        }
        break;
    case 4: DrawRoute(VIEW_CYAN); break;
    default: DrawCopper(g_CopperColor); break;
    }
    return true;
}

// The copies' frames show only while no display check is on.
bool CVelmView::DrawMachiningStage()
{
    DrawMachineTable();
    bool noChecks = !(m_ShowCopper || m_ShowDrill || m_ShowRoute || m_ShowClear || m_ShowIso ||
                      m_ShowItemOne || m_ShowItemTwo);
    if (noChecks)
        for (std::size_t i = 0; i < m_BlockList.size(); ++i) {
            DrawBlockFrame(m_BlockList[i].get(), VIEW_MAGENTA);
            if (PumpDuringDraw())
                return false;
        }
    return DrawPanelCopies();
}

void CVelmView::DrawTableAndFrames()
{
    DrawMachineTable();
    for (const auto& block : m_BlockList)
        DrawBlockFrame(block.get(), VIEW_MAGENTA);
}

// Everything once per panel copy, a picked copy in grey.
bool CVelmView::DrawPanelCopies()
{
    // Each step walks the copies afresh: the messages pumped between copies
    // may change the list.
    auto eachBlock = [this](auto&& draw) {
        for (std::size_t i = 0; i < m_BlockList.size(); ++i) {
            draw(*m_BlockList[i]);
            if (PumpDuringDraw())
                return false;
        }
        return true;
    };
    auto pick = [](const CLayoutBlock& b, COLORREF normal) {
        return b.m_Selected ? VIEW_GREY : normal;
    };
    const CVelmDoc& doc = m_Doc;
    if (!eachBlock([this](const CLayoutBlock& b) { DrawLayers(&b); }))
        return false;
    DrawLayerElements();
    if (g_SurfaceCompensation)
        DrawSurfaceMap();
    if (doc.m_BoardOrigin.x != 0.0 || doc.m_BoardOrigin.y != 0.0)
        DrawOriginMarkXor(doc.m_BoardOrigin.x, doc.m_BoardOrigin.y, 50.0, VIEW_GREY, CDPoint());
    return eachBlock([&](const CLayoutBlock& b) { DrawCopperPlaced(&b, pick(b, g_CopperColor)); }) &&
           eachBlock([&](const CLayoutBlock& b) {
               for (const auto& region : doc.m_ClearRegionList)
                   DrawClearAreaPlaced(&b, region.get(), pick(b, VIEW_GREEN));
           }) &&
           eachBlock([&](const CLayoutBlock& b) { DrawIsoPathsPlaced(&b, pick(b, VIEW_TEAL)); }) &&
           eachBlock([&](const CLayoutBlock& b) { DrawRoutePlaced(&b, pick(b, VIEW_CYAN)); }) &&
           eachBlock([&](const CLayoutBlock& b) { DrawDrillHolesPlaced(&b, pick(b, VIEW_LIGHT_GREEN)); });
}

// The tracker rectangle, while the rectangle-record or the clearing-area
// command is on.
void CVelmView::DrawTrackerRect(CDrawSurface& dc)
{
    const CVelmDoc& doc = m_Doc;
    if (doc.m_RectRecordFlag || doc.m_ClearAreaFlag) {
        const RECT& r = doc.m_Tracker.m_rect;
        CSurfaceStateSaver saver(dc);
        dc.SelectPen(SolidPen(1, VIEW_WHITE));
        dc.SelectBrush(CBrush{0, true});
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
}
