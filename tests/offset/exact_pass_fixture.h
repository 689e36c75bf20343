// The exact first pass of the offset engine run on hand-made copper, and the
// judge's measures of its result: distances from the copper by Boost.Geometry
// (offset_fixture.h) and samples along the pieces.
#pragma once

#include "offset/grouping.h"
#include "offset/offset_pieces.h"
#include "offset/pass_driver.h"
#include "offset/path_layers.h"
#include "offset_fixture.h"
#include "support/isolation_oracle.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

struct CExactBoard {
    std::string name;
    float d = 8.0f;
    std::vector<CIsoElement> copper;   // rectangles bring their corners themselves
};

// A rectangle source with its four corner circles, as the source builder
// makes them.
inline void AddRect(std::vector<CIsoElement>& copper, double cx, double cy, double w, double h)
{
    copper.push_back(MakeRect(cx, cy, w, h));
    const double sx[4] = {1, -1, -1, 1}, sy[4] = {1, 1, -1, -1};
    for (int i = 0; i < 4; ++i)
        copper.push_back(MakeCircle(cx + sx[i] * w / 2.0, cy + sy[i] * h / 2.0, 0.0));
}

struct CExactRun {
    COffsetEngineLists lists;
    CRefList<CIsoGroup> groups;

    // The copper in order as the source elements, the lines' normals set
    // for d; a corner circle follows its rectangle and refers to it.
    void AddSources(const std::vector<CIsoElement>& copper, float d)
    {
        CIsoElement* rect = nullptr;
        for (const CIsoElement& e : copper) {
            CIsoElement* own = lists.m_IsoElements.Add(e);
            if (own->Kind == ISO_RECT)
                rect = own;
            else if (own->Kind == ISO_CIRCLE && own->Radius == 0.0)
                own->Source = rect;
            lists.m_IsoSources.push_back(own);
        }
        for (CIsoElement* e : lists.m_IsoSources)
            if (e->Kind == ISO_LINE)
                ComputeSegmentNormal(*e, d);
    }

    // How a group's pieces are finished once its sources are offset.
    using CFinish = std::function<void(CIsoElementPool&, CIsoGroup&, float)>;

    void Run(const std::vector<CIsoElement>& copper, float d, const CFinish& finish = {})
    {
        AddSources(copper, d);
        CRefList<CIsoGroup> grouping;
        BuildGroups(lists, lists.m_IsoSources, grouping, d, 0);
        for (CIsoGroup* g : grouping) {
            auto n = std::make_unique<CIsoGroup>();
            n->GroupNo = g->GroupNo;
            CIsoGroup* group = AddTail(lists.m_IsoGroups, std::move(n));
            groups.push_back(group);
            for (CIsoElement* e : g->Sources) {
                group->Sources.push_back(e);
                OffsetSource(lists.m_IsoElements, *group, *e, d);
            }
        }
        for (CIsoGroup* g : groups)
            if (finish)
                finish(lists.m_IsoElements, *g, d);
            else
                FinishExactGroup(lists.m_IsoElements, *g, d, nullptr);
    }
};

// Points along a piece about every `step` mil, ends included.
inline std::vector<CDPoint> SamplePiece(const CIsoElement& p, double step = 0.5)
{
    std::vector<CDPoint> out;
    if (p.Kind == ISO_LINE) {
        const double len = std::hypot(p.Pt1.x - p.Pt0.x, p.Pt1.y - p.Pt0.y);
        const int n = std::max(1, int(std::ceil(len / step)));
        for (int i = 0; i <= n; ++i)
            out.emplace_back(p.Pt0.x + (p.Pt1.x - p.Pt0.x) * i / n,
                             p.Pt0.y + (p.Pt1.y - p.Pt0.y) * i / n);
    } else if (p.Kind == ISO_ARC) {
        double sweep = p.EndAngle - p.StartAngle;
        if (sweep <= 0.0)
            sweep += 360.0;
        const double len = sweep * M_PI / 180.0 * p.Radius;
        const int n = std::max(1, int(std::ceil(len / step)));
        for (int i = 0; i <= n; ++i) {
            const double a = (p.StartAngle + sweep * i / n) * M_PI / 180.0;
            out.emplace_back(p.Pt0.x + p.Radius * std::cos(a), p.Pt0.y + p.Radius * std::sin(a));
        }
    }
    return out;
}

// Distance of a point from a piece (line segment or arc).
inline double DistanceToPiece(const CIsoElement& p, const CDPoint& q)
{
    if (p.Kind == ISO_LINE) {
        const double dx = p.Pt1.x - p.Pt0.x, dy = p.Pt1.y - p.Pt0.y;
        const double l2 = dx * dx + dy * dy;
        double t = l2 > 0.0 ? ((q.x - p.Pt0.x) * dx + (q.y - p.Pt0.y) * dy) / l2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(q.x - (p.Pt0.x + t * dx), q.y - (p.Pt0.y + t * dy));
    }
    if (p.Kind != ISO_ARC)
        return 1e9;
    double a = std::atan2(q.y - p.Pt0.y, q.x - p.Pt0.x) * 180.0 / M_PI;
    double s = p.StartAngle, e = p.EndAngle;
    double sweep = e - s;
    if (sweep <= 0.0)
        sweep += 360.0;
    double rel = a - s;
    while (rel < 0.0)
        rel += 360.0;
    while (rel >= 360.0)
        rel -= 360.0;
    if (rel <= sweep)
        return std::fabs(std::hypot(q.x - p.Pt0.x, q.y - p.Pt0.y) - p.Radius);
    const CDPoint a0(p.Pt0.x + p.Radius * std::cos(s * M_PI / 180.0),
                     p.Pt0.y + p.Radius * std::sin(s * M_PI / 180.0));
    const CDPoint a1(p.Pt0.x + p.Radius * std::cos(e * M_PI / 180.0),
                     p.Pt0.y + p.Radius * std::sin(e * M_PI / 180.0));
    return std::min(std::hypot(q.x - a0.x, q.y - a0.y), std::hypot(q.x - a1.x, q.y - a1.y));
}

// The copper of some sources, one shape each; a point's distance from all
// of it is the least of its distances from each (0 inside any).
using CCopper = std::vector<BShape>;

inline CCopper CopperOf(const std::vector<const CIsoElement*>& sources, double grow = 0.0)
{
    CCopper out;
    for (const CIsoElement* e : sources) {
        CIsoElement g = *e;
        switch (g.Kind) {
        case ISO_LINE:
            g.Radius += 2.0 * grow;
            break;
        case ISO_ARC:
            g.HalfWidth += grow;
            break;
        case ISO_CIRCLE:
            g.Radius += grow;
            break;
        case ISO_RECT:
            if (grow > 0.0) {
                // Grown sides; the grown corners are the corner circles'.
                CIsoElement wide = g, tall = g;
                wide.Radius += 2.0 * grow;
                tall.StartAngle += 2.0 * grow;
                out.push_back(CopperShape(wide, 720));
                out.push_back(CopperShape(tall, 720));
                continue;
            }
            break;
        default:
            break;
        }
        out.push_back(CopperShape(g, 720));
    }
    return out;
}

inline double DistanceFrom(const CCopper& copper, const CDPoint& q)
{
    double best = 1e9;
    for (const BShape& s : copper)
        best = std::min(best, DistanceFromCopper(s, q.x, q.y));
    return best;
}

// Points along the outline of the union of the grown shapes, about every
// `step`: the points of each shape's rings that lie in no other shape.
inline std::vector<CDPoint> GrownBoundary(const CCopper& grown, double step = 0.5)
{
    std::vector<CDPoint> out;
    for (std::size_t i = 0; i < grown.size(); ++i) {
        auto walk = [&](const auto& ring) {
            for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
                const double x0 = bg::get<0>(ring[k]), y0 = bg::get<1>(ring[k]);
                const double x1 = bg::get<0>(ring[k + 1]), y1 = bg::get<1>(ring[k + 1]);
                const int n = std::max(1, int(std::ceil(std::hypot(x1 - x0, y1 - y0) / step)));
                for (int m = 0; m < n; ++m) {
                    const CDPoint q(x0 + (x1 - x0) * m / n, y0 + (y1 - y0) * m / n);
                    bool inside = false;
                    for (std::size_t j = 0; j < grown.size() && !inside; ++j)
                        inside = j != i && DistanceFromCopper(grown[j], q.x, q.y) < 1e-9;
                    if (!inside)
                        out.push_back(q);
                }
            }
        };
        for (const BPolygon& poly : grown[i]) {
            walk(poly.outer());
            for (const auto& inner : poly.inners())
                walk(inner);
        }
    }
    return out;
}

// Within this of d/2 from the copper (mil).
inline constexpr double kOnOutline = 0.02;
// Every point of the grown outline lies this near a piece (mil).
inline constexpr double kCovered = 0.3;
// The segments of a layer hold their ends as floats.
inline constexpr double kFloatSlack = 0.01;

// The sources of a piece's group.
inline std::vector<const CIsoElement*> SourcesOf(const CIsoGroup& g)
{
    return {g.Sources.begin(), g.Sources.end()};
}

// What the judge found wrong with the groups' pieces, as text (empty when
// nothing): every piece runs d/2 from its group's copper and no nearer to
// any copper, and so do the segments the pieces become in the pass's layer
// (the arcs composed from their families and the chords of short arcs
// included); and the pieces cover the outline of the group's copper grown
// by d/2.
inline std::string JudgeGroups(const CRefList<CIsoElement>& sources,
                               const CRefList<CIsoGroup>& groups, float d)
{
    std::ostringstream out;
    const CCopper everything = CopperOf({sources.begin(), sources.end()});
    const double half = d / 2.0;
    int reported = 0;
    for (const CIsoGroup* g : groups) {
        const CCopper own = CopperOf(SourcesOf(*g));
        // A point of a piece (or of the layer, whose points are floats, a
        // hundredth of a mil more) d/2 from its own copper and no nearer to
        // any.
        auto check = [&](const CDPoint& q, const char* what, double slack) {
            const double toOwn = DistanceFrom(own, q);
            const double toAny = DistanceFrom(everything, q);
            if ((std::fabs(toOwn - half) > slack || toAny < half - slack) && reported++ < 5)
                out << what << " point (" << q.x << ", " << q.y << ") " << toOwn << " from its copper, "
                    << toAny << " from any; ";
        };
        for (const CIsoElement* p : g->Pieces)
            for (const CDPoint& q : SamplePiece(*p))
                check(q, "piece", kOnOutline);
        COwnedList<CGridPathSegment> segments;
        for (const CIsoElement* p : g->Pieces)
            AppendPieceSegment(*p, CPieceCut::PassLayer, segments);
        const auto layer = LayerFromSegments(CPassLayerStyle{}, 0, segments);
        for (const auto& cut : layer->items) {
            const std::vector<CDPoint> points = CIsolationOracle::CutPolyline(*cut, 0.5, 0.001);
            for (std::size_t k = 0; k + 1 < points.size(); ++k)
                for (const CDPoint& q : SamplePiece(MakeLinePiece(points[k].x, points[k].y,
                                                                  points[k + 1].x, points[k + 1].y)))
                    check(q, "layer", kOnOutline + kFloatSlack);
        }
        for (const CDPoint& q : GrownBoundary(CopperOf(SourcesOf(*g), half))) {
            double nearest = 1e9;
            for (const CIsoElement* p : g->Pieces)
                nearest = std::min(nearest, DistanceToPiece(*p, q));
            if (nearest > kCovered && reported++ < 5)
                out << "outline point (" << q.x << ", " << q.y << ") " << nearest
                    << " from the nearest piece; ";
        }
    }
    return out.str();
}

inline std::string Judge(const CExactRun& run, float d)
{
    return JudgeGroups(run.lists.m_IsoSources, run.groups, d);
}

// Small boards of tracks, pads, rectangles and arcs with narrow gaps.
inline std::vector<CExactBoard> ExactBoards()
{
    std::vector<CExactBoard> boards;
    auto add = [&](const char* name, float d, std::vector<CIsoElement> copper) {
        boards.push_back({name, d, std::move(copper)});
    };
    add("one track", 8.0f, {MakeLine(0, 0, 100, 0, 10)});
    add("slanted track", 8.0f, {MakeLine(0, 0, 70, 45, 12)});
    add("corner of two tracks", 8.0f, {MakeLine(0, 0, 100, 0, 10), MakeLine(100, 0, 100, 80, 10)});
    add("tee", 8.0f, {MakeLine(0, 0, 100, 0, 10), MakeLine(50, 0, 50, 60, 8)});
    // Two tracks leaving one point at mirrored angles: their directions add
    // up to nothing, and they are not parallel.
    add("vee", 8.0f, {MakeLine(0, 0, 80, 40, 10), MakeLine(0, 0, 80, -40, 10)});
    add("vee about an axis", 8.0f, {MakeLine(80, 40, 0, 0, 10), MakeLine(0, 0, 80, -40, 10)});
    add("track into a pad", 8.0f, {MakeLine(0, 0, 80, 0, 10), MakeCircle(80, 0, 20)});
    add("pad with three tracks", 8.0f,
        {MakeCircle(0, 0, 25), MakeLine(0, 0, 90, 0, 8), MakeLine(0, 0, -60, 60, 8),
         MakeLine(0, 0, 0, -90, 12)});
    add("narrow gap between parallel tracks", 8.0f,
        {MakeLine(0, 0, 120, 0, 10), MakeLine(0, 18.5, 120, 18.5, 10)});
    add("tracks closer than the cutter", 8.0f,
        {MakeLine(0, 0, 120, 0, 10), MakeLine(0, 15, 120, 15, 10)});
    {
        std::vector<CIsoElement> c;
        AddRect(c, 0, 0, 60, 40);
        c.push_back(MakeLine(30, 0, 120, 0, 10));
        add("rectangle pad with a track", 8.0f, c);
    }
    {
        std::vector<CIsoElement> c;
        AddRect(c, 0, 0, 60, 40);
        AddRect(c, 75, 0, 60, 40);
        add("two rectangles across a narrow gap", 8.0f, c);
    }
    add("arc track", 8.0f, {MakeArc(0, 0, 50, 0, 90, 5)});
    add("arc track between two tracks", 8.0f,
        {MakeLine(-80, 0, 0, -50, 10), MakeArc(0, 0, 50, -90, 0, 5), MakeLine(50, 0, 50, 80, 10)});
    add("track of no length", 8.0f, {MakeLine(10, 10, 10, 10, 20), MakeLine(60, 10, 140, 10, 8)});
    return boards;
}

// Boards of arc families that the pass's own removal rules must part: arcs
// beside arcs and tracks closer than the cutter, and short arcs left between
// tracks on a large pad.
inline std::vector<CExactBoard> ArcFamilyBoards()
{
    std::vector<CExactBoard> boards;
    auto add = [&](const char* name, float d, std::vector<CIsoElement> copper) {
        boards.push_back({name, d, std::move(copper)});
    };
    // Concentric arc tracks: a cutter and a mil apart, and closer than the
    // cutter (nothing may run between those).
    add("concentric arc tracks apart", 8.0f, {MakeArc(0, 0, 60, 0, 120, 5), MakeArc(0, 0, 41, 0, 120, 5)});
    add("concentric arc tracks closer than the cutter", 8.0f,
        {MakeArc(0, 0, 60, 0, 120, 5), MakeArc(0, 0, 47, 0, 120, 5)});
    // Arc tracks meeting straight tracks at tangents, wound one inside the
    // other closer than the cutter.
    add("tangent arcs closer than the cutter", 8.0f,
        {MakeArc(0, 0, 39.44, 90, -90, 5), MakeLine(0, -39.44, 100, -39.44, 10),
         MakeLine(0, 39.44, 100, 39.44, 10), MakeArc(0, 0, 22.57, 90, -90, 5),
         MakeLine(0, -22.57, 100, -22.57, 10), MakeLine(0, 22.57, 100, 22.57, 10)});
    // A pad far larger than the cutter, tracks ending on it at small angles
    // apart: its offset circle and the tracks' end caps make one family, and
    // the short arcs left between the tracks are cut in the layer.
    add("large pad with tracks close together", 8.0f,
        {MakeCircle(0, 0, 400), MakeLine(0, 0, 600, 0, 8), MakeLine(0, 0, 600, 50, 8),
         MakeLine(0, 0, 600, 100, 8)});
    return boards;
}
