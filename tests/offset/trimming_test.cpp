// Trimming: crossing pieces split at their crossings, the drop rule of short
// line pieces and the end tolerances.
#include "offset/trimming.h"
#include "offset_fixture.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

struct Trim : ::testing::Test {
    CIsoElementPool pool;
    CRefList<CIsoElement> pieces;

    CIsoElement* Add(const CIsoElement& e)
    {
        pieces.push_back(pool.Add(e));
        return pieces.back();
    }
    void Run() { TrimGroup(pool, pieces); }
};

double Length(const CIsoElement& p) { return std::hypot(p.Pt1.x - p.Pt0.x, p.Pt1.y - p.Pt0.y); }

}  // namespace

TEST_F(Trim, AnXGivesFourPiecesEndingAtTheCrossing)
{
    Add(MakeLinePiece(0, 0, 10, 10));
    Add(MakeLinePiece(0, 10, 10, 0));
    Run();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pool.Count(), 4u);
    int atCrossing = 0;
    for (const CIsoElement* p : pieces)
        atCrossing += (p->Pt0 == CDPoint(5, 5)) + (p->Pt1 == CDPoint(5, 5));
    EXPECT_EQ(atCrossing, 4);
}

TEST_F(Trim, LineEndsAndTheShortPieceRule)
{
    struct Case {
        const char* name;
        double crossAt;        // x where the second line crosses the first
        std::size_t pieces;    // after trimming
    } cases[] = {
        // A T whose stem ends 0.00005 past the bar: only the bar splits.
        {"T", 5.0, 3},
        // The bar cut 0.2 from its end: the 0.2 piece is dropped.
        {"0.2 from the end", 9.8, 3},
        {"0.3 from the end", 9.7, 4},
    };
    for (const Case& c : cases) {
        pieces.clear();
        pool.Clear();
        Add(MakeLinePiece(0, 0, 10, 0));
        if (std::string(c.name) == "T")
            Add(MakeLinePiece(c.crossAt, 10, c.crossAt, -0.00005));
        else
            Add(MakeLinePiece(c.crossAt, 10, c.crossAt, -10));
        Run();
        EXPECT_EQ(pieces.size(), c.pieces) << c.name;
        EXPECT_EQ(pool.Count(), c.pieces) << c.name;
        EXPECT_NEAR(Length(*pieces[0]), c.crossAt, 1e-9) << c.name;
    }
}

TEST_F(Trim, LinesAndArcs)
{
    // A line across an arc's middle splits both.
    Add(MakeArcPiece(0, 0, 10, 0, 90));
    Add(MakeLinePiece(0, 0, 20, 20));
    Run();
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_NEAR(pieces[0]->EndAngle, 45, 1e-4);
    EXPECT_NEAR(pieces[2]->StartAngle, 45, 1e-4);
    EXPECT_EQ(pieces[0]->Pt2, pieces[2]->Pt1);

    // Crossing 0.005 degree inside the arc's end: the line alone splits.
    pieces.clear();
    Add(MakeArcPiece(0, 0, 10, 0, 90));
    const double a = (90 - 0.005) * 3.1415926 / 180;
    Add(MakeLinePiece(5 * std::cos(a), 5 * std::sin(a), 15 * std::cos(a), 15 * std::sin(a)));
    Run();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0]->EndAngle, 90.0);

    // Crossing 0.05 from the line's own end: the arc splits, the line not.
    pieces.clear();
    Add(MakeArcPiece(0, 0, 10, 0, 90));
    const double c45 = std::sqrt(0.5);
    Add(MakeLinePiece(20 * c45, 20 * c45, 9.95 * c45, 9.95 * c45));
    Run();
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_NEAR(Length(*pieces[1]), 10.05, 1e-9);
}

TEST_F(Trim, ArcsSplitEachOtherButConcentricEqualOnesDoNot)
{
    // Two circles crossing at +-60 degrees about the first (+-120 about the
    // second). Each test grows the first arc's circle by 0.01, so the two
    // crossings are found twice, a tenth of a degree apart.
    Add(MakeArcPiece(0, 0, 10, -90, 90));
    Add(MakeArcPiece(10, 0, 10, 90, -90));
    Run();
    EXPECT_GE(pieces.size(), 6u);
    std::size_t trimmed = pieces.size();
    // Each piece now lies on one side of every crossing: trimming again
    // splits nothing.
    Run();
    EXPECT_EQ(pieces.size(), trimmed);
    // The first arc's pieces still cover its range without a gap.
    std::vector<std::pair<double, double>> first;
    for (const CIsoElement* p : pieces)
        if (p->Pt0.x == 0)
            first.emplace_back(p->StartAngle, p->EndAngle);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first.front().first, -90.0);
    EXPECT_EQ(first.back().second, 90.0);
    for (std::size_t i = 1; i < first.size(); ++i)
        EXPECT_EQ(first[i].first, first[i - 1].second);

    pieces.clear();
    Add(MakeArcPiece(0, 0, 10, 0, 180));
    Add(MakeArcPiece(0, 0, 10, 90, -90));
    Run();
    EXPECT_EQ(pieces.size(), 2u);
}

// The walk passes over pairs whose boxes are apart, shrinks the box of a
// piece it splits and lays its grid out again as pieces multiply; on a
// tangle of random lines and arcs, and on a hatch of long lines with round
// ends that trimming cuts into thousands of pieces, it must leave exactly
// what trying every pair leaves.
TEST_F(Trim, PassingOverDistantPairsChangesNothing)
{
    std::mt19937 random(31);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    std::vector<CIsoElement> tangle, hatch;
    for (int i = 0; i < 120; ++i) {
        double x = uniform(0, 300), y = uniform(0, 300);
        if (i % 2)
            tangle.push_back(MakeLinePiece(x, y, x + uniform(-60, 60), y + uniform(-60, 60)));
        else
            tangle.push_back(MakeArcPiece(x, y, uniform(5, 40), uniform(-180, 180), uniform(-180, 180)));
    }
    for (int i = 0; i < 24; ++i) {
        const double at = 10.0 * i + uniform(0, 1), from = uniform(-5, 5), to = uniform(235, 245);
        hatch.push_back(MakeLinePiece(from, at, to, at));
        hatch.push_back(MakeLinePiece(at, from, at, to));
        hatch.push_back(MakeArcPiece(from, at, 6, 90, -90));
        hatch.push_back(MakeArcPiece(at, to, 6, 0, 180));
    }
    for (const std::vector<CIsoElement>* start : {&tangle, &hatch}) {
        pieces.clear();
        pool.Clear();
        for (const CIsoElement& e : *start)
            Add(e);
        Run();

        // Every pair, in list order.
        CIsoElementPool plainPool;
        CRefList<CIsoElement> plain;
        for (const CIsoElement& e : *start)
            plain.push_back(plainPool.Add(e));
        TrimEveryPair(plainPool, plain, TrimArcLine, TrimArcArc);

        ASSERT_EQ(pieces.size(), plain.size());
        // The hatch grows past four times its start: the grid is laid out
        // again at least once.
        EXPECT_GT(pieces.size(), (start == &hatch ? 4 : 2) * start->size());
        for (std::size_t i = 0; i < plain.size(); ++i) {
            EXPECT_EQ(pieces[i]->Pt0, plain[i]->Pt0) << i;
            EXPECT_EQ(pieces[i]->Pt1, plain[i]->Pt1) << i;
            EXPECT_EQ(pieces[i]->Pt2, plain[i]->Pt2) << i;
            EXPECT_EQ(pieces[i]->StartAngle, plain[i]->StartAngle) << i;
            EXPECT_EQ(pieces[i]->EndAngle, plain[i]->EndAngle) << i;
        }
    }
}
