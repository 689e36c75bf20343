// Bulge arcs cut into pieces: the right circle on the right side of the
// chord, pieces from the first given point to the second, finer on larger
// circles.
#include "exchange/bulge_arcs.h"
#include "records/board_records.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(BulgeArcToSegments, PiecesRunOverTheCircleOfTheBulge)
{
    struct Case {
        float bulge;
        double cx, cy, r;
        double farX, farY;   // the arc's point farthest from the chord
        std::size_t pieces;
    } const cases[] = {
        {0.5f, 100, 75, 125, 100, -50, 27},
        {-0.5f, 100, -75, 125, 100, 50, 27},
        {1.0f, 100, 0, 100, 100, -100, 32},
        {-1.0f, 100, 0, 100, 100, 100, 32},
        {2.0f, 100, -75, 125, 100, -200, 64},
    };
    for (const Case& c : cases) {
        CPathRecord layer;
        BulgeArcToSegments(0, 0, 200, 0, c.bulge, 3.0f, layer, 4);
        ASSERT_EQ(layer.items.size(), c.pieces) << c.bulge;
        EXPECT_NEAR(layer.items.front()->x1, 0.0, 1e-3) << c.bulge;
        EXPECT_NEAR(layer.items.front()->y1, 0.0, 1e-3) << c.bulge;
        EXPECT_NEAR(layer.items.back()->x2, 200.0, 1e-3) << c.bulge;
        EXPECT_NEAR(layer.items.back()->y2, 0.0, 1e-3) << c.bulge;
        double nearest = 1e9;
        for (std::size_t i = 0; i < layer.items.size(); ++i) {
            const CPathSegment& p = *layer.items[i];
            EXPECT_EQ(p.type, 4);
            EXPECT_DOUBLE_EQ(p.radius, 3.0);
            EXPECT_NEAR(std::hypot(p.x2 - c.cx, p.y2 - c.cy), c.r, 1e-3) << c.bulge;
            if (i > 0) {
                EXPECT_DOUBLE_EQ(p.x1, layer.items[i - 1]->x2);
                EXPECT_DOUBLE_EQ(p.y1, layer.items[i - 1]->y2);
            }
            nearest = std::min(nearest, std::hypot(p.x2 - c.farX, p.y2 - c.farY));
        }
        EXPECT_LT(nearest, 10.0) << c.bulge;
    }
}

TEST(BulgeArcToSegments, StepGrowsFinerWithTheRadius)
{
    // Half circles (bulge 1) of radius r: pi divided by the step, rounded up.
    for (auto [r, pieces] : {std::pair{100.0f, 32u}, {100.5f, 45u}, {200.0f, 45u},
                             {200.5f, 63u}, {1000.0f, 63u}, {1000.5f, 315u}}) {
        CPathRecord layer;
        BulgeArcToSegments(0, 0, 2 * r, 0, 1.0f, 0.0f, layer, 5);
        EXPECT_EQ(layer.items.size(), pieces) << r;
    }
}

TEST(BulgeArcToSegments, NoArcWithoutAChord)
{
    CPathRecord layer;
    BulgeArcToSegments(5, 5, 5, 5, 1.0f, 0.0f, layer, 5);
    EXPECT_TRUE(layer.items.empty());
}
