// The planner's computed isolation segments: at the board's own place, once
// per panel copy, one segment inverted as the isolation job machines it, and
// one path-layer segment redrawn when a pick changes its state.
#include "view/segment_shapes.h"

#include "settings/layer_dlg.h"

#include <cmath>

POINT MapPoint(const CVelmView& view, const CLayoutBlock* block, double x, double y)
{
    if (!block)
        return POINT{view.MapX(x), view.MapY(y)};
    CDPoint p = PlacePoint(*block, x, y);
    return POINT{view.MapX(p.x, block->m_Centre.x), view.MapY(p.y, block->m_Centre.y)};
}

void DrawGridSegment(CVelmView& view, CShapeBatch& batch, const CGridPathSegment& s,
                     const CLayoutBlock* block)
{
    if (s.type == 0) {
        batch.ClippedLine(MapPoint(view, block, s.x1, s.y1), MapPoint(view, block, s.x2, s.y2));
        return;
    }
    float dx = s.x1 - s.cx, dy = s.y1 - s.cy;
    float r = std::sqrt(dx * dx + dy * dy);
    POINT lo = MapPoint(view, block, s.cx - r, s.cy - r);
    POINT hi = MapPoint(view, block, s.cx + r, s.cy + r);
    POINT start = MapPoint(view, block, s.x1, s.y1);
    POINT end = MapPoint(view, block, s.x2, s.y2);
    if (s.type != 2)
        std::swap(start, end);
    if (block && BlockMirrors(*block))
        std::swap(start, end);
    batch.ClippedArc(lo.x, lo.y, hi.x, hi.y, start.x, start.y, end.x, end.y);
}

static void DrawIsoList(CVelmView& view, const COwnedList<CGridPathSegment>& list,
                        const CLayoutBlock* block, COLORREF colour)
{
    CViewDC v(view);
    CShapeBatch batch(v.dc);
    CPen normal = SolidPen(1, colour);
    CPen done = SolidPen(1, VIEW_GREY);
    for (const auto& s : list) {
        batch.SelectPen(s->doneMark != 0 ? done : normal);
        DrawGridSegment(view, batch, *s, block);
    }
}

void CVelmView::DrawIsoPaths(COLORREF colour)
{
    DrawIsoList(*this, m_Doc.m_GridPathList, nullptr, colour);
}

void CVelmView::DrawIsoPathsPlaced(const CLayoutBlock* block, COLORREF colour)
{
    if (block)
        DrawIsoList(*this, m_Doc.m_GridPathList, block, colour);
}

void CVelmView::DrawIsoPathsXor(const CLayoutBlock* block, const CGridPathSegment* segment,
                                COLORREF colour)
{
    if (!block || !segment)
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_NOT);
    CShapeBatch batch(v.dc);
    batch.SelectPen(SolidPen(1, segment->doneMark != 0 ? VIEW_GREY : colour));
    DrawGridSegment(*this, batch, *segment, block);
}

void CVelmView::DrawConnectedPaths(const CPathSegment* segment, float toolSize, COLORREF colour)
{
    if (!segment)
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_COPYPEN);
    CShapeBatch batch(v.dc);
    int width = g_SolidLineView ? PenPixels(toolSize, m_Scale) : 1;
    batch.SelectPen(SolidPen(width, colour));
    if (segment->type == 0 || segment->type == 10) {
        if (segment->type == 10)
            batch.SelectPen(SolidPen(1, VIEW_YELLOW));
        batch.ClippedLine(MapX(segment->x1), MapY(segment->y1), MapX(segment->x2),
                          MapY(segment->y2));
    } else {
        DrawChordArc(*this, batch, *segment, 0.1f, nullptr);
    }
}
