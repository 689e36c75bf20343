// Frames of the panel copies: the panel outline placed and turned like each
// copy, settled, dragged (inverting) or just picked, and the unturned
// outline as a mark while a route is drawn.
#include "view/velm_view.h"

namespace {

void Outline(CVelmView& view, CDrawSurface& dc, const COwnedList<POINT>& points,
             const CLayoutBlock& block, CDPoint offset)
{
    bool first = true;
    for (const auto& p : points) {
        POINT q = *p;
        ApplyBlockOrientationPt(block, &q);
        int x = view.MapX(q.x, offset.x), y = view.MapY(q.y, offset.y);
        if (first)
            CVelmView::ClippedMoveTo(dc, x, y);
        else
            CVelmView::ClippedLineTo(dc, x, y);
        first = false;
    }
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
    bool first = true;
    for (const auto& p : m_OutlinePoints) {
        int x = TruncToInt((p->x + dx) / double(m_Scale) + m_Origin.x);
        int y = TruncToInt((p->y + dy) / double(m_Scale) + m_Origin.y);
        if (first)
            ClippedMoveTo(v.dc, x, y);
        else
            ClippedLineTo(v.dc, x, y);
        first = false;
    }
}
