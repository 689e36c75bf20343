// Cutter-wide path groups: the trim list of the path stage and the
// inverting preview of a route being drawn.
#include "view/segment_shapes.h"

namespace {

void DrawGroup(CVelmView& view, CDrawSurface& dc, const CWidthGroup& group, COLORREF colour)
{
    CShapeBatch batch(dc);
    batch.SelectPen(SolidPen(PenPixels(float(group.width), view.m_Scale), colour));
    for (const auto& s : group.segments)
        DrawGridSegment(view, batch, *s, nullptr);
}

}  // namespace

void CVelmView::DrawTrimList(COLORREF colour)
{
    CViewDC v(*this);
    for (const auto& group : m_TrimList)
        if (group->width > 0)
            DrawGroup(*this, v.dc, *group, colour);
}

void CVelmView::DrawRouteRubberXor(const CWidthGroup* group, COLORREF colour)
{
    if (!group || group->width == 0)
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_NOT);
    DrawGroup(*this, v.dc, *group, colour);
}
