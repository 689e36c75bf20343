// The pair tests of trimming and the walk over a group's pieces.
#include "offset/trimming.h"

#include "geometry/plane_geometry.h"
#include "offset/box_grid.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

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

// The direction of x about the arc's centre in radians.
double Direction(const CIsoElement& arc, const CDPoint& x)
{
    return std::atan2(x.y - arc.Pt0.y, x.x - arc.Pt0.x);
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

namespace {

// How a line is split where it crosses an arc: the crossings in double
// precision, taken when they lie in the line's box; or, in single precision,
// on a circle grown a little more, moved onto a line end they lie next to.
enum class CArcLinePrecision { Double, Single };

int TrimArcLineAs(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made,
                  CArcLinePrecision precision)
{
    const bool single = precision == CArcLinePrecision::Single;
    const double reach = a.Radius + 2.0;
    const CDPoint& c = a.Pt0;
    auto beyond = [](double v0, double v1, double lo, double hi) {
        return (v0 > hi && v1 > hi) || (v0 < lo && v1 < lo);
    };
    if (beyond(b.Pt0.x, b.Pt1.x, c.x - reach, c.x + reach) ||
        beyond(b.Pt0.y, b.Pt1.y, c.y - reach, c.y + reach))
        return 0;
    CDPoint x[2];
    if (single) {
        float fx[2], fy[2];
        if (IntersectSegmentCircleF(float(c.x), float(c.y), float(a.Radius + 0.008), float(b.Pt0.x),
                                    float(b.Pt0.y), float(b.Pt1.x), float(b.Pt1.y), &fx[0], &fy[0],
                                    &fx[1], &fy[1], 0) <= 0)
            return 0;
        for (int i = 0; i < 2; ++i)
            x[i] = CDPoint(fx[i], fy[i]);
    } else if (IntersectSegmentCircle(c.x, c.y, a.Radius + 0.002, b.Pt0.x, b.Pt0.y, b.Pt1.x,
                                      b.Pt1.y, &x[0].x, &x[0].y, &x[1].x, &x[1].y) <= 0) {
        return 0;
    }
    int split = 0;
    for (CDPoint& p : x) {
        if (single) {
            float px = float(p.x), py = float(p.y);
            if (!SnapPointToSegmentBox(&px, &py, float(b.Pt0.x), float(b.Pt0.y), float(b.Pt1.x),
                                       float(b.Pt1.y)))
                continue;
            p = CDPoint(px, py);
        } else if (!IsPointInSegmentBox(&p.x, &p.y, b.Pt0.x, b.Pt0.y, b.Pt1.x, b.Pt1.y)) {
            continue;
        }
        // One direction serves the angle test and the split's angle.
        const double direction = Direction(a, p);
        if (!IsDirectionInArc(a, direction))
            continue;
        double theta = Degrees(direction, single ? kPiShort : kPi);
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

int TrimArcArcAs(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made, double pi)
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
        // The directions about both centres serve the angle tests and the
        // splits' angles; a split moves no centre.
        const double fromA = Direction(a, p), fromB = Direction(b, p);
        if (IsDirectionInArc(b, fromB)) {
            double theta = Degrees(fromA, pi);
            if (IsStrictlyInsideRange(a.StartAngle, a.EndAngle, theta, kTrimArcArcAngle)) {
                Split(a, p, theta, made);
                split = 1;
            }
        }
        if (IsDirectionInArc(a, fromA)) {
            double theta = Degrees(fromB, pi);
            if (IsStrictlyInsideRange(b.StartAngle, b.EndAngle, theta, kTrimArcArcAngle)) {
                Split(b, p, theta, made);
                split = 1;
            }
        }
    }
    return split;
}

}  // namespace

int TrimArcLine(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    return TrimArcLineAs(a, b, made, CArcLinePrecision::Double);
}

int TrimArcArc(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    return TrimArcArcAs(a, b, made, kPi);
}

int TrimArcLineAlt(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    return TrimArcLineAs(a, b, made, CArcLinePrecision::Single);
}

int TrimArcArcAlt(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made)
{
    return TrimArcArcAs(a, b, made, kPiShort);
}

namespace {

// Every crossing at which an arc splits or is split lies in the directions
// its angle test accepts (0.1 degree beyond its angles) and within 0.1 of its
// circle (two touching circles share a point of one of them). The arc's box
// is taken over those directions widened by this, that far off the circle
// and grown by it again, for crossings that rounding moves along the circle.
constexpr double kArcBoxDegrees = 1.0;
constexpr double kArcBoxRing = 1.0;

// The box of the ring from r0 to r1 about c over the directions a0 to a1
// degrees (a0 <= a1).
CBox SectorBox(const CDPoint& c, double r0, double r1, double a0, double a1)
{
    auto at = [&](double r, double degrees) {
        const CDPoint q = PointAtAngle(c, r, degrees, M_PI);
        return CBox{q.x, q.y, q.x, q.y};
    };
    CBox box = at(r0, a0).United(at(r1, a0)).United(at(r0, a1)).United(at(r1, a1));
    for (double k = std::ceil(a0 / 90.0); k * 90.0 <= a1; k += 1.0)
        box = box.United(at(r1, k * 90.0));
    return box;
}

// A box outside which no pair test of a piece splits anything: a line's own
// box; an arc's box over the directions its angle test accepts (as that test
// rounds them, between -180 and 180), or its circle's box grown as the
// arc-line test grows it when that is as small.
CBox TrimBox(const CIsoElement& p)
{
    if (p.Kind == ISO_LINE)
        return {std::min(p.Pt0.x, p.Pt1.x), std::min(p.Pt0.y, p.Pt1.y), std::max(p.Pt0.x, p.Pt1.x),
                std::max(p.Pt0.y, p.Pt1.y)};
    const CBox circle =
        CBox{p.Pt0.x - p.Radius, p.Pt0.y - p.Radius, p.Pt0.x + p.Radius, p.Pt0.y + p.Radius}
            .Grown(2.0);
    const double s = float(p.StartAngle), e = float(p.EndAngle), slack = float(kAngleSlack);
    if (p.Radius < 2.0 * kArcBoxRing || e == s)
        return circle;
    // The accepted directions: one range, or two when the arc passes 180.
    std::pair<double, double> ranges[2];
    int count = 0;
    auto accept = [&](double lo, double hi) {
        lo = std::max(lo, -180.0);
        hi = std::min(hi, 180.0);
        if (lo <= hi)
            ranges[count++] = {lo - kArcBoxDegrees, hi + kArcBoxDegrees};
    };
    if (e > s) {
        accept(s - slack, e + slack);
    } else {
        accept(s - slack, 180.0);
        accept(-180.0, e + slack);
    }
    if (count == 0)
        return circle;
    const double r0 = p.Radius - kArcBoxRing, r1 = p.Radius + kArcBoxRing;
    CBox box = SectorBox(p.Pt0, r0, r1, ranges[0].first, ranges[0].second);
    if (count == 2)
        box = box.United(SectorBox(p.Pt0, r0, r1, ranges[1].first, ranges[1].second));
    return box.Grown(kArcBoxRing);
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
            // A split piece keeps its start and shrinks: its box follows, so
            // the parts cut off are not looked for where it no longer lies.
            for (std::size_t k : {i, j}) {
                boxes[k] = TrimBox(*pieces[k]);
                grid.Move(std::uint32_t(k), boxes[k]);
            }
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
            if (boxes[i].Meets(boxes[j]))
                tryPair(i, j);
        // Pieces made while this one was tried come after all the others.
        for (std::size_t j = firstNew; j < pieces.size(); ++j)
            if (boxes[i].Meets(boxes[j]))
                tryPair(i, j);
    }
}

// Only line pieces are split here, each at the crossings found in single
// precision; the copies go to the end of the list and are walked in their
// turn.
void SplitPiecesAtPoints(CIsoElementPool& pool, CRefList<CIsoElement>& pieces)
{
    std::vector<CIsoElement> made;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i]->Kind != ISO_LINE)
            continue;
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            CIsoElement &a = *pieces[i], &b = *pieces[j];
            if (b.Kind != ISO_LINE)
                continue;
            float x = 0.0f, y = 0.0f;
            if (!IntersectSegmentsTolF(float(a.Pt0.x), float(a.Pt0.y), float(a.Pt1.x),
                                       float(a.Pt1.y), float(b.Pt0.x), float(b.Pt0.y),
                                       float(b.Pt1.x), float(b.Pt1.y), &x, &y))
                continue;
            const CDPoint at(x, y);
            if (at != a.Pt0 && at != a.Pt1)
                Split(a, at, 0.0, made);
            if (at != b.Pt0 && at != b.Pt1)
                Split(b, at, 0.0, made);
            for (const CIsoElement& piece : made)
                pieces.push_back(pool.Add(piece));
            made.clear();
        }
    }
}
