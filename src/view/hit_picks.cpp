// The view's hit tests (client pixels in, the searches of editing/
// hit_tests.h on the document's records) and the workers of the two-point
// family of the mouse dispatch: adding holes by hand, aligning the holes to
// a pad by two clicks, and the hover marks that show what a click would take.
#include "view/velm_view.h"

#include "editing/band_cuts.h"
#include "editing/hit_tests.h"
#include "editing/isolation_edit.h"
#include "editing/path_chain_setup.h"
#include "geometry/plane_geometry.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/message_dlg.h"
#include "view/edit_support.h"

#include <algorithm>

namespace {

constexpr COLORREF kHoleMarkColour = VIEW_LIGHT_GREEN;


bool IsNothing(const CDPoint& p) { return p.x == 0.0 && p.y == 0.0; }

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

int CVelmView::SnapToNearestPoint(CDPoint& point)
{
    for (const auto& f : m_Doc.m_FlashList)
        if (PointInCircle(*f, point)) {
            point = CDPoint(f->x, f->y);
            DrawPickEllipse(f.get(), VIEW_WHITE);
            return 1;
        }
    // The nearest end, compared in whole mil; the first of equals wins.
    int best = 100000;
    bool found = false;
    CDPoint nearest;
    auto consider = [&](CDPoint end) {
        const int d = static_cast<int>(Distance(end.x, end.y, point.x, point.y));
        if (d < best) {
            best = d;
            nearest = end;
            found = true;
        }
    };
    for (const auto& t : m_Doc.m_TrackList) {
        consider(CDPoint(t->x1, t->y1));
        consider(CDPoint(t->x2, t->y2));
    }
    for (const auto& layer : m_Doc.m_PathLayerList) {
        if ((layer->side != g_CurrentSide && layer->side != 5) ||
            !IsLayerVisible(layer->name.c_str()))
            continue;
        for (const auto& s : layer->items)
            if (s->type == 0) {
                consider(CDPoint(s->x1, s->y1));
                consider(CDPoint(s->x2, s->y2));
            }
    }
    // Nothing to snap to: the point stays where the operator put it rather
    // than jumping to the origin.
    if (found)
        point = nearest;
    return 0;
}

int CVelmView::SelectPathsInArea(CDPoint point)
{
    if (g_IsoDeleteBusy)
        return 0;
    g_IsoDeleteBusy = 1;
    const int state = m_KeyCtrl ? SEGMENT_NORMAL : SEGMENT_SELECTED;
    const double reach = m_Scale * 8.0;
    for (auto& layer : m_Doc.m_PathLayerList) {
        if (!IsEditablePathLayer(*layer))
            continue;
        for (auto& s : layer->items) {
            if (s->flag != SEGMENT_NORMAL && s->flag != SEGMENT_SELECTED)
                continue;
            bool hit = false;
            // A line drawn by hand with Ctrl (type 10) is straight too: as
            // an arc about (0, 0) it would be hit far away from where it lies.
            const bool straight = IsStraightSegment(s->type);
            if (straight) {
                hit = PointInTrack(PathSegmentTrack(*s, reach), point) != 0;
            } else {
                CArcD arc{s->x1, s->y1, s->x2, s->y2, s->cx, s->cy, s->type == 1 ? 1 : -1};
                hit = PointOnArc(arc, point, int(m_Scale * 4.0));
            }
            if (!hit)
                continue;
            std::vector<CPathSegment*> chain{s.get()};
            if (!m_KeyShift) {
                // A long path takes a while to follow: say so meanwhile.
                CMessageDlg notice;
                if (straight)
                    notice.ShowId(IDS_SEARCHING_CONNECTIONS);
                chain = CollectChain(*layer, s.get());
            }
            for (CPathSegment* c : chain)
                if (c->flag != SEGMENT_LOCKED) {
                    c->flag = state;
                    m_EditList.push_back(c);
                }
            if (m_IsoAreaMode && straight) {
                CRefList<CPathSegment> ring(chain.begin(), chain.end());
                m_Doc.m_PickContour.SetPoints(ring);
                // The region's own pass runs under the guard this pick holds.
                g_IsoDeleteBusy = 0;
                SetIsoStateInRegion(static_cast<std::uint8_t>(state));
                g_IsoDeleteBusy = 1;
            }
            Invalidate();
            g_IsoDeleteBusy = 0;
            return 0;
        }
    }
    g_IsoDeleteBusy = 0;
    return 0;
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
    if (m_DrillAlignMode)
        DrillAlignPress(point);
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
