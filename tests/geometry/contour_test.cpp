// Contours: corners from a chain of segments, the even-odd inside test and
// the outline and column fill strokes.
#include "geometry/contour.h"
#include "records/board_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

CContour Polygon(std::initializer_list<CDPoint> corners)
{
    CContour c;
    for (const CDPoint& p : corners)
        c.AddPoint(p);
    return c;
}

std::vector<const CContourStroke*> Strokes(const CContour& c, int groupNo)
{
    std::vector<const CContourStroke*> out;
    for (const CContourStroke& t : c.m_DrawRecords)
        if (t.groupNo == groupNo)
            out.push_back(&t);
    return out;
}

std::unique_ptr<CPathSegment> Segment(double x1, double y1, double x2, double y2, int type = 0)
{
    auto s = std::make_unique<CPathSegment>();
    s->x1 = x1;
    s->y1 = y1;
    s->x2 = x2;
    s->y2 = y2;
    s->type = type;
    return s;
}

// A comb: a spine 5 wide at x 0 and `teeth` teeth `high` high with `gap`
// between them, reaching to x `length`.
CContour Comb(int teeth, double high, double gap, double length)
{
    CContour c;
    c.AddPoint({0, 0});
    for (int k = 0; k < teeth; ++k) {
        double y = (high + gap) * k;
        if (k > 0)
            c.AddPoint({5, y});
        c.AddPoint({length, y});
        c.AddPoint({length, y + high});
        if (k < teeth - 1)
            c.AddPoint({5, y + high});
    }
    c.AddPoint({0, (high + gap) * (teeth - 1) + high});
    return c;
}

// Checks the fill strokes of a square of side 10 at (x0, y0).
void ExpectSquareFill(double x0, double y0)
{
    CContour c = Polygon({{x0, y0}, {x0 + 10, y0}, {x0 + 10, y0 + 10}, {x0, y0 + 10}});
    c.ComputeFill();

    std::vector<const CContourStroke*> outline = Strokes(c, 0);
    ASSERT_EQ(outline.size(), 4u);
    // One stroke per edge, from the vertex before to the vertex.
    EXPECT_FLOAT_EQ(outline[0]->x1, float(x0));
    EXPECT_FLOAT_EQ(outline[0]->y1, float(y0 + 10));
    EXPECT_FLOAT_EQ(outline[0]->x2, float(x0));
    EXPECT_FLOAT_EQ(outline[0]->y2, float(y0));
    for (const CContourStroke* t : outline)
        EXPECT_EQ(t->width, 1.0f);

    // Columns 1.5, 3.5, 5.5, 7.5 from the left; 9.5 is not below 8.5.
    std::vector<const CContourStroke*> fill = Strokes(c, 1);
    ASSERT_EQ(fill.size(), 4u) << x0 << "," << y0;
    for (int i = 0; i < 4; ++i) {
        const CContourStroke* t = fill[i];
        EXPECT_FLOAT_EQ(t->x1, float(x0 + 1.5 + 2.0 * i));
        EXPECT_FLOAT_EQ(t->x2, t->x1);
        EXPECT_FLOAT_EQ(t->y1, float(y0 + 8.5));  // from the top down
        EXPECT_FLOAT_EQ(t->y2, float(y0 + 1.5));
        EXPECT_EQ(t->width, 3.0f);
    }
}

}  // namespace

TEST(Contour, SquareGivesOutlineAndColumnStrokes)
{
    ExpectSquareFill(0, 0);
}

TEST(Contour, SquareAtNegativeCoordinatesIsFilledToo)
{
    ExpectSquareFill(-20, -20);
    ExpectSquareFill(-5, 30);
}

TEST(Contour, SliverNarrowerThanTheStrokeGetsOnlyItsOutline)
{
    CContour c = Polygon({{0, 0}, {10, 0}, {10, 2}, {0, 2}});
    c.ComputeFill();
    EXPECT_EQ(Strokes(c, 0).size(), 4u);
    EXPECT_TRUE(Strokes(c, 1).empty());

    CContour empty;
    empty.ComputeFill();
    EXPECT_TRUE(empty.m_DrawRecords.empty());

    // A corner at infinity (garbled input) ends with the outline, not a hang.
    CContour unbounded = Polygon({{0, 0}, {INFINITY, 0}, {0, 10}});
    EXPECT_FALSE(unbounded.ComputeFill());
    EXPECT_EQ(Strokes(unbounded, 0).size(), 3u);
    EXPECT_TRUE(Strokes(unbounded, 1).empty());

    // So does an area no board has, and one far out where a 2-mil step no
    // longer changes a double.
    CContour huge = Polygon({{0, 0}, {1e6, 0}, {1e6, 10}, {0, 10}});
    EXPECT_FALSE(huge.ComputeFill());
    EXPECT_TRUE(Strokes(huge, 1).empty());
    CContour far = Polygon({{1e17, 0}, {1e17 + 64, 0}, {1e17 + 64, 10}, {1e17, 10}});
    EXPECT_TRUE(far.ComputeFill());
    EXPECT_EQ(Strokes(far, 0).size(), 4u);
}

TEST(Contour, ColumnThroughAVertexCountsOnlyTheEdgeLeavingIt)
{
    // Column 5.5 passes through the bottom and top corners of this diamond.
    CContour c = Polygon({{0, 5}, {5.5, 0}, {11, 5}, {5.5, 10}});
    c.ComputeFill();
    const CContourStroke* middle = nullptr;
    for (const CContourStroke* t : Strokes(c, 1))
        if (t->x1 == 5.5f)
            middle = t;
    ASSERT_NE(middle, nullptr);
    double pull = 1.5 * std::sqrt(1.0 + (5.0 / 5.5) * (5.0 / 5.5));
    EXPECT_NEAR(middle->y1, 10.0 - pull, 1e-4);
    EXPECT_NEAR(middle->y2, pull, 1e-4);
}

TEST(Contour, ColumnsWithMoreThanAHundredCrossingsAreFilled)
{
    // A comb of 60 teeth, 4 high with gaps of 2: every column through the
    // teeth crosses 120 edges.
    const int teeth = 60;
    CContour c = Comb(teeth, 4, 2, 50);
    c.ComputeFill();

    int onColumn = 0;
    for (const CContourStroke* t : Strokes(c, 1))
        if (t->x1 == 19.5f) {
            ++onColumn;
            EXPECT_NEAR(t->y1 - t->y2, 1.0, 1e-3);
        }
    EXPECT_EQ(onColumn, teeth);

    EXPECT_EQ(c.IsPointInside(20, 6.0 * 30 + 2), 1);
    EXPECT_EQ(c.IsPointInside(20, 6.0 * 30 + 5), 0);
}

TEST(Contour, OnlyALongFillReportsItsProgress)
{
    // A comb of 300 teeth 1 mil high across 8000 mil: every column crosses
    // 600 edges and no stroke fits, so the work is all in the crossings.
    CContour comb = Comb(300, 1, 3, 8000);
    std::vector<int> shares;
    EXPECT_TRUE(comb.ComputeFill([&](int percent) { shares.push_back(percent); }));
    ASSERT_FALSE(shares.empty());
    for (std::size_t i = 0; i < shares.size(); ++i) {
        EXPECT_GT(shares[i], i ? shares[i - 1] : 0);
        EXPECT_LE(shares[i], 100);
    }

    CContour square = Polygon({{0, 0}, {100, 0}, {100, 100}, {0, 100}});
    EXPECT_TRUE(square.ComputeFill([&](int) { ADD_FAILURE() << "a short fill reported"; }));
}

TEST(Contour, AFillPastItsBoundsMakesOnlyTheOutline)
{
    // Wider than the size the caller allows, or crossed by its columns
    // more often than any board's area: outlined, never walked.
    struct Case { CContour area; double maxSize; bool filled; } cases[] = {
        {Polygon({{0, 0}, {1000, 0}, {1000, 50}, {0, 50}}), 1000.0, true},
        {Polygon({{0, 0}, {1000, 0}, {1000, 50}, {0, 50}}), 999.0, false},
        {Polygon({{0, 0}, {50, 0}, {50, 1000}, {0, 1000}}), 999.0, false},
        {Comb(1000, 1, 1, 2000), CContour::kMaxFillSize, true},
        {Comb(2200, 1, 1, 2000), CContour::kMaxFillSize, false},
    };
    for (Case& c : cases) {
        EXPECT_EQ(c.area.ComputeFill({}, c.maxSize), c.filled);
        EXPECT_EQ(Strokes(c.area, 0).size(), c.area.m_Vertices.size());
        if (!c.filled) {
            EXPECT_TRUE(Strokes(c.area, 1).empty());
        }
    }
}

TEST(Contour, EvenOddInsideTest)
{
    CContour square = Polygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    struct Case {
        double x, y;
        int inside;
    } cases[] = {
        {5, 5, 1},
        {-1, 5, 0},
        {11, 5, 0},
        {5, -0.5, 0},
        {5, 0, 1},      // a vertex on the row counts as below it
        {5, 10, 0},
        {9.999, 9.999, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(square.IsPointInside(c.x, c.y), c.inside) << c.x << "," << c.y;

    CContour empty;
    EXPECT_EQ(empty.IsPointInside(0, 0), 0);

    // A concave outline: the notch is outside.
    CContour u = Polygon({{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}});
    EXPECT_EQ(u.IsPointInside(15, 20), 0);
    EXPECT_EQ(u.IsPointInside(15, 5), 1);
    EXPECT_EQ(u.IsPointInside(25, 20), 1);
}

TEST(Contour, CornersFromAChainOfSegments)
{
    // Segments in either direction; a joint within 1.0 meets.
    COwnedList<CPathSegment> chain;
    chain.push_back(Segment(0, 0, 10, 0));
    chain.push_back(Segment(10, 10, 10, 0));       // reversed
    chain.push_back(Segment(10.5, 10, 0, 10));     // starts 0.5 from the joint
    chain.push_back(Segment(0, 10, 0, 0));

    CContour c;
    c.AddPoint({99, 99});
    c.SetPoints(chain);
    ASSERT_EQ(c.m_Vertices.size(), 4u);
    CDPoint expected[] = {{10, 0}, {10.5, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.m_Vertices[i], expected[i]) << i;
    EXPECT_EQ(c.m_Max, CDPoint(10.5, 10));
    EXPECT_EQ(c.m_Min, CDPoint(0, 0));

    // Arcs add no corner; a reference list works as well as an owning one.
    auto arc = Segment(10, 0, 10, 10, 1);
    CRefList<CPathSegment> withArc = {chain[0].get(), arc.get(), chain[2].get(), chain[3].get()};
    c.SetPoints(withArc);
    EXPECT_EQ(c.m_Vertices.size(), 3u);

    // Fewer than two segments give no corners.
    CRefList<CPathSegment> single = {chain[0].get()};
    c.SetPoints(single);
    EXPECT_TRUE(c.m_Vertices.empty());
}
