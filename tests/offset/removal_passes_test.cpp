// The exact first pass judged from outside: on small boards of tracks, pads,
// rectangles and arcs with narrow gaps, every piece that survives the
// removal passes must run d/2 from its group's copper and no nearer to any
// copper, and together the pieces must cover the outline of the copper grown
// by d/2; so must the segments the pieces become in the pass's layer, the
// arcs composed from their families and the chords of short arcs included.
// Moving the board, reversing its tracks or shuffling its copper must not
// change the outline. Then the passes' own rules at their edges.
#include "exact_pass_fixture.h"
#include "offset/removal_passes.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

std::vector<CExactBoard> PassBoards()
{
    std::vector<CExactBoard> boards = ExactBoards();
    for (CExactBoard& b : ArcFamilyBoards())
        boards.push_back(std::move(b));
    return boards;
}

// Every sample of `a` lies within `tol` of a piece of `b`, after moving it
// by (dx, dy).
double Mismatch(const CExactRun& a, const CExactRun& b, double dx, double dy)
{
    double worst = 0.0;
    for (const CIsoGroup* ga : a.groups)
        for (const CIsoElement* p : ga->Pieces)
            for (CDPoint q : SamplePiece(*p, 1.0)) {
                q = CDPoint(q.x + dx, q.y + dy);
                double nearest = 1e9;
                for (const CIsoGroup* gb : b.groups)
                    for (const CIsoElement* r : gb->Pieces)
                        nearest = std::min(nearest, DistanceToPiece(*r, q));
                worst = std::max(worst, nearest);
            }
    return worst;
}

}  // namespace

TEST(ExactPass, SurvivingPiecesRunOnTheGrownOutlineAndCoverIt)
{
    for (const CExactBoard& board : PassBoards()) {
        CExactRun run;
        run.Run(board.copper, board.d);
        EXPECT_EQ(Judge(run, board.d), "") << board.name;
    }
}

TEST(ExactPass, MovedReversedOrShuffledCopperGivesTheSameOutline)
{
    std::mt19937 random(28);
    for (const CExactBoard& board : PassBoards()) {
        CExactRun plain;
        plain.Run(board.copper, board.d);

        // Into negative y too.
        const double dx = 1234.5, dy = -2345.25;
        std::vector<CIsoElement> moved = board.copper;
        for (CIsoElement& e : moved)
            for (CDPoint* p : {&e.Pt0, &e.Pt1, &e.Pt2})
                if (!(e.Kind == ISO_LINE && p == &e.Pt2) && !(e.Kind == ISO_RECT && p != &e.Pt0))
                    *p = CDPoint(p->x + dx, p->y + dy);
        std::vector<CIsoElement> reversed = board.copper;
        for (CIsoElement& e : reversed)
            if (e.Kind == ISO_LINE)
                std::swap(e.Pt0, e.Pt1);
        // Corner circles stay behind their rectangle; whole rectangles move.
        std::vector<std::vector<CIsoElement>> units;
        for (const CIsoElement& e : board.copper)
            if (e.Kind == ISO_CIRCLE && e.Radius == 0.0)
                units.back().push_back(e);
            else
                units.push_back({e});
        std::shuffle(units.begin(), units.end(), random);
        std::vector<CIsoElement> shuffled;
        for (const auto& u : units)
            shuffled.insert(shuffled.end(), u.begin(), u.end());

        struct Variant {
            const char* name;
            const std::vector<CIsoElement>* copper;
            double dx, dy;
        } variants[] = {{"moved", &moved, dx, dy},
                        {"reversed", &reversed, 0, 0},
                        {"shuffled", &shuffled, 0, 0}};
        for (const Variant& v : variants) {
            CExactRun other;
            other.Run(*v.copper, board.d);
            EXPECT_LT(Mismatch(plain, other, v.dx, v.dy), 0.05) << board.name << ", " << v.name;
            EXPECT_LT(Mismatch(other, plain, -v.dx, -v.dy), 0.05) << board.name << ", " << v.name;
        }
    }
}

namespace {

struct Removal : ::testing::Test {
    CIsoElementPool pool;
    CRefList<CIsoElement> sources, pieces;

    CIsoElement* Source(const CIsoElement& e)
    {
        sources.push_back(pool.Add(e));
        return sources.back();
    }
    CIsoElement* Piece(const CIsoElement& e)
    {
        pieces.push_back(pool.Add(e));
        return pieces.back();
    }
    bool Kept(const CIsoElement* p) const
    {
        return std::find(pieces.begin(), pieces.end(), p) != pieces.end();
    }
};

// A line piece of `source` at distance `dist` from its centre line, with
// its offset normal as the offset pieces carry it.
CIsoElement OffsetLinePiece(double x0, double y0, double x1, double y1, double nx, double ny,
                            double dist)
{
    CIsoElement p = MakeLinePiece(x0, y0, x1, y1);
    p.Pt2 = CDPoint(nx * dist, ny * dist);
    p.Radius = dist;
    return p;
}

}  // namespace

// A piece on the offset line of a track that runs the other way along it
// (the second side of the track's outline does) and ends beside the track's
// round end, outside its band: it lies d/2 from the copper and stays. Taken
// for a slanted piece, it would be cut away and leave the outline open.
TEST_F(Removal, APieceRunningAgainstTheTrackOnItsOffsetLineStays)
{
    const float d = 8.0f;
    CIsoElement* s = Source(MakeLine(0, 0, 100, 0, 10));
    CIsoElement* p = Piece(OffsetLinePiece(60, 9, -0.5, 8.99, 0, 1, 9));
    p->Source = s;
    const CCopper copper = CopperOf({s});
    for (const CDPoint& q : SamplePiece(*p))
        ASSERT_NEAR(DistanceFrom(copper, q), d / 2.0, kOnOutline);
    RemoveLinePieces(pool, sources, pieces, d, 1);
    EXPECT_TRUE(Kept(p));
}

TEST(RemovalDirections, ParallelBothWaysAndAcrossTheWrap)
{
    const double pi = 3.14159265358979;
    struct Case {
        double a, b;
        bool parallel;
    } cases[] = {
        {pi, pi, true},          {pi, 0.0, true},        {0.5, 0.5 - pi, true},
        {pi - 0.001, -pi + 0.001, true},  {0.5, -0.5, false},  {pi / 2, -pi / 2, true},
        {0.3, 0.32, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AreDirectionsParallel(c.a, c.b, 0.01), c.parallel) << c.a << " " << c.b;
}

TEST_F(Removal, EdgesOfThePassesAsTheyAreMeant)
{
    const float d = 8.0f;
    // A line piece crossing a track's centre line goes, strict or not.
    for (std::uint8_t strict : {0, 1}) {
        pieces.clear();
        sources.clear();
        pool.Clear();
        Source(MakeLine(0, 0, 100, 0, 10));
        CIsoElement* p = Piece(OffsetLinePiece(50, -20, 50, 20, 1, 0, 9));
        RemoveLinePieces(pool, sources, pieces, d, strict);
        EXPECT_FALSE(Kept(p)) << int(strict);
    }
    // A round pad deletes a line piece by its middle: 0.6 R goes with the
    // area mark, 0.7 R stays; without the mark both go.
    for (int mark : {0, 1})
        for (double share : {0.6, 0.7}) {
            pieces.clear();
            sources.clear();
            pool.Clear();
            CIsoElement* pad = Source(MakeCircle(0, 0, 20));
            pad->AreaMark = mark;
            const double R = d / 2.0 + 20.0;
            CIsoElement* p = Piece(MakeLinePiece(-5, share * R, 5, share * R));
            RemoveCirclePieces(pool, sources, pieces, d, 1);
            EXPECT_EQ(Kept(p), mark == 1 && share == 0.7) << mark << " " << share;
        }
    // A rectangle does nothing with the flag 0; with 1 it deletes a piece
    // inside it but never its own.
    for (std::uint8_t strict : {0, 1}) {
        pieces.clear();
        sources.clear();
        pool.Clear();
        CIsoElement* rect = Source(MakeRect(0, 0, 60, 40));
        CIsoElement* inside = Piece(MakeLinePiece(-10, 0, 10, 0));
        CIsoElement* own = Piece(MakeLinePiece(-10, 1, 10, 1));
        own->Source = rect;
        RemoveRectPieces(pool, sources, pieces, d, strict);
        EXPECT_EQ(Kept(inside), strict == 0);
        EXPECT_TRUE(Kept(own));
    }
    // Every deleted piece left the pool too.
    EXPECT_EQ(pool.Count(), sources.size() + pieces.size());
}
