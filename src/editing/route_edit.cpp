// Route geometry drawn by hand: route layer items, route text records, the
// clearing zig-zag and the items of a picked offset ring.
#include "editing/route_edit.h"

#include "editing/hit_tests.h"

#include "geometry/plane_geometry.h"
#include "records/copper_records.h"
#include "records/document_lists.h"
#include "records/planner_records.h"
#include "records/track_geometry.h"
#include "ui/line_store.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Mil per millimetre, as the route layers are sized.
constexpr double kMilPerMm = 39.37;

long Trunc(double v) { return static_cast<long>(std::trunc(v)); }

}  // namespace

std::unique_ptr<CPathSegment> PathLine(CDPoint a, CDPoint b, int type)
{
    auto s = std::make_unique<CPathSegment>();
    s->x1 = a.x;
    s->y1 = a.y;
    s->x2 = b.x;
    s->y2 = b.y;
    s->type = type;
    return s;
}

std::string RouteLayerName(double mm)
{
    char name[48];
    std::snprintf(name, sizeof name, "ROUTE%g", mm);
    return name;
}

CPathRecord* RouteDrawingLayer(CDocumentLists& lists, double mm)
{
    CPathRecord* layer = lists.GetToolPathLayer(RouteLayerName(mm));
    layer->size = float(mm * kMilPerMm);
    layer->depth = 0.0f;
    layer->side = 5;
    return layer;
}

POINT KeepRouteOrtho(POINT held, POINT p)
{
    if (std::labs(long(p.x) - held.x) > std::labs(long(p.y) - held.y))
        p.y = held.y;
    else
        p.x = held.x;
    return p;
}

CPathSegment* AddPathLine(CPathRecord& layer, CDPoint a, CDPoint b, int type)
{
    return AddTail(layer.items, PathLine(a, b, type));
}

void AddPathRect(CPathRecord& layer, CDPoint a, CDPoint b)
{
    const CDPoint corners[] = {a, CDPoint(b.x, a.y), b, CDPoint(a.x, b.y), a};
    for (int i = 0; i < 4; ++i)
        AddPathLine(layer, corners[i], corners[i + 1]);
}

CPathSegment* AddPathCircle(CPathRecord& layer, CDPoint centre, double radius)
{
    const CDPoint rim(centre.x + radius, centre.y);
    auto s = PathLine(rim, rim, 2);
    s->cx = centre.x;
    s->cy = centre.y;
    s->radius = radius;
    return AddTail(layer.items, std::move(s));
}

std::unique_ptr<CPathSegment> RouteItemFromRing(const CGridPathSegment& g)
{
    auto s = PathLine(CDPoint(g.x1, g.y1), CDPoint(g.x2, g.y2), g.type);
    if (g.type != 0) {
        s->cx = g.cx;
        s->cy = g.cy;
        s->radius = Distance(double(g.cx), double(g.cy), double(g.x1), double(g.y1));
    }
    return s;
}

bool RingSegmentHit(const CGridPathSegment& g, CDPoint p, int width)
{
    if (g.type == 0)
        return PointInTrack(TrackAlong(g.x1, g.y1, g.x2, g.y2, width), p) != 0;
    // Type 1 runs from its start to its end with rising angle, type 2 the
    // other way (as the view draws them).
    CArcF arc;
    arc.x1 = g.x1;
    arc.y1 = g.y1;
    arc.x2 = g.x2;
    arc.y2 = g.y2;
    arc.cx = g.cx;
    arc.cy = g.cy;
    arc.direction = g.type == 1 ? 1 : 2;
    return PointInArcSweep(arc, p, float(width));
}

void SetRouteOrigin(CLineEdit& text, CDPoint first, CDPoint second)
{
    const long dx = Trunc(second.x - first.x);
    const long dy = Trunc(second.y - first.y);
    // Looked for line by line: the store's own search would move the line
    // cursor that the route reader walks.
    for (int n = 0; n < text.GetLineCount(); ++n)
        if (text.GetLineText(n).find("G93") != std::string::npos) {
            text.ReplaceLineF(n, "G93X%ld.Y%ld.", dx, dy);
            return;
        }
    text.InsertLineF(0, "G93X%ld.Y%ld.", dx, dy);
}

void WriteRouteCircle(CLineEdit& text, CDPoint centre, CDPoint rim)
{
    text.WriteLineF("G00X%ld.Y%ld.", Trunc(rim.x), Trunc(rim.y));
    text.WriteLineF("G02X%ld.Y%ld.I%ld.J%ld.", Trunc(rim.x), Trunc(rim.y),
                    Trunc(centre.x - rim.x), Trunc(centre.y - rim.y));
}

bool ZigZagLines(const RECT& r, double size, double overlap, std::vector<CRouteLine>& lines)
{
    lines.clear();
    const double p = size - overlap * size;
    if (!(p >= 1.0))
        return false;
    const double half = p / 2;
    bool leftward = true;
    for (double y = std::trunc(r.top + half); y < r.bottom - half; y = std::trunc(y + p)) {
        const double from = leftward ? r.right - half : r.left + half;
        const double to = leftward ? r.left + half : r.right - half;
        lines.push_back({CDPoint(from, y), CDPoint(to, y)});
        lines.push_back({CDPoint(to, y), CDPoint(to, y + p)});
        leftward = !leftward;
    }
    return true;
}
