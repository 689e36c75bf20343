// Plane geometry: one table per function, built from the special cases the
// planners depend on (vertical, horizontal, parallel, near-vertical within
// 0.001, tangent circle, collinear points) and the exact tolerances.
#include "geometry/plane_geometry.h"
#include "records/copper_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

const double kPi = std::numbers::pi;

// A point that a function must not write.
const float kUnwrittenF = -12345.0f;
const double kUnwritten = -12345.0;

CTrackRecord Track(float x1, float y1, float x2, float y2)
{
    CTrackRecord t;
    t.x1 = x1;
    t.y1 = y1;
    t.x2 = x2;
    t.y2 = y2;
    return t;
}

}  // namespace

TEST(PlaneGeometry, DistanceFormsAgree)
{
    struct Case {
        int x1, y1, x2, y2;
        double d;
    } cases[] = {
        {4, 4, 4, 4, 0.0},    // equal points
        {3, 1, 3, 5, 4.0},    // equal x
        {1, 2, -4, 2, 5.0},   // equal y
        {0, 0, 3, -4, 5.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(Distance(c.x1, c.y1, c.x2, c.y2), c.d);
        EXPECT_DOUBLE_EQ(DistanceD8(c.x1, c.y1, c.x2, c.y2), c.d);
        EXPECT_DOUBLE_EQ(DistanceF(c.x1, c.y1, c.x2, c.y2), c.d);
        EXPECT_DOUBLE_EQ(DistanceI(c.x1, c.y1, c.x2, c.y2), c.d);
        EXPECT_DOUBLE_EQ(DistanceFD(c.x1, c.y1, c.x2, c.y2), c.d);
        EXPECT_DOUBLE_EQ(DistanceDF(c.x1, c.y1, c.x2, c.y2), c.d);
    }
}

TEST(PlaneGeometry, LineDistances)
{
    struct Case {
        float px, py, x1, y1, x2, y2;
        double signedDistance, unsignedDistance;
    } cases[] = {
        {0, 1, 0, 0, 1, 0, 1.0, 1.0},         // left of the direction: positive
        {0, -1, 0, 0, 1, 0, -1.0, 1.0},
        {5, 5, 0, 0, 0, 10, -5.0, 5.0},        // vertical line, point to the right
        {2, 7, 0, 1, 5, 1, 6.0, 6.0},          // horizontal line
        {0, 2, 0, 0, 2, 2, std::sqrt(2.0), std::sqrt(2.0)},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(PointLineDistance(c.px, c.py, c.x1, c.y1, c.x2, c.y2), c.signedDistance, 1e-9);
        EXPECT_NEAR(PointLineDistanceF(c.px, c.py, c.x1, c.y1, c.x2, c.y2), c.signedDistance, 1e-9);
        EXPECT_NEAR(LineDistanceSI(c.px, c.py, c.x1, c.y1, c.x2, c.y2), c.unsignedDistance, 1e-6);
    }
}

TEST(PlaneGeometry, AngleOfLiesInTheHalfOpenRangeUpTo6_2831852)
{
    struct Case {
        double x1, y1, x2, y2, angle;
    } cases[] = {
        {1, 0, 0, 0, 6.2831852},   // along +x: never 0, and not 2*pi exactly
        {0, 1, 0, 0, kPi / 2},
        {-1, 0, 0, 0, kPi},
        {0, -1, 0, 0, -kPi / 2 + 6.2831852},
        {2, 2, 1, 1, kPi / 4},     // the direction from P2 to P1
        {1, 1, 2, 2, -3 * kPi / 4 + 6.2831852},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(AngleOf(c.x1, c.y1, c.x2, c.y2), c.angle) << c.x1 << "," << c.y1;
}

TEST(PlaneGeometry, FootInterpolationAndCircleThroughThreePoints)
{
    float x = 0, y = 0;
    PerpendicularFoot(&x, &y, 1.0f, 0.0f, 2.0f);
    EXPECT_FLOAT_EQ(x, 1.0f);
    EXPECT_FLOAT_EQ(y, 1.0f);
    PerpendicularFoot(&x, &y, 2.0f, 1.0f, 6.0f);  // y = 2x + 1 meets y = -x/2 + 6 at (2, 5)
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_FLOAT_EQ(y, 5.0f);

    EXPECT_DOUBLE_EQ(InterpolateF(0, 0, 10, 20, 5), 10.0);
    EXPECT_DOUBLE_EQ(InterpolateF(0, 4, 10, 4, 7), 4.0);

    struct Case {
        double x1, y1, x2, y2, x3, y3;
        float cx, cy, r;
    } cases[] = {
        {1, 0, 0, 1, -1, 0, 0, 0, 1},
        {2, 0, 1, 1, 0, 0, 1, 0, 1},
        {110, 50, 100, 60, 90, 50, 100, 50, 10},
    };
    for (const Case& c : cases) {
        float cx, cy, r;
        CircleFrom3Points(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, &cx, &cy, &r);
        EXPECT_NEAR(cx, c.cx, 1e-4);
        EXPECT_NEAR(cy, c.cy, 1e-4);
        EXPECT_NEAR(r, c.r, 1e-4);
    }
    float cx, cy, r;
    CircleFrom3Points(0, 0, 1, 1, 2, 2, &cx, &cy, &r);  // collinear
    EXPECT_FALSE(std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r));
}

TEST(PlaneGeometry, IntersectLinesF)
{
    struct Case {
        float x1, y1, x2, y2, x3, y3, x4, y4;
        int result;
        float x, y;
    } cases[] = {
        {2, 0, 2, 5, 0, 0, 4, 4, 1, 2, 2},          // first vertical
        {0, 0, 4, 4, 3, -1, 3, 1, 1, 3, 3},         // second vertical
        {2, 0, 2, 5, 3, 0, 3, 5, 0, 0, 0},          // both vertical
        {0, 0, 1, 1, 0, 1, 1, 2, 0, 0, 0},          // parallel
        {0, 0, 4, 4, 0, 4, 4, 0, 1, 2, 2},
        {0, 1, 5, 1, 0, 0, 2, 2, 1, 1, 1},          // horizontal and sloped
        {0, 0, 1, 1, 10, 0, 11, -1, 1, 5, 5},       // lines, not segments
    };
    for (const Case& c : cases) {
        float x = kUnwrittenF, y = kUnwrittenF;
        int result = IntersectLinesF(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, &x, &y);
        EXPECT_EQ(result, c.result) << c.x1 << "," << c.y1 << " " << c.x3 << "," << c.y3;
        if (result == 1) {
            EXPECT_FLOAT_EQ(x, c.x);
            EXPECT_FLOAT_EQ(y, c.y);
        }
    }
}

TEST(PlaneGeometry, IntersectSegmentsAcceptsWithinATenThousandth)
{
    struct Case {
        double x1, y1, x2, y2, x3, y3, x4, y4;
        int result;
        bool written;
        double x, y;
    } cases[] = {
        {0, 0, 10, 0, 5, -5, 5, 5, 1, true, 5, 0},
        {0, 0, 10, 0, 5, 1, 5, 5, 0, false, 0, 0},            // quick rejection (horizontal)
        {5, 0, 5, 10, 0, 3, 4, 7, 0, false, 0, 0},            // quick rejection (vertical)
        {0, 0, 10, 10, 10.00005, 0, 10.00005, 20, 1, true, 10.00005, 10.00005},
        {0, 0, 10, 10, 10.001, 0, 10.001, 20, 0, true, 10.001, 10.001},  // point stays written
        {0, 0, 10, 0, 0, 0, 5, 0, 0, false, 0, 0},            // parallel
        {1, 0, 1, 5, 1, 2, 1, 8, 0, false, 0, 0},             // both vertical
    };
    for (const Case& c : cases) {
        double x = kUnwritten, y = kUnwritten;
        int result = IntersectSegments(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, &x, &y);
        EXPECT_EQ(result, c.result) << c.x3 << "," << c.y3;
        if (c.written) {
            EXPECT_NEAR(x, c.x, 1e-9);
            EXPECT_NEAR(y, c.y, 1e-9);
        } else {
            EXPECT_EQ(x, kUnwritten);
        }
    }
}

TEST(PlaneGeometry, IntersectSegmentsTolFHasAsymmetricBoundsAndNearVerticalCases)
{
    struct Case {
        const char* what;
        float x1, y1, x2, y2, x3, y3, x4, y4;
        int result;
        float x, y;
    } cases[] = {
        {"plain crossing", 0, 0, 10, 10, 0, 10, 10, 0, 1, 5, 5},
        {"0.015 beyond the second's upper y end", 0, 0, 10, 10, 10, 0, 5.015f, 4.985f, 1, 5, 5},
        {"0.015 beyond the first's upper y end", 10, 0, 5.015f, 4.985f, 0, 0, 10, 10, 0, 5, 5},
        {"0.015 beyond the first's lower y end", 5.015f, 5.015f, 10, 10, 0, 10, 10, 0, 1, 5, 5},
        {"0.03 beyond the second's end", 0, 0, 10, 10, 10, 0, 5.03f, 4.97f, 0, 5, 5},
        {"slopes within 0.001", 0, 0, 10, 10, 0, 1, 10, 11.005f, 0, 0, 0},
        {"first nearly vertical", 5, 0, 5.0005f, 10, 0, 5, 10, 5, 1, 5, 5},
        {"second nearly vertical", 0, 5, 10, 5, 5, 0, 5.0005f, 10, 1, 5, 5},
        {"nearly vertical: no tolerance", 5, 0, 5.0005f, 10, 0, 10.01f, 10, 10.01f, 0, 5, 10.01f},
        {"both nearly vertical", 5, 0, 5.0005f, 10, 4.99998f, 0, 5.00002f, 10, 0, 0, 0},
        {"horizontal first out of range", 0, 20, 10, 20, 0, 0, 10, 10, 0, 0, 0},
    };
    for (const Case& c : cases) {
        float x = 0, y = 0;
        int result =
            IntersectSegmentsTolF(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4, &x, &y);
        EXPECT_EQ(result, c.result) << c.what;
        if (result == 1) {
            EXPECT_NEAR(x, c.x, 1e-3) << c.what;
            EXPECT_NEAR(y, c.y, 1e-3) << c.what;
        }
    }
}

TEST(PlaneGeometry, IntersectSegRecordsFHasNoTolerance)
{
    struct Case {
        CTrackRecord a, b;
        int result;
        float x, y;
    } cases[] = {
        {Track(0, 0, 10, 10), Track(0, 10, 10, 0), 1, 5, 5},
        {Track(0, 0, 5, 5), Track(5, 5, 10, 0), 1, 5, 5},          // meeting at the ends
        {Track(0, 0, 4.99f, 4.99f), Track(0, 10, 10, 0), 0, 0, 0},  // short by 0.01
        {Track(5, 0, 5, 10), Track(0, 5, 10, 5), 1, 5, 5},
        {Track(0, 0, 10, 0), Track(0, 1, 10, 1), 0, 0, 0},          // both horizontal
        {Track(1, 0, 1, 9), Track(2, 0, 2, 9), 0, 0, 0},            // both vertical
    };
    for (const Case& c : cases) {
        float x = 0, y = 0;
        EXPECT_EQ(IntersectSegRecordsF(c.a, c.b, &x, &y), c.result) << c.a.x2 << "," << c.a.y2;
        if (c.result == 1) {
            EXPECT_FLOAT_EQ(x, c.x);
            EXPECT_FLOAT_EQ(y, c.y);
        }
    }
}

TEST(PlaneGeometry, PointInQuadF)
{
    struct Case {
        float q[8];
        float px, py;
        int inside;
    } cases[] = {
        {{5, 0, 10, 5, 5, 10, 0, 5}, 5, 5, 1},     // diamond
        {{5, 0, 10, 5, 5, 10, 0, 5}, 1, 1, 0},
        {{5, 0, 10, 5, 5, 10, 0, 5}, 5, 0, 1},     // corner: inclusive
        {{0, 0, 10, 0, 10, 5, 0, 5}, 5, 2, 1},     // x1 == x4
        {{0, 0, 10, 0, 10, 5, 0, 5}, 11, 2, 0},
        {{0, 0, 10, 0, 10, 5, 0, 5}, 5, 6, 0},
        {{0, 0, 0, 5, 10, 5, 10, 0}, 5, 2, 1},     // x1 == x2
        {{0, 0, 0, 5, 10, 5, 10, 0}, -1, 2, 0},
        {{10, 5, 0, 5, 0, 0, 10, 0}, 5, 2, 1},     // corners from the other end
    };
    for (const Case& c : cases) {
        const float* q = c.q;
        EXPECT_EQ(PointInQuadF(q[0], q[1], q[2], q[3], q[4], q[5], q[6], q[7], c.px, c.py),
                  c.inside)
            << q[0] << "," << q[1] << " point " << c.px << "," << c.py;
    }
}

TEST(PlaneGeometry, IntersectLineCircleTreatsANearTangentAsTouching)
{
    struct Case {
        double m, c;
        int result;
        double xa, xb;
    } cases[] = {
        {0, 0, 1, 5, -5},
        {0, 6, -2, 0, 0},
        // Discriminant -0.004: the absolute value is used, two close points.
        {0, std::sqrt(25.001), 1, std::sqrt(0.004) / 2, -std::sqrt(0.004) / 2},
        {1, 0, 1, 5 / std::sqrt(2.0), -5 / std::sqrt(2.0)},
    };
    for (const Case& c : cases) {
        double xa = 0, ya = 0, xb = 0, yb = 0;
        int result = IntersectLineCircle(0, 0, 5, c.m, c.c, &xa, &ya, &xb, &yb);
        EXPECT_EQ(result, c.result) << c.c;
        if (result == 1) {
            EXPECT_NEAR(xa, c.xa, 1e-6);
            EXPECT_NEAR(xb, c.xb, 1e-6);
            EXPECT_NEAR(ya, c.m * xa + c.c, 1e-9);
        }
    }
}

TEST(PlaneGeometry, IntersectSegmentCircleOrdersFromTheOuterEnd)
{
    struct Case {
        const char* what;
        double cx, cy, r, x1, y1, x2, y2;
        int result;
        double xa, ya;
    } cases[] = {
        {"both ends inside", 0, 0, 10, -1, 0, 1, 0, 0, 0, 0},
        {"ending short of the circle", 10, 0, 2, 0, 0, 5, 0, 2, 8, 0},
        {"crossing", 10, 0, 2, 0, 0, 10, 0, 1, 8, 0},
        {"crossing, reversed", 10, 0, 2, 10, 0, 0, 0, 1, 8, 0},
        {"vertical", 0, 0, 3, 0, -10, 0, 0, 1, 0, -3},
        {"missing", 5, 0, 3, 0, 10, 10, 10, -2, 0, 0},
        {"near tangent", 0, 0, 5, -10, 5.0001, 10, 5.0001, 1, std::sqrt(0.004) / 2, 5.0001},
    };
    for (const Case& c : cases) {
        double xa = 0, ya = 0, xb = 0, yb = 0;
        int result = IntersectSegmentCircle(c.cx, c.cy, c.r, c.x1, c.y1, c.x2, c.y2, &xa, &ya,
                                            &xb, &yb);
        EXPECT_EQ(result, c.result) << c.what;
        if (result == 1 || result == 2) {
            EXPECT_NEAR(xa, c.xa, 1e-4) << c.what;
            EXPECT_NEAR(ya, c.ya, 1e-4) << c.what;
        }
    }
}

TEST(PlaneGeometry, IntersectSegmentCircleFModesAndTheBoxlessForm)
{
    struct Case {
        const char* what;
        float cx, cy, r, x1, y1, x2, y2;
        int mode0, mode1, mode2, boxless;
    } cases[] = {
        // Centre 4.79 from the line, inside the box: only mode 2's 10.0 accepts.
        {"passing near", 0, 0, 3, -20, -1, 20, 11, -2, 0, 1, -2},
        {"through the centre", 5, 0, 3, 0, -4, 10, 4, 1, 1, 1, 1},
        {"horizontal beyond r", 5, 0, 3, 0, 4, 10, 4, -2, 0, 0, 0},
        {"vertical beyond r", 0, 5, 3, 4, 0, 4, 10, -2, 0, 0, 0},
        // With both ends inside only mode 0 and the boxless form stop at once.
        {"both ends inside", 0, 0, 10, -1, 0, 1, 0, 0, 2, 2, 0},
        {"ending short", 10, 0, 2, 0, 0, 5, 0, 2, 0, 0, 1},
        {"one end inside", 10, 0, 2, 0, 0, 10, 0, 1, 1, 1, 1},
    };
    for (const Case& c : cases) {
        float xa, ya, xb, yb;
        int results[3];
        for (int mode = 0; mode < 3; ++mode)
            results[mode] = IntersectSegmentCircleF(c.cx, c.cy, c.r, c.x1, c.y1, c.x2, c.y2, &xa,
                                                    &ya, &xb, &yb, mode);
        EXPECT_EQ(results[0], c.mode0) << c.what;
        EXPECT_EQ(results[1], c.mode1) << c.what;
        EXPECT_EQ(results[2], c.mode2) << c.what;
        EXPECT_EQ(IntersectSegmentCircle2F(c.cx, c.cy, c.r, c.x1, c.y1, c.x2, c.y2, &xa, &ya, &xb,
                                           &yb),
                  c.boxless)
            << c.what;
    }

    // The boxless form still writes the points nearest the outer end first.
    float xa = 0, ya = 0, xb = 0, yb = 0;
    ASSERT_EQ(IntersectSegmentCircle2F(10, 0, 2, 0, 0, 5, 0, &xa, &ya, &xb, &yb), 1);
    EXPECT_FLOAT_EQ(xa, 8.0f);
    EXPECT_FLOAT_EQ(xb, 12.0f);
}
