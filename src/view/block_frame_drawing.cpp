// Frames of the panel copies: the panel outline placed and turned like each
// copy, settled, dragged (inverting) or just picked, and the unturned
// outline as a mark while a route is drawn.
#include "view/velm_view.h"

#include <vector>

namespace {

void Outline(CVelmView& view, CDrawSurface& dc, const COwnedList<POINT>& points,
             const CLayoutBlock& block, CDPoint offset)
{
    std::vector<POINT> line;
    line.reserve(points.size());
    for (const auto& p : points) {
        POINT q = *p;
        ApplyBlockOrientationPt(block, &q);
        line.push_back(CVelmView::ClampedEnd(view.MapX(q.x, offset.x), view.MapY(q.y, offset.y)));
    }
    dc.Polyline(line);
}

}  // namespace

void CVelmView::DrawBlockFrame(const CLayoutBlock* block, COLORREF colour)
{
    if (!block)
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, block->m_Selected ? VIEW_GREY : colour));
    Outline(*this, v.dc, m_OutlinePoints, *block, block->m_Centre);
}

void CVelmView::DrawBlockFrameXor(const CLayoutBlock* block, COLORREF colour, CDPoint offset)
{
    if (!block)
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    v.dc.SetROP2(R2_NOTXORPEN);
    Outline(*this, v.dc, m_OutlinePoints, *block, block->m_Centre + offset);
}

void CVelmView::DrawBlockFrameXor2(const CLayoutBlock* block, COLORREF colour, CDPoint offset)
{
    // Painted, not inverted: a picked frame stays until the next redraw.
    if (!block)
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    v.dc.SetROP2(R2_COPYPEN);
    Outline(*this, v.dc, m_OutlinePoints, *block, block->m_Centre + offset);
}

void CVelmView::DrawBlockMarkXor(COLORREF colour, int dx, int dy)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(2, colour));
    std::vector<POINT> line;
    line.reserve(m_OutlinePoints.size());
    for (const auto& p : m_OutlinePoints)
        line.push_back(ClampedEnd(TruncToInt((p->x + dx) / double(m_Scale) + m_Origin.x),
                                  TruncToInt((p->y + dy) / double(m_Scale) + m_Origin.y)));
    v.dc.Polyline(line);
}
