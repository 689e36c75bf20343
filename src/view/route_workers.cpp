// The press, move, release and right-click work of the route family: the
// route tools (line chain, rectangle, circle, arc preview, origin), moving
// every drill hole by two points, the isolation lines and clearing ranges of
// the range mode, the trims, the clearing-stroke pick and the pick of the
// offset rings that the copper-to-route conversions leave in the trim list.
// The route tools hold their first point in client pixels, the range mode's
// isolation line in mil, already snapped.
#include "view/velm_view.h"

#include "editing/hit_tests.h"
#include "editing/copper_to_route.h"
#include "editing/drill_point_edit.h"
#include "editing/route_edit.h"
#include "geometry/plane_geometry.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "view/edit_support.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The rubber figures: the line of the drill move and the route origin, and
// the route shapes.
constexpr COLORREF kMoveLineColour = VIEW_YELLOW;
constexpr COLORREF kRouteShapeColour = VIEW_CYAN;
// The clearing-stroke pick's click reaches a stroke within half this (mil).
constexpr float kStrokeHitWidth = 5.0f;
// The side data saved before a copper-to-route conversion.

// The tools that take two points, the first held in pixels.
bool RouteToolArmed(const CVelmView& v)
{
    return v.m_RouteOriginMode || v.m_DrillMoveMode || v.m_RouteLineMode || v.m_RouteRectMode ||
           v.m_RouteCircleMode || v.m_RouteDraw2Mode;
}

bool IsIsolationRange(const std::string& layer)
{
    return layer == "T1ISO" || layer == "T2ISO" || layer == "T4ISO";
}

bool IsClearingRange(const std::string& layer)
{
    return layer == "T1MIL" || layer == "T2MIL" || layer == "T3MIL";
}

CDPoint MilD(const CVelmView& view, CDPoint pixels)
{
    view.ScreenToDocD(&pixels);
    return pixels;
}

CDPoint MilI(const CVelmView& view, POINT p)
{
    view.ScreenToDoc(&p);
    return CDPoint(p.x, p.y);
}

POINT Pixel(CDPoint p) { return POINT{TruncToInt(p.x), TruncToInt(p.y)}; }

void RubberLine(CVelmView& view, CDPoint a, CDPoint b, COLORREF colour)
{
    CTrackRecord t;
    t.x1 = float(a.x);
    t.y1 = float(a.y);
    t.x2 = float(b.x);
    t.y2 = float(b.y);
    t.width = 1.0f;
    view.DrawMouseMoveXor(&t, colour);
}

bool StrokeUnder(const CClearStroke& s, CDPoint p)
{
    return PointInTrack(TrackAlong(s.x1, s.y1, s.x2, s.y2, kStrokeHitWidth), p) != 0;
}


}  // namespace

// ---- press ----

void CVelmView::OnLButtonDownRoute(unsigned, POINT point)
{
    const bool ctrl = m_KeyCtrl != 0, shift = m_KeyShift != 0;
    // The first point of a two-point tool, kept in pixels.
    auto hold = [this](POINT p) {
        m_DragStart = CDPoint(p.x, p.y);
        m_PressState = 1;
        m_RouteShapeShown = 0;
        // A chain ended by the right button leaves no release to swallow.
        m_Dragging = 0;
    };
    auto finish = [this](int& mode) {
        mode = 0;
        m_PressState = 0;
        m_RouteShapeShown = 0;
        Invalidate();
    };
    // The first point of a figure drawn since the route was last closed is
    // where Home closes it to (whole mils).
    auto markStart = [this](CDPoint mil) {
        if (m_RouteStep)
            return;
        m_RouteStart = POINT{TruncToInt(mil.x), TruncToInt(mil.y)};
        m_RouteStep = 1;
    };
    const POINT held = Pixel(m_DragStart);
    // Every route tool takes its first point alike.
    if (m_PressState == 0 && RouteToolArmed(*this)) {
        if (m_RouteLineMode || m_RouteRectMode || m_RouteDraw2Mode)
            markStart(ToMil(*this, point));
        return hold(point);
    }

    if (m_RouteOriginMode) {
        SetRouteOrigin(g_RouteDataWnd.m_Edit, MilD(*this, m_DragStart), MilI(*this, point));
        return finish(m_RouteOriginMode);
    }
    if (m_DrillMoveMode) {
        ShiftHoles(g_HoleList, MilI(*this, point) - MilI(*this, held));
        return finish(m_DrillMoveMode);
    }
    if (m_RouteLineMode) {
        const POINT p = ctrl ? KeepRouteOrtho(held, point) : point;
        AddPathLine(*RouteDrawingLayer(m_Doc, m_SimToolSize), ToMil(*this, held), ToMil(*this, p));
        // The chain goes on from here; this press's release adds nothing.
        m_Dragging = 1;
        m_DragStart = CDPoint(p.x, p.y);
        m_RouteShapeShown = 0;
        Invalidate();
        return;
    }
    if (m_RouteRectMode) {
        AddPathRect(*RouteDrawingLayer(m_Doc, m_SimToolSize), ToMil(*this, held), ToMil(*this, point));
        return finish(m_RouteRectMode);
    }
    if (m_RouteCircleMode) {
        // The circle's route starts at its rim point (its G00 record).
        markStart(ToMil(*this, point));
        WriteRouteCircle(g_RouteDataWnd.m_Edit, ToMil(*this, held), ToMil(*this, point));
        return finish(m_RouteCircleMode);
    }
    if (m_RouteDraw2Mode) {
        // The arc is only shown while the cursor moves: nothing is recorded.
        return finish(m_RouteDraw2Mode);
    }
    if (m_RouteDrawMode) {
        PickClearStrokes(point);
        m_PressState = 1;
        return;
    }
    if (m_RangeMode) {
        if (IsIsolationRange(g_RangeLayerName)) {
            CDPoint p = ToMil(*this, point);
            if (shift)
                SnapToNearestPoint(p);
            if (m_PressState == 0) {
                m_DragStart = p;
                m_PressState = 1;
                m_RouteShapeShown = 0;
                return;
            }
            CPathRecord* layer = m_Doc.FindPathLayerOnSide(g_RangeLayerName, g_CurrentSide);
            if (!layer)
                return;
            // Hand-drawn isolation lines lead their layer.
            AddHead(layer->items, PathLine(m_DragStart, p, ctrl ? 10 : 0));
            m_PressState = 0;
            m_RouteShapeShown = 0;
            Invalidate();
        } else if (IsClearingRange(g_RangeLayerName)) {
            const std::string name = g_RangeLayerName;
            TrackRubberBand(point, [this, name](const RECT& band) {
                if (band.left == band.right || band.top == band.bottom)
                    return;
                MessageBeep(0);
                const RECT r = BandInMil(*this, band);
                if (!m_KeyCtrl) {
                    m_Doc.MergeMillIntoPath(name, r.left, r.top, r.right, r.bottom);
                } else if (CPathRecord* layer = m_Doc.FindPathLayerOnSide(name, g_CurrentSide)) {
                    std::vector<CRouteLine> lines;
                    if (!ZigZagLines(r, layer->size, m_Doc.m_ClearOverlap, lines))
                        AfxMessageBox(LoadResString(IDS_ZIGZAG_PITCH_TOO_SMALL),
                                      MB_OK | MB_ICONEXCLAMATION);
                    for (const CRouteLine& l : lines)
                        AddPathLine(*layer, l.a, l.b);
                }
                m_PressState = 0;
                Invalidate();
            });
        }
        return;
    }
    if (m_TrimMode) {
        const CDPoint mil = ToMil(*this, point);
        if (m_TrimBlockMode && ctrl)
            DeleteHolesInBand(mil);
        else if (m_TrimBlockMode && shift)
            CutOtherPathsInBand(mil);
        else if (m_TrimBlockMode)
            CutPathsInBand(mil);
        else
            DeletePathAt(mil);
        return;
    }
    if (m_ResetClearMode) {
        PickClearStrokes(point);
        m_PressState = 1;
        return;
    }
    if (m_CopperToRouteMode) {
        CWidthGroup* ring = FindOffsetRing(point);
        if (!ring)
            return;
        // Taken once: a ring without width is no longer offered.
        ring->width = 0;
        CPathRecord* layer = m_Doc.GetToolPathLayer(RouteLayerName(g_RouteOffsetDistance));
        for (const auto& s : ring->segments)
            layer->items.push_back(RouteItemFromRing(*s));
        m_PressState = 1;
        m_HoverRing = nullptr;
        Invalidate();
    }
}

CWidthGroup* CVelmView::FindOffsetRing(POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    for (const auto& ring : m_TrimList) {
        if (ring->width < 1)
            continue;
        for (const auto& s : ring->segments)
            if (RingSegmentHit(*s, mil, ring->width))
                return ring.get();
    }
    return nullptr;
}

void CVelmView::PickClearStrokes(POINT point)
{
    const std::uint32_t mark = (m_KeyCtrl || m_KeyShift) ? 1 : 0;
    const CDPoint mil = ToMil(*this, point);
    for (const auto& region : m_Doc.m_ClearRegionList)
        for (const auto& stroke : region->strokes)
            if (StrokeUnder(*stroke, mil)) {
                stroke->doneMark = std::int32_t(mark);
                Invalidate();
                return;
            }
    TrackRubberBand(point, [this, mark](const RECT& band) {
        if (band.left == band.right || band.top == band.bottom)
            return;
        MessageBeep(0);
        const RECT r = BandInMil(*this, band);
        for (const auto& region : m_Doc.m_ClearRegionList)
            for (const auto& s : region->strokes)
                if (InRect(r, s->x1, s->y1) || InRect(r, s->x2, s->y2))
                    s->doneMark = std::int32_t(mark);
        Invalidate();
    });
}

// ---- move ----

void CVelmView::OnMouseMoveRoute(unsigned, POINT point)
{
    if (m_CopperToRouteMode) {
        // Rings rebuilt since the last move took the highlighted one along.
        const bool kept = std::any_of(m_TrimList.begin(), m_TrimList.end(),
                                      [this](const auto& ring) { return ring.get() == m_HoverRing; });
        if (m_HoverRing && kept)
            DrawRouteRubberXor(m_HoverRing, kRouteShapeColour);
        m_HoverRing = FindOffsetRing(point);
        if (m_HoverRing)
            DrawRouteRubberXor(m_HoverRing, kRouteShapeColour);
        return;
    }
    if (m_PressState != 1)
        return;
    const bool routeTool = RouteToolArmed(*this);
    const bool rangeLine = !routeTool && m_RangeMode && IsIsolationRange(g_RangeLayerName);
    if (!routeTool && !rangeLine)
        return;
    const CDPoint start = rangeLine ? m_DragStart : MilD(*this, m_DragStart);
    enum { MOVE_LINE, ROUTE_LINE, RECTANGLE, CIRCLE, HALF_CIRCLE } kind = ROUTE_LINE;
    if (m_RouteOriginMode || m_DrillMoveMode)
        kind = MOVE_LINE;
    else if (m_RouteLineMode || rangeLine)
        kind = ROUTE_LINE;
    else if (m_RouteRectMode)
        kind = RECTANGLE;
    else if (m_RouteCircleMode)
        kind = CIRCLE;
    else
        kind = HALF_CIRCLE;
    // The figure from the held point to `end` (mil); drawing it again at the
    // same end takes it away.
    auto figure = [this, start, kind](CDPoint end) {
        switch (kind) {
        case MOVE_LINE: RubberLine(*this, start, end, kMoveLineColour); break;
        case ROUTE_LINE: RubberLine(*this, start, end, kRouteShapeColour); break;
        case RECTANGLE: {
            const CDPoint corners[] = {start, CDPoint(end.x, start.y), end,
                                       CDPoint(start.x, end.y), start};
            for (int i = 0; i < 4; ++i)
                RubberLine(*this, corners[i], corners[i + 1], kRouteShapeColour);
            break;
        }
        case CIRCLE: {
            CFlashRecord circle;
            circle.x = float(start.x);
            circle.y = float(start.y);
            circle.radius = float(Distance(start.x, start.y, end.x, end.y));
            DrawRouteEllipseXor(&circle, 1.0f, kRouteShapeColour);
            break;
        }
        case HALF_CIRCLE: {
            // Over the held point and the cursor, from the end the step
            // flag names.
            const float cx = float(std::trunc((start.x + end.x) / 2));
            const float cy = float(std::trunc((start.y + end.y) / 2));
            const float r = float(Distance(start.x, start.y, end.x, end.y) / 2);
            CDPoint from = start, to = end;
            if (m_RouteDrawStep)
                std::swap(from, to);
            DrawRouteArcXor(cx - r, cy - r, cx + r, cy + r, float(from.x), float(from.y),
                            float(to.x), float(to.y), 1.0f, kRouteShapeColour);
            break;
        }
        }
    };
    CDPoint end;
    if (rangeLine) {
        end = ToMil(*this, point);
        if (m_KeyShift)
            SnapToNearestPoint(end);
    } else {
        POINT p = point;
        if (m_RouteLineMode && m_KeyCtrl)
            p = KeepRouteOrtho(Pixel(m_DragStart), p);
        end = ToMil(*this, p);
    }
    if (m_RouteShapeShown)
        figure(m_DragEnd);
    figure(end);
    m_DragEnd = end;
    m_RouteShapeShown = 1;
}

// ---- release ----

void CVelmView::OnLButtonUpRoute(unsigned, POINT point)
{
    // A click: the tool waits for its second point.
    if (point.x == TruncToInt(m_DragStart.x) && point.y == TruncToInt(m_DragStart.y))
        return;
    if (m_Dragging) {
        m_Dragging = 0;
        return;
    }
    if (m_PressState == 0)
        return;
    const POINT held = Pixel(m_DragStart);
    int* ended = nullptr;
    if (m_DrillMoveMode) {
        ShiftHoles(g_HoleList, ToMil(*this, point) - MilD(*this, m_DragStart));
        ended = &m_DrillMoveMode;
    } else if (m_RouteOriginMode) {
        SetRouteOrigin(g_RouteDataWnd.m_Edit, MilD(*this, m_DragStart), ToMil(*this, point));
        ended = &m_RouteOriginMode;
    } else if (m_RouteLineMode) {
        const POINT p = m_KeyCtrl ? KeepRouteOrtho(held, point) : point;
        AddPathLine(*RouteDrawingLayer(m_Doc, m_SimToolSize), ToMil(*this, held), ToMil(*this, p));
        ended = &m_RouteLineMode;
    } else if (m_RouteRectMode) {
        AddPathRect(*RouteDrawingLayer(m_Doc, m_SimToolSize), ToMil(*this, held),
                     ToMil(*this, point));
        ended = &m_RouteRectMode;
    } else if (m_RouteCircleMode) {
        const CDPoint centre = ToMil(*this, held), rim = ToMil(*this, point);
        AddPathCircle(*RouteDrawingLayer(m_Doc, m_SimToolSize), centre,
                       Distance(centre.x, centre.y, rim.x, rim.y));
        ended = &m_RouteCircleMode;
    }
    if (!ended)
        return;
    *ended = 0;
    m_PressState = 0;
    m_RouteShapeShown = 0;
    Invalidate();
}

// ---- right button ----

void CVelmView::EndOffsetPick()
{
    // The snapshot brings other copper records: nothing may keep pointing
    // at the ones it replaces.
    ForgetEditedRecords();
    m_SelTracks.clear();
    m_SelFlashes.clear();
    m_TrimList.clear();
    m_Doc.LoadTempFile(kRouteSnapshotFile);
    m_CopperToRouteMode = 0;
    m_HoverRing = nullptr;
    m_HideRoute = 0;
    // The rings were walked in the path stage, which draws no copper: the
    // board that comes back is edited again, as it was when converted.
    m_Doc.m_WorkStage = std::uint8_t(WorkStage::Edit);
    Invalidate();
}

void CVelmView::OnRButtonDownRoute(unsigned, POINT)
{
    if (m_ResetClearMode) {
        for (const auto& region : m_Doc.m_ClearRegionList)
            std::erase_if(region->strokes, [](const auto& s) { return s->doneMark == 1; });
        Invalidate();
    }
    if (m_TrimMode) {
        std::erase_if(m_Doc.m_GridPathList, [](const auto& s) { return s->doneMark == 1; });
        m_HideRoute = 0;
        Invalidate();
    }
    if (m_CopperToRouteMode)
        EndOffsetPick();
    if (m_PressState) {
        for (int* flag : {&m_RouteLineMode, &m_DrillMoveMode, &m_RouteOriginMode,
                          &m_RouteCircleMode, &m_RouteRectMode, &m_PressState})
            *flag = 0;
        m_RouteShapeShown = 0;
        Invalidate();
    } else {
        m_HideRoute = 0;
    }
    m_RangeMode = m_TrimMode = m_ResetClearMode = 0;
}
