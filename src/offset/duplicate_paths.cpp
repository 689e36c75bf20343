// Duplicate path removal. A grid of the target pieces' boxes gives each
// reference piece only the targets near it, in list order, so the result is
// that of a walk over the whole list.
#include "offset/duplicate_paths.h"

#include "geometry/plane_geometry.h"
#include "offset/crossings.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"
#include "offset/piece_walk.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace offset;

namespace {

// A split leaves no line part of this length or less, and no arc part of
// this many degrees or less.
constexpr double kShortestLinePart = 0.1;
constexpr double kShortestArcPart = 0.05;

double Gap(const CDPoint& a, const CDPoint& b) { return DistanceD8(a.x, a.y, b.x, b.y); }

CRefList<CIsoElement>* OwnerOf(const CIsoElement& piece)
{
    return static_cast<CRefList<CIsoElement>*>(const_cast<void*>(piece.Origin));
}

class CDuplicateWalk {
public:
    CDuplicateWalk(CIsoElementPool& pool, CRefList<CIsoElement>& target, float dist,
                   bool ownersFollow)
        : m_Pool(pool), m_Target(target), m_Dist(dist), m_H(dist / 2.0f),
          m_OwnersFollow(ownersFollow), m_Boxes(Boxes(target)), m_Grid(m_Boxes)
    {
    }

    ~CDuplicateWalk()
    {
        m_Target.erase(std::remove(m_Target.begin(), m_Target.end(), nullptr), m_Target.end());
    }

    void Apply(const CIsoElement& q)
    {
        m_E1 = PieceStart(q);
        m_E2 = PieceEnd(q);
        m_Outline.clear();
        if (q.Kind == ISO_LINE)
            BuildTrackOutline(m_Outline, q.Pt0.x, q.Pt0.y, q.Pt1.x, q.Pt1.y, m_Dist + 0.1f);
        const CBox near = PieceBox(q).Grown(double(m_Dist) + 1.0);

        m_Grid.Find(near, 0, m_Found);
        const std::size_t firstNew = m_Target.size();
        for (std::uint32_t i : m_Found)
            Split(i);
        for (std::size_t i = firstNew; i < m_Target.size(); ++i)
            if (m_Boxes[i].Meets(near))
                Split(i);

        m_Grid.Find(near, 0, m_Found);
        for (std::uint32_t i : m_Found)
            if (m_Target[i] && Duplicates(*m_Target[i], q))
                Delete(i);
    }

private:
    static std::vector<CBox> Boxes(const CRefList<CIsoElement>& pieces)
    {
        std::vector<CBox> boxes;
        for (const CIsoElement* p : pieces)
            boxes.push_back(PieceBox(*p));
        return boxes;
    }

    void Split(std::size_t i)
    {
        CIsoElement* p = m_Target[i];
        if (!p)
            return;
        if (p->Kind == ISO_LINE) {
            SplitLine(i, m_E1);
            SplitLine(i, m_E2);
        } else if (p->Kind == ISO_ARC) {
            bool any = SplitArc(i, m_E1, false);
            SplitArc(i, m_E2, any);
        }
    }

    // At the foot of the perpendicular from e, when a circle of radius
    // `dist` about e reaches the piece there.
    void SplitLine(std::size_t i, const CDPoint& e)
    {
        CIsoElement& p = *m_Target[i];
        double xa, ya, xb, yb;
        if (IntersectSegmentCircle(e.x, e.y, m_Dist, p.Pt0.x, p.Pt0.y, p.Pt1.x, p.Pt1.y, &xa, &ya,
                                   &xb, &yb) != 1)
            return;
        const CDPoint f((xa + xb) / 2.0, (ya + yb) / 2.0);
        if (!IsPointInSegmentBox(&f.x, &f.y, p.Pt0.x, p.Pt0.y, p.Pt1.x, p.Pt1.y) ||
            Gap(f, p.Pt0) <= kShortestLinePart || Gap(f, p.Pt1) <= kShortestLinePart)
            return;
        CIsoElement half = p;
        p.Pt1 = f;
        half.Pt0 = f;
        Append(half);
    }

    // Where the circle of radius h + 0.01 about e crosses the arc; `onlyFirst`
    // tries only the first crossing. True when it split.
    bool SplitArc(std::size_t i, const CDPoint& e, bool onlyFirst)
    {
        CIsoElement& p = *m_Target[i];
        CDPoint x[2];
        if (IntersectCircles(p.Pt0.x, p.Pt0.y, p.Radius, e.x, e.y, m_H + 0.01, &x[0].x, &x[0].y,
                             &x[1].x, &x[1].y) < 1)
            return false;
        for (int k = 0; k < (onlyFirst ? 1 : 2); ++k) {
            CIsoElement& arc = *m_Target[i];
            const double a = AngleAbout(arc.Pt0.x, arc.Pt0.y, x[k].x, x[k].y, kPi);
            const double s = arc.StartAngle, u = arc.EndAngle;
            const bool inside = u > s ? s < a - kShortestArcPart && u > a + kShortestArcPart
                                      : s < a - kShortestArcPart || u > a + kShortestArcPart;
            if (!inside)
                continue;
            CIsoElement half = arc;
            arc.EndAngle = a;
            arc.Pt2 = x[k];
            half.StartAngle = a;
            half.Pt1 = x[k];
            Append(half);
            return true;
        }
        return false;
    }

    void Append(const CIsoElement& piece)
    {
        CIsoElement* own = m_Pool.Add(piece);
        m_Target.push_back(own);
        m_Boxes.push_back(PieceBox(*own));
        m_Grid.Add(std::uint32_t(m_Target.size() - 1), m_Boxes.back());
        if (m_OwnersFollow && OwnerOf(*own))
            OwnerOf(*own)->push_back(own);
    }

    void Delete(std::size_t i)
    {
        CIsoElement* p = m_Target[i];
        if (m_OwnersFollow && OwnerOf(*p)) {
            auto& owner = *OwnerOf(*p);
            owner.erase(std::remove(owner.begin(), owner.end(), p), owner.end());
        }
        m_Target[i] = nullptr;
        m_Pool.Delete(p);
    }

    bool In(const CDPoint& q) const { return IsPointInPolygon(m_Outline, q.x, q.y) != 0; }

    double NearerEnd(const CDPoint& q) const { return std::min(Gap(q, m_E1), Gap(q, m_E2)); }

    bool Duplicates(const CIsoElement& p, const CIsoElement& q) const
    {
        const double reach = m_H + 0.1;
        if (p.Kind == ISO_LINE) {
            if (q.Kind == ISO_ARC)
                return IsPointOnArcBand(q, p.Pt0.x, p.Pt0.y, m_Dist) &&
                       IsPointOnArcBand(q, p.Pt1.x, p.Pt1.y, m_Dist);
            const bool in1 = In(p.Pt0), in2 = In(p.Pt1);
            const double m1 = NearerEnd(p.Pt0), m2 = NearerEnd(p.Pt1);
            return (in1 && in2) || (in1 && m2 < reach) || (in2 && m1 < reach) ||
                   (m1 < reach && m2 < reach);
        }
        if (p.Kind != ISO_ARC)
            return false;
        if (q.Kind == ISO_ARC && IsAngleInArc(q, p.Pt1.x, p.Pt1.y) &&
            IsAngleInArc(q, p.Pt2.x, p.Pt2.y) &&
            std::fabs(Gap(p.Pt1, q.Pt0) - q.Radius) < m_H &&
            std::fabs(Gap(p.Pt2, q.Pt0) - q.Radius) < m_H)
            return true;
        return NearerEnd(p.Pt1) < reach && NearerEnd(p.Pt2) < reach;
    }

    CIsoElementPool& m_Pool;
    CRefList<CIsoElement>& m_Target;
    const float m_Dist;
    const float m_H;
    const bool m_OwnersFollow;
    std::vector<CBox> m_Boxes;
    CBoxGrid m_Grid;
    std::vector<std::uint32_t> m_Found;
    CDPoint m_E1, m_E2;
    CIsoPolygon m_Outline;
};

}  // namespace

void DeleteDuplicatePaths(CIsoElementPool& pool, CRefList<CIsoElement>& target,
                          const CRefList<CIsoElement>& reference, float dist,
                          std::uint8_t ownersStay)
{
    if (target.empty())
        return;
    CDuplicateWalk walk(pool, target, dist, ownersStay == 0);
    for (const CIsoElement* q : reference) {
        PumpMessages();
        if (q->Kind == ISO_LINE || q->Kind == ISO_ARC)
            walk.Apply(*q);
    }
}
