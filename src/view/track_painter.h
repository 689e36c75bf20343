// The rules that turn one copper record into pixels, shared by the copper,
// route, selection and rubber-band drawers: flat-ended tracks, round-ended
// lines, arcs given by centre and angles, and discs for flashes, at the
// board's own place or through a panel copy's transform. The shapes go out
// through a shape batch, so runs of like tracks reach the surface together.
#pragma once

#include "view/shape_batch.h"
#include "view/velm_view.h"

struct CTrackPainter {
    CTrackPainter(CVelmView& view, CDrawSurface& dc, COLORREF colour,
                  const CLayoutBlock* block = nullptr, CDPoint offset = CDPoint());

    CVelmView& view;
    CShapeBatch batch;           // its pen and brush are the ones in force
    COLORREF colour;
    const CLayoutBlock* block;   // the panel copy, or none
    CDPoint d;                   // added to every point before the mapping

    CDPoint Place(double x, double y) const;
    int X(double x) const { return view.MapX(x, d.x); }
    int Y(double y) const { return view.MapY(y, d.y); }

    // A straight track with square cuts at its end points; axis-parallel
    // tracks become rectangles (clipped or plain), slanted ones a flat-capped
    // line.
    void FlatTrack(const CTrackRecord& t, bool clipRects);
    // A line with round ends as wide as the record.
    void RoundLine(const CTrackRecord& t);
    // An arc record (centre, start and end angles, radius) drawn with a pen
    // `penMil` wide; type 4 runs the other way, and a mirroring copy turns it
    // round again.
    void ArcTrack(const CTrackRecord& t, float penMil);
    // A copper track by the low four bits of its type.
    void CopperTrack(const CTrackRecord& t, float arcPenMil, bool clipRects);
    // A flash as a disc of its radius, with the batch's pen and brush.
    void Disc(const CFlashRecord& f, bool clipped);
};

// The pen width of an arc: the width of its aperture in the document's
// table, 1 mil when the index names none.
float ArcApertureWidth(const CVelmDoc& doc, const CTrackRecord& track);
