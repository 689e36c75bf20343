// The path jobs' pieces that need no controller: the arc sweep the
// controller is given, its turn on mirrored copies, the outline's depth
// passes and the tool prompts with their colour words and pauses.
#include "geometry/board_orientation.h"
#include "machining/path_jobs.h"
#include "settings/machine_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Start and end angles as the controllers count them, for both directions:
// a start equal to the end is a full turn.
TEST(ArcSweep, TableOfDirectionsAndAngles)
{
    struct Case {
        int type;
        double start, end, sweep;
    } cases[] = {
        {1, 90.0, 0.0, 90.0},    {2, 90.0, 0.0, -270.0},
        {1, 0.0, 90.0, 270.0},   {2, 0.0, 90.0, -90.0},
        {1, 45.0, 45.0, 360.0},  {2, 45.0, 45.0, -360.0},
        {1, -180.0, 180.0, 360.0},  // the same point: the sum comes to 0
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ArcSweep(c.type, c.start, c.end), c.sweep)
            << c.type << " " << c.start << " " << c.end;
    // Clockwise angles: a point above the centre (y up) is at -90 degrees.
    EXPECT_NEAR(ArcAngle(0.0, 10.0, 0.0, 0.0), -90.0, 1e-5);
    EXPECT_NEAR(ArcAngle(-10.0, 0.0, 0.0, 0.0), -180.0, 1e-4);
}

// The copy turns its arcs round when it mirrors the board: exchanged axes or
// one mirrored axis, but not both, and not a half turn (both mirrored).
TEST(ArcSweep, MirroringOverSwapAndSignPairs)
{
    struct Case {
        std::uint32_t swap;
        POINT sign;
        bool mirrors;
    } cases[] = {
        {0, {1, 1}, false}, {0, {1, -1}, true}, {0, {-1, 1}, true}, {0, {-1, -1}, false},
        {1, {1, 1}, true},  {1, {1, -1}, false}, {1, {-1, 1}, false}, {1, {-1, -1}, true},
    };
    for (const Case& c : cases) {
        CLayoutBlock block;
        block.m_Swap = c.swap;
        block.m_Sign = c.sign;
        EXPECT_EQ(CopyMirrors(block), c.mirrors)
            << c.swap << " (" << c.sign.x << ", " << c.sign.y << ")";
    }
}

TEST(RoutePasses, StepsOfSixTenthsEndingAtTheTotal)
{
    EXPECT_EQ(RoutePassDepths(1.6f, true), (std::vector<float>{0.6f, 1.2f, 1.6f}));
    EXPECT_EQ(RoutePassDepths(1.6f, false), (std::vector<float>{1.6f}));
    EXPECT_EQ(RoutePassDepths(0.6f, true), (std::vector<float>{0.6f}));
    EXPECT_TRUE(RoutePassDepths(0.0f, true).empty());
    EXPECT_TRUE(RoutePassDepths(-1.0f, false).empty());
}

// The engraving prompt by size: its colour word in either language and the
// pause after each plunge; another size keeps the pause it had.
TEST(EngravePrompt, ColourWordsAndDwellBySize)
{
    const float zPulses = g_ZPulsesPerMM;
    struct Case {
        float sizeMil;
        float depthValue;
        bool chinese;
        const char* text;
        int dwell;
    } cases[] = {
        {5.905512f, 0.055f * zPulses, false, "刀具  0.15 mm ( yellow )", 0},
        {5.905512f, 0.2f * zPulses, true, "刀具  0.15 mm (綠)", 0},
        {7.874016f, 0.0f, true, "刀具  0.2 mm (黃)", 0},
        {19.68504f, 0.0f, false, "刀具  0.5 mm ( blue )", 100},
        {59.05512f, 0.0f, true, "刀具  1.5 mm (紅)", 250},
        {31.49606f, 0.0f, false, "刀具  0.8 mm", 77},
    };
    for (const Case& c : cases) {
        int dwell = 77;
        EXPECT_EQ(EngraveToolPrompt(c.sizeMil, c.depthValue, c.chinese, dwell), c.text);
        EXPECT_EQ(dwell, c.dwell) << c.text;
    }
    EXPECT_EQ(RouteToolPrompt(59.0f, true), "成型刀直徑 1.5 mm (白)");
    EXPECT_EQ(RouteToolPrompt(59.0f, false), "刀具  1.4986 mm");
}

}  // namespace
