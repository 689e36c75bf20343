// The removal passes of round and rectangular pads.
#include "offset/removal_passes.h"

#include "geometry/plane_geometry.h"
#include "offset/crossings.h"
#include "offset/piece_walk.h"
#include "offset/rect_frame.h"
#include "offset/touch_tests.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>

namespace {

float Gap(const CDPoint& a, const CDPoint& b) { return float(DistanceD8(a.x, a.y, b.x, b.y)); }

CDPoint Middle(const CDPoint& a, const CDPoint& b) { return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0}; }

}  // namespace

void RemoveCirclePieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                        CRefList<CIsoElement>& pieces, float d, std::uint8_t)
{
    CPieceWalk walk(pool, pieces);
    const float h = d / 2.0f;
    for (CIsoElement* s : sources) {
        PumpMessages();
        if (s->Kind != ISO_CIRCLE)
            continue;
        const CDPoint& C = s->Pt0;
        const float R = h + float(s->Radius);
        const float lineLimit = s->AreaMark == 1 ? R / 1.5f : R;
        const double g = 2.0 * s->Radius + h;
        walk.ForNear({C.x - g, C.y - g, C.x + g, C.y + g}, [&](const CIsoElement& p) {
            if (p.Kind == ISO_LINE)
                return Gap(Middle(p.Pt0, p.Pt1), C) < lineLimit;
            if (p.Kind != ISO_ARC || p.Source == s)
                return false;
            return Gap(ArcMiddlePoint(p), C) < float(R / 1.005);
        });
    }
}

void RemoveRectPieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                      CRefList<CIsoElement>& pieces, float d, std::uint8_t strict)
{
    if (strict == 0)
        return;
    CPieceWalk walk(pool, pieces);
    const float w = d + 0.1f;
    for (CIsoElement* s : sources) {
        PumpMessages();
        if (s->Kind != ISO_RECT)
            continue;
        CIsoPolygon inner, outer;
        BuildRectOutline(inner, *s, w - 0.5f);
        BuildRectOutline(outer, *s, w);
        const CRectFrame frame(*s);
        // Distance from the rectangle's lengthwise centre line.
        auto across = [&](const CDPoint& q) {
            return float(std::fabs((q.x - frame.centre.x) * frame.axis.y -
                                   (q.y - frame.centre.y) * frame.axis.x));
        };
        const float band = w / 2.0f + float(s->StartAngle) / 2.0f;
        const float t = float(w / 1.05);
        // Every test needs the piece within the rectangle grown by w.
        CDPoint corners[4];
        frame.Corners(0.0, corners);
        CBox box{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
        for (const CDPoint& c : corners)
            box = {std::min(box.x0, c.x), std::min(box.y0, c.y), std::max(box.x1, c.x),
                   std::max(box.y1, c.y)};
        walk.ForNear(box.Grown(double(w) + 1.0), [&](const CIsoElement& p) {
            if (p.Source == s)
                return false;
            if (p.Kind == ISO_LINE) {
                if (IsPieceInsidePolygon2(*s, inner, p))
                    return true;
                const CDPoint M = Middle(p.Pt0, p.Pt1);
                return across(p.Pt0) < band && across(p.Pt1) < band &&
                       IsPointInPolygon(inner, M.x, M.y) != 0;
            }
            if (p.Kind != ISO_ARC)
                return false;
            if (IsPieceInsidePolygon2(*s, outer, p))
                return true;
            if (p.Source && p.Source->Source == s)
                return false;
            return RectCrossesArc(*s, p, t) || RectCrossesArc2(*s, p, t);
        });
    }
}
