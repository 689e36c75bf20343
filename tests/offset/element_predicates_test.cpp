// The arc, band, circle and box predicates at the boundaries their slacks
// draw.
#include "offset/element_predicates.h"
#include "offset_fixture.h"

#include <gtest/gtest.h>

namespace {

CDPoint AtDegrees(double r, double degrees)
{
    double a = degrees * M_PI / 180.0;
    return {r * std::cos(a), r * std::sin(a)};
}

}  // namespace

TEST(AngleTests, ArcAnglesWithAndWithoutSlack)
{
    const CIsoElement wrapping = MakeArc(0, 0, 10, 170, -170, 0);
    const CIsoElement plain = MakeArc(0, 0, 10, 10, 80, 0);
    const CIsoElement circle = MakeCircle(0, 0, 10);
    struct Case {
        const CIsoElement* arc;
        double degrees;
        bool inAngles;   // IsAngleInArc, 0.1 degree of slack
        bool onBand;     // IsPointOnArcBand, no angle slack (band width 0)
    } cases[] = {
        {&wrapping, 180.0, true, true},
        {&wrapping, -175.0, true, true},
        {&wrapping, 0.0, false, false},
        {&plain, 10.0 - 0.09, true, false},   // just before the start
        {&plain, 10.0 - 0.2, false, false},
        {&plain, 80.0 + 0.09, true, false},
        {&plain, 45.0, true, true},
        {&circle, 123.0, true, true},
        {&circle, -0.0005, true, true},
    };
    for (const Case& c : cases) {
        CDPoint p = AtDegrees(10, c.degrees);
        EXPECT_EQ(IsAngleInArc(*c.arc, p.x, p.y), c.inAngles) << c.degrees;
        EXPECT_EQ(IsPointOnArcBand(*c.arc, p.x, p.y, 0.0f), c.onBand) << c.degrees;
    }
}

TEST(AngleTests, BandsAcceptTheRingAndTheEnds)
{
    const CIsoElement arc = MakeArc(0, 0, 10, 0, 90, 0);
    CDPoint off = AtDegrees(10.4, 45);
    EXPECT_TRUE(IsPointOnArcBand(arc, off.x, off.y, 0.0f));
    EXPECT_FALSE(IsPointOnArcBandFine(arc, off.x, off.y, 0.0f));
    CDPoint far = AtDegrees(10.6, 45);
    EXPECT_FALSE(IsPointOnArcBand(arc, far.x, far.y, 0.0f));
    // Inside a band of width 4 by more than 4/40: the fine test accepts it.
    CDPoint inner = AtDegrees(11.5, 45);
    EXPECT_TRUE(IsPointOnArcBandFine(arc, inner.x, inner.y, 4.0f));
    CDPoint edge = AtDegrees(11.95, 45);
    EXPECT_FALSE(IsPointOnArcBandFine(arc, edge.x, edge.y, 4.0f));
    // Outside the angles, within w/2 (less 0.001) of an end point.
    EXPECT_TRUE(IsPointOnArcBand(arc, 10.0, -1.99, 4.0f));
    EXPECT_FALSE(IsPointOnArcBand(arc, 10.0, -2.5, 4.0f));
}

TEST(CircleCrossings, TouchApartLevelAndConcentric)
{
    double xa, ya, xb, yb;
    // Centres 20 + 0.05 apart: one point on the line of centres.
    EXPECT_EQ(IntersectCircles(0, 0, 10, 20.05, 0, 10, &xa, &ya, &xb, &yb), 1);
    EXPECT_NEAR(xa, 10.0 * 20.05 / 20.0, 1e-9);
    EXPECT_EQ(xa, xb);
    EXPECT_EQ(ya, yb);
    EXPECT_EQ(IntersectCircles(0, 0, 10, 20.2, 0, 10, &xa, &ya, &xb, &yb), 0);
    // Level centres below y = 0: both crossings are found.
    EXPECT_EQ(IntersectCircles(0, -50, 10, 10, -50, 10, &xa, &ya, &xb, &yb), 1);
    EXPECT_NEAR(xa, 5.0, 1e-9);
    EXPECT_NEAR(std::max(ya, yb), -50 + std::sqrt(75.0), 1e-9);
    EXPECT_NEAR(std::min(ya, yb), -50 - std::sqrt(75.0), 1e-9);
    // A general pair, checked on both circles.
    ASSERT_EQ(IntersectCircles(0, 0, 10, 6, 8, 7, &xa, &ya, &xb, &yb), 1);
    for (auto [x, y] : {std::pair{xa, ya}, std::pair{xb, yb}}) {
        EXPECT_NEAR(std::hypot(x, y), 10.0, 1e-9);
        EXPECT_NEAR(std::hypot(x - 6, y - 8), 7.0, 1e-9);
    }
    // Concentric circles have no crossing, equal or not.
    EXPECT_EQ(IntersectCircles(3, 4, 10, 3, 4, 10, &xa, &ya, &xb, &yb), 0);
    EXPECT_EQ(IntersectCircles(3, 4, 10, 3, 4, 5, &xa, &ya, &xb, &yb), 0);
}

TEST(BoxTests, SlackAndSnapping)
{
    struct Case {
        double x, y;
        bool inBox;
    } cases[] = {
        {10.004, 5, true},  {10.006, 5, false}, {-0.004, 5, true},
        {5, -0.006, false}, {5, 10.004, true},  {5, 5, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPointInSegmentBox(&c.x, &c.y, 0, 0, 10, 10), c.inBox) << c.x << "," << c.y;

    float x = 9.95f, y = 9.95f;
    EXPECT_TRUE(SnapPointToSegmentBox(&x, &y, 0, 0, 10, 10));
    EXPECT_EQ(x, 10.0f);
    EXPECT_EQ(y, 10.0f);
    x = 5.0f, y = 5.0f;
    EXPECT_TRUE(SnapPointToSegmentBox(&x, &y, 0, 0, 10, 10));
    EXPECT_EQ(x, 5.0f);
    x = 10.01f, y = 5.0f;
    EXPECT_FALSE(SnapPointToSegmentBox(&x, &y, 0, 0, 10, 10));
}
