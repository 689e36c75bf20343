// The press, move and release work of the copper and path editor's modes:
// adding copper lines, rectangles and circles, selecting, copying and moving
// copper and path segments, the line width by click, the isolation pick, the
// side alignment on a pad, the data range and the route and DXF-CAM chain
// set-up. Rubber shapes follow the cursor in XOR and are erased by drawing
// them again at the previous point.
#include "view/velm_view.h"

#include "editing/add_copper.h"
#include "editing/copper_edit.h"
#include "editing/hit_tests.h"
#include "editing/isolation_edit.h"
#include "editing/path_chain_setup.h"
#include "exchange/text_input_dlg.h"
#include "geometry/plane_geometry.h"
#include "geometry/segment_chain.h"
#include "platform/font_choice.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "view/edit_support.h"

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

namespace {

// Which rubber band of the editor is held.
enum EditBand { BAND_NONE = 0, BAND_SELECT, BAND_DATA_RANGE, BAND_ROUTE_SETUP, BAND_DXF_SETUP };

constexpr COLORREF COPPER_DESELECTED = 0x808000;
// The line and rectangle rubber shapes are drawn NOT-XOR: with black that
// inverts what lies below (white over the bare board), and a second draw
// gives it back. White would leave the screen as it was.
constexpr COLORREF RUBBER_INVERT = RGB(0, 0, 0);
// The dragged path segments are thin lines of this many pixels.
constexpr double PATH_DRAG_PIXELS = 2.0;
// Hit tolerances fixed on the screen, in pixels.
constexpr double LINE_HIT_PIXELS = 8.0;
constexpr double PATH_END_REACH = 2.0;
// The most points of a text outline taken.
constexpr std::size_t TEXT_PATH_POINTS = 20000;


// The rubber shape of a copper mode between the held point and `p` (mil).
CTrackRecord LineShape(CDPoint a, CDPoint b, float width)
{
    CTrackRecord t;
    t.x1 = float(a.x);
    t.y1 = float(a.y);
    t.x2 = float(b.x);
    t.y2 = float(b.y);
    t.width = width;
    return t;
}

CTrackRecord RectShape(CDPoint a, CDPoint b)
{
    CTrackRecord t = LineShape(CDPoint((a.x + b.x) / 2, a.y), CDPoint((a.x + b.x) / 2, b.y), 0);
    t.width = float(std::fabs(b.x - a.x));
    t.type = 1;
    return t;
}

CFlashRecord CircleShape(CDPoint centre, CDPoint edge)
{
    CFlashRecord f;
    f.x = float(centre.x);
    f.y = float(centre.y);
    f.radius = float(Distance(centre.x, centre.y, edge.x, edge.y));
    return f;
}

// Ctrl held: the new point `p` (mil) stays on the horizontal or vertical
// through the held point, keeping the coordinate of the axis along which the
// cursor (`pixel`) moved less on the screen.
void KeepOrtho(const CVelmView& view, POINT pixel, CDPoint& p)
{
    CDPoint held = view.m_DragStart;
    view.DocToScreenD(&held);
    if (std::fabs(pixel.x - held.x) < std::fabs(pixel.y - held.y))
        p.x = view.m_DragStart.x;
    else
        p.y = view.m_DragStart.y;
}


}  // namespace

// ---- shared helpers of the workers ----

namespace {

// A rubber band of purpose `kind` starts at `point`; its release finishes
// it unless it has no width or height.
void BeginBand(CVelmView& view, int kind, POINT point)
{
    view.TrackRubberBand(point, [&view, kind](const RECT& band) {
        if (band.left != band.right && band.top != band.bottom)
            view.FinishEditBand(kind, BandInMil(view, band));
        else if (kind == BAND_DATA_RANGE)
            g_StatusText = FormatResText(IDS_SELECTED_COUNT,
                                         int(view.m_SelTracks.size() + view.m_SelFlashes.size()));
    });
}

// The layers the route (route mode) or DXF-CAM (else) set-up works on.
std::vector<CPathRecord*> SetupLayers(CVelmView& view, bool routeMode)
{
    std::vector<CPathRecord*> layers;
    for (auto& layer : view.GetDocument()->m_PathLayerList) {
        if (layer->side != 5)
            continue;
        if (routeMode ? (IsRouteLayer(*layer) && view.IsLayerVisible(layer->name.c_str()))
                      : (!IsRouteLayer(*layer) && !IsHiddenLayer(*layer)))
            layers.push_back(layer.get());
    }
    return layers;
}

}  // namespace

// ---- press ----

void CVelmView::OnLButtonDownEdit(unsigned, POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    const bool ctrl = m_KeyCtrl != 0, shift = m_KeyShift != 0;

    // Route and DXF-CAM set-up: every chain under the click, else a band.
    for (bool routeMode : {true, false}) {
        if (!(routeMode ? m_RouteSetupMode : m_DxfCamMode))
            continue;
        bool hit = false;
        std::set<const CPathSegment*> done;
        for (CPathRecord* layer : SetupLayers(*this, routeMode)) {
            for (std::size_t i = 0; i < layer->items.size(); ++i) {
                CPathSegment* s = layer->items[i].get();
                if (s->type != 0 || done.count(s) || (routeMode && s->flag != 0 && s->flag != 1))
                    continue;
                const CTrackRecord probe = PathSegmentTrack(*s, m_Scale * LINE_HIT_PIXELS);
                if (!PointInTrack(probe, mil))
                    continue;
                hit = true;
                // A segment of a chain already set up by this click is not
                // set up again, so shared pieces do not flip back.
                const std::vector<CPathSegment*> chain = CollectChain(*layer, s);
                done.insert(chain.begin(), chain.end());
                SetUpChain(chain, routeMode, ctrl, shift);
                Invalidate();
            }
        }
        if (!hit)
            BeginBand(*this, routeMode ? BAND_ROUTE_SETUP : BAND_DXF_SETUP, point);
    }

    if (m_TextMode) {
        TextPress(point);
        return;
    }
    if (m_CopperLineMode) {
        CDPoint p = mil;
        const CDPoint from = m_PressState ? m_DragStart : mil;
        if (m_PressState == 0) {
            if (shift)
                SnapToNearestPoint(p);
            AddCopperJoint(m_Doc, p, float(m_CopperLineWidth / 2), 0);
        } else {
            if (ctrl)
                KeepOrtho(*this, point, p);
            if (shift)
                SnapToNearestPoint(p);
            CTrackRecord* t = AddCopperLine(m_Doc, m_DragStart, p, float(m_CopperLineWidth));
            AddCopperJoint(m_Doc, p, float(int(t->width) / 2), t->aperture);
            m_SegmentAdded = 1;
            m_EditShapeShown = 0;
            Invalidate();
        }
        m_PressState = 1;
        m_DragStart = p;
        g_StatusText =
            FormatResText(IDS_TRACK_POSITION, from.x, from.y, p.x, p.y, m_CopperLineWidth);
        return;
    }
    if (m_CopperRectMode || m_CopperCircleMode) {
        if (m_PressState == 0) {
            m_PressState = 1;
            m_DragStart = mil;
            m_EditShapeShown = 0;
            return;
        }
        if (m_CopperRectMode)
            AddCopperRect(m_Doc, m_DragStart, mil);
        else
            AddCopperCircle(m_Doc, m_DragStart, mil);
        m_CopperRectMode = 0;
        m_CopperCircleMode = 0;
        m_PressState = 0;
        m_EditShapeShown = 0;
        Invalidate();
        g_StatusText.clear();
        return;
    }

    if (!m_CopperSelectMode) {
        if (!m_DataRangeMode) {
            if (m_CopyMode) {
                if (m_PressState == 0) {
                    m_PressState = 1;
                    m_DragStart = CDPoint(point.x, point.y);
                    m_EditShapeShown = 0;
                    return;
                }
                CDPoint base = m_DragStart;
                ScreenToDocD(&base);
                CopyCopper(m_SelTracks, m_SelFlashes, mil - base, m_Doc);
                m_PressState = 0;
                m_CopyMode = 0;
                m_EditShapeShown = 0;
                Invalidate();
                g_StatusText.clear();
                return;
            }
            if (m_MoveMode) {
                MovePress(mil);
                return;
            }
        }
        if (!m_CopperAlignMode) {
            if (m_LineWidthMode) {
                for (auto& t : m_Doc.m_TrackList) {
                    if (t->type >= 3 || !PointInTrack(*t, mil))
                        continue;
                    char start[32];
                    std::snprintf(start, sizeof start, "%g", double(t->width));
                    if (const auto width = AskNumber(LoadResString(IDS_ENTER_LINE_WIDTH), start, true)) {
                        t->width = float(*width);
                        Invalidate();
                    }
                    break;
                }
                return;
            }
            if (m_IsoPickMode) {
                m_EditList.clear();
                SelectPathsInArea(mil);
                g_StatusText = FormatResText(IDS_SELECTED_COUNT, int(m_EditList.size()));
                return;
            }
        } else {
            AlignPress(point);
            return;
        }
        if (m_DataRangeMode) {
            BeginBand(*this, BAND_DATA_RANGE, point);
            return;
        }
        return;
    }
    SelectPress(point);
}

void CVelmView::TextPress(POINT point)
{
    POINT at = point;
    ScreenToDoc(&at);
    // Either question cancelled: nothing changes and the mode waits on.
    if (!Host().ChooseFont(m_TextFont))
        return;
    CTextInputDlg dlg;
    if (dlg.DoModal() != IDOK || dlg.m_strText.empty())
        return;
    std::vector<POINT> path;
    std::vector<unsigned char> kinds;
    {
        CViewDC v(*this);
        v.dc.TextPath(m_TextFont, dlg.m_strText, TEXT_PATH_POINTS, path, kinds);
    }
    AddEngravedText(m_Doc, path, kinds, at, g_CurrentSide == 1);
    Invalidate();
    m_TextMode = 0;
}

void CVelmView::SelectPress(POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    const bool removing = m_KeyShift || m_KeyCtrl;
    bool hit = false;
    auto pickTracks = [&](COwnedList<CTrackRecord>& tracks, bool connect) {
        for (auto& t : tracks) {
            if (t->type >= 3 || !PointInTrack(*t, mil))
                continue;
            hit = true;
            if (removing) {
                DrawElement(t.get(), COPPER_DESELECTED);
                RemoveFromSelListA(t.get());
            } else if (!IsInSelListA(t.get())) {
                DrawElement(t.get(), VIEW_WHITE);
                m_SelTracks.push_back(t.get());
                if (connect)
                    PickConnectedItem(t.get());
            }
        }
    };
    auto pickFlashes = [&](COwnedList<CFlashRecord>& flashes) {
        for (auto& f : flashes) {
            if (!PointInCircle(*f, mil))
                continue;
            hit = true;
            DrawPickEllipse(f.get(), removing ? COPPER_DESELECTED : VIEW_WHITE);
            if (removing)
                RemoveFromSelListC(f.get());
            else if (!IsInSelListC(f.get()))
                m_SelFlashes.push_back(f.get());
        }
    };
    if (IsLayerVisible("COPPER")) {
        pickTracks(m_Doc.m_TrackList, true);
        pickFlashes(m_Doc.m_FlashList);
    }
    CNamedLayer* route = m_Doc.FindNamedLayer("route");
    if (route && IsLayerVisible("ROUTE")) {
        pickTracks(route->tracks, false);
        pickFlashes(route->flashes);
    }
    if (!hit)
        BeginBand(*this, BAND_SELECT, point);
    g_StatusText =
        FormatResText(IDS_SELECTED_COUNT, int(m_SelTracks.size() + m_SelFlashes.size()));
}

void CVelmView::MovePress(CDPoint mil)
{
    g_MoveDragKind = -1;
    const bool copper = IsLayerVisible("COPPER") != 0;
    if (copper && m_PressState != 0 && !(m_SelTracks.empty() && m_SelFlashes.empty())) {
        // A move of the selection left pending by another mode.
        CDPoint from = m_DragStart;
        MoveCopper(m_SelTracks, m_SelFlashes, mil - from);
        m_SelTracks.clear();
        m_SelFlashes.clear();
        m_PressState = 0;
        m_MoveMode = 0;
        Invalidate();
        g_StatusText.clear();
        return;
    }
    m_DragJoint = nullptr;
    m_DragSegments.clear();
    if (copper) {
        m_SelTracks.clear();
        m_SelFlashes.clear();
        bool hasPoint = false;
        CDPoint dragPoint = mil;
        for (auto& f : m_Doc.m_FlashList)
            if (f->type == 3 && PointInCircle(*f, mil)) {
                dragPoint = CDPoint(f->x, f->y);
                m_DragJoint = f.get();
                m_SelFlashes.push_back(f.get());
                hasPoint = true;
                break;
            }
        for (std::size_t i = 0; !hasPoint && i < m_Doc.m_TrackList.size(); ++i) {
            const CTrackRecord& t = *m_Doc.m_TrackList[i];
            if (t.type != 0)
                continue;
            for (CDPoint end : {TrackStart(t), TrackEnd(t)})
                if (Distance(end.x, end.y, mil.x, mil.y) < t.width / 3) {
                    dragPoint = end;
                    hasPoint = true;
                    break;
                }
        }
        if (!hasPoint) {
            // Indexes: a split appends to the list while it is walked.
            const std::size_t count = m_Doc.m_TrackList.size();
            for (std::size_t i = 0; i < count; ++i) {
                CTrackRecord* t = m_Doc.m_TrackList[i].get();
                if (t->type != 0 || !PointInTrack(*t, mil))
                    continue;
                if (!m_KeyShift) {
                    DrawElement(t, VIEW_WHITE);
                    m_SelTracks.push_back(t);
                } else {
                    m_DragJoint = SplitTrackAt(*t, mil, m_Doc);
                    m_SelFlashes.push_back(m_DragJoint);
                    hasPoint = true;
                    break;
                }
            }
        }
        if (hasPoint) {
            m_SelTracks.clear();
            for (auto& t : m_Doc.m_TrackList)
                if (t->type == 0 &&
                    (Distance(t->x1, t->y1, dragPoint.x, dragPoint.y) < t->width / 2 ||
                     Distance(t->x2, t->y2, dragPoint.x, dragPoint.y) < t->width / 2)) {
                    DrawElement(t.get(), VIEW_WHITE);
                    m_SelTracks.push_back(t.get());
                }
        }
        if (!m_SelTracks.empty()) {
            g_MoveDragKind = hasPoint ? 2 : 1;
            m_PressState = 0;
            m_DragPoint = dragPoint;
            m_DragStart = dragPoint;
            m_MoveOffset = CDPoint();
            m_EditShapeShown = 0;
            return;
        }
        m_SelFlashes.clear();
        m_DragJoint = nullptr;
    }

    // Path segments of the working side and of side 5.
    CDPoint dragPoint = mil;
    int kind = -1;
    for (auto& layer : m_Doc.m_PathLayerList) {
        if ((layer->side != g_CurrentSide && layer->side != 5) ||
            !IsLayerVisible(layer->name.c_str()))
            continue;
        for (auto& s : layer->items)
            if (kind < 0 && s->type == 0)
                for (CDPoint end : {CDPoint(s->x1, s->y1), CDPoint(s->x2, s->y2)})
                    if (kind < 0 && Distance(end.x, end.y, mil.x, mil.y) < PATH_END_REACH) {
                        dragPoint = end;
                        kind = 4;
                    }
    }
    for (auto& layer : m_Doc.m_PathLayerList) {
        if (kind >= 0 || (layer->side != g_CurrentSide && layer->side != 5) ||
            !IsLayerVisible(layer->name.c_str()))
            continue;
        for (std::size_t i = 0; i < layer->items.size(); ++i) {
            CPathSegment* s = layer->items[i].get();
            if (s->type != 0 || !PointInTrack(PathSegmentTrack(*s, m_Scale * LINE_HIT_PIXELS), mil))
                continue;
            if (!m_KeyShift) {
                m_DragSegments.push_back(s);
                kind = 3;
                continue;
            }
            auto copy = std::make_unique<CPathSegment>(*s);
            copy->x1 = mil.x;
            copy->y1 = mil.y;
            s->x2 = mil.x;
            s->y2 = mil.y;
            layer->items.insert(layer->items.begin() + std::ptrdiff_t(i), std::move(copy));
            kind = 4;
            break;
        }
    }
    if (kind >= 0)
        for (auto& layer : m_Doc.m_PathLayerList) {
            if ((layer->side != g_CurrentSide && layer->side != 5) ||
                !IsLayerVisible(layer->name.c_str()))
                continue;
            for (auto& s : layer->items)
                if ((CDPoint(s->x1, s->y1) == dragPoint || CDPoint(s->x2, s->y2) == dragPoint) &&
                    std::find(m_DragSegments.begin(), m_DragSegments.end(), s.get()) ==
                        m_DragSegments.end())
                    m_DragSegments.push_back(s.get());
        }
    if (m_DragSegments.empty()) {
        m_MoveMode = 0;
        return;
    }
    g_MoveDragKind = kind;
    m_PressState = 0;
    m_DragPoint = dragPoint;
    m_DragStart = dragPoint;
    m_MoveOffset = CDPoint();
}

void CVelmView::AlignPress(POINT point)
{
    if (!g_HasComponentSide || !g_HasSolderSide) {
        m_CopperAlignMode = 0;
        return;
    }
    const CFlashRecord* pad = HitItemAt(point);
    if (!pad || pad->type != 0) {
        AfxMessageBox(LoadResString(IDS_CHOOSE_ROUND_PAD), MB_OK);
        return;
    }
    const CDPoint centre(pad->x, pad->y);
    if (m_PressState == 0) {
        m_AlignPadA = centre;
        // The operator picks the matching pad on the other side; a side
        // that cannot be loaded ends the alignment with both sides as they
        // were.
        if (!m_Doc.SwitchToOtherSide()) {
            m_CopperAlignMode = 0;
            return;
        }
        m_PressState = 1;
        Invalidate();
        return;
    }
    m_Doc.AlignSidesOnPads(m_AlignPadA, centre);
    m_CopperAlignMode = 0;
    m_PressState = 0;
    m_SelTracks.clear();
    m_SelFlashes.clear();
    Invalidate();
}

// ---- move ----

void CVelmView::OnMouseMoveEdit(unsigned, POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    // The rubber shape of the copper modes, erased at the last point first.
    auto shapeAt = [this](CDPoint p) {
        if (m_CopperLineMode) {
            const CTrackRecord t = LineShape(m_DragStart, p, float(m_CopperLineWidth));
            DrawMouseMoveXor(&t, RUBBER_INVERT);
        } else if (m_CopperRectMode) {
            const CTrackRecord t = RectShape(m_DragStart, p);
            DrawMouseMoveXor(&t, RUBBER_INVERT);
        } else if (m_CopperCircleMode) {
            const CFlashRecord f = CircleShape(m_DragStart, p);
            DrawHoverEllipseXor(&f, VIEW_WHITE);
        } else if (m_CopyMode) {
            CDPoint base = m_DragStart;
            ScreenToDocD(&base);
            const CDPoint d = p - base;
            for (const CTrackRecord* t : m_SelTracks)
                DrawEditDragXor(t, d.x, d.y, VIEW_WHITE);
            for (const CFlashRecord* f : m_SelFlashes)
                DrawEditEllipseXor(f, d.x, d.y, VIEW_WHITE);
        } else if (m_MoveMode && (g_MoveDragKind == 1 || g_MoveDragKind == 2)) {
            const CDPoint d = p - m_DragPoint;
            for (const CTrackRecord* t : m_SelTracks)
                DrawEditDragXor(t, d.x, d.y, VIEW_WHITE);
        } else if (m_MoveMode && (g_MoveDragKind == 3 || g_MoveDragKind == 4)) {
            // The copies go through the release's own move, so the shape
            // shown is where the segments land.
            const CDPoint d = p - m_DragPoint;
            std::vector<CPathSegment> copies;
            copies.reserve(m_DragSegments.size());
            for (const CPathSegment* s : m_DragSegments)
                copies.push_back(*s);
            CRefList<CPathSegment> moved;
            for (CPathSegment& c : copies)
                moved.push_back(&c);
            if (g_MoveDragKind == 3)
                StretchSegments(moved, d);
            else
                MoveSegmentEnds(moved, m_DragPoint, d);
            for (const CPathSegment& c : copies) {
                const CTrackRecord t = PathSegmentTrack(c, m_Scale * PATH_DRAG_PIXELS);
                DrawEditDragXor(&t, 0.0, 0.0, VIEW_WHITE);
            }
        }
    };
    const bool copperShape = (m_CopperLineMode || m_CopperRectMode || m_CopperCircleMode ||
                              m_CopyMode) && m_PressState == 1;
    const bool moveShape = m_MoveMode && g_MoveDragKind >= 1;
    if (!copperShape && !moveShape)
        return;
    if (m_EditShapeShown)
        shapeAt(m_EditLastPoint);
    shapeAt(mil);
    m_EditLastPoint = mil;
    m_EditShapeShown = 1;

    if (m_CopperLineMode)
        g_StatusText = FormatResText(IDS_TRACK_POSITION, m_DragStart.x, m_DragStart.y, mil.x,
                                     mil.y, m_CopperLineWidth);
    else if (m_CopperRectMode)
        g_StatusText = FormatResText(IDS_PAD_POSITION_SIZE, m_DragStart.x, m_DragStart.y,
                                     std::fabs(mil.x - m_DragStart.x),
                                     std::fabs(mil.y - m_DragStart.y));
    else if (m_CopperCircleMode)
        g_StatusText = FormatResText(IDS_CIRCLE_CENTRE, m_DragStart.x, m_DragStart.y,
                                     2 * Distance(m_DragStart.x, m_DragStart.y, mil.x, mil.y));
    else if (m_CopyMode) {
        CDPoint base = m_DragStart;
        ScreenToDocD(&base);
        g_StatusText = FormatResText(IDS_OFFSET_MIL, mil.x - base.x, mil.y - base.y);
    } else {
        m_MoveOffset = mil - m_DragPoint;
        if (g_MoveDragKind == 4) {
            CDPoint p = mil;
            if (m_KeyShift)
                SnapToNearestPoint(p);
            char text[64];
            std::snprintf(text, sizeof text, "%g %g ", p.x, p.y);
            g_StatusText = text;
        } else {
            g_StatusText = FormatResText(IDS_OFFSET_MIL, m_MoveOffset.x, m_MoveOffset.y);
        }
    }
}

// ---- release ----

void CVelmView::OnLButtonUpEdit(unsigned, POINT point)
{
    CDPoint mil = ToMil(*this, point);
    // A drag of the move mode always ends at the release, so no drag is
    // left following the cursor with the button up.
    if (m_MoveMode && g_MoveDragKind >= 1) {
        FinishMoveDrag(mil);
        return;
    }
    // The press just added a line segment: its release does nothing more.
    if (m_SegmentAdded) {
        m_SegmentAdded = 0;
        return;
    }
    if (int(mil.x) == int(m_DragStart.x) && int(mil.y) == int(m_DragStart.y))
        return;
    if (m_KeyCtrl && m_PressState)
        KeepOrtho(*this, point, mil);
    if (m_CopperLineMode)
        return;
    if (m_KeyShift)
        SnapToNearestPoint(mil);
    if (m_CopperRectMode && m_PressState) {
        AddCopperRect(m_Doc, m_DragStart, mil);
        m_CopperRectMode = 0;
    } else if (m_CopperCircleMode) {
        if (!m_PressState) {
            m_PressState = 1;
            m_DragStart = mil;
            return;
        }
        AddCopperCircle(m_Doc, m_DragStart, mil);
        m_CopperCircleMode = 0;
    } else {
        return;
    }
    m_PressState = 0;
    m_EditShapeShown = 0;
    Invalidate();
    g_StatusText.clear();
}

void CVelmView::FinishMoveDrag(CDPoint release)
{
    CDPoint offset = release - m_DragPoint;
    switch (g_MoveDragKind) {
    case 1: StretchTracks(m_SelTracks, offset); break;
    case 2: MoveJoint(m_DragJoint, m_DragPoint, m_SelTracks, offset); break;
    case 3: StretchSegments(m_DragSegments, offset); break;
    case 4: {
        if (m_KeyShift)
            SnapToNearestPoint(release);
        offset = release - m_DragStart;
        MoveSegmentEnds(m_DragSegments, m_DragPoint, offset);
        for (CPathSegment* s : m_DragSegments) {
            if (Distance(s->x1, s->y1, s->x2, s->y2) >= 1.0) {
                CDPoint a(s->x1, s->y1), b(s->x2, s->y2);
                SnapToRoutePoint(&a, &b);
                s->x1 = a.x;
                s->y1 = a.y;
                s->x2 = b.x;
                s->y2 = b.y;
            } else {
                RemoveRoutePoint(s);
            }
        }
        break;
    }
    default: break;
    }
    m_SelTracks.clear();
    m_SelFlashes.clear();
    m_DragSegments.clear();
    m_DragJoint = nullptr;
    g_MoveDragKind = -1;
    m_PressState = 0;
    m_EditShapeShown = 0;
    Invalidate();
}

void CVelmView::FinishEditBand(int kind, const RECT& mil)
{
    MessageBeep(0);
    if (kind == BAND_DATA_RANGE) {
        g_BoardMinX = mil.left;
        g_BoardMinY = mil.top;
        g_BoardMaxX = mil.right;
        g_BoardMaxY = mil.bottom;
        m_DataRangeMode = 0;
        Invalidate();
        g_StatusText =
            FormatResText(IDS_SELECTED_COUNT, int(m_SelTracks.size() + m_SelFlashes.size()));
        return;
    }
    if (kind == BAND_SELECT) {
        const bool removing = m_KeyShift || m_KeyCtrl;
        auto bandTracks = [&](COwnedList<CTrackRecord>& tracks) {
            for (auto& t : tracks) {
                if (t->type >= 3 || !(InRect(mil, t->x1, t->y1) || InRect(mil, t->x2, t->y2)))
                    continue;
                if (removing) {
                    RemoveFromSelListA(t.get());
                } else if (!IsInSelListA(t.get())) {
                    m_SelTracks.push_back(t.get());
                }
            }
        };
        auto bandFlashes = [&](COwnedList<CFlashRecord>& flashes) {
            for (auto& f : flashes) {
                if (!InRect(mil, f->x, f->y))
                    continue;
                if (removing)
                    RemoveFromSelListC(f.get());
                else if (!IsInSelListC(f.get()))
                    m_SelFlashes.push_back(f.get());
            }
        };
        if (IsLayerVisible("COPPER")) {
            bandTracks(m_Doc.m_TrackList);
            bandFlashes(m_Doc.m_FlashList);
        }
        CNamedLayer* route = m_Doc.FindNamedLayer("route");
        if (route && IsLayerVisible("ROUTE")) {
            bandTracks(route->tracks);
            bandFlashes(route->flashes);
        }
        Invalidate();
        g_StatusText =
            FormatResText(IDS_SELECTED_COUNT, int(m_SelTracks.size() + m_SelFlashes.size()));
        return;
    }
    const bool routeMode = kind == BAND_ROUTE_SETUP;
    const int state = m_KeyCtrl ? 0 : 1;
    for (CPathSegment* s : SegmentsInRect(SetupLayers(*this, routeMode), mil)) {
        if (!routeMode && m_KeyShift)
            ReverseSegment(*s);
        else
            s->flag = state;
    }
    Invalidate();
}
