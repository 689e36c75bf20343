// The touch tests: every kind pair at the gap d, both ways round, and the
// smaller end-point and rectangle tests of the removal passes.
#include "offset/touch_tests.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

namespace {

constexpr float kD = 8.0f;

// b moved right by dx.
CIsoElement Shifted(CIsoElement e, double dx)
{
    e.Pt0.x += dx;
    if (e.Kind != ISO_RECT)
        e.Pt1.x += dx;
    if (e.Kind != ISO_LINE)
        e.Pt2.x += dx;
    return e;
}

}  // namespace

// Each pair is placed so that the gap between its copper is exactly `gap`
// at shift 0, with no end point near enough for a join; it must touch
// 0.01 closer than d and not 0.01 farther, whichever comes first.
TEST(TouchTests, EveryKindPairAtTheCutterWidth)
{
    struct Case {
        const char* name;
        CIsoElement a, b;
        double gap;   // copper gap before the shift
    } cases[] = {
        // Parallel tracks of width 10, centre lines 20 apart.
        {"line-line", MakeLine(0, -100, 0, 100, 10), MakeLine(20, -150, 20, 150, 10), 10},
        // A bar in front of a track's end.
        {"line-rect", MakeLine(0, 0, 100, 0, 10), MakeRect(150, 0, 40, 200), 25},
        {"rect-rect", MakeRect(0, 0, 40, 40), MakeRect(60, 0, 40, 40), 20},
        // A pad beside the middle of a track.
        {"line-circle", MakeLine(0, 0, 0, 200, 10), MakeCircle(25, 100, 10), 10},
        // An arc track bulging towards a track, its ends far off.
        {"line-arc", MakeLine(0, -200, 0, 200, 10), MakeArc(100, 0, 85, 150, -150, 3), 7},
        {"rect-circle", MakeRect(0, 0, 40, 40), MakeCircle(40, 0, 10), 10},
        {"rect-arc", MakeRect(0, 0, 40, 400), MakeArc(120, 0, 95, 150, -150, 3), 2},
        {"circle-circle", MakeCircle(0, 0, 10), MakeCircle(30, 0, 10), 10},
        {"arc-arc", MakeArc(0, 0, 50, -30, 30, 3), MakeArc(120, 0, 50, 150, -150, 3), 14},
        {"arc-circle", MakeArc(0, 0, 50, -30, 30, 3), MakeCircle(70, 0, 10), 7},
    };
    for (const Case& c : cases) {
        for (double offset : {-0.01, 0.01}) {
            CIsoElement b = Shifted(c.b, kD - c.gap + offset);
            int expected = offset < 0 ? 1 : 0;
            EXPECT_EQ(ElementsTouch(c.a, b, kD), expected) << c.name << " " << offset;
            EXPECT_EQ(ElementsTouch(b, c.a, kD), expected) << c.name << " swapped " << offset;
        }
    }
}

TEST(TouchTests, ContainedCopperTouchesWhicheverComesFirst)
{
    const CIsoElement big = MakeRect(0, 0, 400, 400);
    const CIsoElement small = MakeRect(50, 50, 20, 20);
    const CIsoElement line = MakeLine(-100, -100, 100, -100, 10);   // far from the centre
    const CIsoElement arc = MakeArc(0, 0, 100, 10, 80, 5);
    const CIsoElement pad = MakeCircle(0, 0, 300);
    for (const CIsoElement* inner : {&small, &line, &arc}) {
        EXPECT_EQ(ElementsTouch(big, *inner, kD), 1) << int(inner->Kind);
        EXPECT_EQ(ElementsTouch(*inner, big, kD), 1) << int(inner->Kind);
        EXPECT_EQ(ElementsTouch(pad, *inner, kD), 1) << int(inner->Kind);
        EXPECT_EQ(ElementsTouch(*inner, pad, kD), 1) << int(inner->Kind);
    }
    // Two arc tracks that cross, and an arc over a pad.
    EXPECT_EQ(TouchArcArc(MakeArc(0, 0, 50, 0, 90, 3), MakeArc(50, 50, 50, 180, 270, 3), kD), 1);
    EXPECT_EQ(TouchArcArc(MakeArc(0, 0, 50, 0, 90, 3), MakeCircle(0, 50, 5), kD), 1);
}

TEST(TouchTests, EndPointJoinsReachHalfDPlusOne)
{
    // A rectangle's corner 4.9 above a track's band corner joins the track,
    // though the copper lies 8.9 apart; at 5.2 it does not.
    CIsoElement line = MakeLine(0, 0, 100, 0, 10);   // band corner (100, 9)
    CIsoElement near = MakeCircle(100, 9 + 4.9, 0);
    EXPECT_EQ(ElementsTouch(line, near, kD), 1);
    EXPECT_EQ(ElementsTouch(near, line, kD), 1);
    CIsoElement far = MakeCircle(100, 9 + 5.2, 0);
    EXPECT_EQ(ElementsTouch(line, far, kD), 0);
    EXPECT_EQ(ElementsTouch(far, line, kD), 0);
}

TEST(TouchTests, EndPointsJoinedWithinTwo)
{
    CIsoElement piece = MakeLinePiece(0, 0, 10, 0);
    EXPECT_EQ(AreEndpointsJoined(piece, CDPoint(0, 0), CDPoint(12.5, 0)), 0);
    EXPECT_EQ(AreEndpointsJoined(piece, CDPoint(0, 0), CDPoint(12.0, 0)), 1);
    CIsoElement arc = MakeArcPiece(0, 0, 10, 0, 90);
    EXPECT_EQ(AreEndpointsJoined(arc, CDPoint(0, 11), CDPoint(11, 0)), 1);
    EXPECT_EQ(IsPointInClosedBox(CDPoint(0, 0), CDPoint(10, 5), CDPoint(10, 5)), 1);
    EXPECT_EQ(IsPointInClosedBox(CDPoint(0, 0), CDPoint(10, 5), CDPoint(10.0001, 5)), 0);
}

TEST(TouchTests, RectangleCrossesArcOnTopBottomOrDiagonals)
{
    const CIsoElement pad = MakeRect(0, 0, 40, 20);
    struct Case {
        CIsoElement arc;
        float t;
        int grown, widened;   // RectCrossesArc, RectCrossesArc2
    } cases[] = {
        // Crosses the top side (grown by 1) near its middle.
        {MakeArcPiece(0, 30, 20, -130, -50), 3, 1, 1},
        // The same circle, but the arc is turned away.
        {MakeArcPiece(0, 30, 20, 50, 130), 3, 0, 0},
        // Its circle stops 1.2 short of the top side: only the circle grown
        // by t/2 reaches it.
        {MakeArcPiece(0, 31.2, 20, -130, -50), 3, 0, 1},
        // Only the left side is crossed: neither test looks there.
        {MakeArcPiece(-40, 0, 20.5, -40, 40), 0.0f, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectCrossesArc(pad, c.arc, c.t), c.grown) << c.arc.Pt0.y;
        EXPECT_EQ(RectCrossesArc2(pad, c.arc, c.t), c.widened) << c.arc.Pt0.y;
    }
}
