// The route (board outline) layer: at the board's own place and once per
// panel copy.
#include "view/track_painter.h"

namespace {

void DrawRouteTrack(CTrackPainter& paint, const CVelmDoc& doc, const CTrackRecord& t)
{
    switch (t.type) {
    case 1: paint.FlatTrack(t, false); break;
    case 3:
    case 4: paint.ArcTrack(t, ArcApertureWidth(doc, t)); break;
    default: paint.RoundLine(t); break;
    }
}

}  // namespace

void CVelmView::DrawRoute(COLORREF colour)
{
    if (!IsLayerVisible("ROUTE"))
        return;
    const CNamedLayer* route = m_Doc.FindNamedLayer("route");
    if (!route || (route->tracks.empty() && route->flashes.empty()))
        return;
    CViewDC v(*this);
    v.dc.SelectBrush(SolidBrush(colour));
    CTrackPainter paint(*this, v.dc, colour);
    for (const auto& t : route->tracks)
        DrawRouteTrack(paint, m_Doc, *t);
    paint.batch.SelectPen(SolidPen(1, colour));
    paint.batch.SelectBrush(SolidBrush(PAD_FILL));
    for (const auto& f : route->flashes)
        paint.Disc(*f, true);
}

void CVelmView::DrawRoutePlaced(const CLayoutBlock* block, COLORREF colour)
{
    if (!IsLayerVisible("ROUTE") || !block)
        return;
    const CNamedLayer* route = m_Doc.FindNamedLayer("route");
    if (!route || (route->tracks.empty() && route->flashes.empty()))
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, colour));
    v.dc.SelectBrush(SolidBrush(colour));
    CTrackPainter paint(*this, v.dc, colour, block);
    for (const auto& f : route->flashes)
        paint.Disc(*f, true);
    for (const auto& t : route->tracks)
        DrawRouteTrack(paint, m_Doc, *t);
}
