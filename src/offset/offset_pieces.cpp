// Offset outlines of lines, rectangles, arc tracks and round pads.
#include "offset/offset_pieces.h"

#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "offset/rect_frame.h"

#include <cmath>

using namespace offset;

namespace {

CIsoElement PieceOf(const CIsoElement& source, std::uint8_t kind, std::uint8_t pass)
{
    CIsoElement piece = source;
    piece.Class = ISO_PIECE;
    piece.Kind = kind;
    piece.Pass = pass;
    piece.Source = const_cast<CIsoElement*>(&source);
    piece.Origin = source.Origin;
    return piece;
}

void Append(CIsoElementPool& pool, CRefList<CIsoElement>& out, const CIsoElement& piece)
{
    out.push_back(pool.Add(piece));
}

// An arc about `centre` whose end points follow from its angles.
void SetArc(CIsoElement& piece, CDPoint centre, double radius, double start, double end,
            double pi = kPiLong)
{
    piece.Pt0 = centre;
    piece.Radius = radius;
    piece.StartAngle = start;
    piece.EndAngle = end;
    piece.Pt1 = PointAtAngle(centre, radius, start, pi);
    piece.Pt2 = PointAtAngle(centre, radius, end, pi);
}

double VectorAngle(CDPoint v, double pi) { return Degrees(std::atan2(v.y, v.x), pi); }

}  // namespace

CDPoint SegmentNormal(const CIsoElement& line, double d)
{
    const CDPoint& p0 = line.Pt0;
    const CDPoint& p1 = line.Pt1;
    double half = (d + line.Radius) / 2.0;
    double a = std::atan2(p1.y - p0.y, p1.x - p0.x);
    if (std::fabs(p0.x - p1.x) < 0.001)
        return a <= 0.0 ? CDPoint(half, 0.0) : CDPoint(-half, 0.0);
    if (std::fabs(p0.y - p1.y) < 0.001)
        return a <= 0.0 ? CDPoint(0.0, half) : CDPoint(0.0, -half);
    return {-std::sin(a) * half, std::cos(a) * half};
}

void ComputeSegmentNormal(CIsoElement& line, double d) { line.Pt2 = SegmentNormal(line, d); }

void OffsetLineTrack(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& line,
                     double d, std::uint8_t computeNormal, std::uint8_t pass)
{
    CDPoint n = computeNormal ? SegmentNormal(line, d) : line.Pt2;
    CDPoint minus(-n.x, -n.y);
    const CDPoint p0 = line.Pt0, p1 = line.Pt1;
    double half = (d + line.Radius) / 2.0;

    CIsoElement left = PieceOf(line, ISO_LINE, pass);
    left.Pt0 = p0 + n;
    left.Pt1 = p1 + n;
    left.Pt2 = n;
    left.Radius = half;
    Append(pool, out, left);

    CIsoElement right = PieceOf(line, ISO_LINE, pass);
    right.Pt0 = p0 - n;
    right.Pt1 = p1 - n;
    right.Pt2 = minus;
    right.Radius = half;
    Append(pool, out, right);

    CIsoElement start = PieceOf(line, ISO_ARC, pass);
    start.Pt0 = p0;
    start.Pt1 = p0 + n;
    start.Pt2 = p0 - n;
    start.Radius = half;
    start.StartAngle = VectorAngle(n, kPi);
    start.EndAngle = VectorAngle(minus, kPi);
    start.ArcSense = 1.0;
    Append(pool, out, start);

    CIsoElement end = PieceOf(line, ISO_ARC, pass);
    end.Pt0 = p1;
    end.Pt1 = p1 - n;
    end.Pt2 = p1 + n;
    end.Radius = half;
    end.StartAngle = VectorAngle(minus, kPi);
    end.EndAngle = VectorAngle(n, kPi);
    end.ArcSense = 1.0;
    Append(pool, out, end);
}

void OffsetRectangle(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& rect,
                     double d, std::uint8_t pass)
{
    CRectFrame f(rect);
    double e = d / 2.0, hx = f.hx, hy = f.hy;
    struct Side {
        double x0, y0, x1, y1, nx, ny;
    };
    const Side sides[4] = {
        {hx, hy + e, -hx, hy + e, 0.0, e},        // top
        {-hx - e, hy, -hx - e, -hy, -e, 0.0},     // left
        {-hx, -hy - e, hx, -hy - e, 0.0, -e},     // bottom
        {hx + e, -hy, hx + e, hy, e, 0.0},        // right
    };
    for (const Side& s : sides) {
        CIsoElement piece = PieceOf(rect, ISO_LINE, pass);
        piece.Pt0 = f.At(s.x0, s.y0);
        piece.Pt1 = f.At(s.x1, s.y1);
        piece.Pt2 = f.Turn(s.nx, s.ny);
        piece.Radius = e;
        Append(pool, out, piece);
    }
}

void OffsetArcTrack(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& arc,
                    double d, std::uint8_t pass)
{
    const CDPoint c = arc.Pt0, ps = arc.Pt1, pe = arc.Pt2;
    double r = arc.Radius, h = arc.HalfWidth, s = arc.StartAngle, t = arc.EndAngle;
    double e = d / 2.0;

    double rIn = r - h - e;
    CDPoint qs, qe;
    if (r > e + h) {
        CIsoElement inner = PieceOf(arc, ISO_ARC, pass);
        SetArc(inner, c, rIn, s, t);
        inner.ArcSense = -1.0;
        inner.Origin = nullptr;
        Append(pool, out, inner);
        qs = inner.Pt1;
        qe = inner.Pt2;
    } else {
        // The inner side closes over the centre: the caps meet |rIn| past
        // it, on the start and end radii carried through the centre, where
        // their own circles about the track's ends pass.
        qs = PointAtAngle(c, rIn, s, kPiLong);
        qe = PointAtAngle(c, rIn, t, kPiLong);
    }

    CIsoElement outer = PieceOf(arc, ISO_ARC, pass);
    SetArc(outer, c, r + h + e, s, t);
    outer.ArcSense = 1.0;
    Append(pool, out, outer);

    CIsoElement start = PieceOf(arc, ISO_ARC, pass);
    start.Pt0 = ps;
    start.Pt1 = qs;
    start.Pt2 = outer.Pt1;
    start.Radius = e + h;
    start.StartAngle = VectorAngle(qs - ps, kPiLong);
    start.EndAngle = VectorAngle(outer.Pt1 - ps, kPiLong);
    start.ArcSense = 1.0;
    Append(pool, out, start);

    CIsoElement end = PieceOf(arc, ISO_ARC, pass);
    end.Pt0 = pe;
    end.Pt1 = outer.Pt2;
    end.Pt2 = qe;
    end.Radius = e + h;
    end.StartAngle = VectorAngle(outer.Pt2 - pe, kPiLong);
    end.EndAngle = VectorAngle(qe - pe, kPiLong);
    end.ArcSense = 1.0;
    Append(pool, out, end);
}

void OffsetCircle(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& circle,
                  double d, std::uint8_t pass)
{
    CIsoElement piece = PieceOf(circle, ISO_ARC, pass);
    SetArc(piece, circle.Pt0, circle.Radius + d / 2.0, circle.StartAngle, circle.EndAngle);
    piece.ArcSense = 1.0;
    Append(pool, out, piece);
}

namespace {

// Moves a line or an arc outward by distance / 2 through the factor
// k = (r + h) / r of its radius or width; an element of no width has no
// factor and stays. `bySense`: an arc moves by h along its ArcSense (an
// inner arc towards its centre) when that leaves it a radius, and a line's
// offset normal grows with it, so a piece made for d becomes the piece for
// d + distance.
void Widen(CIsoElement& e, float distance, bool bySense)
{
    const float h = distance / 2.0f;
    if (e.Kind == ISO_ARC && bySense) {
        const double radius = e.Radius + h * e.ArcSense;
        if (radius > 0.0)
            SetArc(e, e.Pt0, radius, e.StartAngle, e.EndAngle, kPi);
        return;
    }
    const float r = float(e.Radius);
    if (r == 0.0f)
        return;
    const float k = (r + h) / r;
    if (e.Kind == ISO_ARC) {
        SetArc(e, e.Pt0, double(k) * e.Radius, e.StartAngle, e.EndAngle, kPiShort);
    } else if (e.Kind == ISO_LINE) {
        const CDPoint v = e.Pt2 * (k - 1.0f);
        e.Pt0 += v;
        e.Pt1 += v;
        e.Radius = double(k) * e.Radius;
        if (bySense)
            e.Pt2 = e.Pt2 * k;
    }
}

}  // namespace

void WidenElementCopy(const CIsoElement& source, CIsoElement& target, float distance)
{
    std::size_t own = target.PoolIndex;
    target = source;
    target.PoolIndex = own;
    Widen(target, distance, false);
}

void WidenSplitPieces(COffsetEngineLists& lists, float distance)
{
    for (CIsoElement* e : lists.m_IsoSplitPieces)
        Widen(*e, distance, false);
}

void WidenElements(CRefList<CIsoElement>& elements, float distance)
{
    for (CIsoElement* e : elements)
        Widen(*e, distance, true);
}
