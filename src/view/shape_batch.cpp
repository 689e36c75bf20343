// Runs of like shapes handed to the surface in one call.
#include "view/shape_batch.h"

#include "view/velm_view.h"

CShapeBatch::CShapeBatch(CDrawSurface& dc) : m_Dc(dc), m_Pen(dc.Pen()), m_Brush(dc.Brush()) {}

CShapeBatch::~CShapeBatch()
{
    Flush();
}

void CShapeBatch::Restart(Kind kind)
{
    Flush();
    m_Kind = kind;
    m_RunPen = m_Pen;
    m_RunBrush = m_Brush;
}

void CShapeBatch::Flush()
{
    if (m_Kind == Kind::None)
        return;
    m_Dc.SelectPen(m_RunPen);
    m_Dc.SelectBrush(m_RunBrush);
    switch (m_Kind) {
    case Kind::Line: m_Dc.Lines(m_Ends); break;
    case Kind::Rectangle: m_Dc.Rectangles(m_Boxes); break;
    case Kind::Ellipse: m_Dc.Ellipses(m_Boxes); break;
    case Kind::None: break;
    }
    m_Kind = Kind::None;
    m_Ends.clear();
    m_Boxes.clear();
}

void CShapeBatch::ClippedLine(int x1, int y1, int x2, int y2)
{
    Begin(Kind::Line);
    m_Ends.push_back(CVelmView::ClampedEnd(x1, y1));
    m_Ends.push_back(CVelmView::ClampedEnd(x2, y2));
}

void CShapeBatch::Box(Kind kind, const RECT& box, bool clipped)
{
    if (clipped && !CVelmView::InShapeWindow({box.left, box.top, box.right, box.bottom}))
        return;
    Begin(kind);
    m_Boxes.push_back(box);
}

void CShapeBatch::ClippedArc(int left, int top, int right, int bottom, int xs, int ys, int xe,
                             int ye)
{
    Flush();
    m_Dc.SelectPen(m_Pen);
    m_Dc.SelectBrush(m_Brush);
    CVelmView::ClippedArc(m_Dc, left, top, right, bottom, xs, ys, xe, ye);
}
