// Arc composition: which arcs of one circle merge, and into what.
#include "offset/arc_families.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

namespace {

struct Compose : ::testing::Test {
    CIsoElementPool pool;
    CRefList<CIsoElement> pieces;
    // Sources the candidates name: a line (its caps merge) and an arc track
    // (its concentric arcs never do).
    CIsoElement line = MakeLine(0, 0, 10, 0, 4);
    CIsoElement arcTrack = MakeArc(0, 0, 5, 0, 90, 1);

    CIsoElement* Add(CIsoElement e, const CIsoElement* source = nullptr)
    {
        e.Source = const_cast<CIsoElement*>(source ? source : &line);
        pieces.push_back(pool.Add(e));
        return pieces.back();
    }
    // The arcs of the list as (start, end) angle pairs.
    std::vector<std::pair<double, double>> Angles() const
    {
        std::vector<std::pair<double, double>> out;
        for (const CIsoElement* p : pieces)
            out.emplace_back(p->StartAngle, p->EndAngle);
        return out;
    }
};

using AngleRanges = std::vector<std::pair<double, double>>;

}  // namespace

TEST_F(Compose, MergeTable)
{
    struct Case {
        const char* name;
        AngleRanges in;
        AngleRanges out;
    } cases[] = {
        {"overlapping", {{0, 90}, {45, 180}}, {{0, 180}}},
        {"contained", {{0, 90}, {0, 45}}, {{0, 90}}},
        {"gap of 30 degrees", {{0, 30}, {60, 90}}, {{0, 30}, {60, 90}}},
        {"pad circle absorbs a cap", {{0, -0.001}, {10, 50}}, {{0, -0.001}}},
        {"cap first takes the circle", {{10, 50}, {0, -0.001}}, {{0, -0.001}}},
        // The circle closed by a cap over its seam, then more caps: one
        // full circle and nothing else cut twice.
        {"circle closed", {{0, -0.001}, {-10, 10}, {20, 40}}, {{0, 0}}},
        {"both wrap", {{170, -170}, {160, -175}}, {{160, -170}}},
        {"cap over the seam extends a wrapping arc", {{90, -90}, {-100, -45}}, {{90, -45}}},
    };
    for (const Case& c : cases) {
        pieces.clear();
        pool.Clear();
        for (auto [start, end] : c.in)
            Add(MakeArcPiece(0, 0, 5, start, end));
        ComposeArcs(pool, pieces);
        EXPECT_EQ(Angles(), c.out) << c.name;
        EXPECT_EQ(pool.Count(), pieces.size()) << c.name;
    }
}

TEST_F(Compose, MergedArcsCarryTheirEndPoints)
{
    CIsoElement* first = Add(MakeArcPiece(0, 0, 5, 0, 90));
    CIsoElement* second = Add(MakeArcPiece(0, 0, 5, 45, 180));
    const CDPoint start = first->Pt1, end = second->Pt2;
    ComposeArcs(pool, pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0]->Pt1, start);
    EXPECT_EQ(pieces[0]->Pt2, end);
    EXPECT_FALSE(pool.Holds(first));
    EXPECT_FALSE(pool.Holds(second));
}

TEST_F(Compose, OnlyCapsOfOneCircleMerge)
{
    CIsoElement* lineSide = Add(MakeLinePiece(0, 5, 10, 5));
    Add(MakeArcPiece(0, 0, 5, 0, 90));
    Add(MakeArcPiece(0, 0, 5.2, 45, 180));              // other radius: its own family
    Add(MakeArcPiece(0, 0, 5, 45, 180), &arcTrack);     // an arc track's: left alone
    ComposeArcs(pool, pieces);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[0], lineSide);
    EXPECT_EQ(pieces[1]->Source, &arcTrack);
    EXPECT_EQ(pieces[2]->Radius, 5.0);
    EXPECT_EQ(pieces[3]->Radius, 5.2);
}
