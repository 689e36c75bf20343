// The view's hit tests (client pixels in, the searches of editing/
// hit_tests.h on the document's records) and the workers of the two-point
// family of the mouse dispatch: adding holes by hand, aligning the holes to
// a pad by two clicks, and the hover marks that show what a click would take.
#include "view/velm_view.h"

#include "editing/hit_tests.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"

#include <algorithm>

namespace {

// The alignment's first click takes a hole this near (mil).
constexpr double kAlignPickReach = 40.0;
// The mark on the hole the alignment took (mil).
constexpr float kAlignMarkRadius = 30.0f;
// The work area keeps this margin round the data after an alignment (mil).
constexpr int kWorkAreaMargin = 100;
constexpr COLORREF kHoleMarkColour = VIEW_LIGHT_GREEN;

CDPoint ToMil(const CVelmView& view, POINT point)
{
    CDPoint p(point.x, point.y);
    view.ScreenToDocD(&p);
    return p;
}

bool IsNothing(const CDPoint& p) { return p.x == 0.0 && p.y == 0.0; }

void Widen(CExtent& into, const CExtent& e, int margin)
{
    if (e.minX > e.maxX || e.minY > e.maxY)
        return;
    into.minX = std::min(into.minX, e.minX - margin);
    into.minY = std::min(into.minY, e.minY - margin);
    into.maxX = std::max(into.maxX, e.maxX + margin);
    into.maxY = std::max(into.maxY, e.maxY + margin);
}

}  // namespace

CDPoint CVelmView::FindDrillNear(POINT point, int* tolerance) const
{
    return ::FindDrillNear(g_HoleList, ToMil(*this, point), tolerance);
}

CDPoint CVelmView::FindPanelHoleAt(CDPoint point) const
{
    return ::FindPanelHoleAt(m_BlockList, g_HoleList, point);
}

const CFlashRecord* CVelmView::HitItemAt(POINT point) const
{
    POINT mil = point;
    ScreenToDoc(&mil);
    if (const CFlashRecord* f = FlashAt(m_Doc.m_FlashList, mil))
        return f;
    return FlashAt(m_Doc.m_PadList2, mil);
}

CLayoutBlock* CVelmView::FindBlockAt(CDPoint point) const
{
    return BlockAt(m_BlockList, point);
}

int CVelmView::AddCopperPickToSel(const CTrackRecord* track)
{
    if (!track || !IsLayerVisible("COPPER"))
        return 1;
    for (const auto* list : {&m_Doc.m_FlashList, &m_Doc.m_PadList2})
        for (const auto& pad : *list)
            if (PadTouchesTrackEnd(*pad, *track) && !IsInSelListC(pad.get())) {
                m_SelFlashes.push_back(pad.get());
                DrawPickEllipse(pad.get(), VIEW_WHITE);
            }
    return 1;
}

int CVelmView::PickConnectedItem(const CTrackRecord* track)
{
    if (!track)
        return 1;
    auto take = [this](const CTrackRecord& t) {
        AddCopperPickToSel(&t);
        DrawElement(&t, VIEW_WHITE);
    };
    if (IsLayerVisible("COPPER"))
        CollectConnectedTracks(&m_Doc.m_TrackList, *track, m_SelTracks, take);
    if (IsLayerVisible("ROUTE"))
        for (const auto& layer : m_Doc.m_NamedLayerList)
            if (layer->name == "route") {
                CollectConnectedTracks(&layer->tracks, *track, m_SelTracks,
                                       [this](const CTrackRecord& t) { DrawElement(&t, VIEW_WHITE); });
                break;
            }
    return 1;
}

void CVelmView::RemoveRoutePoint(const CPathSegment* item)
{
    RemovePathItem(m_Doc.m_PathLayerList,
                   [this](const CPathRecord& layer) {
                       return layer.side == g_CurrentSide && layer.visible;
                   },
                   item);
}

void CVelmView::SnapToRoutePoint(CDPoint* p1, CDPoint* p2) const
{
    SnapSegmentEnds(m_Doc.m_PathLayerList,
                    [this](const CPathRecord& layer) {
                        return layer.side == g_CurrentSide && IsLayerVisible(layer.name.c_str());
                    },
                    p1, p2);
}

void CVelmView::DrawHoleMarkerXor(CDPoint p, double radius, COLORREF colour)
{
    CFlashRecord marker;
    marker.x = static_cast<float>(p.x);
    marker.y = static_cast<float>(p.y);
    marker.radius = static_cast<float>(radius);
    DrawEditEllipseXor(&marker, 0.0, 0.0, colour);
}

void CVelmView::PickTwoPoints(unsigned, POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    if (m_DrillAddMode && m_BlockPicking) {
        // A hole without a size would make a tool of size 0.
        if (!(m_NewDrillDiameter > 0.0f)) {
            MessageBeep(0);
            return;
        }
        CFlashRecord mark;
        mark.x = static_cast<float>(mil.x);
        mark.y = static_cast<float>(mil.y);
        mark.radius = m_NewDrillDiameter / 2.0f;
        DrawPickEllipse(&mark, kHoleMarkColour);
        AddHandDrill(g_HoleList, g_ToolSizes, m_NewDrillDiameter, mil);
        return;
    }
    if (m_DrillAlignMode && m_PressState == 0) {
        CDPoint hole;
        if (LastHoleWithin(g_HoleList, mil, kAlignPickReach, &hole)) {
            m_PressState = 1;
            m_DragStart = hole;
            CFlashRecord mark;
            mark.x = static_cast<float>(hole.x);
            mark.y = static_cast<float>(hole.y);
            mark.radius = kAlignMarkRadius;
            DrawPickEllipse(&mark, VIEW_WHITE);
            g_StatusText = LoadResString(IDS_CHOOSE_SECOND_POINT);
        }
        return;
    }
    if (m_DrillAlignMode && m_PressState) {
        const CFlashRecord* target = HitItemAt(point);
        if (!target) {
            // Beside every pad: nothing to align to. The alignment ends and
            // the holes stay where they were.
            AfxMessageBox(LoadResString(IDS_INVALID_SELECTION));
            m_PressState = 0;
            m_DrillAlignMode = 0;
            g_StatusText = LoadResString(IDS_CANCELLED);
            Invalidate();
            return;
        }
        CDPoint shift = CDPoint(target->x, target->y) - m_DragStart;
        shift.x += g_MeasureDataWnd.m_OriginX;
        shift.y += g_MeasureDataWnd.m_OriginY;
        ShiftAllHoles(g_HoleList, shift);
        m_PressState = 0;
        m_DrillAlignMode = 0;
        Invalidate();
        m_Doc.ComputeBoardExtent();
        CExtent area = EMPTY_EXTENT;
        for (const CExtent* e : {&m_Doc.m_DrillExtent, &m_Doc.m_DataExtent, &m_Doc.m_GerberExtent})
            Widen(area, *e, kWorkAreaMargin);
        if (area.minX <= area.maxX && area.minY <= area.maxY) {
            g_BoardMinX = area.minX;
            g_BoardMinY = area.minY;
            g_BoardMaxX = area.maxX;
            g_BoardMaxY = area.maxY;
        }
        g_StatusText.clear();
    }
}

void CVelmView::TrackHover(unsigned, POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    m_CursorPos = mil;
    if (m_DrillAlignMode && m_PressState) {
        const CFlashRecord* pad = HitItemAt(point);
        if (pad != m_HoverFlash || m_HoverSide != g_CurrentSide) {
            if (m_HoverFlash && m_HoverSide == g_CurrentSide)
                DrawHoverEllipseXor(m_HoverFlash, VIEW_WHITE);
            if (pad)
                DrawHoverEllipseXor(pad, VIEW_WHITE);
            m_HoverFlash = pad;
            m_HoverSide = g_CurrentSide;
        }
    } else if (m_DrillAlignMode || m_DrillFindMode) {
        int reach = 0;
        const CDPoint hole = FindDrillNear(point, &reach);
        const bool found = !IsNothing(hole);
        if (!m_HoverShown || !found || !(hole == m_HoverPoint)) {
            if (m_HoverShown)
                DrawHoleMarkerXor(m_HoverPoint, m_HoverRadius, kHoleMarkColour);
            m_HoverShown = 0;
            if (found) {
                DrawHoleMarkerXor(hole, reach, kHoleMarkColour);
                m_HoverShown = 1;
                m_HoverPoint = hole;
                m_HoverRadius = reach;
            }
        }
    }
    if (m_DrillAddMode) {
        const double r = m_NewDrillDiameter / 2.0;
        if (m_MarkerShown)
            DrawHoleMarkerXor(m_AddMarkerPoint, r, kHoleMarkColour);
        DrawHoleMarkerXor(mil, r, kHoleMarkColour);
        m_AddMarkerPoint = mil;
        m_BlockPicking = 1;
    }
    m_MarkerShown = m_BlockPicking;
}

void CVelmView::OnLButtonUpOther(unsigned, POINT) {}

void CVelmView::CancelEditMode(unsigned, POINT)
{
    if (m_DrillAddMode) {
        m_BlockPicking = 0;
        m_DrillAddMode = 0;
        m_PressState = 0;
        Invalidate();
        return;
    }
    if (!m_PressState)
        return;
    m_PressState = 0;
    m_DrillAlignMode = m_DrillMoveMode = m_DrillFindMode = m_DrillAddMode = m_BlockPicking = 0;
    m_EditList.clear();
    Invalidate();
    g_StatusText = LoadResString(IDS_CANCELLED);
}
