// The working Z depth: per job code, in fixed plunge mode, and over a probed
// surface read cell by cell.
#include "link/link_state.h"
#include "settings/machine_settings.h"
#include "link/working_depth.h"
#include "machining/plane_data.h"
#include "platform/binary_io.h"
#include "platform/program_objects.h"
#include "settings/machine_param_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class WorkingDepthTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramObjects();
        g_ZPulsesPerMM = 200.0f;
        g_XYPulsesPerMM = 200.0f;
        g_DrillDepth = 2.8f;
        g_EngraveDepth = 0.1f;
        g_RouteDepth = 1.6f;
        g_LiftHeight = 1.9f;  // counts as 1 mm
        g_MachineOffset = 1000;
        g_PlungeOffsetPulses = 50;
        g_MachineZ = 100000;
    }
    void TearDown() override { ResetProgramObjects(); }

    // A grid over (0, 0)-(right, top) at 5 mm (1000 pulses) with these
    // heights, row by row; the points sit on the grid lines. Fewer heights
    // than grid points make an unfinished grid.
    static void Grid(int right, int top, const std::vector<int>& z)
    {
        CProbeGrid& grid = g_SurfaceGrid;
        g_SurfaceCompensation = 1;
        grid.m_GridSpacing = 5;
        grid.m_AreaRect = RECT{0, 0, right, top};
        grid.m_Points.clear();
        std::vector<int> xs, ys;
        for (int x = 0; x < right; x += 1000)
            xs.push_back(x);
        xs.push_back(right);
        for (int y = 0; y < top; y += 1000)
            ys.push_back(y);
        ys.push_back(top);
        for (int y : ys)
            for (int x : xs)
                if (grid.m_Points.size() < z.size())
                    grid.m_Points.push_back(CProbePoint{z[grid.m_Points.size()], x, y});
    }
};

TEST_F(WorkingDepthTest, DepthAndLiftPerJobCode)
{
    struct Case {
        int code;
        int fixed;
        float drillDepth;
        int down;
        int up;
    } cases[] = {
        // Measured from the surface (none probed: 0) plus the offset 1000.
        {1, 0, 2.8f, 1560, 400},   // drill 2.8 mm; lift 1 mm and 2 mm more
        {19, 0, 2.8f, 1560, 400},
        {2, 0, 2.8f, 1070, 700},   // engrave 0.1 mm + plunge offset; 0.5 mm more
        {16, 0, 2.8f, 1070, 700},
        {5, 0, 2.8f, 1070, 400},   // engraves, but lifts like a drill
        {4, 0, 2.8f, 1410, 400},   // route 1.6 + 0.2 mm + plunge offset
        {7, 0, 3.5f, 1740, 400},   // registration holes: 3.7 mm at 3.5 or less
        {7, 0, 3.6f, 1720, 400},   // deeper settings stand
        {17, 0, 2.8f, 1000, 800},  // no cutting job: the surface itself
        // Fixed heights (drill 1.5/0.5, engrave 0.2/1.0, route 2.0/3.0 mm).
        {1, 1, 2.8f, 300, 100},
        {7, 1, 2.8f, 300, 100},    // the registration holes are drilled
        {12, 1, 2.8f, 40, 200},
        {5, 1, 2.8f, 40, 200},     // the combined job engraves
        {4, 1, 2.8f, 400, 600},
        {17, 1, 2.8f, 0, 0},
    };
    g_AbsDrillDown = 1.5f;
    g_AbsDrillUp = 0.5f;
    g_AbsEngraveDown = 0.2f;
    g_AbsEngraveUp = 1.0f;
    g_AbsRouteDown = 2.0f;
    g_AbsRouteUp = 3.0f;
    for (const Case& c : cases) {
        g_JobCode = c.code;
        g_FixedPlungeMode = c.fixed;
        g_DrillDepth = c.drillDepth;
        EXPECT_EQ(GetZDownPulses(), c.down) << "code " << c.code << " fixed " << c.fixed;
        EXPECT_EQ(GetZUpPulses(), c.up) << "code " << c.code << " fixed " << c.fixed;
    }
}

TEST_F(WorkingDepthTest, NegativeValuesKeepTheLastGoodOneAndLiftingNeverGoesDeeper)
{
    g_JobCode = 1;
    EXPECT_EQ(GetZDownPulses(), 1560);
    EXPECT_EQ(GetZUpPulses(), 400);
    g_MachineOffset = -5000;
    EXPECT_EQ(GetZDownPulses(), 1560);
    EXPECT_EQ(GetZUpPulses(), 400);

    // Z already above the lift height stays where it is, and that is not
    // remembered as a lift height.
    g_MachineOffset = 1000;
    g_MachineZ = 300;
    EXPECT_EQ(GetZUpPulses(), 300);
    g_MachineOffset = -5000;
    EXPECT_EQ(GetZUpPulses(), 400);
}

TEST_F(WorkingDepthTest, SurfaceHeightFollowsThePlaneOfTheCellUnderThePoint)
{
    // 10 mm wide at 5 mm spacing: 3 columns, the right edge a grid line.
    //   row 1: 1200 1500 2000
    //   row 0: 1000 1100 1300
    Grid(2000, 1000, {1000, 1100, 1300, 1200, 1500, 2000});
    struct Case {
        int x, y, z;
        const char* what;
    } cases[] = {
        {250, 100, 1065, "lower-right corner nearer"},
        {1500, 1000, 1750, "top edge: the last row of cells, upper-left nearer"},
        {2000, 100, 1370, "right edge: the last cell, not the next row"},
        {5000, 100, 1370, "beyond the right edge: clamped onto it"},
        {-300, -300, 1000, "below the lower-left corner: clamped onto it"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSurfaceHeight(c.x, c.y), c.z) << c.what;

    // The surface adds to the depth under the machine.
    g_JobCode = 1;
    g_MachineX = 250;
    g_MachineY = 100;
    EXPECT_EQ(GetZDownPulses(), 1065 + 1560);
}

TEST_F(WorkingDepthTest, ANarrowLastColumnAndATieBetweenTheCorners)
{
    // 12 mm wide: 4 columns, the last only 400 pulses wide. (2300, 540)
    // lies as far from the lower-right as from the upper-left corner of
    // that cell, off its diagonal: the upper-left one is taken.
    Grid(2400, 1000, {0, 0, 1000, 1400, 0, 0, 1600, 2400});
    ASSERT_EQ(g_SurfaceGrid.m_Points.size(), 8u);
    EXPECT_EQ(GetSurfaceHeight(2300, 540), 1924);
    EXPECT_EQ(GetSurfaceHeight(2400, 0), 1400);
}

TEST_F(WorkingDepthTest, MissingCellsKeepTheLastHeightAndZeroIsAHeight)
{
    // The first read starts from the average Z; a spacing of 0 has no cells
    // (and divides nothing by zero).
    g_SurfaceGrid.m_AverageZ = 777;
    Grid(2000, 1000, {1000, 1100, 1300, 1200, 1500, 2000});
    g_SurfaceGrid.m_GridSpacing = 0;
    EXPECT_EQ(GetSurfaceHeight(250, 100), 777);

    // An unfinished grid: the cell's upper row is missing.
    Grid(2000, 1000, {1000, 1100, 1300, 1200});
    EXPECT_EQ(GetSurfaceHeight(250, 100), 777);
    Grid(2000, 1000, {1000, 1100, 1300, 1200, 1500, 2000});
    EXPECT_EQ(GetSurfaceHeight(250, 100), 1065);
    Grid(2000, 1000, {1000, 1100, 1300, 1200});
    EXPECT_EQ(GetSurfaceHeight(250, 100), 1065);

    // A surface that lies at Z 0 is read as such.
    Grid(2000, 1000, {0, 0, 0, 0, 0, 0});
    EXPECT_EQ(GetSurfaceHeight(250, 100), 0);
    Grid(2000, 1000, {1000, 1100, 1300, 1200});
    EXPECT_EQ(GetSurfaceHeight(250, 100), 0);

    // Without points the surface is 0.
    g_SurfaceGrid.m_Points.clear();
    EXPECT_EQ(GetSurfaceHeight(250, 100), 0);
}

TEST_F(WorkingDepthTest, SmoothingReplacesTheStrayCornerAndSettingChangesTheLowerLeft)
{
    struct Case {
        std::vector<int> z;
        std::vector<int> after;
    } cases[] = {
        // Plane corners of (250, 100): lower-left 0, lower-right 1, upper-right 4.
        {{1000, 1100, 1300, 1200, 1500, 2000}, {1000, 1100, 1300, 1200, 1050, 2000}},
        {{1400, 1100, 1300, 1200, 1000, 2000}, {1050, 1100, 1300, 1200, 1000, 2000}},
        {{1000, 1600, 1300, 1200, 1100, 2000}, {1000, 1050, 1300, 1200, 1100, 2000}},
        // Two corners as far from the mean: nothing changes.
        {{1000, 1200, 1300, 1200, 1400, 2000}, {1000, 1200, 1300, 1200, 1400, 2000}},
    };
    auto heights = [] {
        std::vector<int> z;
        for (const CProbePoint& p : g_SurfaceGrid.m_Points)
            z.push_back(p.z);
        return z;
    };
    for (const Case& c : cases) {
        Grid(2000, 1000, c.z);
        SmoothSurfacePoint(250, 100);
        EXPECT_EQ(heights(), c.after);
    }

    Grid(2000, 1000, {1000, 1100, 1300, 1200, 1500, 2000});
    SetSurfacePoint(1250, 100, 5);
    EXPECT_EQ(heights(), (std::vector<int>{1000, 5, 1300, 1200, 1500, 2000}));
    // Without the cell's upper corners nothing is set.
    Grid(2000, 1000, {1000, 1100, 1300, 1200});
    SetSurfacePoint(250, 100, 5);
    SmoothSurfacePoint(250, 100);
    EXPECT_EQ(heights(), (std::vector<int>{1000, 1100, 1300, 1200}));
}

TEST_F(WorkingDepthTest, APlaneDataFileGivesTheSurfaceItHolds)
{
    CBinaryWriter file;
    for (std::int32_t v : {5, 999, 10, 20, 2010, 1020, 10, 20})  // spacing, average, extent, start
        file.I32(v);
    for (std::int32_t v : {1000, 0, 0, 1100, 1000, 0})  // two points: Z, X, Y
        file.I32(v);
    file.I32(7);  // a record cut short
    const std::string path = TestDir() + "/surface.pos";
    ASSERT_TRUE(WriteFileAtomically(path, file.Data()));

    ASSERT_EQ(g_PlaneDetectDlg.LoadPlaneData(path), 1);
    EXPECT_EQ(g_SurfaceGrid.m_GridSpacing, 5);
    ASSERT_EQ(g_SurfaceGrid.m_Points.size(), 2u);
    EXPECT_EQ(g_SurfaceGrid.m_Points[1].z, 1100);
    EXPECT_EQ(g_SurfaceGrid.m_Points[1].x, 1000);
    EXPECT_EQ(g_SurfaceGrid.m_AverageZ, 1050);  // the points' mean, not the file's
    EXPECT_EQ(g_LayoutExtent.right, 2010);
    EXPECT_EQ(g_LayoutExtent.bottom, 1020);

    // A file too short for its header is refused and the surface stays.
    ASSERT_TRUE(WriteFileAtomically(path, std::vector<std::uint8_t>{1, 2, 3, 4}));
    ASSERT_EQ(g_PlaneDetectDlg.LoadPlaneData(path), 0);
    EXPECT_EQ(g_SurfaceGrid.m_Points.size(), 2u);
    EXPECT_EQ(TestHost().Boxes().size(), 1u);
}

}  // namespace
