// The removal pass of line tracks: every line source of a group judged
// against the group's pieces near it. Distances to the track's carrier line
// are compared in single precision against thresholds made from the band
// width D = d + w, as the offset pieces were placed.
#include "offset/removal_passes.h"

#include "geometry/plane_geometry.h"
#include "offset/crossings.h"
#include "offset/element_predicates.h"
#include "offset/offset_pieces.h"
#include "offset/piece_walk.h"
#include "offset/touch_tests.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPiFull = 3.14159265358979323846;

// A line of no length: the perpendicular distance has no carrier line to
// measure from, so the track is taken for the disc its round aperture draws.
constexpr double kPointTrack = 1e-9;

double Length(const CDPoint& a, const CDPoint& b) { return DistanceD8(a.x, a.y, b.x, b.y); }

bool SegmentsCross(const CDPoint& a0, const CDPoint& a1, const CDPoint& b0, const CDPoint& b1)
{
    double x = 0.0, y = 0.0;
    return IntersectSegments(a0.x, a0.y, a1.x, a1.y, b0.x, b0.y, b1.x, b1.y, &x, &y) != 0;
}

// Which rules judge the pieces: the pass's own, or its variant's (a band
// wider by 1.0, no rejection by boxes, no marking and no branches B0 and B1,
// the round ends judged by distances alone, no regard for large copper
// areas, fewer tests of arcs).
enum class CLineRules { Pass, Variant };

// One line source and what its tests share.
class CLineJudge {
public:
    CLineJudge(const CIsoElement& s, float d, bool strict, CLineRules rules)
        : m_S(s), m_D(float(d + s.Radius)), m_Strict(strict), m_Alt(rules == CLineRules::Variant)
    {
        BuildTrackOutline(m_Outline, s.Pt0.x, s.Pt0.y, s.Pt1.x, s.Pt1.y,
                          m_D + (m_Alt ? 1.0f : 0.01f));
        m_aS = std::atan2(s.Pt0.y - s.Pt1.y, s.Pt0.x - s.Pt1.x);
        m_aSr = std::atan2(s.Pt1.y - s.Pt0.y, s.Pt1.x - s.Pt0.x);
    }

    float D() const { return m_D; }

    // True when the piece is to be deleted.
    bool Judge(CIsoElement& p)
    {
        if (m_Alt)
            return p.Kind == ISO_LINE ? JudgeLine(p) : p.Kind == ISO_ARC && JudgeArc(p);
        const bool rejected = Rejected(p);
        if (p.Kind == ISO_LINE && In(p.Pt0) && In(p.Pt1) && E(p.Pt0) < m_D / 2.01 &&
            E(p.Pt1) < m_D / 1.5)
            p.RemoveMark = 1;
        if (rejected || (p.Kind != ISO_LINE && p.Kind != ISO_ARC))
            return false;
        if (m_Strict && p.RemoveMark == 1)
            return true;
        if (m_Strict && m_S.AreaMark != 1 && IsPieceInsidePolygon(m_S, m_Outline, p, m_D)) {
            if (p.Kind == ISO_ARC)
                return true;
            const float e0 = E(p.Pt0), e1 = E(p.Pt1);
            return (e0 < m_D / 2.01 && e1 < m_D / 1.5) || (e1 < m_D / 2.01 && e0 < m_D / 1.5) ||
                   SegmentsCross(m_S.Pt0, m_S.Pt1, p.Pt0, p.Pt1);
        }
        return p.Kind == ISO_LINE ? JudgeLine(p) : JudgeArc(p);
    }

private:
    bool In(const CDPoint& q) const { return IsPointInPolygon(m_Outline, q.x, q.y) != 0; }
    // Distance from the track's carrier line, single precision.
    float E(const CDPoint& q) const
    {
        return float(std::fabs(
            PointLineDistance(q.x, q.y, m_S.Pt0.x, m_S.Pt0.y, m_S.Pt1.x, m_S.Pt1.y)));
    }

    bool Rejected(const CIsoElement& p) const
    {
        const double lox = std::min(m_S.Pt0.x, m_S.Pt1.x) - m_D;
        const double hix = std::max(m_S.Pt0.x, m_S.Pt1.x) + m_D;
        const double loy = std::min(m_S.Pt0.y, m_S.Pt1.y) - m_D;
        const double hiy = std::max(m_S.Pt0.y, m_S.Pt1.y) + m_D;
        const CBox b = PieceBox(p);
        return b.x1 < lox || b.x0 > hix || b.y1 < loy || b.y0 > hiy;
    }

    bool JudgeLine(const CIsoElement& p)
    {
        const CDPoint &S0 = m_S.Pt0, &S1 = m_S.Pt1, &P0 = p.Pt0, &P1 = p.Pt1;
        const float D = m_D;
        int st = 0;
        // L1: the piece crosses the track's centre line.
        if (SegmentsCross(S0, S1, P0, P1))
            return true;
        const double aP = std::atan2(P0.y - P1.y, P0.x - P1.x);
        // A piece at a slant to the track, in neither direction along it.
        const bool slanted = !AreDirectionsParallel(m_aS, aP, 0.01);
        const bool in0 = In(P0), in1 = In(P1);
        // L2: both ends inside the band, off its offset line.
        if (m_Strict && in0 && in1 && std::fabs(E(P0) - D / 2.0f) > 0.01f)
            return true;
        // L3: a piece lying over the whole track.
        if (E(P0) < D / 2.0f - D / 40.0f) {
            CIsoPolygon around;
            BuildTrackOutline(around, P0.x, P0.y, P1.x, P1.y, 0.99f * D);
            if (IsPointInPolygon(around, S0.x, S0.y) && IsPointInPolygon(around, S1.x, S1.y))
                return true;
        }
        // L4, L5: an end inside the band must lie on the offset line.
        if (m_Strict && in0) {
            if (std::fabs(E(P0) - D / 2.0f) > 1.0f)
                return true;
            st |= 1;
        }
        if (m_Strict && in1) {
            if (std::fabs(E(P1) - D / 2.0f) > 1.0f)
                return true;
            st |= 2;
        }
        // L6: round the track's ends.
        bool bothNearOneEnd = false;
        if (m_Alt) {
            // A piece of the track's own outline reaches from end to end
            // too; it is spared, or the variant would open every outline.
            const float t = D / 2.0f + 0.01f;
            if (p.Source != &m_S && (IsCloserThan(S0, t, P0) || IsCloserThan(S0, t, P1)) &&
                (IsCloserThan(S1, t, P0) || IsCloserThan(S1, t, P1)))
                return true;
        } else if (m_S.AreaMark != 1) {
            const float t = D / 2.0f + 0.01f;
            const bool c1 = IsCloserThan(S0, t, P0), c2 = IsCloserThan(S0, t, P1);
            const bool c3 = IsCloserThan(S1, t, P0), c4 = IsCloserThan(S1, t, P1);
            if ((c1 && c2) || (c3 && c4)) {
                bothNearOneEnd = true;
                if (LineGap(p) < D / 2.01)
                    return true;
            } else if (((c2 || c4) && st == 1) || ((c1 || c3) && st == 2)) {
                if (slanted)
                    return true;
            }
            const double aPr = aP;
            if (st == 0 && ((c2 && c3) || (c1 && c4)) &&
                std::fabs(E(P1) - D / 2.0f) > D / 40.0f &&
                (AreDirectionsAlike(m_aS, aPr, 0.1) || AreDirectionsAlike(m_aSr, aPr, 0.1)))
                return true;
        }
        // L7: both ends on the offset line, yet at a slant to it.
        if (st == 3 && slanted && !bothNearOneEnd && E(P1) < D / 2.01)
            return true;
        // L8: ends within the track's round ends.
        if (m_Alt) {
            const float limit = float(D / 2.01);
            auto bothNear = [&](const CDPoint& end) {
                return float(Length(P0, end)) <= limit && float(Length(P1, end)) <= limit;
            };
            if (bothNear(S0) || bothNear(S1))
                return true;
        } else if (m_S.AreaMark != 1) {
            const float limit = float(D / 2.05);
            const bool g1 = float(Length(P0, S0)) < limit, g2 = float(Length(P1, S0)) < limit;
            const bool g3 = float(Length(P0, S1)) < limit, g4 = float(Length(P1, S1)) < limit;
            if (m_Strict ? (g1 || g2 || g3 || g4) : ((g1 && g2) || (g3 && g4)))
                return true;
        }
        // L9: the piece moved D/2 further out still reaches over the track.
        if (m_Alt && !m_Strict)
            return false;
        CIsoElement grown;
        WidenElementCopy(p, grown, D);
        return SegmentsCross(S0, S1, grown.Pt0, grown.Pt1);
    }

    // The smaller distance of the track's ends from the piece's carrier
    // line; a piece of no length measures to its point.
    float LineGap(const CIsoElement& p) const
    {
        auto gap = [&](const CDPoint& q) {
            if (Length(p.Pt0, p.Pt1) < kPointTrack)
                return Length(q, p.Pt0);
            return std::fabs(PointLineDistance(q.x, q.y, p.Pt0.x, p.Pt0.y, p.Pt1.x, p.Pt1.y));
        };
        return float(std::min(gap(m_S.Pt0), gap(m_S.Pt1)));
    }

    bool JudgeArc(const CIsoElement& p)
    {
        const CDPoint &S0 = m_S.Pt0, &S1 = m_S.Pt1, &C = p.Pt0, &A0 = p.Pt1, &A1 = p.Pt2;
        const float D = m_D;
        const double R = p.Radius;
        int st = 0;
        // A1: an arc bulging over the track.
        if (m_Strict && !m_Alt && p.Source != &m_S && IsAngleInArc(p, S0.x, S0.y) &&
            IsAngleInArc(p, S1.x, S1.y)) {
            const double r0 = Length(S0, C), r1 = Length(S1, C);
            if (r0 > R && r0 - R < D / 2.0 && r1 - R < D / 2.0)
                return true;
        }
        // A2, A3: the track crosses the arc, or the arc grown by D/2.
        if (m_Strict && p.ArcSense > 0.0 &&
            ArcLineCrossing(p, m_S, float(m_Alt ? D / 2.3 : D / 2.01)))
            return true;
        if (ArcLineCrossing(p, m_S, 0.0f))
            return true;
        const CDPoint M = ArcMiddlePoint(p);
        const bool in0 = In(A0), in1 = In(A1);
        // A4: the whole arc inside the band.
        if (in0 && in1 && In(M))
            return true;
        // A5, A6: an end inside the band off the offset line.
        if (in0 && std::fabs(E(A0) - D / 2.0f) > 0.01f)
            st = 1;
        if (st == 0 && in1 && std::fabs(E(A1) - D / 2.0f) > 0.01f)
            st = 2;
        // A7: an arc about one of the track's ends counts only where the
        // track runs through it.
        if ((C == S0 || C == S1) &&
            !ArcCrossesLine(S0.x, S0.y, S1.x, S1.y, C.x, C.y, float(R), float(p.StartAngle),
                            float(p.EndAngle)))
            return false;
        const float t = D / 2.0f + 0.1f;
        const bool k1 = IsCloserThan(S0, t, A0), k2 = IsCloserThan(S0, t, A1);
        const bool k3 = IsCloserThan(S1, t, A0), k4 = IsCloserThan(S1, t, A1);
        const double near = D / 2.01;
        if ((Length(A0, S0) <= near && Length(A1, S0) <= near) ||
            (Length(A0, S1) <= near && Length(A1, S1) <= near))
            return true;
        // A8: its middle inside the band or within a round end.
        if (st == 1 || st == 2 || (k1 && k2) || (k3 && k4))
            return In(M) || (!m_Alt && (Length(M, S0) < D / 2.0 - 0.1 ||
                                        Length(M, S1) < D / 2.0 - 0.1));
        return false;
    }

    const CIsoElement& m_S;
    const float m_D;
    const bool m_Strict;
    const bool m_Alt;
    CIsoPolygon m_Outline;
    double m_aS = 0.0, m_aSr = 0.0;
};

// A track of no length as the disc it draws: pieces whose middle lies
// within the disc grown by d/2 go, the disc's own arcs stay.
bool JudgePointTrack(const CIsoElement& s, float d, const CIsoElement& p)
{
    CIsoElement disc = s;
    disc.Kind = ISO_CIRCLE;
    disc.Radius = s.Radius / 2.0;
    const double R = d / 2.0 + disc.Radius;
    if (p.Kind == ISO_LINE) {
        const CDPoint m((p.Pt0.x + p.Pt1.x) / 2.0, (p.Pt0.y + p.Pt1.y) / 2.0);
        return float(Length(m, s.Pt0)) < float(R);
    }
    if (p.Kind != ISO_ARC || p.Source == &s)
        return false;
    return float(Length(ArcMiddlePoint(p), s.Pt0)) < float(R / 1.005);
}

}  // namespace

bool AreDirectionsParallel(double a, double b, double tolerance)
{
    double gap = std::fabs(a - b);
    if (gap > kPiFull)
        gap = 2.0 * kPiFull - gap;
    return gap <= tolerance || kPiFull - gap <= tolerance;
}

bool AreDirectionsAlike(double a, double b, double tolerance)
{
    double gap = std::fabs(a - b);
    if (gap > kPiFull)
        gap = 2.0 * kPiFull - gap;
    return gap < tolerance;
}

namespace {

void RemoveLinePiecesBy(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                        CRefList<CIsoElement>& pieces, float d, std::uint8_t strict,
                        CLineRules rules)
{
    CPieceWalk walk(pool, pieces);
    for (CIsoElement* s : sources) {
        PumpMessages();
        if (s->Kind != ISO_LINE)
            continue;
        if (Length(s->Pt0, s->Pt1) < kPointTrack) {
            const double reach = d / 2.0 + s->Radius;
            const CBox box{s->Pt0.x - reach, s->Pt0.y - reach, s->Pt0.x + reach,
                           s->Pt0.y + reach};
            walk.ForNear(box.Grown(1.0),
                         [&](CIsoElement& p) { return JudgePointTrack(*s, d, p); });
            continue;
        }
        CLineJudge judge(*s, d, strict != 0, rules);
        auto visit = [&](CIsoElement& p) { return judge.Judge(p); };
        // The variant rejects nothing by boxes: every piece is judged.
        if (rules == CLineRules::Variant) {
            walk.ForAll(visit);
            continue;
        }
        // Pieces whose box lies more than D beyond the track's box are
        // rejected by the judge's first test; the grid leaves them out.
        const CBox box{std::min(s->Pt0.x, s->Pt1.x), std::min(s->Pt0.y, s->Pt1.y),
                       std::max(s->Pt0.x, s->Pt1.x), std::max(s->Pt0.y, s->Pt1.y)};
        walk.ForNear(box.Grown(double(judge.D()) + 0.01), visit);
    }
}

}  // namespace

void RemoveLinePieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                      CRefList<CIsoElement>& pieces, float d, std::uint8_t strict)
{
    RemoveLinePiecesBy(pool, sources, pieces, d, strict, CLineRules::Pass);
}

void RemoveLinePiecesAlt(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                         CRefList<CIsoElement>& pieces, float d, std::uint8_t strict)
{
    RemoveLinePiecesBy(pool, sources, pieces, d, strict, CLineRules::Variant);
}

void DeleteOutsideBoardExtent(CIsoElementPool& pool, CRefList<CIsoElement>& elements,
                              const CBox& extent)
{
    const CDPoint low(extent.x0, extent.y0), high(extent.x1, extent.y1);
    std::erase_if(elements, [&](CIsoElement* e) {
        const bool outside = (e->Kind == ISO_LINE || e->Kind == ISO_ARC) &&
                             (!IsPointInClosedBox(low, high, PieceStart(*e)) ||
                              !IsPointInClosedBox(low, high, PieceEnd(*e)));
        if (outside)
            pool.Delete(e);
        return outside;
    });
}
