// Crossings of arc pieces, the polygon test and the outlines of tracks and
// pads at the boundaries their slacks draw.
#include "offset/crossings.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

namespace {

CDPoint AtDegrees(double cx, double cy, double r, double degrees)
{
    double a = degrees * 3.1415926 / 180.0;
    return {cx + r * std::cos(a), cy + r * std::sin(a)};
}

}  // namespace

TEST(PolygonTests, EdgesCountOnTheirLowerEndOnly)
{
    const CIsoPolygon square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Case {
        double x, y;
        int inside;
    } cases[] = {{5, 0, 1}, {5, 10, 0}, {0, 5, 1}, {10, 5, 0}, {5, 5, 1}, {-1, 5, 0}, {5, -1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(IsPointInPolygon(square, c.x, c.y), c.inside) << c.x << "," << c.y;
    EXPECT_EQ(IsPointInPolygon({{0, 0}, {10, 0}}, 5, 0), 0);
}

TEST(PolygonTests, OutlinesOfTracksAndPads)
{
    CIsoPolygon track;
    BuildTrackOutline(track, 0, 0, 10, 0, 4);
    EXPECT_EQ(track, (CIsoPolygon{{0, 2}, {10, 2}, {10, -2}, {0, -2}}));

    CIsoPolygon pad;
    BuildRectOutline(pad, MakeRect(0, 0, 10, 6), 2);
    ASSERT_EQ(pad.size(), 12u);
    EXPECT_EQ(pad.front(), CDPoint(5, 4));
    EXPECT_EQ(pad.back(), CDPoint(5, 3));
    // The notched cross: grown sides, corners cut back to the pad's own.
    EXPECT_EQ(IsPointInPolygon(pad, 5.5, 0), 1);
    EXPECT_EQ(IsPointInPolygon(pad, 5.5, 3.5), 0);
}

TEST(ArcCrossings, LinePiecesNearAnArcsEnds)
{
    const CIsoElement s = MakeArcPiece(0, 0, 10, 0, 90);
    struct Case {
        double degrees;
        int crosses;
    } cases[] = {{45, 1}, {90.4, 1}, {90.6, 0}, {-0.4, 1}, {-0.6, 0}};
    for (const Case& c : cases) {
        // A short radial line piece through the circle at that angle.
        CDPoint in = AtDegrees(0, 0, 9, c.degrees), out = AtDegrees(0, 0, 11, c.degrees);
        EXPECT_EQ(ArcLineCrossing(s, MakeLinePiece(in.x, in.y, out.x, out.y), 0), c.crosses)
            << c.degrees;
    }
    EXPECT_EQ(ArcLineCrossing(s, MakeArcPiece(0, 0, 10, 0, 90), 0), 0);
    // The segment-arc test of the removal passes, no slack in the angles.
    EXPECT_EQ(ArcCrossesLine(5, 5, 20, 5, 0, 0, 10, 0, 90), 1);
    EXPECT_EQ(ArcCrossesLine(5, -5, 20, -5, 0, 0, 10, 0, 90), 0);
    EXPECT_EQ(ArcCrossesLine(5, -5, 20, -5, 0, 0, 10, 90, 0), 1);
}

TEST(ArcCrossings, ArcArcMarginsAndDistances)
{
    const CIsoElement s = MakeArcPiece(0, 0, 10, 0, 90);
    // The circle of radius d/2 - 1 = 3 about a point on S's circle meets it
    // 17.25 degrees either side of that point. Placed so that the upper
    // crossing falls at `degrees` and the lower one below S's start.
    const double half = 2 * std::asin(0.15) * 180 / M_PI;
    struct Case {
        double degrees;
        int crosses;
    } cases[] = {{45, 1}, {0.03, 0}, {0.08, 1}};
    for (const Case& c : cases) {
        CDPoint e = AtDegrees(0, 0, 10, c.degrees - half);
        EXPECT_EQ(ArcArcCrossingC(s, e.x, e.y, 8), c.crosses) << c.degrees;
    }

    // Two arcs on circles that cross inside both ranges; grown S needs d.
    const CIsoElement p = MakeArcPiece(15, 0, 10, 90, 270);
    EXPECT_EQ(ArcArcCrossingA(s, p, 0), 1);
    EXPECT_EQ(ArcArcCrossingB(s, p, 0), 1);
    const CIsoElement apart = MakeArcPiece(24, 0, 10, 90, 270);
    EXPECT_EQ(ArcArcCrossingA(s, apart, 0), 0);
    EXPECT_EQ(ArcArcCrossingA(s, apart, 8), 1);

    EXPECT_EQ(IsCloserThan(CDPoint(0, 0), 5.0f, CDPoint(3, 4)), 1);
    EXPECT_EQ(IsCloserThan(CDPoint(0, 0), 4.99f, CDPoint(3, 4)), 0);
}

TEST(PolygonTests, PiecesInsideATracksOutline)
{
    CIsoElement track = MakeLine(0, 0, 100, 0, 10);
    CIsoPolygon outline;
    BuildTrackOutline(outline, 0, 0, 100, 0, 18);
    CIsoElement own = MakeLinePiece(0, 9, 100, 9);
    own.Source = &track;
    EXPECT_EQ(IsPieceInsidePolygon(track, outline, own, 8), 0);
    EXPECT_EQ(IsPieceInsidePolygon(track, outline, MakeLinePiece(50, 5, 50, 30), 8), 1);
    EXPECT_EQ(IsPieceInsidePolygon2(track, outline, MakeLinePiece(50, 5, 50, 30)), 0);
    EXPECT_EQ(IsPieceInsidePolygon2(track, outline, MakeLinePiece(40, 5, 60, 5)), 1);
    // An arc over the middle of the track lies inside; one round its start
    // cap lies near its end.
    EXPECT_EQ(IsPieceInsidePolygon(track, outline, MakeArcPiece(50, 0, 5, 0, 180), 8), 1);
    EXPECT_EQ(IsPieceInsidePolygon(track, outline, MakeArcPiece(0, 0, 3, 90, -90), 8), 1);
    EXPECT_EQ(IsPieceInsidePolygon(track, outline, MakeArcPiece(50, 40, 5, 0, 180), 8), 0);
    EXPECT_EQ(IsPieceInsidePolygon2(track, outline, MakeArcPiece(50, 0, 5, 0, 180)), 1);
}
