// The device-context state shared by every drawing surface.
#include "view/draw_surface.h"

CPen CDrawSurface::SelectPen(const CPen& pen)
{
    CPen old = m_Pen;
    m_Pen = pen;
    return old;
}

CBrush CDrawSurface::SelectBrush(const CBrush& brush)
{
    CBrush old = m_Brush;
    m_Brush = brush;
    return old;
}

int CDrawSurface::SetROP2(int rop)
{
    int old = m_Rop;
    m_Rop = rop;
    return old;
}

void CDrawSurface::LineTo(int x, int y)
{
    POINT to{x, y};
    Line(m_Position, to);
    m_Position = to;
}

void CDrawSurface::Lines(std::span<const POINT> ends)
{
    std::size_t even = ends.size() & ~std::size_t(1);
    if (even == 0)
        return;
    LineBatch(ends.first(even));
    m_Position = ends[even - 1];
}

void CDrawSurface::Polyline(std::span<const POINT> points)
{
    if (points.empty())
        return;
    if (points.size() > 1) {
        std::vector<POINT> ends;
        ends.reserve(2 * (points.size() - 1));
        for (std::size_t i = 1; i < points.size(); ++i) {
            ends.push_back(points[i - 1]);
            ends.push_back(points[i]);
        }
        LineBatch(ends);
    }
    m_Position = points.back();
}

void CDrawSurface::LineBatch(std::span<const POINT> ends)
{
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2)
        Line(ends[i], ends[i + 1]);
}

void CDrawSurface::Rectangles(std::span<const RECT> boxes)
{
    for (const RECT& b : boxes)
        Rectangle(b.left, b.top, b.right, b.bottom);
}

void CDrawSurface::Ellipses(std::span<const RECT> boxes)
{
    for (const RECT& b : boxes)
        Ellipse(b.left, b.top, b.right, b.bottom);
}
