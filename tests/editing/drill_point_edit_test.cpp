// Turning, mirroring and shifting the drill holes as a whole, the hole
// search of the manual alignment, and the automatic alignment among stray
// holes and pads.
#include "editing/drill_alignment.h"
#include "editing/drill_point_edit.h"

#include "records/board_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<CDPoint> Holes(const COwnedList<CDrillTool>& tools)
{
    std::vector<CDPoint> holes;
    for (const auto& t : tools)
        for (const auto& h : t->holes)
            holes.push_back(*h);
    return holes;
}

bool Same(const std::vector<CDPoint>& a, const std::vector<CDPoint>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x - b[i].x) > 1e-9 || std::fabs(a[i].y - b[i].y) > 1e-9)
            return false;
    return true;
}

}  // namespace

TEST(DrillPointEdit, EachOperationTwiceIsTheIdentityAndKeepsTheCentroid)
{
    COwnedList<CDrillTool> tools;
    AddDrillTool(tools, 1, 30, 1, {CDPoint(100, 50), CDPoint(260, 90)});
    AddDrillTool(tools, 2, 40, 1, {CDPoint(130, 400)});
    const auto before = Holes(tools);
    const CDPoint centre = *HoleCentroid(tools);
    struct Case {
        const char* what;
        void (*apply)(COwnedList<CDrillTool>&);
    } cases[] = {{"rotate", RotateHoles}, {"mirror x", MirrorHolesX}, {"mirror y", MirrorHolesY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.apply(tools);
        EXPECT_FALSE(Same(Holes(tools), before));
        const CDPoint moved = *HoleCentroid(tools);
        EXPECT_NEAR(moved.x, centre.x, 1e-9);
        EXPECT_NEAR(moved.y, centre.y, 1e-9);
        c.apply(tools);
        EXPECT_TRUE(Same(Holes(tools), before));
    }
    // One rotation exchanges x and y about the centroid (163.33, 180).
    RotateHoles(tools);
    EXPECT_NEAR(Holes(tools)[0].x, 50 + centre.x - centre.y, 1e-9);
    EXPECT_NEAR(Holes(tools)[0].y, 100 + centre.y - centre.x, 1e-9);
}

TEST(DrillPointEdit, NoHolesNothingToDo)
{
    COwnedList<CDrillTool> tools;
    AddDrillTool(tools, 1, 30, 1, {});
    EXPECT_FALSE(HoleCentroid(tools).has_value());
    RotateHoles(tools);
    MirrorHolesX(tools);
    MirrorHolesY(tools);
    EXPECT_TRUE(Holes(tools).empty());
    EXPECT_FALSE(LastHoleNear(tools, CDPoint(), 40).has_value());
}

TEST(DrillPointEdit, HoleSearchTakesTheLastHoleCloserThanTheReach)
{
    COwnedList<CDrillTool> tools;
    AddDrillTool(tools, 1, 30, 1, {CDPoint(0, 0), CDPoint(30, 0)});
    AddDrillTool(tools, 2, 30, 1, {CDPoint(0, 40.5)});
    // (0, 40.5) is 40 mil away once truncated: not closer than 40.
    EXPECT_DOUBLE_EQ(LastHoleNear(tools, CDPoint(0, 0.4), 40)->x, 30);
    EXPECT_DOUBLE_EQ(LastHoleNear(tools, CDPoint(0, 1), 40)->y, 40.5);
    EXPECT_FALSE(LastHoleNear(tools, CDPoint(500, 500), 40).has_value());
    ShiftHoles(tools, CDPoint(1, 2));
    EXPECT_DOUBLE_EQ(Holes(tools)[2].y, 42.5);
}

TEST(DrillPointEdit, AutomaticAlignmentFindsAPlantedShiftAmongStrayPadsAndHoles)
{
    // 120 pads on a 50-mil grid; the drill file lies (-731.5, 412) away
    // from them. Ten stray holes come first, so the first ten anchors fail
    // (twenty are tried), and a row of pads has no hole.
    COwnedList<CFlashRecord> pads;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 10; ++j)
            AddFlash(pads, 50.0f * i, 50.0f * j, 15);
    COwnedList<CDrillTool> tools;
    CDrillTool* tool = AddDrillTool(tools, 1, 30, 1, {});
    for (int k = 0; k < 10; ++k)
        tool->holes.push_back(std::make_unique<CDPoint>(5000 + 37.0 * k, -3000 + 11.0 * k));
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 9; ++j)
            tool->holes.push_back(std::make_unique<CDPoint>(50.0 * i + 731.5, 50.0 * j - 412));
    ASSERT_EQ(AutoAlignDrills(pads, tools), 1);
    EXPECT_NEAR(tool->holes[10]->x, 0, 1e-9);
    EXPECT_NEAR(tool->holes[10]->y, 0, 1e-9);
    EXPECT_NEAR(tool->holes.back()->x, 550, 1e-9);
}

TEST(DrillPointEdit, AutomaticAlignmentRejectsNoise)
{
    // Holes scattered with no common shift onto the pads leave everything
    // where it was.
    COwnedList<CFlashRecord> pads;
    for (int i = 0; i < 60; ++i)
        AddFlash(pads, 50.0f * (i % 10), 50.0f * (i / 10), 15);
    COwnedList<CDrillTool> tools;
    CDrillTool* tool = AddDrillTool(tools, 1, 30, 1, {});
    unsigned seed = 12345;
    for (int k = 0; k < 80; ++k) {
        seed = seed * 1103515245u + 12345u;
        const double x = (seed >> 8) % 100000 / 10.0;
        seed = seed * 1103515245u + 12345u;
        const double y = (seed >> 8) % 100000 / 10.0;
        tool->holes.push_back(std::make_unique<CDPoint>(x, y));
    }
    const auto before = Holes(tools);
    EXPECT_EQ(AutoAlignDrills(pads, tools), 0);
    EXPECT_TRUE(Same(Holes(tools), before));
}
