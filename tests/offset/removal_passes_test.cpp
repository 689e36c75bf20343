// The exact first pass judged from outside: on small boards of tracks, pads,
// rectangles and arcs with narrow gaps, every piece that survives the
// removal passes must run d/2 from its group's copper and no nearer to any
// copper, and together the pieces must cover the outline of the copper grown
// by d/2; so must the segments the pieces become in the pass's layer, the
// arcs composed from their families and the chords of short arcs included.
// Moving the board, reversing its tracks or shuffling its copper must not
// change the outline. Then the passes' own rules at their edges.
#include "exact_pass_fixture.h"
#include "offset/path_layers.h"
#include "offset/removal_passes.h"
#include "support/isolation_oracle.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

// Within this of d/2 from the copper (mil).
constexpr double kOnOutline = 0.02;
// Every point of the grown outline lies this near a piece (mil).
constexpr double kCovered = 0.3;
// The segments of a layer hold their ends as floats.
constexpr double kFloatSlack = 0.01;

std::vector<CExactBoard> Boards()
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

// The sources of a piece's group.
std::vector<const CIsoElement*> SourcesOf(const CIsoGroup& g)
{
    return {g.Sources.begin(), g.Sources.end()};
}

// What the judge found wrong with one run, as text (empty when nothing).
std::string Judge(const CExactRun& run, float d)
{
    std::ostringstream out;
    std::vector<const CIsoElement*> all;
    for (const CIsoElement* e : run.lists.m_IsoSources)
        all.push_back(e);
    const CCopper everything = CopperOf(all);
    const double half = d / 2.0;
    int reported = 0;
    for (const CIsoGroup* g : run.groups) {
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
        // The segments of the pass's layer, as the machine cuts them.
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
    for (const CExactBoard& board : Boards()) {
        CExactRun run;
        run.Run(board.copper, board.d);
        EXPECT_EQ(Judge(run, board.d), "") << board.name;
    }
}

TEST(ExactPass, MovedReversedOrShuffledCopperGivesTheSameOutline)
{
    std::mt19937 random(28);
    for (const CExactBoard& board : Boards()) {
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
