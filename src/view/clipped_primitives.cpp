// The clipped shapes every drawer sends its pixels through: shapes with a
// coordinate outside -1000..2000 are dropped whole, line ends are clamped to
// -2000..2000 (the shape batches apply the same two rules); and the thin
// board line of the work-area frame.
#include "view/velm_view.h"

void CVelmView::ClippedArc(CDrawSurface& dc, int left, int top, int right, int bottom, int xs,
                           int ys, int xe, int ye)
{
    if (InShapeWindow({left, top, right, bottom, xs, ys, xe, ye}))
        dc.Arc(left, top, right, bottom, xs, ys, xe, ye);
}

void CVelmView::ClippedEllipse(CDrawSurface& dc, int left, int top, int right, int bottom)
{
    if (InShapeWindow({left, top, right, bottom}))
        dc.Ellipse(left, top, right, bottom);
}

void CVelmView::ClippedRectangle(CDrawSurface& dc, int left, int top, int right, int bottom)
{
    if (InShapeWindow({left, top, right, bottom}))
        dc.Rectangle(left, top, right, bottom);
}

void CVelmView::ClippedMoveTo(CDrawSurface& dc, int x, int y)
{
    POINT p = ClampedEnd(x, y);
    dc.MoveTo(p.x, p.y);
}

void CVelmView::ClippedLineTo(CDrawSurface& dc, int x, int y)
{
    POINT p = ClampedEnd(x, y);
    dc.LineTo(p.x, p.y);
}

void CVelmView::DrawLine(int x1, int y1, int x2, int y2, COLORREF colour)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    ClippedMoveTo(v.dc, MapX(x1), MapY(y1));
    ClippedLineTo(v.dc, MapX(x2), MapY(y2));
}
