// The removal pass of arc tracks: every arc source of a group judged against
// the group's pieces near its circle. Distances are computed in double and
// compared in single precision.
#include "offset/removal_passes.h"

#include "geometry/plane_geometry.h"
#include "offset/crossings.h"
#include "offset/element_predicates.h"
#include "offset/piece_walk.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>

namespace {

float Gap(const CDPoint& a, const CDPoint& b) { return float(DistanceD8(a.x, a.y, b.x, b.y)); }

// How far inside a round end a piece must lie to be taken for one running
// into it, not along its edge (mil).
constexpr float kInsideSlack = 0.01f;

// Which rules judge the pieces: the pass's own, or its variant's (no
// small-arc and end-point tests; an arc piece spanning the arc's own angles
// goes; crossings judged on the arc's grown circle).
enum class CArcRules { Pass, Variant };

class CArcJudge {
public:
    CArcJudge(const CIsoElement& s, float d, bool strict, CArcRules rules)
        : m_S(s), m_d(d), m_h(d / 2.0f), m_r(float(s.Radius)), m_m(float(s.HalfWidth)),
          m_Strict(strict), m_Alt(rules == CArcRules::Variant)
    {
    }

    bool Judge(const CIsoElement& p) const
    {
        if (p.Kind == ISO_LINE)
            return JudgeLine(p);
        if (p.Kind == ISO_ARC)
            return JudgeArc(p);
        return false;
    }

private:
    bool InAngles(const CDPoint& q) const { return IsAngleInArc(m_S, q.x, q.y); }

    bool JudgeLine(const CIsoElement& p) const
    {
        const CDPoint &C = m_S.Pt0, &E1 = p.Pt0, &E2 = p.Pt1;
        const float h = m_h, r = m_r;
        const bool in1 = InAngles(E1), in2 = InAngles(E2);
        // L1: a small arc whose copper the piece reaches into.
        if (!m_Alt && (in1 || in2) && r <= h + m_m) {
            const float t = r + m_m + h;
            if (Gap(E1, C) < t || Gap(E2, C) < t)
                return true;
        }
        // L2, L3: the piece crosses the arc, or the arc grown by d/2.
        if (ArcLineCrossing(m_S, p, 0.0f))
            return true;
        if (m_Strict && ArcLineCrossing(m_S, p, float(m_d / 2.01)))
            return true;
        // L4, L5: an end of the piece within d/2 - 1 of the arc.
        if (m_Strict && !m_Alt && (ArcArcCrossingC(m_S, E1.x, E1.y, m_d) ||
                         ArcArcCrossingC(m_S, E2.x, E2.y, m_d)))
            return true;
        // L6: a piece lying in the band of the arc's copper grown by d/2
        // (the copper's own half width counts: an arc track is as wide as
        // its aperture).
        const float band = h + m_m;
        if (in1 && in2) {
            const CDPoint M((E1.x + E2.x) / 2.0, (E1.y + E2.y) / 2.0);
            const float e1 = Gap(E1, C), e2 = Gap(E2, C), em = Gap(M, C);
            return r - band <= em && em <= r + band && std::max(e1, e2) - 0.1f <= r + band &&
                   std::min(e1, e2) + 0.1f >= r - band;
        }
        // L7: a piece lying within a round end of the arc.
        if (Gap(E1, m_S.Pt1) < band + 0.1f && Gap(E2, m_S.Pt1) < band + 0.1f)
            return true;
        return Gap(E1, m_S.Pt2) < band + 0.001f && Gap(E2, m_S.Pt2) < band + 0.001f;
    }

    bool JudgeArc(const CIsoElement& p) const
    {
        const CDPoint &C = m_S.Pt0, &Cp = p.Pt0, &A1 = p.Pt1, &A2 = p.Pt2;
        const float h = m_h, r = m_r, d = m_d;
        // B1: a small arc whose copper the piece reaches into; in the
        // variant, a piece spanning the arc's own angles. The arc's own
        // outline spans them too; it is spared, or the variant would open it.
        if (m_Alt) {
            if (p.Source != &m_S &&
                std::fabs(float(p.StartAngle) - float(m_S.StartAngle)) <= 0.1f &&
                std::fabs(float(p.EndAngle) - float(m_S.EndAngle)) <= 0.1f)
                return true;
        } else if ((InAngles(A1) || InAngles(A2)) && r <= h + m_m) {
            const float t = float((r + m_m + h) / 1.01);
            if (Gap(A1, C) < t || Gap(A2, C) < t || Gap(ArcMiddlePoint(p), C) < t)
                return true;
        }
        // B2: a concentric piece inside the arc's band: the copper's own
        // half width counts, as in L6; the arc's own offsets on the band's
        // edges stay.
        const float band = d + 2.0f * m_m;
        if (Gap(Cp, C) < 0.01f && IsPointOnArcBandFine(m_S, A1.x, A1.y, band) &&
            IsPointOnArcBandFine(m_S, A2.x, A2.y, band))
            return true;
        // B3: the piece's circle grown by d/2 crosses the arc.
        if (m_Alt ? ArcArcCrossingA(m_S, p, float(d / 1.01)) : ArcArcCrossingB(m_S, p, d))
            return true;
        if (InGrownCopper(p))
            return true;
        if (Gap(Cp, C) <= 1.0f)
            return false;
        // B4: both ends in the ring of the arc's band, at different radii.
        if (InAngles(A1) && InAngles(A2)) {
            const float e1 = Gap(A1, C), e2 = Gap(A2, C);
            if (std::max(e1, e2) - 0.1f <= r + h && std::min(e1, e2) + 0.1f >= r - h &&
                std::fabs(e1 - e2) > d / 40.0f)
                return true;
        }
        // B5: both ends on the band, the piece not turning about an end.
        if (IsPointOnArcBand(m_S, A1.x, A1.y, d - 0.01f) &&
            IsPointOnArcBand(m_S, A2.x, A2.y, d - 0.01f) && m_S.Pt1 != Cp && m_S.Pt2 != Cp)
            return true;
        // B6: both ends within the arc's round ends.
        auto nearer = [&](const CDPoint& q) { return std::min(Gap(q, m_S.Pt1), Gap(q, m_S.Pt2)); };
        const float n1 = nearer(A1), n2 = nearer(A2);
        return std::max(n1, n2) - 0.1f <= h && std::min(n1, n2) + 0.1f <= h;
    }

    // B7: a piece whose middle lies inside the arc's copper grown by d/2
    // (its band within its angles, or a round end), the copper's half width
    // counted. Trimmed at every crossing, a piece lies inside that copper or
    // outside it; pieces on its edge (the arc's own offsets and end caps,
    // those of a track ending there) stay.
    bool InGrownCopper(const CIsoElement& p) const
    {
        const float reach = m_h + m_m - kInsideSlack;
        const CDPoint M = ArcMiddlePoint(p);
        if (Gap(M, m_S.Pt1) < reach || Gap(M, m_S.Pt2) < reach)
            return true;
        const float fromCentre = Gap(M, m_S.Pt0);
        return InAngles(M) && fromCentre > m_r - reach && fromCentre < m_r + reach;
    }

    const CIsoElement& m_S;
    const float m_d, m_h, m_r, m_m;
    const bool m_Strict;
    const bool m_Alt;
};

void RemoveArcPiecesBy(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                       CRefList<CIsoElement>& pieces, float d, std::uint8_t strict,
                       CArcRules rules)
{
    CPieceWalk walk(pool, pieces);
    for (CIsoElement* s : sources) {
        PumpMessages();
        if (s->Kind != ISO_ARC)
            continue;
        const CArcJudge judge(*s, d, strict != 0, rules);
        // No test deletes a piece lying wholly beyond the circle's box grown
        // by d and the copper's half width.
        const double g = s->Radius + d + s->HalfWidth;
        const CBox box{s->Pt0.x - g, s->Pt0.y - g, s->Pt0.x + g, s->Pt0.y + g};
        walk.ForNear(box, [&](const CIsoElement& p) { return judge.Judge(p); });
    }
}

}  // namespace

void RemoveArcPieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                     CRefList<CIsoElement>& pieces, float d, std::uint8_t strict)
{
    RemoveArcPiecesBy(pool, sources, pieces, d, strict, CArcRules::Pass);
}

void RemoveArcPiecesAlt(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                        CRefList<CIsoElement>& pieces, float d, std::uint8_t strict)
{
    RemoveArcPiecesBy(pool, sources, pieces, d, strict, CArcRules::Variant);
}
