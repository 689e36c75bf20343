// The working side's copper: the whole side at its own place, once per
// panel copy, and a single record for the editing modes; with the track,
// arc and flash rules the other copper-like drawers share.
#include "view/track_painter.h"

#include "records/board_extent.h"
#include "settings/layer_dlg.h"

#include <cmath>

bool BlockMirrors(const CLayoutBlock& block)
{
    bool mixed = (block.m_Sign.x == 1 && block.m_Sign.y == -1) ||
                 (block.m_Sign.x == -1 && block.m_Sign.y == 1);
    return (block.m_Swap != 0) != mixed;
}

CDPoint PlacePoint(const CLayoutBlock& block, double x, double y)
{
    CDPoint p(x - block.m_RefCentre.x, y - block.m_RefCentre.y);
    ApplyBoardOrientation(block, &p);
    return p;
}

float ArcApertureWidth(const CVelmDoc& doc, const CTrackRecord& track)
{
    // The full index the reader kept, so every aperture of a large table can
    // be named; a width of 0 (no such aperture) still draws a hairline.
    float width = doc.GetApertureWidthByIndex(track.apertureNo);
    return width > 0.0f ? width : 1.0f;
}

namespace {

// The arc pen of a copper record; the look-up only for arcs, the other
// records do not use it.
float ArcPen(const CVelmDoc& doc, const CTrackRecord& track)
{
    int kind = track.type & 0x0F;
    return kind == 3 || kind == 4 ? ArcApertureWidth(doc, track) : 0.0f;
}

}  // namespace

CTrackPainter::CTrackPainter(CVelmView& v, CDrawSurface& surface, COLORREF c,
                             const CLayoutBlock* b, CDPoint offset)
    : view(v), batch(surface), colour(c), block(b), d(b ? b->m_Centre : offset)
{
}

CDPoint CTrackPainter::Place(double x, double y) const
{
    return block ? PlacePoint(*block, x, y) : CDPoint(x, y);
}

void CTrackPainter::FlatTrack(const CTrackRecord& t, bool clipRects)
{
    int w = static_cast<int>(t.width);
    int h = w / 2;
    CDPoint p1 = Place(t.x1, t.y1);
    CDPoint p2 = Place(t.x2, t.y2);
    auto rect = [&](int l, int tp, int r, int b) {
        batch.SelectPen(SolidPen(1, colour));
        batch.SelectBrush(SolidBrush(colour));
        if (clipRects)
            batch.ClippedRectangle(l, tp, r, b);
        else
            batch.Rectangle(l, tp, r, b);
    };
    if (p1.x == p2.x) {
        rect(X(p1.x - h), Y(p1.y), X(p2.x + h), Y(p2.y));
    } else if (p1.y == p2.y) {
        rect(X(p1.x), Y(p1.y - h), X(p2.x), Y(p2.y + h));
    } else {
        batch.SelectPen(FlatPen(PenPixels(float(w), view.m_Scale), colour));
        batch.ClippedLine(X(p1.x), Y(p1.y), X(p2.x), Y(p2.y));
    }
}

void CTrackPainter::RoundLine(const CTrackRecord& t)
{
    int w = static_cast<int>(t.width);
    CDPoint p1 = Place(t.x1, t.y1);
    CDPoint p2 = Place(t.x2, t.y2);
    batch.SelectPen(SolidPen(PenPixels(float(w), view.m_Scale), colour));
    batch.ClippedLine(X(p1.x), Y(p1.y), X(p2.x), Y(p2.y));
}

void CTrackPainter::ArcTrack(const CTrackRecord& t, float penMil)
{
    float r = t.width;
    float cx = t.x1, cy = t.y1;
    batch.SelectPen(SolidPen(PenPixels(float(static_cast<int>(penMil)), view.m_Scale), colour));
    CDPoint lo = Place(cx - r, cy - r);
    CDPoint hi = Place(cx + r, cy + r);
    auto at = [&](float a) { return Place(cx + r * std::sin(a), cy + r * std::cos(a)); };
    CDPoint s = at(t.x2);
    CDPoint e = at(t.y2);
    bool reverse = (t.type & 0x0F) == 4;
    if (block && BlockMirrors(*block))
        reverse = !reverse;
    if (reverse)
        std::swap(s, e);
    batch.ClippedArc(X(lo.x), Y(lo.y), X(hi.x), Y(hi.y), X(s.x), Y(s.y), X(e.x), Y(e.y));
}

void CTrackPainter::CopperTrack(const CTrackRecord& t, float arcPenMil, bool clipRects)
{
    switch (t.type & 0x0F) {
    case 0: RoundLine(t); break;
    case 1:
    case 2: FlatTrack(t, clipRects); break;
    case 3:
    case 4: ArcTrack(t, arcPenMil); break;
    default: break;  // 5 to 15 are not drawn
    }
}

void CTrackPainter::Disc(const CFlashRecord& f, bool clipped)
{
    CDPoint c = Place(f.x, f.y);
    float r = f.radius;
    if (clipped)
        batch.ClippedEllipse(X(c.x - r), Y(c.y - r), X(c.x + r), Y(c.y + r));
    else
        batch.Ellipse(X(c.x - r), Y(c.y - r), X(c.x + r), Y(c.y + r));
}

void CVelmView::DrawCopper(COLORREF colour)
{
    if (!IsLayerVisible("COPPER"))
        return;
    if (m_CopperHighlight)
        colour = VIEW_YELLOW;
    m_ClientRect = GetClientRect();
    if (m_Doc.m_TrackList.empty() && m_Doc.m_FlashList.empty())
        return;
    CViewDC v(*this);
    CTrackPainter paint(*this, v.dc, colour);
    paint.batch.SelectBrush(SolidBrush(colour));
    for (const auto& t : m_Doc.m_TrackList)
        paint.CopperTrack(*t, ArcPen(m_Doc, *t), true);
    paint.batch.SelectPen(SolidPen(1, colour));
    COLORREF fill = colour;
    if (g_SolidLineView)
        fill = m_CopperHighlight ? VIEW_YELLOW : PAD_FILL;
    paint.batch.SelectBrush(SolidBrush(fill));
    for (const auto& f : m_Doc.m_FlashList)
        paint.Disc(*f, true);
}

void CVelmView::DrawCopperPlaced(const CLayoutBlock* block, COLORREF colour)
{
    if (!IsLayerVisible("COPPER") || !block)
        return;
    CViewDC v(*this);
    CTrackPainter paint(*this, v.dc, colour, block);
    paint.batch.SelectPen(SolidPen(1, colour));
    paint.batch.SelectBrush(SolidBrush(colour));
    for (const auto& f : m_Doc.m_FlashList)
        paint.Disc(*f, true);
    for (const auto& t : m_Doc.m_TrackList) {
        paint.CopperTrack(*t, ArcPen(m_Doc, *t), false);
        // The discs after a track need the copper brush again.
        paint.batch.SelectBrush(SolidBrush(colour));
    }
}

void CVelmView::DrawElement(const CTrackRecord* record, COLORREF colour)
{
    if (!record || record->type == 8)
        return;
    CViewDC v(*this);
    CTrackPainter paint(*this, v.dc, colour);
    paint.batch.SelectBrush(SolidBrush(colour));
    switch (record->type) {
    case 1: paint.FlatTrack(*record, false); break;
    case 3:
    case 4: paint.ArcTrack(*record, static_cast<float>(static_cast<int>(record->width))); break;
    default: paint.RoundLine(*record); break;
    }
}
