// Registration alignment: offset of the first target and the rotation
// between reference and measured targets.
#include "geometry/registration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <numbers>

namespace {

const double kPi = std::numbers::pi;

// Sets the target pairs: reference then measured point of each pair.
void SetTargets(std::initializer_list<CDPoint> points)
{
    int i = 0;
    for (const CDPoint& p : points)
        g_TargetPoints[i++] = p;
    g_TargetCount = i / 2;
}

// A point turned by `angle` about the origin, then shifted.
CDPoint Rotated(CDPoint p, double angle, CDPoint shift)
{
    return CDPoint(p.x * std::cos(angle) - p.y * std::sin(angle) + shift.x,
                   p.x * std::sin(angle) + p.y * std::cos(angle) + shift.y);
}

}  // namespace

TEST(RegistrationAlignment, NoTargetsLeavesThePointBitForBit)
{
    CDPoint p(0.1, 1.0 / 3.0);
    AlignTransformPoint(&p);
    EXPECT_EQ(p.x, 0.1);
    EXPECT_EQ(p.y, 1.0 / 3.0);
}

TEST(RegistrationAlignment, OneTargetOnlyRoundsToSinglePrecision)
{
    SetTargets({{100, 100}, {200, 300}});
    CDPoint p(0.1, 1.0 / 3.0);
    AlignTransformPoint(&p);
    EXPECT_NEAR(p.x, double(0.1f), 1e-6);
    EXPECT_NEAR(p.y, double(1.0f / 3.0f), 1e-6);
    EXPECT_NE(p.x, 0.1);
}

TEST(RegistrationAlignment, ShiftAndQuarterTurn)
{
    // Measured frame only shifted by (5, -3).
    SetTargets({{0, 0}, {5, -3}, {1000, 0}, {1005, -3}, {0, 800}, {5, 797}});
    CDPoint p(250, 400);
    AlignTransformPoint(&p);
    EXPECT_NEAR(p.x, 255, 1e-3);
    EXPECT_NEAR(p.y, 397, 1e-3);

    // Turned by a quarter turn about the first target.
    SetTargets({{0, 0}, {10, 20}, {1000, 0}, {10, 1020}});
    CDPoint q(500, 0);
    AlignTransformPoint(&q);
    EXPECT_NEAR(q.x, 10, 1e-3);
    EXPECT_NEAR(q.y, 520, 1e-3);
}

TEST(RegistrationAlignment, TargetsStraddlingPlusMinusPiGiveTheRightRotation)
{
    // Measured = reference turned by a half turn less a hair: the per-target
    // angles land on both sides of +-pi, so a plain mean of the differences
    // would be wrong by a large fraction of a turn.
    const double angle = kPi - 0.002;
    const CDPoint shift(50, 60);
    CDPoint refs[] = {{0, 0}, {1000, 10}, {1000, -10}, {-500, 3}};
    SetTargets({refs[0], Rotated(refs[0], angle, shift), refs[1], Rotated(refs[1], angle, shift),
                refs[2], Rotated(refs[2], angle, shift), refs[3], Rotated(refs[3], angle, shift)});

    for (CDPoint p : {CDPoint(300, 200), CDPoint(-700, 40), CDPoint(0, 0)}) {
        CDPoint expected = Rotated(p, angle, shift);
        AlignTransformPoint(&p);
        EXPECT_NEAR(p.x, expected.x, 0.01);
        EXPECT_NEAR(p.y, expected.y, 0.01);
    }
}

TEST(RegistrationAlignment, ACountBeyondTheTwentyPairsReadsOnlyThePairs)
{
    // A stored count out of range (the settings hold it) must not read past
    // the 40 points.
    SetTargets({{0, 0}, {5, -3}, {1000, 0}, {1005, -3}});
    for (int i = 2; i < 20; ++i) {
        g_TargetPoints[2 * i] = CDPoint(i * 10.0, 0);
        g_TargetPoints[2 * i + 1] = CDPoint(i * 10.0 + 5, -3);
    }
    g_TargetCount = 1000;
    CDPoint p(100, 100);
    AlignTransformPoint(&p);
    EXPECT_NEAR(p.x, 105, 1e-3);
    EXPECT_NEAR(p.y, 97, 1e-3);
}
