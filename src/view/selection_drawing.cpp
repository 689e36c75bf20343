// The selected copper, drawn over the copper in a colour of its own.
#include "view/track_painter.h"

void CVelmView::DrawSelection(COLORREF colour)
{
    if (m_SelFlashes.empty() && m_SelTracks.empty())
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    v.dc.SelectBrush(SolidBrush(colour));
    CTrackPainter paint(*this, v.dc, colour);
    for (const CFlashRecord* f : m_SelFlashes)
        paint.Disc(*f, true);
    for (const CTrackRecord* t : m_SelTracks) {
        switch (t->type) {
        case 0: paint.RoundLine(*t); break;
        case 1: paint.FlatTrack(*t, false); break;
        case 3:
        case 4: paint.ArcTrack(*t, ArcApertureWidth(m_Doc, *t)); break;
        default: break;  // the other kinds are not highlighted
        }
    }
}
