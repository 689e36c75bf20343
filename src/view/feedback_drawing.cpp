// Transient shapes over the board while the mouse picks, drags and draws
// (most of them erase themselves when drawn again), and the ruler.
#include "view/track_painter.h"

namespace {

// A track as the feedback shows it: type 1 flat-ended, any other type a
// round-ended line.
void TrackShape(CTrackPainter& paint, const CTrackRecord& t)
{
    if (t.type == 1)
        paint.FlatTrack(t, false);
    else
        paint.RoundLine(t);
}

void TrackFeedback(CVelmView& view, const CTrackRecord* t, COLORREF c, int rop, CDPoint offset)
{
    if (!t)
        return;
    CViewDC v(view);
    v.dc.SetROP2(rop);
    v.dc.SelectBrush(SolidBrush(c));
    CTrackPainter paint(view, v.dc, c, nullptr, offset);
    TrackShape(paint, *t);
}

void CircleFeedback(CVelmView& view, const CFlashRecord* f, CPen pen, CBrush brush, int rop,
                    CDPoint offset)
{
    if (!f)
        return;
    CViewDC v(view);
    v.dc.SetROP2(rop);
    v.dc.SelectPen(pen);
    v.dc.SelectBrush(brush);
    CTrackPainter paint(view, v.dc, pen.colour, nullptr, offset);
    paint.Disc(*f, true);
}

void ArcFeedback(CVelmView& view, const float box[8], float width, COLORREF c, int rop)
{
    CViewDC v(view);
    v.dc.SetROP2(rop);
    v.dc.SelectPen(SolidPen(PenPixels(width, view.m_Scale), c));
    v.dc.SelectBrush(SolidBrush(c));
    CVelmView::ClippedArc(v.dc, view.MapX(box[0]), view.MapY(box[1]), view.MapX(box[2]),
                          view.MapY(box[3]), view.MapX(box[4]), view.MapY(box[5]),
                          view.MapX(box[6]), view.MapY(box[7]));
}

}  // namespace

void CVelmView::DrawSelectionXor(const CTrackRecord* record, COLORREF colour)
{
    TrackFeedback(*this, record, colour, R2_NOT, CDPoint());
}

void CVelmView::DrawMouseMoveXor(const CTrackRecord* record, COLORREF colour)
{
    TrackFeedback(*this, record, colour, R2_NOTXORPEN, CDPoint());
}

void CVelmView::DrawEditDragXor(const CTrackRecord* record, double dx, double dy, COLORREF colour)
{
    TrackFeedback(*this, record, colour, R2_XORPEN, CDPoint(dx, dy));
}

void CVelmView::DrawPickEllipse(const CFlashRecord* flash, COLORREF colour)
{
    CircleFeedback(*this, flash, SolidPen(1, colour), SolidBrush(colour), R2_COPYPEN, CDPoint());
}

void CVelmView::DrawHoverEllipseXor(const CFlashRecord* flash, COLORREF colour)
{
    CircleFeedback(*this, flash, SolidPen(2, colour), SolidBrush(colour), R2_NOT, CDPoint());
}

void CVelmView::DrawEditEllipseXor(const CFlashRecord* flash, double dx, double dy, COLORREF colour)
{
    CircleFeedback(*this, flash, SolidPen(2, colour), SolidBrush(colour), R2_XORPEN,
                   CDPoint(dx, dy));
}

void CVelmView::DrawRouteEllipseXor(const CFlashRecord* flash, float width, COLORREF colour)
{
    CircleFeedback(*this, flash, SolidPen(PenPixels(width, m_Scale), colour),
                   SolidBrush(VIEW_WHITE), R2_NOTXORPEN, CDPoint());
}

void CVelmView::DrawBlockArc(float left, float top, float right, float bottom, float xs, float ys,
                             float xe, float ye, float width, COLORREF colour)
{
    const float box[8] = {left, top, right, bottom, xs, ys, xe, ye};
    ArcFeedback(*this, box, width, colour, R2_COPYPEN);
}

void CVelmView::DrawRouteArcXor(float left, float top, float right, float bottom, float xs,
                                float ys, float xe, float ye, float width, COLORREF colour)
{
    const float box[8] = {left, top, right, bottom, xs, ys, xe, ye};
    ArcFeedback(*this, box, width, colour, R2_NOTXORPEN);
}

void CVelmView::DrawRuler(int invert)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, VIEW_YELLOW));
    if (invert == 1)
        v.dc.SetROP2(R2_NOT);
    constexpr double r = 5.0;
    for (const CDPoint& p : {m_RulerA, m_RulerB}) {
        ClippedArc(v.dc, TruncToInt(p.x - r), TruncToInt(p.y - r), TruncToInt(p.x + r),
                   TruncToInt(p.y + r), TruncToInt(p.x + r), TruncToInt(p.y), TruncToInt(p.x + r),
                   TruncToInt(p.y));
        ClippedMoveTo(v.dc, TruncToInt(p.x - r), TruncToInt(p.y));
        ClippedLineTo(v.dc, TruncToInt(p.x + r), TruncToInt(p.y));
        ClippedMoveTo(v.dc, TruncToInt(p.x), TruncToInt(p.y - r));
        ClippedLineTo(v.dc, TruncToInt(p.x), TruncToInt(p.y + r));
    }
    v.dc.SelectPen(SolidPen(1, VIEW_SILVER));
    ClippedMoveTo(v.dc, TruncToInt(m_RulerA.x), TruncToInt(m_RulerA.y));
    ClippedLineTo(v.dc, TruncToInt(m_RulerB.x), TruncToInt(m_RulerB.y));
}
