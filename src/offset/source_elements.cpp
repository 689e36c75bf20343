// Source elements from the working side's strokes and pads.
#include "offset/source_elements.h"

#include "geometry/plane_geometry.h"
#include "offset/offset_constants.h"
#include "offset/rect_frame.h"

#include <cmath>

namespace {

// Strokes the reader marks with this (chords of an arc record, which the arc
// stands for) and pads so marked are left out.
constexpr int kSkipMarker = 100;

constexpr std::uint8_t kTrackRound = 0;
constexpr std::uint8_t kTrackRectangle = 1;
constexpr std::uint8_t kTrackOval = 2;
constexpr std::uint8_t kTrackArc = 8;
constexpr std::uint8_t kPadRound = 0;
// A flash of an oval aperture whose two sides are equal: the reader keeps
// it as a pad only then (an unequal one becomes a stroke), so it is round.
constexpr std::uint8_t kPadOvalRound = 2;

CIsoElement NewSource(std::uint8_t kind, const void* origin)
{
    CIsoElement e;
    e.Class = ISO_SOURCE;
    e.Kind = kind;
    e.GroupNo[0] = -1;
    e.Origin = origin;
    return e;
}

void AddSource(COffsetEngineLists& lists, const CIsoElement& element)
{
    lists.m_IsoSources.push_back(lists.m_IsoElements.Add(element));
}

void AddCircle(COffsetEngineLists& lists, CDPoint centre, double radius, CIsoElement* rect,
               const void* origin)
{
    CIsoElement c = NewSource(ISO_CIRCLE, origin);
    c.Pt0 = centre;
    c.Pt1 = c.Pt2 = CDPoint(centre.x + radius, centre.y);
    c.Radius = radius;
    c.StartAngle = 0.0;
    c.EndAngle = ISO_CIRCLE_END_ANGLE;
    c.Source = rect;
    AddSource(lists, c);
}

// A rectangular pad stored as a stroke across its length; the stroke's width
// is the pad's other side. A stroke drawn at a slant keeps its slant.
void AddRectangle(COffsetEngineLists& lists, const CTrackRecord& t)
{
    CDPoint p1(t.x1, t.y1), p2(t.x2, t.y2);
    CDPoint c((p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0);
    CIsoElement r = NewSource(ISO_RECT, &t);
    r.Pt0 = c;
    double hx, hy;
    if (t.x1 != t.x2 && t.y1 != t.y2) {
        double length = Distance(p1.x, p1.y, p2.x, p2.y);
        r.Pt1 = CDPoint((p2.x - p1.x) / length, (p2.y - p1.y) / length);
        hx = length / 2.0;
        hy = t.width / 2.0;
    } else if (t.x1 != t.x2) {
        hx = Distance(p1.x, p1.y, c.x, c.y);
        hy = t.width / 2.0;
    } else {
        hx = t.width / 2.0;
        hy = Distance(p1.x, p1.y, c.x, c.y);
    }
    r.Radius = 2.0 * hx;
    r.StartAngle = 2.0 * hy;
    CIsoElement* rect = lists.m_IsoElements.Add(r);
    lists.m_IsoSources.push_back(rect);
    CDPoint corners[4];
    CRectFrame(r).Corners(0.0, corners);
    for (const CDPoint& corner : corners)
        AddCircle(lists, corner, 0.0, rect, nullptr);
}

void AddArc(COffsetEngineLists& lists, const CTrackRecord& t, int side)
{
    CIsoElement a = NewSource(ISO_ARC, &t);
    double r = t.width, a1 = t.x2, a2 = t.y2;
    a.Pt0 = CDPoint(t.x1, t.y1);
    a.Pt1 = CDPoint(a.Pt0.x + r * std::cos(a1), a.Pt0.y + r * std::sin(a1));
    a.Pt2 = CDPoint(a.Pt0.x + r * std::cos(a2), a.Pt0.y + r * std::sin(a2));
    a.Radius = r;
    a.StartAngle = offset::Degrees(a1, offset::kPi);
    a.EndAngle = offset::Degrees(a2, offset::kPi);
    a.HalfWidth = t.arcHalfWidth;
    a.Side = static_cast<std::uint8_t>(side);
    AddSource(lists, a);
}

}  // namespace

void BuildSourceElements(COffsetEngineLists& lists, const COwnedList<CTrackRecord>& tracks,
                         const COwnedList<CFlashRecord>& pads, int side)
{
    lists.ClearOffsetEngine();
    for (const auto& track : tracks) {
        const CTrackRecord& t = *track;
        switch (t.type) {
        case kTrackRound:
        case kTrackOval:   // an oval aperture strokes like a round one
            if (t.chordMark != kSkipMarker) {
                CIsoElement line = NewSource(ISO_LINE, &t);
                line.Pt0 = CDPoint(t.x1, t.y1);
                line.Pt1 = CDPoint(t.x2, t.y2);
                line.Radius = t.width;
                AddSource(lists, line);
            }
            break;
        case kTrackRectangle:
            AddRectangle(lists, t);
            break;
        case kTrackArc:
            AddArc(lists, t, side);
            break;
        default:
            break;
        }
    }
    for (const auto& pad : pads)
        if ((pad->type == kPadRound || pad->type == kPadOvalRound) && pad->arcMark != kSkipMarker)
            AddCircle(lists, CDPoint(pad->x, pad->y), pad->radius, nullptr, pad.get());
}
