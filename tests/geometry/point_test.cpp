// The point type: arithmetic and equality within 0.001.
#include "geometry/point.h"
#include "geometry/small_utils.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(CDPoint, EqualityIsWithinAThousandthOnEachAxis)
{
    struct Case {
        CDPoint a, b;
        bool equal;
    } cases[] = {
        {{1.0, 2.0}, {1.0009, 2.0}, true},
        // 1.001 - 1.0 is a little under 0.001 in doubles, so the first
        // difference that counts as unequal lies just above it.
        {{1.0, 2.0}, {1.001, 2.0}, true},
        {{1.0, 2.0}, {1.0011, 2.0}, false},
        {{1.0, 2.0}, {1.0, 1.9991}, true},
        {{1.0, 2.0}, {1.0, 2.0011}, false},
        {{-5.0, 0.0}, {-5.0005, 0.0005}, true},
        {{0.0, 0.0}, {0.0, 0.0}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.b.x << "," << c.b.y;
        EXPECT_EQ(c.a != c.b, !c.equal) << c.b.x << "," << c.b.y;
    }
}

TEST(CDPoint, EqualityIsNotTransitive)
{
    CDPoint a(0, 0), b(0.0006, 0), c(0.0012, 0);
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(b == c);
    EXPECT_FALSE(a == c);
}

TEST(CDPoint, ArithmeticWithPointsIntegerPairsAndFactors)
{
    CDPoint p(1.5, -2.0);
    EXPECT_EQ(p + CDPoint(1, 1), CDPoint(2.5, -1.0));
    EXPECT_EQ(p - CDPoint(1, 1), CDPoint(0.5, -3.0));
    EXPECT_EQ((p + POINT{2, 3}), CDPoint(3.5, 1.0));
    EXPECT_EQ(p * 2.0f, CDPoint(3.0, -4.0));
    EXPECT_EQ(p / 0.5f, CDPoint(3.0, -4.0));

    // The float factor is widened, not the result narrowed.
    CDPoint q(1.0, 1.0);
    q *= 0.1f;
    EXPECT_DOUBLE_EQ(q.x, double(0.1f));

    CDPoint r(10, 10);
    r += CDPoint(1, 2);
    r -= POINT{1, 1};
    r -= SIZE{2, 2};
    r += POINT{0, 5};
    EXPECT_EQ(r, CDPoint(8, 14));
    r = SIZE{7, 8};
    EXPECT_EQ(r, CDPoint(7, 8));
    r = POINT{-1, -2};
    EXPECT_EQ(r, CDPoint(-1, -2));
}

TEST(SmallUtils, SwapsAndMixedMinMax)
{
    int a = 1, b = 2;
    SwapInt(&a, &b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    float f = 1.5f, g = -3.0f;
    SwapDWord(&f, &g);
    EXPECT_EQ(f, -3.0f);
    double d = 1.0, e = 2.0;
    SwapPoint(&d, &e);
    EXPECT_EQ(d, 2.0);
    POINT p{1, 2}, q{3, 4};
    SwapPoint(&p, &q);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(q.y, 2);

    EXPECT_EQ(MinF(1.0f, -1.0f), -1.0f);
    EXPECT_EQ(MaxF(1.0f, -1.0f), 1.0f);
    EXPECT_EQ(MinFD(0.1f, 0.2), double(0.1f));
    EXPECT_EQ(MaxFD(0.3f, 0.2), double(0.3f));
    EXPECT_EQ(MinInt(-4, 3), -4);
    EXPECT_EQ(MaxD(2.0, 2.0), 2.0);

    // Truncation into an int32 saturates instead of wrapping.
    struct Case {
        double in;
        std::int32_t out;
    } cases[] = {{12.9, 12}, {-12.9, -12}, {3e9, INT32_MAX}, {-3e9, INT32_MIN}, {NAN, 0},
                 {INFINITY, INT32_MAX}};
    for (const Case& c : cases)
        EXPECT_EQ(TruncToInt32(c.in), c.out) << c.in;
}
