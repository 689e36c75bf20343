// Stand-in until the real one is merged.
#include "view/standin_e25b.h"

#include "editing/isolation_edit.h"
#include "editing/path_chain_setup.h"
#include "geometry/plane_geometry.h"
#include "records/track_geometry.h"
#include "settings/work_order_dlg.h"
#include "view/velm_view.h"

#include <algorithm>

namespace standin_e25b {

CFlashRecord* HitItemAt(CVelmView& view, POINT point)
{
    view.ScreenToDoc(&point);
    for (auto& f : view.GetDocument()->m_FlashList)
        if (PointInCircleXY(*f, point.x, point.y))
            return f.get();
    return nullptr;
}

int PickConnectedItem(CVelmView& view, CTrackRecord* track)
{
    CRefList<CTrackRecord> pending{track};
    while (!pending.empty()) {
        CTrackRecord* t = pending.back();
        pending.pop_back();
        const CDPoint a(t->x1, t->y1), b(t->x2, t->y2);
        for (auto& other : view.GetDocument()->m_TrackList) {
            if (other->type != 0 || view.IsInSelListA(other.get()))
                continue;
            const CDPoint s(other->x1, other->y1), e(other->x2, other->y2);
            if (s == a || s == b || e == a || e == b) {
                view.m_SelTracks.push_back(other.get());
                pending.push_back(other.get());
            }
        }
    }
    return 1;
}

int SnapToNearestPoint(CVelmView& view, CDPoint& point)
{
    for (auto& f : view.GetDocument()->m_FlashList)
        if (PointInCircle(*f, point)) {
            point = CDPoint(f->x, f->y);
            return 1;
        }
    return 0;
}

void SnapToRoutePoint(CVelmView& view, CPathSegment& segment)
{
    for (auto& layer : view.GetDocument()->m_PathLayerList) {
        if (!view.IsEditablePathLayer(*layer))
            continue;
        for (auto& item : layer->items) {
            if (item.get() == &segment)
                continue;
            bool snapped = false;
            for (CDPoint end : {CDPoint(item->x1, item->y1), CDPoint(item->x2, item->y2)}) {
                if (Distance(end.x, end.y, segment.x1, segment.y1) < 2.0) {
                    segment.x1 = end.x;
                    segment.y1 = end.y;
                    snapped = true;
                }
                if (Distance(end.x, end.y, segment.x2, segment.y2) < 2.0) {
                    segment.x2 = end.x;
                    segment.y2 = end.y;
                    snapped = true;
                }
            }
            if (snapped)
                return;
        }
    }
}

void RemoveRoutePoint(CVelmView& view, CPathSegment* segment)
{
    for (auto& layer : view.GetDocument()->m_PathLayerList)
        if (view.IsEditablePathLayer(*layer) &&
            std::erase_if(layer->items, [segment](const auto& s) { return s.get() == segment; }))
            return;
}

int SelectPathsInArea(CVelmView& view, CDPoint point)
{
    if (g_IsoDeleteBusy)
        return 0;
    g_IsoDeleteBusy = 1;
    const int state = view.m_KeyCtrl ? SEGMENT_NORMAL : SEGMENT_SELECTED;
    const double reach = view.m_Scale * 8.0;
    for (auto& layer : view.GetDocument()->m_PathLayerList) {
        if (!view.IsEditablePathLayer(*layer))
            continue;
        for (auto& s : layer->items) {
            if (s->flag != SEGMENT_NORMAL && s->flag != SEGMENT_SELECTED)
                continue;
            bool hit = false;
            if (s->type == 0) {
                CTrackRecord probe;
                probe.x1 = float(s->x1);
                probe.y1 = float(s->y1);
                probe.x2 = float(s->x2);
                probe.y2 = float(s->y2);
                probe.width = float(reach);
                hit = PointInTrack(probe, point) != 0;
            } else {
                CArcD arc{s->x1, s->y1, s->x2, s->y2, s->cx, s->cy, s->type == 1 ? 1 : -1};
                hit = PointOnArc(arc, point, int(view.m_Scale * 4.0));
            }
            if (!hit)
                continue;
            std::vector<CPathSegment*> chain{s.get()};
            if (!view.m_KeyShift)
                chain = CollectChain(*layer, s.get());
            for (CPathSegment* c : chain)
                if (c->flag != SEGMENT_LOCKED) {
                    c->flag = state;
                    view.m_EditList.push_back(c);
                }
            if (view.m_IsoAreaMode && s->type == 0) {
                CRefList<CPathSegment> ring(chain.begin(), chain.end());
                view.GetDocument()->m_PickContour.SetPoints(ring);
                g_IsoDeleteBusy = 0;
                view.SetIsoStateInRegion(static_cast<std::uint8_t>(state));
                g_IsoDeleteBusy = 1;
            }
            view.Invalidate();
            g_IsoDeleteBusy = 0;
            return 0;
        }
    }
    g_IsoDeleteBusy = 0;
    return 0;
}

void DrawRubberBandXor(CVelmView& view, const RECT& band)
{
    CViewDC v(view);
    v.dc.SetROP2(R2_NOT);
    v.dc.SelectPen(SolidPen(1, VIEW_WHITE));
    v.dc.SelectBrush(CBrush{0, true});
    CVelmView::ClippedRectangle(v.dc, std::min(band.left, band.right),
                                std::min(band.top, band.bottom),
                                std::max(band.left, band.right) + 1,
                                std::max(band.top, band.bottom) + 1);
}

}  // namespace standin_e25b
