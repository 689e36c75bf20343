// Clearing regions: their strokes at the board's own place, once per panel
// copy, and one stroke inverted as the milling job passes over it.
#include "view/shape_batch.h"
#include "view/velm_view.h"

namespace {

// Red for a stroke the tool moves over lifted, the caller's colour for a
// cut; grey once machined.
CPen StrokePen(const CClearStroke& s, COLORREF colour)
{
    COLORREF c = s.pen == 0 ? RGB(255, 0, 0) : colour;
    if (s.doneMark != 0)
        c = VIEW_GREY;
    return SolidPen(1, c);
}

void PlacedStroke(CVelmView& view, CShapeBatch& batch, const CLayoutBlock& block,
                  const CClearStroke& s)
{
    CDPoint a = PlacePoint(block, s.x1, s.y1);
    CDPoint b = PlacePoint(block, s.x2, s.y2);
    const CDPoint& d = block.m_Centre;
    batch.ClippedLine(view.MapX(a.x, d.x), view.MapY(a.y, d.y), view.MapX(b.x, d.x),
                      view.MapY(b.y, d.y));
}

}  // namespace

void CVelmView::DrawClearArea(const CClearRegion* region, COLORREF colour)
{
    if (!region)
        return;
    CViewDC v(*this);
    CShapeBatch batch(v.dc);
    for (const auto& s : region->strokes) {
        batch.SelectPen(StrokePen(*s, colour));
        batch.ClippedLine(MapX(s->x1), MapY(s->y1), MapX(s->x2), MapY(s->y2));
    }
}

void CVelmView::DrawClearAreaPlaced(const CLayoutBlock* block, const CClearRegion* region,
                                    COLORREF colour)
{
    if (!block || !region)
        return;
    CViewDC v(*this);
    CShapeBatch batch(v.dc);
    for (const auto& s : region->strokes) {
        batch.SelectPen(StrokePen(*s, colour));
        PlacedStroke(*this, batch, *block, *s);
    }
}

void CVelmView::DrawClearAreaXor(const CLayoutBlock* block, const CClearStroke* stroke,
                                 COLORREF colour)
{
    if (!block || !stroke)
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_NOT);
    CShapeBatch batch(v.dc);
    batch.SelectPen(StrokePen(*stroke, colour));
    PlacedStroke(*this, batch, *block, *stroke);
}
