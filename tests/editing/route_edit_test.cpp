// Route geometry drawn by hand: the route text's circle and origin records,
// the Ctrl constraint, the route items, the offset rings' hit test and items,
// and the clearing zig-zag with its refusal of a pitch that cannot advance.
#include "editing/route_edit.h"

#include "records/document_lists.h"
#include "records/planner_records.h"
#include "ui/line_store.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const CLineEdit& text)
{
    std::vector<std::string> lines;
    for (int n = 0; n < text.GetLineCount(); ++n)
        lines.push_back(text.GetLineText(n));
    return lines;
}

using Lines_t = std::vector<std::string>;

TEST(RouteText, CircleRecordsTruncateEachValueTowardZero)
{
    struct Case {
        CDPoint centre, rim;
        Lines_t expected;
    } cases[] = {
        // I from -500.3 gives -500, not -501.
        {CDPoint(1000.6, 2000), CDPoint(1500.9, 2000),
         {"G00X1500.Y2000.", "G02X1500.Y2000.I-500.J0."}},
        {CDPoint(-10.7, 5.2), CDPoint(-20.9, -3.5), {"G00X-20.Y-3.", "G02X-20.Y-3.I10.J8."}},
    };
    for (const Case& c : cases) {
        CLineEdit text;
        text.WriteLine("%");
        WriteRouteCircle(text, c.centre, c.rim);
        Lines_t expected = {"%"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(Lines(text), expected) << c.expected[0];
    }
}

TEST(RouteText, OriginReplacesTheFirstOriginElseLeadsTheText)
{
    struct Case {
        const char* what;
        Lines_t before;
        Lines_t after;
    } cases[] = {
        {"no origin yet", {"%", "G00X1.Y1."}, {"G93X89.Y-10.", "%", "G00X1.Y1."}},
        {"empty text", {}, {"G93X89.Y-10."}},
        {"an origin already", {"%", "G93X5.Y5.", "G00X1.Y1.", "G93X7.Y7."},
         {"%", "G93X89.Y-10.", "G00X1.Y1.", "G93X7.Y7."}},
    };
    for (const Case& c : cases) {
        CLineEdit text;
        for (const std::string& line : c.before)
            text.WriteLine(line);
        text.SetLineCursor(1);
        // 89.5 and -10.5 are cut toward zero.
        SetRouteOrigin(text, CDPoint(10.5, 20.5), CDPoint(100, 10));
        EXPECT_EQ(Lines(text), c.after) << c.what;
        EXPECT_EQ(text.LineCursor(), 1) << c.what;
    }
}

TEST(RouteGeometry, CtrlKeepsTheAxisTheCursorMovedAlong)
{
    const POINT held{100, 100};
    struct Case {
        POINT cursor, expected;
    } cases[] = {
        {{160, 130}, {160, 100}},   // further along x: horizontal
        {{130, 40}, {100, 40}},     // further along y: vertical
        {{70, 130}, {100, 130}},    // a tie: vertical
        {{100, 100}, {100, 100}},
    };
    for (const Case& c : cases) {
        const POINT p = KeepRouteOrtho(held, c.cursor);
        EXPECT_EQ(p.x, c.expected.x) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(p.y, c.expected.y) << c.cursor.x << "," << c.cursor.y;
    }
}

TEST(RouteGeometry, DrawingLayerAndItems)
{
    CDocumentLists lists;
    CPathRecord* layer = RouteDrawingLayer(lists, 1.5);
    EXPECT_EQ(layer->name, "ROUTE1.5");
    EXPECT_NEAR(layer->size, 59.055, 1e-3);
    EXPECT_EQ(layer->depth, 0.0f);
    EXPECT_EQ(layer->side, 5);
    EXPECT_EQ(RouteDrawingLayer(lists, 1.5), layer);

    AddPathRect(*layer, CDPoint(10, 20), CDPoint(110, 70));
    AddPathCircle(*layer, CDPoint(50, 60), 25);
    ASSERT_EQ(layer->items.size(), 5u);
    const double corners[][2] = {{10, 20}, {110, 20}, {110, 70}, {10, 70}, {10, 20}};
    for (int i = 0; i < 4; ++i) {
        const CPathSegment& s = *layer->items[i];
        EXPECT_EQ(s.type, 0);
        EXPECT_EQ(s.x1, corners[i][0]);
        EXPECT_EQ(s.y1, corners[i][1]);
        EXPECT_EQ(s.x2, corners[i + 1][0]);
        EXPECT_EQ(s.y2, corners[i + 1][1]);
    }
    const CPathSegment& circle = *layer->items[4];
    EXPECT_EQ(circle.type, 2);
    EXPECT_EQ(circle.x1, 75);
    EXPECT_EQ(circle.x2, 75);
    EXPECT_EQ(circle.y1, 60);
    EXPECT_EQ(circle.y2, 60);
    EXPECT_EQ(circle.cx, 50);
    EXPECT_EQ(circle.cy, 60);
    EXPECT_EQ(circle.radius, 25);
    EXPECT_EQ(circle.value, 0);
    EXPECT_EQ(circle.flag, 0);
}

CGridPathSegment Grid(int type, float x1, float y1, float x2, float y2, float cx = 0, float cy = 0)
{
    CGridPathSegment g;
    g.type = std::uint8_t(type);
    g.x1 = x1;
    g.y1 = y1;
    g.x2 = x2;
    g.y2 = y2;
    g.cx = cx;
    g.cy = cy;
    return g;
}

TEST(OffsetRings, HitTestFollowsWidthAndSweep)
{
    const CGridPathSegment line = Grid(0, 0, 0, 100, 0);
    // A quarter from angle 0 to angle pi/2 (type 1), or the three quarters
    // the other way round (type 2).
    const CGridPathSegment rising = Grid(1, 10, 0, 0, 10, 0, 0);
    const CGridPathSegment falling = Grid(2, 10, 0, 0, 10, 0, 0);
    const double d = 10 / std::sqrt(2.0);
    struct Case {
        const char* what;
        const CGridPathSegment& s;
        CDPoint p;
        bool hit;
    } cases[] = {
        {"line, inside half the width", line, CDPoint(50, 9), true},
        {"line, beyond half the width", line, CDPoint(50, 11), false},
        {"line, past its end", line, CDPoint(105, 0), false},
        {"rising arc, inside its sweep", rising, CDPoint(d, d), true},
        {"rising arc, outside its sweep", rising, CDPoint(-d, -d), false},
        {"falling arc, inside its sweep", falling, CDPoint(-d, -d), true},
        {"falling arc, outside its sweep", falling, CDPoint(d, d), false},
        {"arc, off its circle by more than the width", rising, CDPoint(d * 3.5, d * 3.5), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RingSegmentHit(c.s, c.p, 20), c.hit) << c.what;
}

TEST(OffsetRings, SegmentsBecomeRouteItems)
{
    const auto line = RouteItemFromRing(Grid(0, 1, 2, 3, 4));
    EXPECT_EQ(line->type, 0);
    EXPECT_EQ(line->x1, 1);
    EXPECT_EQ(line->y2, 4);
    EXPECT_EQ(line->radius, 0);

    for (int type : {1, 2}) {
        const auto arc = RouteItemFromRing(Grid(type, 13, 4, 10, 7, 10, 4));
        EXPECT_EQ(arc->type, type);
        EXPECT_EQ(arc->cx, 10);
        EXPECT_EQ(arc->cy, 4);
        EXPECT_EQ(arc->radius, 3);
        EXPECT_EQ(arc->x1, 13);
        EXPECT_EQ(arc->y2, 7);
    }
}

TEST(ZigZag, RowsAlternateAndEachJoinerReachesOnePitchOn)
{
    // Cutter 10 mil with 20 % overlap: a pitch of 8.
    std::vector<CRouteLine> lines;
    ASSERT_TRUE(ZigZagLines(RECT{0, 0, 100, 50}, 10.0, 0.2, lines));
    const double rows[] = {4, 12, 20, 28, 36, 44};
    ASSERT_EQ(lines.size(), 2 * std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const CRouteLine& row = lines[2 * i];
        const CRouteLine& joiner = lines[2 * i + 1];
        const bool leftward = i % 2 == 0;
        EXPECT_EQ(row.a.x, leftward ? 96 : 4) << i;
        EXPECT_EQ(row.b.x, leftward ? 4 : 96) << i;
        EXPECT_EQ(row.a.y, rows[i]);
        EXPECT_EQ(row.b.y, rows[i]);
        EXPECT_EQ(joiner.a.x, row.b.x) << i;
        EXPECT_EQ(joiner.b.x, row.b.x) << i;
        EXPECT_EQ(joiner.a.y, rows[i]);
        EXPECT_EQ(joiner.b.y, rows[i] + 8);
        if (i + 1 < std::size(rows)) {
            EXPECT_EQ(lines[2 * i + 2].a.x, joiner.b.x) << i;
        }
    }
    // The last joiner ends one pitch below the last row.
    EXPECT_EQ(lines.back().b.y, 52);
}

TEST(ZigZag, PitchBelowOneMilIsRefusedRatherThanLoopingForever)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        double size, overlap;
        bool made;
    } cases[] = {
        {"pitch 0.8", 1.0, 0.2, false},
        {"full overlap", 10.0, 1.0, false},
        {"more than full overlap", 10.0, 1.5, false},
        {"no cutter", 0.0, 0.2, false},
        {"unknown size", nan, 0.2, false},
        {"pitch exactly 1", 1.25, 0.2, true},
    };
    for (const Case& c : cases) {
        std::vector<CRouteLine> lines{{CDPoint(1, 1), CDPoint(2, 2)}};
        EXPECT_EQ(ZigZagLines(RECT{0, 0, 40, 30}, c.size, c.overlap, lines), c.made) << c.what;
        // A one-mil pitch still covers the rectangle row by row.
        EXPECT_EQ(lines.size(), c.made ? 2u * 30u : 0u) << c.what;
    }
}

}  // namespace
