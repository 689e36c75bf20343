// Surface probing against the simulated controller: the order in which the
// grid points are probed, holes kept off, a probe that finds no surface
// stopped after a few tries inside the travel, Cancel, and a warped board
// probed and then cut with compensation at one depth below its surface.
#include "link_fixture.h"

#include "link/job_codes.h"
#include "link/working_depth.h"
#include "machining/homing.h"
#include "machining/surface_probing.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/panel_layout.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/system_settings_dlg.h"
#include "support/record_makers.h"
#include "support/test_paths.h"

#include <cmath>
#include <filesystem>
#include <memory>

namespace {

using Kind = CControllerSimulator::Kind;
using XY = std::pair<int, int>;

class CFakeProbingView : public CProbingView {
public:
    void MachineHome() override { ++homes; }
    void UpdatePositionDisplay() override {}
    void StartTimer() override {}
    const CPanelLayout* Layout() const override { return &layout; }
    CPanelLayout layout;
    int homes = 0;
};

class SurfaceProbingTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        g_XYPulsesPerMM = 200.0f;
        g_ZPulsesPerMM = 200.0f;
        g_PulsesPerMil = 5.0f;
        g_ZTop = 10.0f;
        g_TableWidth = 100000.0;
        g_TableHeight = 100000.0;
        g_SystemDir = TestDir();
        g_PlaneDetectDlg.m_View = &m_View;
        g_PlaneDetectDlg.CreateModeless();
        g_PlaneDetectDlg.m_GridSpacing = 10;  // 2000 pulses
    }

    // Starts a run over the area as the start button's last step does and
    // takes the timer's steps until it ends; the number of steps taken.
    int Probe(const RECT& area, int maxSteps = 5000)
    {
        g_LayoutExtent = area;
        g_PlaneDetectDlg.m_Points.clear();
        g_PlaneDetectDlg.m_ZTarget = 5000;
        g_AbortFlag = 0;
        if (g_PlaneDetectDlg.RunProbing(1))
            return 0;
        g_JobCode = JOB_SURFACE_PROBE;
        int steps = 1;
        while (steps < maxSteps && !RunProbingStep())
            ++steps;
        return steps;
    }

    std::vector<XY> ProbedXY() const
    {
        std::vector<XY> xy;
        for (const CProbePoint& p : g_PlaneDetectDlg.m_Points)
            xy.push_back(XY{p.x, p.y});
        return xy;
    }

    CFakeProbingView m_View;
};

TEST_F(SurfaceProbingTest, GridPointsRowByRowToTheFarEdges)
{
    Connect(Kind::Ascii);
    m_Sim.SetSurface(5200);
    struct Case {
        RECT area;
        std::vector<XY> points;
    } cases[] = {
        // Narrower than a step: the left edge, then the right one.
        {{1000, 1000, 1500, 5000},
         {{1000, 1000}, {1500, 1000}, {1000, 3000}, {1500, 3000}, {1000, 5000}, {1500, 5000}}},
        // No width at all: one column; a height no multiple of the step
        // ends on the far edge.
        {{1000, 1000, 1000, 3500}, {{1000, 1000}, {1000, 3000}, {1000, 3500}}},
    };
    for (const Case& c : cases) {
        Probe(c.area);
        EXPECT_EQ(ProbedXY(), c.points);
        EXPECT_EQ(g_PlaneDetectDlg.m_Valid, 1);
        EXPECT_EQ(g_JobCode, 0);
        EXPECT_EQ(g_PlaneDetectDlg.m_AverageZ, 5200);
        EXPECT_EQ(g_PlaneDetectDlg.m_AreaRect.right, c.area.right);
        EXPECT_EQ(g_PlaneDetectDlg.m_ResultText.GetLineText(0), "[X1000Y1000Z5200]");
    }
}

TEST_F(SurfaceProbingTest, HolesAreKeptOffAlongX)
{
    Connect(Kind::Ascii);
    m_Sim.SetSurface(5200);
    // One copy where board and table coincide: (200, 200) mil is pulse
    // (1000, 1000). A 30 mil hole there keeps the probe 15 mil (75 pulses)
    // and 40 pulses off; a 8 mil hole at (300, 600) counts as 40 mil.
    auto block = std::make_unique<CLayoutBlock>(0, 0, 400, 300);
    m_View.layout.m_BlockList.push_back(std::move(block));
    AddDrillTool(g_HoleList, 1, 30.0f, 1, {CDPoint(200, 200)});
    AddDrillTool(g_HoleList, 2, 8.0f, 1, {CDPoint(300, 600)});
    Probe({1000, 1000, 1500, 3000});
    EXPECT_EQ(ProbedXY(), (std::vector<XY>{{1115, 1000}, {1500, 1000}, {1000, 3000}, {1740, 3000}}));
    EXPECT_TRUE(g_PlaneDetectDlg.m_HoleAvoid.empty());  // freed at the end
}

class ProbeRetryTest : public SurfaceProbingTest, public testing::WithParamInterface<Kind> {};

TEST_P(ProbeRetryTest, AProbeThatFindsNoSurfaceStopsAfterItsTriesInsideTheTravel)
{
    Connect(GetParam());
    g_BinLink.SetAbsoluteMode(1);
    m_Sim.SetSurface(100000);  // out of the probe's reach
    g_TableWidth = 240.0;      // the travel ends at X 1200
    Probe({1000, 1000, 3000, 3000});
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_EQ(g_PlaneDetectDlg.m_Valid, 0);
    EXPECT_TRUE(g_PlaneDetectDlg.m_Points.empty());
    // Three tries after the first, each a millimetre deeper.
    EXPECT_EQ(g_PlaneDetectDlg.m_ZTarget, 5000 + kMaxProbeRetries * 200);
    EXPECT_EQ(m_Sim.GetState().position[0], 1200);
    EXPECT_EQ(m_Sim.GetState().position[1], 1000);
    EXPECT_EQ(TestHost().BoxTexts(),
              std::vector<std::string>{[] {
                  char text[200];
                  std::snprintf(text, sizeof text, LoadResString(IDS_PROBE_NO_CONTACT).c_str(), 1200L, 1000L);
                  return std::string(text);
              }()});
    // The contact stop's switch-off is the run's last frame, sent without a
    // wait: it is carried out once the controller has heard it.
    Settle();
    EXPECT_FALSE(m_Sim.GetState().contactStop);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, ProbeRetryTest, testing::Values(Kind::Binary, Kind::Ascii));

TEST_F(SurfaceProbingTest, CancelEndsTheRunAtTheNextStepAndCommitsNothing)
{
    Connect(Kind::Ascii);
    m_Sim.SetSurface(5200);
    g_LayoutExtent = RECT{0, 0, 4000, 4000};
    g_PlaneDetectDlg.m_ZTarget = 5000;
    ASSERT_EQ(g_PlaneDetectDlg.RunProbing(1), 0);
    g_JobCode = JOB_SURFACE_PROBE;
    for (int step = 0; step < 3; ++step)  // move, descend, touch
        ASSERT_EQ(RunProbingStep(), 0);
    ASSERT_EQ(g_PlaneDetectDlg.m_Points.size(), 1u);
    g_PlaneDetectDlg.ShowWindow(true);
    g_PlaneDetectDlg.PressButton(IDCANCEL);
    m_Sim.ClearLog();
    EXPECT_EQ(RunProbingStep(), 1);
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_EQ(LogLines("MA").size(), 0u);  // no move after the stop
    EXPECT_EQ(g_PlaneDetectDlg.m_Points.size(), 1u);

    // OK now closes without committing the part of a grid.
    g_PlaneDetectDlg.ShowWindow(true);
    g_PlaneDetectDlg.PressButton(IDOK);
    EXPECT_EQ(g_SurfaceCompensation, 0);
    EXPECT_FALSE(std::filesystem::exists(JoinPath(g_SystemDir, "temp.pos")));
}

TEST_F(SurfaceProbingTest, TheStartHomesPreparesPassesTheProbeTestAndTakesTheFirstStep)
{
    Connect(Kind::Ascii);
    m_Sim.SetSurface(5200);
    g_TableWidth = 2000.0;  // the probe is prepared at X 5000 (half the width)
    g_LayoutExtent = RECT{3000, 3000, 1000, 1000};  // corners the wrong way round
    CPlaneDetectDlg& dlg = g_PlaneDetectDlg;
    dlg.ShowWindow(true);

    // A spacing below 1 mm is refused before anything moves.
    dlg.SetDlgItemText(IDC_PD_SPACING, "0");
    dlg.PressButton(IDC_PD_START);
    EXPECT_EQ(m_View.homes, 0);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{LoadResString(IDS_PROBE_SPACING)});

    // An area off the table (the one of no board copies) is refused too.
    dlg.SetDlgItemText(IDC_PD_SPACING, "5");
    g_LayoutExtent = RECT{1000000, 1000000, 0, 0};
    dlg.PressButton(IDC_PD_START);
    EXPECT_EQ(m_View.homes, 0);
    EXPECT_EQ(TestHost().Boxes().size(), 2u);
    g_LayoutExtent = RECT{3000, 3000, 1000, 1000};

    // The probe test cancelled: nothing starts, and a later start may.
    TestHost().QueueDialog([](CDialog& test) { test.PressButton(IDCANCEL); }, IDD_PROBE_TEST);
    dlg.PressButton(IDC_PD_START);
    EXPECT_EQ(m_View.homes, 1);
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_EQ(m_Sim.GetState().position[0], 5000);

    TestHost().QueueDialog(
        [](CDialog& test) {
            g_ProbeTestDlg.m_Success = 1;
            test.PressButton(IDOK);
        },
        IDD_PROBE_TEST);
    m_Sim.ClearLog();
    dlg.PressButton(IDC_PD_START);
    EXPECT_EQ(g_JobCode, JOB_SURFACE_PROBE);
    EXPECT_EQ(g_PositionPollOff, 1);
    EXPECT_EQ(dlg.m_ZTarget, 2000 + 3000);  // 10 mm of Z top and 3000 pulses
    EXPECT_EQ(dlg.m_GridStartX, 1000);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PD_LEFT_TOP), "1000 , 1000");
    // The first step: at the grid's start, Z up at the Z top, the probe on
    // its way to the first point.
    ASSERT_TRUE(AwaitReady());
    EXPECT_EQ(m_Sim.GetState().position[0], 1000);
    EXPECT_EQ(m_Sim.GetState().position[1], 1000);
    EXPECT_EQ(m_Sim.GetState().position[2], 2000);
    EXPECT_FALSE(LogLines("22 SP2000").empty());
    // Steps from the timer finish the grid: 5 mm apart over 10 x 10 mm.
    int steps = 0;
    while (steps < 200 && !RunProbingStep())
        ++steps;
    EXPECT_EQ(dlg.m_Points.size(), 9u);
    EXPECT_EQ(dlg.m_Valid, 1);
    EXPECT_EQ(g_PositionPollOff, 0);
}

class WarpedBoardTest : public SurfaceProbingTest, public testing::WithParamInterface<Kind> {};

TEST_P(WarpedBoardTest, CutsFollowTheProbedSurfaceWithinOnePulse)
{
    Connect(GetParam());
    // As the controller reset of the homing leaves the binary road.
    g_BinLink.SetAbsoluteMode(1);
    // 50 x 40 mm, tilted 1 pulse in 100 along X and 0.6 in 100 against Y,
    // with a dome of 2 pulses (0.01 mm) in the middle: the cells' planes then
    // stay well under a pulse off the board, and the whole pulses of the
    // touch and of the height keep the depth within one.
    CSimSurface board;
    board.z0 = 5200.0;
    board.slopeX = 0.01;
    board.slopeY = -0.006;
    board.warp = 2.0;
    board.spanX = 10000.0;
    board.spanY = 8000.0;
    m_Sim.SetSurfaceShape(board);
    Probe({0, 0, 10000, 8000});
    ASSERT_EQ(g_PlaneDetectDlg.m_Points.size(), 30u);
    ASSERT_EQ(g_PlaneDetectDlg.m_Valid, 1);
    g_PlaneDetectDlg.ShowWindow(true);
    g_PlaneDetectDlg.PressButton(IDOK);
    ASSERT_EQ(g_SurfaceCompensation, 1);
    EXPECT_TRUE(std::filesystem::exists(JoinPath(g_SystemDir, "temp.pos")));

    // Engraving 0.1 mm deep at 81 places across the board, cell middles
    // and edges among them.
    g_JobCode = JOB_ENGRAVE;
    g_FixedPlungeMode = 0;
    g_EngraveDepth = 0.1f;
    g_PlungeOffsetPulses = 0;
    g_MachineOffset = 0;
    const int depth = 20;
    g_MachineLink.CmdDL3();
    g_MachineLink.Send();
    std::size_t before = m_Sim.Cuts().size();
    for (int y = 0; y <= 8000; y += 1000)
        for (int x = 0; x <= 10000; x += 1250) {
            g_MachineLink.CmdMA2(static_cast<float>(x), static_cast<float>(y));
            g_MachineLink.Send();
            ASSERT_TRUE(AwaitReady());
            ASSERT_TRUE(ReadPositionReply(20));
            const int down = GetZDownPulses();
            g_MachineLink.CmdMA1(static_cast<float>(down));
            g_MachineLink.Send();
            ASSERT_TRUE(AwaitReady());
            g_MachineLink.CmdMA1(static_cast<float>(GetZUpPulses()));
            g_MachineLink.Send();
            ASSERT_TRUE(AwaitReady());
        }
    std::vector<CSimCut> cuts = m_Sim.Cuts();
    cuts.erase(cuts.begin(), cuts.begin() + static_cast<std::ptrdiff_t>(before));
    ASSERT_EQ(cuts.size(), 81u);
    double worst = 0.0;
    for (const CSimCut& cut : cuts) {
        worst = std::max(worst, std::fabs(cut.depth - depth));
        EXPECT_LE(std::fabs(cut.depth - depth), 1.0) << "at X" << cut.x << " Y" << cut.y;
    }
    RecordProperty("worst_depth_error_pulses", std::to_string(worst));
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, WarpedBoardTest, testing::Values(Kind::Binary, Kind::Ascii));

}  // namespace

namespace {

TEST(SimulatorSurface, TheCommandLineShapeAndWhereTheBoardLies)
{
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {
        {"5200,0.01,-0.006,2,10000,8000", true}, {"5200,0,0", true},
        {"5200,0.01", false},                    {"5200,0,0,2,0,8000", false},
        {"5200;0;0", false},                     {"", false},
    };
    for (const Case& c : cases) {
        CSimSurface surface;
        EXPECT_EQ(ParseSurface(c.text, surface), c.ok) << c.text;
    }
    CSimSurface board;
    ASSERT_TRUE(ParseSurface("5200,0.01,-0.006,2,10000,8000", board));
    EXPECT_DOUBLE_EQ(board.At(0, 0), 5200.0);
    EXPECT_DOUBLE_EQ(board.At(5000, 4000), 5200.0 + 50.0 - 24.0 + 2.0);  // the dome's top
    EXPECT_DOUBLE_EQ(board.At(20000, 0), 5200.0 + 200.0);  // beyond the span: tilt alone
}

}  // namespace
