// OnDraw: what each work stage shows, in which order and colour. The edit
// stage shows the board data once, the path stage the computed paths, the
// layout and machining stages one copy of everything per panel copy, and the
// partial stage the one kind of data being picked from.
#include "view/velm_view.h"

#include "records/board_extent.h"

void CVelmView::OnDraw(CDrawSurface& dc)
{
    RECT client = GetClientRect();
    dc.FillSolidRect(client, RGB(0, 0, 0));

    CVelmDoc& doc = m_Doc;
    int stage = doc.m_WorkStage;
    if (doc.m_ShowWorkArea && (stage == 1 || stage == 2 || stage == 4)) {
        DrawLine(g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMinY, VIEW_GREEN);
        DrawLine(g_BoardMinX, g_BoardMinY, g_BoardMinX, g_BoardMaxY, VIEW_GREEN);
        DrawLine(g_BoardMinX, g_BoardMaxY, g_BoardMaxX, g_BoardMaxY, VIEW_GREEN);
        DrawLine(g_BoardMaxX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY, VIEW_GREEN);
    } else {
        m_LastPoint = POINT{0, 0};
    }

    m_ZoomHistScale[m_ZoomHistIndex] = m_Scale;
    m_ZoomHistOrigin[m_ZoomHistIndex] = m_Origin;

    switch (stage) {
    case 1:
        DrawCopper(g_CopperColor);
        DrawLayersXor();
        DrawRoute(VIEW_CYAN);
        DrawSelection(VIEW_WHITE);
        DrawDrillHoles(VIEW_LIGHT_GREEN);
        if (m_RulerActive)
            DrawRuler(0);
        break;
    case 2:
        if (m_HideRoute == 0)
            for (const auto& region : doc.m_ClearRegionList) {
                DrawClearArea(region.get(), VIEW_GREEN);
                DrawRoute(VIEW_CYAN);
            }
        DrawIsoPaths(VIEW_TEAL);
        DrawLayersXor();
        if (!m_TrimList.empty())
            DrawTrimList(VIEW_CYAN);
        if (!m_SelClearRegions.empty())
            DrawClearArea(m_SelClearRegions.front(), VIEW_WHITE);
        break;
    case 3:
        DrawMachineTable();
        for (const auto& block : m_BlockList)
            DrawBlockFrame(block.get(), VIEW_MAGENTA);
        // In the layout stage the edit list holds the picked blocks.
        for (void* item : m_EditList)
            DrawBlockFrameXor(static_cast<const CLayoutBlock*>(item), VIEW_WHITE, CDPoint());
        break;
    case 4:
        switch (m_SubMode) {
        case 0:
            DrawMachineTable();
            for (const auto& block : m_BlockList)
                DrawBlockFrame(block.get(), VIEW_MAGENTA);
            break;
        case 1: DrawDrillHoles(VIEW_LIGHT_GREEN); break;
        case 2: DrawIsoPaths(VIEW_TEAL); break;
        case 3:
            for (const auto& region : doc.m_ClearRegionList) {
                DrawClearArea(region.get(), VIEW_GREEN);
                if (PumpDuringDraw())
                    return;
            }
            break;
        case 4: DrawRoute(VIEW_CYAN); break;
        default: DrawCopper(g_CopperColor); break;
        }
        break;
    case 5: {
        DrawMachineTable();
        bool noChecks = !(m_ShowCopper || m_ShowDrill || m_ShowRoute || m_ShowClear || m_ShowIso ||
                          m_Show33078 || m_Show33079);
        if (noChecks)
            for (std::size_t i = 0; i < m_BlockList.size(); ++i) {
                DrawBlockFrame(m_BlockList[i].get(), VIEW_MAGENTA);
                if (PumpDuringDraw())
                    return;
            }
        break;
    }
    default:
        break;
    }

    if (stage == 3 || stage == 5) {
        // Each step walks the copies afresh: the messages pumped between
        // copies may change the list.
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
        if (!eachBlock([this](const CLayoutBlock& b) { DrawLayers(&b); }))
            return;
        DrawLayerElements();
        if (doc.m_BoardOrigin.x != 0.0 || doc.m_BoardOrigin.y != 0.0)
            DrawOriginMarkXor(doc.m_BoardOrigin.x, doc.m_BoardOrigin.y, 50.0, VIEW_GREY, CDPoint());
        if (!eachBlock([&](const CLayoutBlock& b) { DrawCopperPlaced(&b, pick(b, g_CopperColor)); }))
            return;
        if (!eachBlock([&](const CLayoutBlock& b) {
                for (const auto& region : doc.m_ClearRegionList)
                    DrawClearAreaPlaced(&b, region.get(), pick(b, VIEW_GREEN));
            }))
            return;
        if (!eachBlock([&](const CLayoutBlock& b) { DrawIsoPathsPlaced(&b, pick(b, VIEW_TEAL)); }))
            return;
        if (!eachBlock([&](const CLayoutBlock& b) { DrawRoutePlaced(&b, pick(b, VIEW_CYAN)); }))
            return;
        if (!eachBlock([&](const CLayoutBlock& b) { DrawDrillHolesPlaced(&b, pick(b, VIEW_LIGHT_GREEN)); }))
            return;
    }

    if (doc.m_RectRecordFlag || doc.m_ClearAreaFlag) {
        const RECT& r = doc.m_Tracker.m_rect;
        CSurfaceStateSaver saver(dc);
        dc.SelectPen(SolidPen(1, VIEW_WHITE));
        dc.SelectBrush(CBrush{0, true});
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
}
