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
