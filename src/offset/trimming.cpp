// The pair tests of trimming and the walk over a group's pieces.
#include "offset/trimming.h"

#include "geometry/plane_geometry.h"
#include "offset/box_grid.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cstdint>

using namespace offset;

namespace {

// The piece keeps its start and ends at x; the copy starts at x and keeps
// the end. An arc's angles move with its points.
void Split(CIsoElement& piece, const CDPoint& x, double theta, std::vector<CIsoElement>& made)
{
    CIsoElement copy = piece;
    if (piece.Kind == ISO_LINE) {
        piece.Pt1 = x;
        copy.Pt0 = x;
    } else {
        piece.Pt2 = x;
        piece.EndAngle = theta;
        copy.Pt1 = x;
        copy.StartAngle = theta;
    }
    made.push_back(copy);
}

bool FarFromEnds(const CIsoElement& line, const CDPoint& x, double limit)
{
    return Distance(x.x, x.y, line.Pt0.x, line.Pt0.y) > limit &&
           Distance(x.x, x.y, line.Pt1.x, line.Pt1.y) > limit;
}

double Angle(const CIsoElement& arc, const CDPoint& x)
{
    return AngleAbout(arc.Pt0.x, arc.Pt0.y, x.x, x.y, kPi);
}

}  // namespace

int TrimLineLine(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    double ax0 = std::min(a.Pt0.x, a.Pt1.x), ax1 = std::max(a.Pt0.x, a.Pt1.x);
    double bx0 = std::min(b.Pt0.x, b.Pt1.x), bx1 = std::max(b.Pt0.x, b.Pt1.x);
    double ay0 = std::min(a.Pt0.y, a.Pt1.y), ay1 = std::max(a.Pt0.y, a.Pt1.y);
    double by0 = std::min(b.Pt0.y, b.Pt1.y), by1 = std::max(b.Pt0.y, b.Pt1.y);
    if (ax0 > bx1 || ax1 < bx0 || ay0 > by1 || ay1 < by0)
        return 0;
    CDPoint x;
    if (!IntersectSegments(a.Pt0.x, a.Pt0.y, a.Pt1.x, a.Pt1.y, b.Pt0.x, b.Pt0.y, b.Pt1.x, b.Pt1.y,
                           &x.x, &x.y))
        return 0;
    bool splitA = FarFromEnds(a, x, kTrimEndTolerance);
    bool splitB = FarFromEnds(b, x, kTrimEndTolerance);
    if (splitA)
        Split(a, x, 0.0, made);
    if (splitB)
        Split(b, x, 0.0, made);
    return splitA || splitB ? 1 : 0;
}

int TrimArcLine(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    const double reach = a.Radius + 2.0;
    const CDPoint& c = a.Pt0;
    auto beyond = [](double v0, double v1, double lo, double hi) {
        return (v0 > hi && v1 > hi) || (v0 < lo && v1 < lo);
    };
    if (beyond(b.Pt0.x, b.Pt1.x, c.x - reach, c.x + reach) ||
        beyond(b.Pt0.y, b.Pt1.y, c.y - reach, c.y + reach))
        return 0;
    CDPoint x[2];
    if (IntersectSegmentCircle(c.x, c.y, a.Radius + 0.002, b.Pt0.x, b.Pt0.y, b.Pt1.x, b.Pt1.y,
                               &x[0].x, &x[0].y, &x[1].x, &x[1].y) <= 0)
        return 0;
    int split = 0;
    for (const CDPoint& p : x) {
        if (!IsPointInSegmentBox(&p.x, &p.y, b.Pt0.x, b.Pt0.y, b.Pt1.x, b.Pt1.y) ||
            !IsAngleInArc(a, p.x, p.y))
            continue;
        double theta = Angle(a, p);
        if (IsStrictlyInsideRange(a.StartAngle, a.EndAngle, theta, kTrimArcAngle)) {
            Split(a, p, theta, made);
            split = 1;
        }
        if (FarFromEnds(b, p, kTrimLineArcEnd)) {
            Split(b, p, 0.0, made);
            split = 1;
        }
    }
    return split;
}

int TrimArcArc(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    if (a.Pt0.x - a.Radius > b.Pt0.x + b.Radius || a.Pt0.x + a.Radius < b.Pt0.x - b.Radius ||
        a.Pt0.y - a.Radius > b.Pt0.y + b.Radius || a.Pt0.y + a.Radius < b.Pt0.y - b.Radius)
        return 0;
    double ra = a.Radius, rb = b.Radius;
    // The smaller circle grown a little, so circles that only touch still
    // cross.
    if (ra <= rb)
        ra += 0.01;
    else
        rb += 0.01;
    CDPoint x[2];
    if (IntersectCircles(a.Pt0.x, a.Pt0.y, ra, b.Pt0.x, b.Pt0.y, rb, &x[0].x, &x[0].y, &x[1].x,
                         &x[1].y) <= 0)
        return 0;
    int split = 0;
    for (const CDPoint& p : x) {
        if (IsAngleInArc(b, p.x, p.y)) {
            double theta = Angle(a, p);
            if (IsStrictlyInsideRange(a.StartAngle, a.EndAngle, theta, kTrimArcArcAngle)) {
                Split(a, p, theta, made);
                split = 1;
            }
        }
        if (IsAngleInArc(a, p.x, p.y)) {
            double theta = Angle(b, p);
            if (IsStrictlyInsideRange(b.StartAngle, b.EndAngle, theta, kTrimArcArcAngle)) {
                Split(b, p, theta, made);
                split = 1;
            }
        }
    }
    return split;
}

namespace {

// A box outside which no pair test of a piece splits anything: a line's own
// box, an arc's circle box grown as the arc-line test grows it. Pieces only
// shrink when split, so a box taken once stays large enough.
CBox TrimBox(const CIsoElement& p)
{
    if (p.Kind == ISO_LINE)
        return {std::min(p.Pt0.x, p.Pt1.x), std::min(p.Pt0.y, p.Pt1.y), std::max(p.Pt0.x, p.Pt1.x),
                std::max(p.Pt0.y, p.Pt1.y)};
    return CBox{p.Pt0.x - p.Radius, p.Pt0.y - p.Radius, p.Pt0.x + p.Radius, p.Pt0.y + p.Radius}
        .Grown(2.0);
}

// Splits a and b where they cross, by their kinds; 1 when it split.
int TrimPair(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    if (a.Kind == ISO_ARC && b.Kind == ISO_LINE)
        return TrimArcLine(a, b, made);
    if (a.Kind == ISO_LINE && b.Kind == ISO_ARC)
        return TrimArcLine(b, a, made);
    if (a.Kind == ISO_LINE && b.Kind == ISO_LINE)
        return TrimLineLine(a, b, made);
    if (a.Kind == ISO_ARC && b.Kind == ISO_ARC)
        return TrimArcArc(a, b, made);
    return 0;
}

}  // namespace

// Each piece is tried against every later piece, in list order, and again
// against the same piece after each split; new pieces go to the end of the
// list and are tried in their turn. Pairs whose boxes are apart would split
// nothing and are passed over through a grid of the pieces' boxes.
void TrimGroup(CIsoElementPool& pool, CRefList<CIsoElement>& pieces)
{
    std::vector<CBox> boxes;
    boxes.reserve(pieces.size());
    for (const CIsoElement* p : pieces)
        boxes.push_back(TrimBox(*p));
    CBoxGrid grid(boxes);
    std::vector<CIsoElement> made;
    std::vector<std::uint32_t> later;

    // Tries pieces[i] against pieces[j] until it splits no more.
    auto tryPair = [&](std::size_t i, std::size_t j) {
        for (;;) {
            PumpMessages();
            if (!TrimPair(*pieces[i], *pieces[j], made))
                return;
            for (const CIsoElement& piece : made) {
                if (piece.Kind == ISO_LINE &&
                    Distance(piece.Pt0.x, piece.Pt0.y, piece.Pt1.x, piece.Pt1.y) < kTrimShortest)
                    continue;
                pieces.push_back(pool.Add(piece));
                boxes.push_back(TrimBox(piece));
                grid.Add(std::uint32_t(pieces.size() - 1), boxes.back());
            }
            made.clear();
        }
    };

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::size_t firstNew = pieces.size();
        grid.Find(boxes[i], std::uint32_t(i + 1), later);
        for (std::uint32_t j : later)
            tryPair(i, j);
        // Pieces made while this one was tried come after all the others.
        for (std::size_t j = firstNew; j < pieces.size(); ++j)
            if (boxes[i].Meets(boxes[j]))
                tryPair(i, j);
    }
}
