// Marks put on the screen at once from inside long work: where the planner
// is, and where the machine is during a job. The next redraw covers them.
#include "view/velm_view.h"

void CVelmView::DrawSegmentNow(float x, float y, COLORREF colour)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    v.dc.Rectangle(TruncToInt(x / m_Scale - 1 + m_Origin.x), TruncToInt(y / m_Scale - 1 + m_Origin.y),
                   TruncToInt(x / m_Scale + 1 + m_Origin.x), TruncToInt(y / m_Scale + 1 + m_Origin.y));
}

void CVelmView::DrawDotNow(float x, float y)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, VIEW_CYAN));
    v.dc.SelectBrush(SolidBrush(VIEW_WHITE));
    ClippedEllipse(v.dc, TruncToInt(x / m_Scale + m_Origin.x - 1), TruncToInt(y / m_Scale + m_Origin.y - 1),
                   TruncToInt(x / m_Scale + m_Origin.x + 1), TruncToInt(y / m_Scale + m_Origin.y + 1));
}
