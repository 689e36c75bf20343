// The measuring ruler: switched on from the popup, it starts as a 40-pixel
// line near the top left corner; the mouse dispatch drags its ends.
#include "view/velm_view.h"

void CVelmView::OnRuler()
{
    m_RulerActive = !m_RulerActive;
    if (m_RulerActive) {
        m_RulerA = CDPoint(10.0, 10.0);
        m_RulerB = CDPoint(50.0, 10.0);
    }
    Invalidate();
}
