// Families of arc pieces on one circle, and their merging.
#include "offset/arc_families.h"

#include "geometry/plane_geometry.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace offset;

namespace {

bool IsCandidate(const CIsoElement& p)
{
    return p.Kind == ISO_ARC && p.Source && p.Source->Kind != ISO_ARC;
}

bool Wraps(const CIsoElement& a) { return a.StartAngle > a.EndAngle; }
bool IsFull(const CIsoElement& a) { return a.StartAngle == a.EndAngle; }

void MakeFull(CIsoElement& q)
{
    q.EndAngle = q.StartAngle;
    q.Pt2 = q.Pt1;
}
void TakeStart(CIsoElement& q, double angle, const CDPoint& point)
{
    q.StartAngle = angle;
    q.Pt1 = point;
}
void TakeEnd(CIsoElement& q, double angle, const CDPoint& point)
{
    q.EndAngle = angle;
    q.Pt2 = point;
}

// The union of two ranges that do not wrap, or that both wrap.
void Unite(CIsoElement& q, const CIsoElement& p)
{
    if (p.StartAngle < q.StartAngle)
        TakeStart(q, p.StartAngle, p.Pt1);
    if (p.EndAngle > q.EndAngle)
        TakeEnd(q, p.EndAngle, p.Pt2);
}

// Whether merged arc q takes member p in.
bool Absorb(CIsoElement& q, const CIsoElement& p)
{
    // A full circle covers every arc of its circle: whatever comes after it
    // would only cut the same path again.
    if (IsFull(q))
        return true;
    if (IsFull(p)) {
        MakeFull(q);
        return true;
    }
    const double p1 = p.StartAngle, p2 = p.EndAngle, q1 = q.StartAngle, q2 = q.EndAngle;
    const bool pw = Wraps(p), qw = Wraps(q);
    if (!pw && !qw) {
        Unite(q, p);
        return true;
    }
    if (pw && qw) {
        if (p1 > q1 && p1 > q2 && p2 > q1 && p2 > q2)
            MakeFull(q);
        else
            Unite(q, p);
        return true;
    }
    if (!pw && qw) {
        if (p1 < q1 && p1 < q2 && p2 > q1 && p2 > q2)
            MakeFull(q);
        else if (q1 > p1 && p2 > q2 && p1 > q2 - kFamilyTolerance)
            TakeStart(q, p1, p.Pt1);
        else if (q1 > p1 && p2 > q2 && p1 < q2 - kFamilyTolerance)
            TakeEnd(q, p2, p.Pt2);
        return true;
    }
    // p wraps, q does not.
    if (q2 > p1 && p2 > q1) {
        MakeFull(q);
        return true;
    }
    if (p1 > q1 && q2 > p2 && q1 > p2 - kFamilyTolerance) {
        if (q1 > p2) {
            TakeEnd(q, p2, p.Pt2);
        } else {
            const double a = q1;
            const CDPoint pt = q.Pt1;
            TakeStart(q, p2, p.Pt2);
            TakeEnd(q, a, pt);
        }
        return true;
    }
    if (q1 > p1 && q2 > p2 && p1 > p2 - kFamilyTolerance) {
        TakeStart(q, p1, p.Pt1);
        TakeEnd(q, p2, p.Pt2);
        return true;
    }
    if (q1 < p1 && p2 < q2 && q2 - kFamilyTolerance < p1) {
        if (p1 > q2) {
            TakeStart(q, p1, p.Pt1);
        } else {
            const double a = q2;
            const CDPoint pt = q.Pt2;
            TakeStart(q, a, pt);
            TakeEnd(q, p1, p.Pt1);
        }
        return true;
    }
    return false;
}

}  // namespace

void ComposeArcs(CIsoElementPool& pool, CRefList<CIsoElement>& pieces)
{
    std::vector<std::unique_ptr<CArcFamily>> families;
    for (CIsoElement* p : pieces) {
        if (!IsCandidate(*p))
            continue;
        CArcFamily* home = nullptr;
        for (const auto& family : families) {
            if (Distance(family->Centre.x, family->Centre.y, p->Pt0.x, p->Pt0.y) >=
                    kFamilyTolerance ||
                std::fabs(family->Radius - p->Radius) >= kFamilyTolerance)
                continue;
            // Overlap either way: an arc that covers a member whole shares
            // its family too (its own ends lie outside the member).
            for (const CIsoElement* m : family->Members)
                if (IsAngleInArc(*m, p->Pt1.x, p->Pt1.y) || IsAngleInArc(*m, p->Pt2.x, p->Pt2.y) ||
                    IsAngleInArc(*p, m->Pt1.x, m->Pt1.y) || IsAngleInArc(*p, m->Pt2.x, m->Pt2.y)) {
                    home = family.get();
                    break;
                }
            if (home)
                break;
        }
        if (!home) {
            families.push_back(std::make_unique<CArcFamily>());
            home = families.back().get();
            home->Centre = p->Pt0;
            home->Radius = p->Radius;
        }
        home->Members.push_back(p);
    }
    if (families.empty())
        return;

    std::vector<CIsoElement*> doomed;
    std::vector<CIsoElement> merged;
    for (const auto& family : families) {
        merged.clear();
        for (CIsoElement* p : family->Members) {
            bool absorbed = false;
            for (CIsoElement& q : merged)
                if (Absorb(q, *p)) {
                    absorbed = true;
                    break;
                }
            if (!absorbed)
                merged.push_back(*p);
            doomed.push_back(p);
        }
        for (const CIsoElement& q : merged)
            pieces.push_back(pool.Add(q));
    }
    // One sweep takes every merged-away arc out of the list.
    std::sort(doomed.begin(), doomed.end());
    std::erase_if(pieces, [&](CIsoElement* e) {
        return std::binary_search(doomed.begin(), doomed.end(), e);
    });
    for (CIsoElement* p : doomed)
        pool.Delete(p);
}
