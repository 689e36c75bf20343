// Offset pieces lie d/2 outside their source's copper: checked against
// worked examples of each source kind and, point by point, against the
// judge's copper.
#include "offset/offset_pieces.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

namespace {

struct Pieces : ::testing::Test {
    CIsoElementPool pool;
    CRefList<CIsoElement> out;
};

void ExpectPoint(const CDPoint& p, double x, double y, double tol = 1e-6)
{
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Every sampled point of every piece lies d/2 from the copper, and each arc's
// end points lie on its circle at its angles.
void ExpectAllAtHalfD(const CRefList<CIsoElement>& pieces, const CIsoElement& source, double d)
{
    BShape copper = CopperShape(source, 720);
    for (const CIsoElement* p : pieces) {
        BLine points;
        if (p->Kind == ISO_LINE) {
            for (int i = 0; i <= 20; ++i)
                points.push_back({p->Pt0.x + (p->Pt1.x - p->Pt0.x) * i / 20.0,
                                  p->Pt0.y + (p->Pt1.y - p->Pt0.y) * i / 20.0});
        } else {
            points = ArcPoints(*p, 40);
            EXPECT_NEAR(std::hypot(p->Pt1.x - p->Pt0.x, p->Pt1.y - p->Pt0.y), p->Radius, 1e-6);
            EXPECT_NEAR(std::hypot(p->Pt2.x - p->Pt0.x, p->Pt2.y - p->Pt0.y), p->Radius, 1e-6);
        }
        for (const BPoint& q : points)
            EXPECT_NEAR(DistanceFromCopper(copper, q.x(), q.y()), d / 2.0, 0.01)
                << "piece kind " << int(p->Kind) << " at " << q.x() << "," << q.y();
    }
}

}  // namespace

TEST_F(Pieces, LineTrackGivesTwoParallelsAndTwoCaps)
{
    CIsoElement line = MakeLine(0, 0, 100, 0, 10);
    line.AreaMark = 1;
    OffsetLineTrack(pool, out, line, 8, 1, 2);
    ASSERT_EQ(out.size(), 4u);
    ExpectPoint(out[0]->Pt0, 0, 9);
    ExpectPoint(out[1]->Pt0, 0, -9);
    EXPECT_EQ(out[0]->Radius, 9.0);
    EXPECT_NEAR(out[2]->StartAngle, 90, 1e-4);
    EXPECT_NEAR(out[2]->EndAngle, -90, 1e-4);
    EXPECT_NEAR(out[3]->StartAngle, -90, 1e-4);
    EXPECT_NEAR(out[3]->EndAngle, 90, 1e-4);
    for (const CIsoElement* p : out) {
        EXPECT_EQ(p->Class, ISO_PIECE);
        EXPECT_EQ(p->Source, &line);
        EXPECT_EQ(p->Pass, 2);
        EXPECT_EQ(p->AreaMark, 1);   // inherited from the source
    }
    EXPECT_EQ(out[2]->ArcSense, 1.0);
    ExpectAllAtHalfD(out, line, 8);

    // Drawn the other way the left side lies below; upward, to the left.
    EXPECT_EQ(SegmentNormal(MakeLine(100, 0, 0, 0, 10), 8).y, -9.0);
    EXPECT_EQ(SegmentNormal(MakeLine(0, 0, 0, 100, 10), 8).x, -9.0);
}

TEST_F(Pieces, AStoredNormalIsUsedWhenAsked)
{
    CIsoElement line = MakeLine(0, 0, 50, 50, 6);
    ComputeSegmentNormal(line, 20);
    OffsetLineTrack(pool, out, line, 8, 0, 0);
    // Offsets at (20 + 6) / 2, the stored distance, not (8 + 6) / 2.
    EXPECT_NEAR(std::hypot(out[0]->Pt0.x, out[0]->Pt0.y), 13.0, 1e-9);
    out.clear();
    OffsetLineTrack(pool, out, line, 8, 1, 0);
    ExpectAllAtHalfD(out, line, 8);
}

TEST_F(Pieces, RectangleSidesRunRoundIt)
{
    CIsoElement rect = MakeRect(0, 0, 60, 40);
    OffsetRectangle(pool, out, rect, 8, 0);
    ASSERT_EQ(out.size(), 4u);
    ExpectPoint(out[0]->Pt0, 30, 24);
    ExpectPoint(out[0]->Pt1, -30, 24);
    ExpectPoint(out[1]->Pt0, -34, 20);
    ExpectPoint(out[2]->Pt1, 30, -24);
    ExpectPoint(out[3]->Pt1, 34, 20);
    ExpectPoint(out[3]->Pt2, 4, 0);
    ExpectAllAtHalfD(out, rect, 8);

    // A slanted bar's sides are as far out.
    CIsoElement bar = MakeRect(5, 5, 30, 10);
    bar.Pt1 = CDPoint(0.6, 0.8);
    out.clear();
    OffsetRectangle(pool, out, bar, 8, 0);
    ExpectAllAtHalfD(out, bar, 8);
}

TEST_F(Pieces, ArcTrackInnerOuterAndCaps)
{
    CIsoElement arc = MakeArc(0, 0, 50, 20, 160, 3);
    OffsetArcTrack(pool, out, arc, 8, 0);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0]->Radius, 50 - 3 - 4.0);
    EXPECT_EQ(out[0]->ArcSense, -1.0);
    EXPECT_EQ(out[0]->Origin, nullptr);
    EXPECT_EQ(out[1]->Radius, 50 + 3 + 4.0);
    // The caps close the outline: each starts where its neighbour ends.
    ExpectPoint(out[2]->Pt1, out[0]->Pt1.x, out[0]->Pt1.y);
    ExpectPoint(out[2]->Pt2, out[1]->Pt1.x, out[1]->Pt1.y);
    ExpectPoint(out[3]->Pt1, out[1]->Pt2.x, out[1]->Pt2.y);
    ExpectPoint(out[3]->Pt2, out[0]->Pt2.x, out[0]->Pt2.y);
    ExpectAllAtHalfD(out, arc, 8);
}

TEST_F(Pieces, ATightArcTrackHasNoInnerArcAndItsCapsMeetPastTheCentre)
{
    // R = 5, h = 3, d = 8: 5 <= 4 + 3, no inner arc.
    CIsoElement arc = MakeArc(0, 0, 5, 0, 90, 3);
    OffsetArcTrack(pool, out, arc, 8, 0);
    ASSERT_EQ(out.size(), 3u);
    // The start cap about (5, 0) of radius 7 ends 2 past the centre on the
    // start radius, on its own circle.
    const CIsoElement& start = *out[1];
    ExpectPoint(start.Pt1, -2, 0);
    EXPECT_NEAR(std::hypot(start.Pt1.x - 5, start.Pt1.y), start.Radius, 1e-6);
    ExpectPoint(out[2]->Pt2, 0, -2);
    EXPECT_NEAR(std::hypot(out[2]->Pt2.x, out[2]->Pt2.y - 5), out[2]->Radius, 1e-6);
    // The outer arc still lies d/2 outside (the caps come near the track's
    // other end, which trimming and removal deal with).
    ExpectAllAtHalfD({out[0]}, arc, 8);
}

TEST_F(Pieces, PadCircleBecomesOneArc)
{
    CIsoElement pad = MakeCircle(10, 10, 20);
    OffsetCircle(pool, out, pad, 8, 0);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0]->Kind, ISO_ARC);
    EXPECT_EQ(out[0]->Radius, 24.0);
    EXPECT_EQ(out[0]->StartAngle, 0.0);
    EXPECT_EQ(out[0]->EndAngle, -0.001);
    EXPECT_EQ(pool.Count(), 1u);
    ExpectAllAtHalfD(out, pad, 8);
}

TEST(Widening, LinesAndArcsMoveOutByHalfTheDistance)
{
    CIsoElement line = MakeLinePiece(0, 5, 10, 5);
    line.Radius = 10;
    line.Pt2 = CDPoint(0, 5);
    CIsoElement wide;
    WidenElementCopy(line, wide, 4);
    EXPECT_NEAR(wide.Radius, 12.0, 1e-5);
    ExpectPoint(wide.Pt0, 0, 6, 1e-5);
    ExpectPoint(wide.Pt1, 10, 6, 1e-5);
    ExpectPoint(wide.Pt2, 0, 5);

    CIsoElement arc = MakeArcPiece(0, 0, 10, 0, 90);
    WidenElementCopy(arc, wide, 4);
    EXPECT_NEAR(wide.Radius, 12.0, 1e-5);
    ExpectPoint(wide.Pt2, 0, 12, 1e-4);

    // No width, no factor: the copy is left as it was.
    CIsoElement flat = MakeArcPiece(0, 0, 0, 0, 90);
    WidenElementCopy(flat, wide, 4);
    EXPECT_EQ(wide.Radius, 0.0);
}
