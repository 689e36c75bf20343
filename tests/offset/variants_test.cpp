// The engine's variants that no stage calls, judged as the rest of the
// engine is: by Boost.Geometry's own answers (inside, collinear, distances
// from the copper, crossings of segments) and by the exact pass's judge on
// the small boards, with the variants in place of the pieces they stand for.
#include "document/velm_doc.h"
#include "exact_pass_fixture.h"
#include "offset/arc_families.h"
#include "offset/element_predicates.h"
#include "offset/group_distribution.h"
#include "offset/predicate_variants.h"
#include "offset/removal_passes.h"
#include "offset/touch_tests.h"
#include "offset/trimming.h"
#include "platform/program_state.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "support/planning_fixtures.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

double Uniform(std::mt19937& random, double lo, double hi)
{
    return std::uniform_real_distribution<double>(lo, hi)(random);
}

BPoint B(const CDPoint& p) { return {p.x, p.y}; }

}  // namespace

TEST(PredicateVariants, LooseBoxSweepAndJoinedTrackEnds)
{
    struct BoxCase {
        double x, y;
        bool tight, loose;
    } boxes[] = {{5, 5, true, true},        {10.004, 5, true, true}, {10.03, 5, false, true},
                 {5, -0.049, false, true},  {10.06, 5, false, false}, {-0.051, 0, false, false}};
    for (const BoxCase& c : boxes) {
        EXPECT_EQ(IsPointInSegmentBox(&c.x, &c.y, 0, 0, 10, 10), c.tight) << c.x << "," << c.y;
        EXPECT_EQ(IsPointInSegmentBoxLoose(&c.x, &c.y, 0, 0, 10, 10), c.loose) << c.x << "," << c.y;
    }

    struct SweepCase {
        float start, end, sweep;
    } sweeps[] = {{170, -170, 20}, {10, 80, 70}, {30, 30, 360}, {0, -0.001f, 359.999f}};
    for (const SweepCase& c : sweeps) {
        EXPECT_FLOAT_EQ(ArcSweepDegrees(c.start, c.end), c.sweep) << c.start << " " << c.end;
        CIsoElement arc = MakeArcPiece(0, 0, 10, c.start, c.end);
        EXPECT_FLOAT_EQ(ArcSweepDegrees(c.start, c.end), ElementArcSweep(arc));
    }

    // The track record's ends in single precision, as the element's are in
    // double: both join or neither.
    struct JoinCase {
        float x2, y2;
        int joined;
    } joins[] = {{12.5f, 0, 0}, {12.0f, 0, 1}, {10, 2.0f, 1}, {10, -2.01f, 0}};
    const CDPoint p1(0, 0), p2(10, 0);
    for (const JoinCase& c : joins) {
        CTrackRecord track;
        track.x2 = c.x2;
        track.y2 = c.y2;
        EXPECT_EQ(AreEndpointsJoinedAlt(track, p1, p2), c.joined) << c.x2 << "," << c.y2;
        EXPECT_EQ(AreEndpointsJoined(MakeLinePiece(0, 0, c.x2, c.y2), p1, p2), c.joined);
    }
}

// Away from the levels of its vertices, the test closed at both ends says
// what the half-open one and Boost say; on the square's sides it keeps the
// top and bottom edges too.
TEST(PredicateVariants, PolygonTestClosedAtBothEnds)
{
    std::mt19937 random(44);
    for (int shape = 0; shape < 20; ++shape) {
        CIsoPolygon polygon;
        BPolygon reference;
        std::set<float> levels;
        const int corners = 3 + shape % 9;
        for (int i = 0; i < corners; ++i) {
            // A star about the origin: simple whatever the radii.
            const double a = 2.0 * M_PI * (i + Uniform(random, 0.1, 0.9)) / corners;
            const double r = Uniform(random, 10, 100);
            polygon.emplace_back(float(r * std::cos(a)), float(r * std::sin(a)));
            levels.insert(float(polygon.back().y));
            bg::append(reference.outer(), B(polygon.back()));
        }
        bg::correct(reference);
        for (int i = 0; i < 400; ++i) {
            const float x = float(Uniform(random, -110, 110)), y = float(Uniform(random, -110, 110));
            if (levels.count(y))
                continue;
            const int within = bg::within(BPoint(x, y), reference) ? 1 : 0;
            if (bg::distance(BPoint(x, y), reference) < 1e-3 && !within)
                continue;
            EXPECT_EQ(IsPointInPolygonAlt(polygon, x, y), within) << shape << ": " << x << "," << y;
            EXPECT_EQ(IsPointInPolygon(polygon, x, y), within) << shape << ": " << x << "," << y;
        }
    }

    const CIsoPolygon square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        double x, y;
        int alt, plain;
    } cases[] = {{5, 0, 1, 1}, {5, 10, 1, 0}, {0, 5, 1, 1}, {10, 5, 0, 0}, {5, 10.01, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsPointInPolygonAlt(square, c.x, c.y), c.alt) << c.x << "," << c.y;
        EXPECT_EQ(IsPointInPolygon(square, c.x, c.y), c.plain) << c.x << "," << c.y;
    }
    EXPECT_EQ(IsPointInPolygonAlt({{0, 0}, {10, 0}}, 5, 0), 0);
}

// On whole numbers the products are exact: collinear exactly where Boost's
// side test finds no side.
TEST(PredicateVariants, CollinearWhereBoostFindsNoSide)
{
    std::mt19937 random(7);
    auto whole = [&] { return double(std::uniform_int_distribution<int>(-6, 6)(random)); };
    int collinear = 0;
    for (int i = 0; i < 3000; ++i) {
        const BPoint a(whole(), whole()), b(whole(), whole()), c(whole(), whole());
        const int side = bg::strategy::side::side_by_triangle<>::apply(a, b, c);
        const int found = AreCollinear(a.x(), a.y(), b.x(), b.y(), c.x(), c.y());
        EXPECT_EQ(found, side == 0 ? 1 : 0) << a.x() << "," << a.y() << " " << b.x() << ","
                                            << b.y() << " " << c.x() << "," << c.y();
        collinear += found;
    }
    EXPECT_GT(collinear, 10);
    // No tolerance: a millionth off the line is off it.
    EXPECT_EQ(AreCollinear(0, 0, 1, 1, 2, 2.000001), 0);
}

// The foot lies on the line, as near the point as the line comes; vertical
// and level lines and lines of no length included.
TEST(PredicateVariants, FootOfPerpendicularIsTheNearestPointOfTheLine)
{
    std::mt19937 random(3);
    struct Line {
        float x1, y1, x2, y2;
    };
    std::vector<Line> lines = {{5, -10, 5, 40}, {-20, 7, 30, 7}, {3, 3, 3, 3}};
    for (int i = 0; i < 30; ++i)
        lines.push_back({float(Uniform(random, -50, 50)), float(Uniform(random, -50, 50)),
                         float(Uniform(random, -50, 50)), float(Uniform(random, -50, 50))});
    for (const Line& l : lines) {
        const float px = float(Uniform(random, -50, 50)), py = float(Uniform(random, -50, 50));
        const CDPoint foot = FootOfPerpendicular(px, py, l.x1, l.y1, l.x2, l.y2);
        if (l.x1 == l.x2 && l.y1 == l.y2) {
            EXPECT_EQ(foot, CDPoint(l.x1, l.y1));
            continue;
        }
        // The line drawn far beyond its two points.
        const double dx = l.x2 - l.x1, dy = l.y2 - l.y1;
        const BLine far{{l.x1 - 1e3 * dx, l.y1 - 1e3 * dy}, {l.x1 + 1e3 * dx, l.y1 + 1e3 * dy}};
        const double tolerance = 1e-3 * (1.0 + std::hypot(dx, dy) / 100.0);
        EXPECT_LT(bg::distance(B(foot), far), tolerance) << l.x1 << "," << l.y1;
        EXPECT_NEAR(std::hypot(foot.x - px, foot.y - py), bg::distance(BPoint(px, py), far),
                    tolerance)
            << l.x1 << "," << l.y1;
    }
}

namespace {

// A piece drawn as Boost sees it: a line, or an arc in short chords.
BLine Drawn(const CIsoElement& p)
{
    if (p.Kind == ISO_LINE)
        return BLine{B(p.Pt0), B(p.Pt1)};
    BLine line;
    for (const CDPoint& q : SamplePiece(p, 0.05))
        line.push_back(B(q));
    return line;
}

// The worst distance of a crossing of two pieces (as Boost finds them) from
// the nearer end of either piece; 0 when no two pieces cross inside.
double WorstInnerCrossing(const CRefList<CIsoElement>& pieces)
{
    std::vector<BLine> drawn;
    for (const CIsoElement* p : pieces)
        drawn.push_back(Drawn(*p));
    double worst = 0.0;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            std::vector<BPoint> crossings;
            bg::intersection(drawn[i], drawn[j], crossings);
            for (const BPoint& x : crossings) {
                auto fromEnds = [&](const CIsoElement& p) {
                    return std::min(std::hypot(x.x() - PieceStart(p).x, x.y() - PieceStart(p).y),
                                    std::hypot(x.x() - PieceEnd(p).x, x.y() - PieceEnd(p).y));
                };
                worst = std::max(worst, std::max(fromEnds(*pieces[i]), fromEnds(*pieces[j])));
            }
        }
    return worst;
}

std::vector<CIsoElement> Tangle(unsigned seed, int count)
{
    std::mt19937 random(seed);
    std::vector<CIsoElement> tangle;
    for (int i = 0; i < count; ++i) {
        const double x = Uniform(random, 0, 200), y = Uniform(random, 0, 200);
        if (i % 2)
            tangle.push_back(MakeLinePiece(x, y, x + Uniform(random, -60, 60),
                                           y + Uniform(random, -60, 60)));
        else
            tangle.push_back(MakeArcPiece(x, y, Uniform(random, 5, 40), Uniform(random, -180, 180),
                                          Uniform(random, -180, 180)));
    }
    return tangle;
}

}  // namespace

// After the single-precision arc-line split and the arc-arc split with the
// short pi, no two pieces of a tangle cross away from their ends (a line is
// not split within 0.1 of its end, so crossings stay that near one).
TEST(TrimVariants, NoTwoPiecesCrossAwayFromTheirEnds)
{
    for (bool variant : {false, true}) {
        CIsoElementPool pool;
        CRefList<CIsoElement> pieces;
        for (const CIsoElement& e : Tangle(31, 40))
            pieces.push_back(pool.Add(e));
        const std::size_t before = pieces.size();
        if (variant)
            TrimEveryPair(pool, pieces, TrimArcLineAlt, TrimArcArcAlt);
        else
            TrimEveryPair(pool, pieces, TrimArcLine, TrimArcArc);
        EXPECT_GT(pieces.size(), 2 * before) << variant;
        EXPECT_LT(WorstInnerCrossing(pieces), 0.15) << variant;
    }
}

TEST(TrimVariants, SplitsWhereTheCrossingLies)
{
    std::vector<CIsoElement> made;
    // A line through the arc's middle: both split there, the line's point
    // moved onto the circle grown by 0.008 in single precision.
    CIsoElement arc = MakeArcPiece(0, 0, 10, 0, 90), line = MakeLinePiece(0, 0, 20, 20);
    ASSERT_EQ(TrimArcLineAlt(arc, line, made), 1);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_NEAR(arc.EndAngle, 45.0, 1e-3);
    EXPECT_NEAR(std::hypot(line.Pt1.x, line.Pt1.y), 10.008, 1e-4);
    EXPECT_EQ(made[0].StartAngle, arc.EndAngle);
    EXPECT_EQ(made[1].Pt0, line.Pt1);

    // A crossing 0.05 from the line's end is moved onto that end: the arc
    // splits there, the line does not.
    made.clear();
    arc = MakeArcPiece(0, 0, 10, 0, 90);
    const double c45 = std::sqrt(0.5);
    line = MakeLinePiece(20 * c45, 20 * c45, 9.96 * c45, 9.96 * c45);
    ASSERT_EQ(TrimArcLineAlt(arc, line, made), 1);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(arc.Pt2, line.Pt1);

    // Arcs: the same crossings as the pass's own, angles within the
    // difference of the two pis.
    CIsoElement a = MakeArcPiece(0, 0, 10, -90, 90), b = MakeArcPiece(10, 0, 10, 90, -90);
    CIsoElement a2 = a, b2 = b;
    std::vector<CIsoElement> made2;
    made.clear();
    EXPECT_EQ(TrimArcArcAlt(a, b, made), TrimArcArc(a2, b2, made2));
    ASSERT_EQ(made.size(), made2.size());
    EXPECT_NEAR(a.EndAngle, a2.EndAngle, 1e-3);
    EXPECT_EQ(a.Pt2, a2.Pt2);
}

// Random segments split at every crossing: Boost finds no crossing away
// from the pieces' ends, and the pieces still cover every segment.
TEST(TrimVariants, SplitPiecesAtTheirCrossings)
{
    CVelmDoc doc;
    std::mt19937 random(9);
    std::vector<BLine> segments;
    for (int i = 0; i < 40; ++i) {
        const double x = Uniform(random, 0, 200), y = Uniform(random, 0, 200);
        CIsoElement* e = doc.m_IsoElements.Add(MakeLinePiece(
            x, y, x + Uniform(random, -80, 80), y + Uniform(random, -80, 80)));
        doc.m_IsoSplitPieces.push_back(e);
        segments.push_back(BLine{B(e->Pt0), B(e->Pt1)});
    }
    // An arc among them is passed over.
    CIsoElement* arc = doc.m_IsoElements.Add(MakeArcPiece(100, 100, 50, 0, 180));
    doc.m_IsoSplitPieces.push_back(arc);
    doc.SplitPiecesAtPoints();
    EXPECT_GT(doc.m_IsoSplitPieces.size(), 80u);
    EXPECT_EQ(doc.m_IsoElements.Count(), doc.m_IsoSplitPieces.size());
    EXPECT_EQ(arc->StartAngle, 0.0);
    EXPECT_EQ(arc->EndAngle, 180.0);
    CRefList<CIsoElement> lines;
    for (CIsoElement* p : doc.m_IsoSplitPieces)
        if (p->Kind == ISO_LINE)
            lines.push_back(p);
    EXPECT_LT(WorstInnerCrossing(lines), 0.01);
    for (const BLine& s : segments)
        for (int k = 0; k <= 50; ++k) {
            const CDPoint q(s[0].x() + (s[1].x() - s[0].x()) * k / 50.0,
                            s[0].y() + (s[1].y() - s[0].y()) * k / 50.0);
            double nearest = 1e9;
            for (const CIsoElement* p : lines)
                nearest = std::min(nearest, DistanceToPiece(*p, q));
            EXPECT_LT(nearest, 0.01);
        }
}

namespace {

// The exact pass with the variant removal passes of tracks and arcs in
// place of the pass's own.
void FinishWithVariants(CIsoElementPool& pool, CIsoGroup& group, float d)
{
    ComposeArcs(pool, group.Pieces);
    TrimGroup(pool, group.Pieces);
    RemoveLinePiecesAlt(pool, group.Sources, group.Pieces, d, 1);
    RemoveArcPiecesAlt(pool, group.Sources, group.Pieces, d, 1);
    RemoveCirclePieces(pool, group.Sources, group.Pieces, d, 1);
    RemoveRectPieces(pool, group.Sources, group.Pieces, d, 1);
}
}  // namespace

// The variants leave the outline the pass leaves: every surviving piece on
// the grown outline, the outline covered. Where two tracks lie closer than
// the cutter, the variant of the track pass, which lacks the test of an arc
// bulging over a track, leaves such an arc in the band: the outline is still
// covered.
TEST(RemovalVariants, TheVariantsKeepTheOutline)
{
    for (const CExactBoard& board : ExactBoards()) {
        CExactRun run;
        run.Run(board.copper, board.d, FinishWithVariants);
        const std::string found = Judge(run, board.d);
        if (board.name == "tracks closer than the cutter")
            EXPECT_EQ(found.find("outline point"), std::string::npos) << found;
        else
            EXPECT_EQ(found, "") << board.name;
    }
}


// Lines with an end and arcs with an end point outside the extent go, from
// the list and the pool; Boost's closed box says what lies outside. An arc
// is judged by its ends alone, and other kinds stay wherever they lie.
TEST(RemovalVariants, ElementsOutsideTheBoardExtentGo)
{
    CVelmDoc doc;
    SetExtent(0, 0, 100, 50);
    const bg::model::box<BPoint> extent({0, 0}, {100, 50});
    struct Case {
        CIsoElement element;
    } cases[] = {
        {MakeLinePiece(10, 10, 90, 40)},   {MakeLinePiece(0, 0, 100, 50)},
        {MakeLinePiece(10, 10, 100.5, 40)}, {MakeLinePiece(-0.1, 10, 20, 10)},
        {MakeArcPiece(50, 25, 20, 0, 90)},  {MakeArcPiece(50, 25, 30, 0, 90)},
        {MakeArcPiece(95, 25, 10, 90, 270)},
        // Bulging out of the extent between two ends inside it: it stays.
        {MakeArcPiece(95, 25, 10, -90, 90)},
        {MakeCircle(200, 200, 5)},          {MakeRect(-50, -50, 10, 10)},
    };
    CRefList<CIsoElement> list;
    for (const Case& c : cases)
        list.push_back(doc.m_IsoElements.Add(c.element));
    std::vector<bool> expected;
    for (const CIsoElement* e : list) {
        const bool ends = e->Kind == ISO_LINE || e->Kind == ISO_ARC;
        expected.push_back(!ends || (bg::covered_by(B(PieceStart(*e)), extent) &&
                                     bg::covered_by(B(PieceEnd(*e)), extent)));
    }
    const CRefList<CIsoElement> before = list;
    doc.DeleteOutsideBoardExtent(list);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        const bool stays = std::find(list.begin(), list.end(), before[i]) != list.end();
        EXPECT_EQ(stays, expected[i]) << i;
        kept += stays;
    }
    EXPECT_EQ(kept, 7u);
    EXPECT_EQ(doc.m_IsoElements.Count(), list.size());
}

namespace {

// The copper of one source as the judge sees it.
double FromCopper(const CIsoElement& source, const CDPoint& q)
{
    return DistanceFrom(CopperOf({&source}), q);
}

// The worst distance of a piece's samples from `want` off its source's
// copper.
double WorstOff(const CIsoElement& piece, double want)
{
    double worst = 0.0;
    for (const CDPoint& q : SamplePiece(piece))
        worst = std::max(worst, std::fabs(FromCopper(*piece.Source, q) - want));
    return worst;
}

}  // namespace

// The offset pieces of a track, a slanted track, a pad, an arc track and a
// rectangle made for d and widened by t lie (d + t)/2 from their copper, as
// the pieces made for d + t do; the widening that moves every arc outward
// moves an inner arc towards its copper instead.
TEST(Widening, PiecesForDWidenedByTLieAtHalfOfDPlusT)
{
    const float d = 8.0f, t = 6.0f;
    std::vector<CIsoElement> copper = {MakeLine(0, 0, 100, 0, 10), MakeLine(0, 0, 70, 45, 12),
                                       MakeCircle(0, 0, 20), MakeArc(0, 0, 50, 10, 120, 5),
                                       MakeRect(0, 0, 60, 40)};
    for (CIsoElement& source : copper) {
        if (source.Kind == ISO_LINE)
            ComputeSegmentNormal(source, d);
        CIsoElementPool pool;
        CIsoGroup group;
        OffsetSource(pool, group, source, d);
        WidenElements(group.Pieces, t);
        for (const CIsoElement* p : group.Pieces)
            EXPECT_LT(WorstOff(*p, (d + t) / 2.0), 0.01)
                << int(source.Kind) << " piece " << int(p->Kind) << " sense " << p->ArcSense;
        for (const CIsoElement* p : group.Pieces) {
            if (p->Kind == ISO_LINE) {
                EXPECT_NEAR(std::hypot(p->Pt2.x, p->Pt2.y), p->Radius, 1e-4);
            }
        }
    }

    // The split pieces' widening (the removal's copy rule) in place.
    CVelmDoc doc;
    CIsoElement track = MakeLine(0, 0, 100, 0, 10), arc = MakeArc(0, 0, 50, 10, 120, 5);
    ComputeSegmentNormal(track, d);
    CIsoGroup group;
    OffsetSource(doc.m_IsoElements, group, track, d);
    OffsetSource(doc.m_IsoElements, group, arc, d);
    for (CIsoElement* p : group.Pieces)
        doc.m_IsoSplitPieces.push_back(p);
    std::vector<CIsoElement> before;
    for (const CIsoElement* p : group.Pieces)
        before.push_back(*p);
    doc.WidenSplitPieces(t);
    for (std::size_t i = 0; i < before.size(); ++i) {
        const CIsoElement* p = group.Pieces[i];
        CIsoElement copy;
        WidenElementCopy(before[i], copy, t);
        EXPECT_EQ(p->Pt0, copy.Pt0) << i;
        EXPECT_EQ(p->Pt1, copy.Pt1) << i;
        EXPECT_EQ(p->Radius, copy.Radius) << i;
        // Outward from the copper, except the inner arc, which comes nearer.
        const double want = p->ArcSense < 0.0 ? (d - t) / 2.0 : (d + t) / 2.0;
        EXPECT_LT(WorstOff(*p, want), 0.01) << i;
    }
}

namespace {

// One board's sources in the lists, grouped, their offset pieces all in one
// list as a stage that offsets before grouping would have them.
struct CUngroupedPieces {
    CExactRun run;
    COffsetEngineLists& lists = run.lists;
    CRefList<CIsoGroup> grouping;
    CIsoGroup all;

    CUngroupedPieces(const CExactBoard& board)
    {
        run.AddSources(board.copper, board.d);
        CRefList<CIsoElement> order = lists.m_IsoSources;
        BuildGroups(lists, order, grouping, board.d, 0);
        for (CIsoElement* e : lists.m_IsoSources)
            OffsetSource(lists.m_IsoElements, all, *e, board.d);
    }
};

}  // namespace

// Pieces handed to the groups their sources' numbers name, then finished as
// the exact pass finishes a group, give the outline the pass gives: the
// same judge passes, by either distribution.
TEST(GroupDistribution, PiecesDistributedByNumberGiveTheExactOutline)
{
    for (const CExactBoard& board : ExactBoards()) {
        for (int way : {1, 2}) {
            CUngroupedPieces run(board);
            CRefList<CIsoGroup> targets;
            CRefList<CIsoElement> sources;
            if (way == 1) {
                for (int n = 1; n <= run.lists.m_IsoGroupCount; ++n) {
                    run.lists.m_IsoGroups.push_back(std::make_unique<CIsoGroup>());
                    targets.push_back(run.lists.m_IsoGroups.back().get());
                    targets.back()->GroupNo = n;
                    targets.back()->Sources = run.grouping[std::size_t(n - 1)]->Sources;
                }
                CRefList<CIsoGroup> from = {&run.all};
                DistributeByGroupIndex(from, targets, 0);
            } else {
                const std::size_t owned = run.lists.m_IsoGroups.size();
                DistributeByGroupIndex2(run.lists, run.all.Pieces, sources, targets, 0);
                EXPECT_EQ(run.lists.m_IsoGroups.size(), owned + targets.size());
                EXPECT_EQ(sources.size(), run.lists.m_IsoSources.size()) << board.name;
                for (std::size_t g = 0; g < targets.size(); ++g) {
                    EXPECT_EQ(targets[g]->GroupNo, int(g + 1));
                    const std::set<CIsoElement*> want(run.grouping[g]->Sources.begin(),
                                                      run.grouping[g]->Sources.end());
                    const std::set<CIsoElement*> got(targets[g]->Sources.begin(),
                                                     targets[g]->Sources.end());
                    EXPECT_EQ(got, want) << board.name << " group " << g + 1;
                }
            }
            ASSERT_EQ(targets.size(), run.grouping.size()) << board.name;
            std::size_t handed = 0;
            for (CIsoGroup* g : targets) {
                handed += g->Pieces.size();
                FinishExactGroup(run.lists.m_IsoElements, *g, board.d, nullptr);
            }
            EXPECT_EQ(handed, run.all.Pieces.size()) << board.name;
            EXPECT_EQ(JudgeGroups(run.lists.m_IsoSources, targets, board.d), "")
                << board.name << " way " << way;
        }
    }
}

// Mode 0 frees the given groups and makes one a source; modes 1 and 2 hand
// each piece to its source's group, which numbers it. Every piece of a
// group then lies d/2 from that group's one source.
TEST(GroupDistribution, OneGroupASourceAndPiecesToTheirSourcesGroups)
{
    const CExactBoard board = ExactBoards()[7];   // a pad with three tracks
    CUngroupedPieces run(board);
    CRefList<CIsoGroup> groups = run.grouping;
    const std::size_t owned = run.lists.m_IsoGroups.size(), given = groups.size();
    std::string shown;
    TestHost().OnPump([&](int) {
        if (auto* notice = static_cast<CMessageDlg*>(TestHost().Modeless(IDD_MESSAGE)))
            shown = notice->Text();
    });
    BuildGroupRelations(run.lists, run.all.Pieces, groups, 0);
    TestHost().OnPump({});
    EXPECT_EQ(shown, "建立群組關係 !");
    ASSERT_EQ(groups.size(), run.lists.m_IsoSources.size());
    EXPECT_EQ(run.lists.m_IsoGroups.size(), owned - given + groups.size());
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i]->GroupNo, int(i + 1));
        ASSERT_EQ(groups[i]->Sources.size(), 1u);
        EXPECT_EQ(groups[i]->Sources.front(), run.lists.m_IsoSources[i]);
    }

    for (std::uint8_t mode : {1, 2}) {
        for (CIsoGroup* g : groups) {
            g->Pieces.clear();
            g->OtherPieces.clear();
        }
        BuildGroupRelations(run.lists, run.all.Pieces, groups, mode);
        std::size_t handed = 0;
        for (const CIsoGroup* g : groups) {
            const auto& list = mode == 1 ? g->Pieces : g->OtherPieces;
            EXPECT_TRUE((mode == 1 ? g->OtherPieces : g->Pieces).empty());
            handed += list.size();
            for (const CIsoElement* p : list) {
                EXPECT_EQ(p->GroupNo[0], g->GroupNo);
                EXPECT_EQ(p->Source, g->Sources.front());
                for (const CDPoint& q : SamplePiece(*p))
                    EXPECT_NEAR(FromCopper(*g->Sources.front(), q), board.d / 2.0, kOnOutline);
            }
        }
        EXPECT_EQ(handed, run.all.Pieces.size()) << int(mode);
    }
}

// The large copper area computation is the only maker of the mark the
// removal passes test: a track buried under a wider one, and a pad inside a
// larger one, get it; copies of them on their own do not. Pieces that reach
// into the copper of a lone track (within d/2 of it by Boost's distance) go;
// the same pieces round the buried track stay, by each of the marked
// branches (the end tests L6 and L8, the outline test B1); a line piece
// through the middle of a buried pad goes only when its middle lies within
// two thirds of the pad's reach.
TEST(LargeCopperArea, MarkedCopperSparesThePiecesRoundIt)
{
    CVelmDoc doc;
    g_CurrentSide = 0;
    SetExtent(0, 0, 600, 500);
    AddTrack(doc.m_TrackList, 0, 0, 100, 300, 100, 60);     // wide
    AddTrack(doc.m_TrackList, 0, 100, 100, 200, 100, 10);   // buried
    AddTrack(doc.m_TrackList, 0, 100, 300, 200, 300, 10);   // lone
    AddFlash(doc.m_FlashList, 450, 200, 40);
    AddFlash(doc.m_FlashList, 450, 200, 10);                // buried
    AddFlash(doc.m_FlashList, 450, 400, 10);                // lone
    NumberRecords(doc);
    doc.BuildSourceElements();
    doc.ComputeLargeCopperArea();
    auto source = [&](std::uint8_t kind, double x, double y, double size) {
        for (CIsoElement* e : doc.m_IsoSources)
            if (e->Kind == kind && e->Pt0 == CDPoint(x, y) && e->Radius == size)
                return e;
        return static_cast<CIsoElement*>(nullptr);
    };
    CIsoElement* buried = source(ISO_LINE, 100, 100, 10);
    CIsoElement* lone = source(ISO_LINE, 100, 300, 10);
    CIsoElement* buriedPad = source(ISO_CIRCLE, 450, 200, 10);
    CIsoElement* lonePad = source(ISO_CIRCLE, 450, 400, 10);
    ASSERT_TRUE(buried && lone && buriedPad && lonePad);
    EXPECT_EQ(buried->AreaMark, 1);
    EXPECT_EQ(lone->AreaMark, 0);
    EXPECT_EQ(buriedPad->AreaMark, 1);
    EXPECT_EQ(lonePad->AreaMark, 0);

    const float d = 8.0f;
    struct Case {
        const char* branch;
        double x0, y0, x1, y1;   // from the track's start
    } cases[] = {
        {"L8", -5, 20, -5, 5},
        {"L6", -8.9, 1, -1, 8.85},
        {"B1", 50, 8.5, 50.3, 11.5},
    };
    for (const Case& c : cases)
        for (CIsoElement* track : {buried, lone}) {
            const CDPoint at = track->Pt0;
            CIsoElement* piece = doc.m_IsoElements.Add(
                MakeLinePiece(at.x + c.x0, at.y + c.y0, at.x + c.x1, at.y + c.y1));
            CRefList<CIsoElement> pieces = {piece}, sources = {track};
            double nearest = 1e9;
            for (const CDPoint& q : SamplePiece(*piece))
                nearest = std::min(nearest, FromCopper(*track, q));
            EXPECT_LT(nearest, d / 2.0) << c.branch;
            RemoveLinePieces(doc.m_IsoElements, sources, pieces, d, 1);
            EXPECT_EQ(pieces.size(), track == buried ? 1u : 0u) << c.branch;
        }

    const double reach = d / 2.0 + 10.0;
    for (double share : {0.6, 0.7})
        for (CIsoElement* pad : {buriedPad, lonePad}) {
            const CDPoint at = pad->Pt0;
            CRefList<CIsoElement> pieces = {doc.m_IsoElements.Add(MakeLinePiece(
                at.x - 5, at.y + share * reach, at.x + 5, at.y + share * reach))};
            CRefList<CIsoElement> sources = {pad};
            RemoveCirclePieces(doc.m_IsoElements, sources, pieces, d, 1);
            EXPECT_EQ(pieces.size(), pad == buriedPad && share == 0.7 ? 1u : 0u) << share;
        }
}
