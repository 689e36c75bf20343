// Panel copies and the orientation transforms, including the camera offset.
#include "geometry/board_orientation.h"

#include <gtest/gtest.h>

TEST(LayoutBlock, NewBlockIsCentredUnmirroredAndUnswapped)
{
    CLayoutBlock block(0, 0, 101, 51);
    EXPECT_EQ(block.m_Centre.x, 50.0);
    EXPECT_EQ(block.m_Centre.y, 25.0);
    EXPECT_EQ(block.m_RefCentre.x, 50.0);
    EXPECT_EQ(block.m_RefCentre.y, 25.0);
    EXPECT_TRUE(PointEquals(block.m_Sign, 1, 1));
    EXPECT_EQ(block.m_Swap, 0u);
    EXPECT_EQ(block.m_Extent.right, 101);
    EXPECT_EQ(block.m_Extent.bottom, 51);

    // Whole-mil centres truncate towards zero.
    CLayoutBlock negative(-101, -51, 0, 0);
    EXPECT_EQ(negative.m_Centre.x, -50.0);
    EXPECT_EQ(negative.m_Centre.y, -25.0);
}

TEST(BoardOrientation, SignPairsAndSwapInAllThreeForms)
{
    struct Case {
        bool swap;
        POINT sign;
        double x, y;  // where (10, 20) goes
    } cases[] = {
        {false, {1, 1}, 10, 20},    {false, {-1, 1}, -10, 20},  {false, {1, -1}, 10, -20},
        {false, {-1, -1}, -10, -20}, {true, {1, 1}, 20, 10},     {true, {-1, 1}, -20, 10},
        {true, {1, -1}, 20, -10},   {true, {-1, -1}, -20, -10},
        // Any other pair leaves the point as the swap made it.
        {false, {0, 1}, 10, 20},    {true, {0, 1}, 20, 10},     {true, {2, -1}, 20, 10},
    };
    for (const Case& c : cases) {
        CLayoutBlock block(0, 0, 100, 100);
        block.m_Swap = c.swap ? 1 : 0;
        block.m_Sign = c.sign;

        CDPoint p(10, 20);
        ApplyBoardOrientation(block, &p);
        EXPECT_EQ(p.x, c.x) << c.swap << " " << c.sign.x << "," << c.sign.y;
        EXPECT_EQ(p.y, c.y) << c.swap << " " << c.sign.x << "," << c.sign.y;

        POINT ip{10, 20};
        ApplyBlockOrientationPt(block, &ip);
        EXPECT_EQ(ip.x, int(c.x));
        EXPECT_EQ(ip.y, int(c.y));

        float fx = 10, fy = 20;
        ApplyBoardOrientationF(c.sign, c.swap, &fx, &fy);
        EXPECT_EQ(fx, float(c.x));
        EXPECT_EQ(fy, float(c.y));
    }
}

TEST(BoardOrientation, OnlyThePointFormAddsTheCameraOffset)
{
    CLayoutBlock block(0, 0, 100, 100);
    block.m_Swap = 1;
    block.m_Sign = POINT{-1, 1};
    g_CameraOffsetX = 1.5f;
    g_CameraOffsetY = -2.0f;

    CDPoint p(10, 20);
    ApplyBoardOrientation(block, &p);
    EXPECT_DOUBLE_EQ(p.x, -18.5);
    EXPECT_DOUBLE_EQ(p.y, 8.0);

    POINT ip{10, 20};
    ApplyBlockOrientationPt(block, &ip);
    EXPECT_EQ(ip.x, -20);
    EXPECT_EQ(ip.y, 10);

    float fx = 10, fy = 20;
    ApplyBoardOrientationF(block.m_Sign, 1, &fx, &fy);
    EXPECT_EQ(fx, -20.0f);
    EXPECT_EQ(fy, 10.0f);
}
