// Elements of the offset engine made in one line, and an independent judge of
// their copper: Boost.Geometry's polygons (a stroke buffered with round ends,
// a pad a disc, a rectangle its four corners), so distances and components
// are measured without the engine's own geometry.
#pragma once

#include "offset/trimming.h"
#include "records/offset_records.h"

// GCC 12 at -O3 takes the round join's intersection point for maybe
// unset (the intersection sets it before it is read).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/linestring.hpp>
#include <boost/geometry/geometries/multi_polygon.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#pragma GCC diagnostic pop

#include <cmath>
#include <cstdint>
#include <vector>

namespace bg = boost::geometry;
using BPoint = bg::model::d2::point_xy<double>;
using BLine = bg::model::linestring<BPoint>;
using BPolygon = bg::model::polygon<BPoint>;
using BShape = bg::model::multi_polygon<BPolygon>;

// A source element of `kind` whose first point is (x, y).
inline CIsoElement MakeSource(std::uint8_t kind, double x, double y)
{
    CIsoElement e;
    e.Class = ISO_SOURCE;
    e.Kind = kind;
    e.Pt0 = CDPoint(x, y);
    e.GroupNo[0] = -1;
    return e;
}

inline CIsoElement MakeLine(double x0, double y0, double x1, double y1, double width)
{
    CIsoElement e = MakeSource(ISO_LINE, x0, y0);
    e.Pt1 = CDPoint(x1, y1);
    e.Radius = width;
    return e;
}

// An arc track about (cx, cy) from `start` to `end` degrees.
inline CIsoElement MakeArc(double cx, double cy, double r, double start, double end,
                           double halfWidth)
{
    CIsoElement e = MakeSource(ISO_ARC, cx, cy);
    e.Radius = r;
    e.StartAngle = start;
    e.EndAngle = end;
    e.HalfWidth = halfWidth;
    const double k = 3.1415926 / 180.0;
    e.Pt1 = CDPoint(cx + r * std::cos(start * k), cy + r * std::sin(start * k));
    e.Pt2 = CDPoint(cx + r * std::cos(end * k), cy + r * std::sin(end * k));
    return e;
}

inline CIsoElement MakeCircle(double cx, double cy, double r)
{
    CIsoElement e = MakeSource(ISO_CIRCLE, cx, cy);
    e.Pt1 = e.Pt2 = CDPoint(cx + r, cy);
    e.Radius = r;
    e.EndAngle = ISO_CIRCLE_END_ANGLE;
    return e;
}

// An axis-parallel rectangle of w by h about (cx, cy).
inline CIsoElement MakeRect(double cx, double cy, double w, double h)
{
    CIsoElement e = MakeSource(ISO_RECT, cx, cy);
    e.Radius = w;
    e.StartAngle = h;
    return e;
}

// An arc piece (no source copper), as the offset passes make them.
inline CIsoElement MakeArcPiece(double cx, double cy, double r, double start, double end)
{
    CIsoElement e = MakeArc(cx, cy, r, start, end, 0.0);
    e.Class = ISO_PIECE;
    e.ArcSense = 1.0;
    return e;
}

inline CIsoElement MakeLinePiece(double x0, double y0, double x1, double y1)
{
    CIsoElement e = MakeLine(x0, y0, x1, y1, 0.0);
    e.Class = ISO_PIECE;
    return e;
}

// Points along an element's centre arc, counter-clockwise from its start.
inline BLine ArcPoints(const CIsoElement& e, int steps = 720)
{
    double sweep = e.EndAngle > e.StartAngle ? e.EndAngle - e.StartAngle
                                             : e.EndAngle + 360.0 - e.StartAngle;
    BLine line;
    for (int i = 0; i <= steps; ++i) {
        double a = (e.StartAngle + sweep * i / steps) * M_PI / 180.0;
        line.push_back({e.Pt0.x + e.Radius * std::cos(a), e.Pt0.y + e.Radius * std::sin(a)});
    }
    return line;
}

// The copper of a source element as the judge sees it.
inline BShape CopperShape(const CIsoElement& e, int pointsPerCircle = 180)
{
    BShape out;
    bg::strategy::buffer::join_round join(pointsPerCircle);
    bg::strategy::buffer::end_round end(pointsPerCircle);
    bg::strategy::buffer::point_circle circle(pointsPerCircle);
    bg::strategy::buffer::side_straight side;
    auto bufferLine = [&](const BLine& line, double half) {
        bg::strategy::buffer::distance_symmetric<double> dist(half);
        bg::buffer(line, out, dist, side, join, end, circle);
    };
    switch (e.Kind) {
    case ISO_LINE:
        if (e.Pt0.x == e.Pt1.x && e.Pt0.y == e.Pt1.y) {
            bg::strategy::buffer::distance_symmetric<double> dist(e.Radius / 2.0);
            bg::buffer(BPoint(e.Pt0.x, e.Pt0.y), out, dist, side, join, end, circle);
        } else {
            bufferLine(BLine{{e.Pt0.x, e.Pt0.y}, {e.Pt1.x, e.Pt1.y}}, e.Radius / 2.0);
        }
        break;
    case ISO_ARC:
        bufferLine(ArcPoints(e), e.HalfWidth);
        break;
    case ISO_CIRCLE: {
        double r = e.Radius + e.HalfWidth;
        if (r <= 0.0) {
            BPolygon dot;
            const double t = 1e-6;
            bg::append(dot.outer(), BPoint(e.Pt0.x - t, e.Pt0.y - t));
            bg::append(dot.outer(), BPoint(e.Pt0.x - t, e.Pt0.y + t));
            bg::append(dot.outer(), BPoint(e.Pt0.x + t, e.Pt0.y + t));
            bg::append(dot.outer(), BPoint(e.Pt0.x + t, e.Pt0.y - t));
            bg::correct(dot);
            out.push_back(dot);
        } else {
            bg::strategy::buffer::distance_symmetric<double> dist(r);
            bg::buffer(BPoint(e.Pt0.x, e.Pt0.y), out, dist, side, join, end, circle);
        }
        break;
    }
    case ISO_RECT: {
        double ux = 1.0, uy = 0.0;
        if (e.Pt1.x != 0.0 || e.Pt1.y != 0.0) {
            ux = e.Pt1.x;
            uy = e.Pt1.y;
        }
        double hx = e.Radius / 2.0, hy = e.StartAngle / 2.0;
        BPolygon rect;
        const double sx[4] = {1, -1, -1, 1}, sy[4] = {1, 1, -1, -1};
        for (int i = 0; i < 4; ++i)
            bg::append(rect.outer(), BPoint(e.Pt0.x + sx[i] * hx * ux - sy[i] * hy * uy,
                                            e.Pt0.y + sx[i] * hx * uy + sy[i] * hy * ux));
        bg::correct(rect);
        out.push_back(rect);
        break;
    }
    default:
        break;
    }
    return out;
}

// Distance of a point from an element's copper edge (negative inside is not
// told apart: inside gives 0).
inline double DistanceFromCopper(const BShape& copper, double x, double y)
{
    return bg::distance(BPoint(x, y), copper);
}

// Trimming as plainly as it can be written: every pair of pieces, in list
// order, split by the pair tests until nothing splits, new pieces walked in
// their turn, short lines dropped as trimming drops them.
using CPairTrim = int (*)(CIsoElement&, CIsoElement&, std::vector<CIsoElement>&);

inline void TrimEveryPair(CIsoElementPool& pool, CRefList<CIsoElement>& pieces, CPairTrim arcLine,
                   CPairTrim arcArc)
{
    std::vector<CIsoElement> made;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t j = i + 1; j < pieces.size();) {
            CIsoElement &a = *pieces[i], &b = *pieces[j];
            const int split = a.Kind == ISO_ARC && b.Kind == ISO_LINE   ? arcLine(a, b, made)
                              : a.Kind == ISO_LINE && b.Kind == ISO_ARC ? arcLine(b, a, made)
                              : a.Kind == ISO_LINE                      ? TrimLineLine(a, b, made)
                                                                        : arcArc(a, b, made);
            if (!split) {
                ++j;
                continue;
            }
            for (const CIsoElement& p : made)
                if (p.Kind != ISO_LINE || std::hypot(p.Pt1.x - p.Pt0.x, p.Pt1.y - p.Pt0.y) >= 0.25)
                    pieces.push_back(pool.Add(p));
            made.clear();
        }
}
