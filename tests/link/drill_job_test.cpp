// The drilling job and the tool change against the simulated controller, in
// both protocols: the holes the simulator records as drilled are the job's
// holes placed on the panel copies, tool by tool with the prompts in order
// and none for a size drilled without a change; the plunge depths follow
// the touched-off tool; STOP and Continue drill every hole once; a touch
// that finds no surface stops the job instead of taking a wrong height.
#include "link_fixture.h"
#include "sim_runner_view.h"

#include "document/velm_doc.h"
#include "geometry/registration.h"
#include "import/drill_fixture.h"
#include "link/job_codes.h"
#include "link/working_depth.h"
#include "machining/drill_job.h"
#include "machining/homing.h"
#include "machining/job_gate.h"
#include "machining/machine_setup.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/registration_holes.h"
#include "machining/tool_change.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "support/test_paths.h"
#include "ui/edit_wnd.h"
#include "view/view_runner.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using Kind = CControllerSimulator::Kind;

constexpr std::int32_t kSurfaceZ = 3000;

// The runners' view, homed with the controller's set-up.
CSimRunnerView HomedWithReset()
{
    CSimRunnerView view;
    view.homeSetUp = ResetController;
    return view;
}

// The drill command through the job gate, with this view's runner.
class CDrillCommand : public CJobContext {
public:
    explicit CDrillCommand(CSimRunnerView& view) : m_View(view) {}
    void RunRunner(int, unsigned) override { RunDrillJob(m_View); }
    int RunProbeTest() override { return IDOK; }
    int& ResumeCount() override { return m_View.resume; }

private:
    CSimRunnerView& m_View;
};

std::unique_ptr<CLayoutBlock> Copy(double cx, double cy, double rx, double ry)
{
    auto block = std::make_unique<CLayoutBlock>();
    block->m_Centre = CDPoint(cx, cy);
    block->m_RefCentre = CDPoint(rx, ry);
    return block;
}

void AddTool(int number, float diameter, int mode, std::vector<CDPoint> holes)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = number;
    tool->diameter = diameter;
    tool->mode = mode;
    for (const CDPoint& p : holes)
        AddTail(tool->holes, std::make_unique<CDPoint>(p));
    g_ToolSizes[static_cast<std::size_t>(number)] = diameter;
    AddTail(g_HoleList, std::move(tool));
}

// Where the job's holes go, in drilling order.
std::vector<CDPoint> ExpectedHoles(const CSimRunnerView& view)
{
    std::vector<CDPoint> holes;
    for (const CHoleVisit& v : DrillOrder(g_HoleList, view.blocks, ESelectedCopies::Skip))
        holes.push_back(BoardToMachine(*view.blocks[v.block], *g_HoleList[v.tool]->holes[v.hole],
                                       EAlign::Registration));
    return holes;
}

class DrillJobTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(GetParam());
        g_PortState = 0;
        g_MachineModel = "KX1100";
        ResetController();  // absolute moves on the binary road
        g_ToolChangePosition = 0;
        g_SkipProbeTest = 0;
        g_FixedPlungeMode = 0;
        g_DrillMultiplyDetect = 0;
        g_SimDrillSize = 3.175f;
        g_SimToolSize = 1.0f;
        g_ZTop = 10.0f;          // the touch-off starts at Z 2000
        g_DrillDepth = 2.0f;     // 400 pulses into the board
        g_RouteDepth = 2.75f;    // 590 pulses with the 0.2 mm the router adds
        g_LiftHeight = 2.0f;
        g_LiftSpeed = 50.0f;
        g_RapidSpeed = 100.0f;
        g_RouteSpeed = 20.0f;
        g_PlungeOffsetPulses = 0;
        g_MachineOffset = 0;
        g_TargetCount = 0;
        g_SurfaceGrid.m_Points.clear();
        g_LayoutExtent = {0, 0, 20000, 10000};
        g_ToolSizes.fill(0.0f);
        g_HoleList.clear();
        m_Sim.SetSurface(kSurfaceZ);
        m_Sim.SetDrillLevel(kSurfaceZ + 1);
        // The view timer's position poll, between the runner's polls.
        TestHost().OnPump([this](int) {
            if (m_View.timer && !g_PositionPollOff)
                ReadPositionReply(0);
        });
    }
    void TearDown() override
    {
        g_HoleList.clear();
        LinkTest::TearDown();
    }
    bool Ascii() const { return GetParam() == Kind::Ascii; }
    // The Z targets the controller was sent, in order.
    // Where each Z move since the log was last cleared was sent, as the
    // simulator understood it (the binary moves are distances).
    std::vector<long> ZMoves()
    {
        std::vector<long> z;
        for (const CControllerSimulator::CommandedMove& move : m_Sim.CommandedMoves())
            if (move.axes[2])
                z.push_back(static_cast<long>(move.target[2]));
        return z;
    }
    // Where each XY move since the log was last cleared sent the table.
    std::vector<std::array<double, 2>> TableStops()
    {
        std::vector<std::array<double, 2>> stops;
        for (const CControllerSimulator::CommandedMove& move : m_Sim.CommandedMoves())
            if (move.axes[0] || move.axes[1])
                stops.push_back({double(move.target[0]), double(move.target[1])});
        return stops;
    }
    void ExpectDrilled(const std::vector<CDPoint>& expected)
    {
        const auto drilled = m_Sim.DrilledPositions();
        ASSERT_EQ(drilled.size(), expected.size());
        for (std::size_t i = 0; i < drilled.size(); ++i) {
            EXPECT_NEAR(drilled[i][0], expected[i].x, 1.0) << "hole " << i;
            EXPECT_NEAR(drilled[i][1], expected[i].y, 1.0) << "hole " << i;
        }
    }
    // The ASCII road keeps the touched Z; on the binary road the same value
    // is the link's stored Z, which every later move changes.
    void ExpectTouchZKept()
    {
        if (Ascii()) {
            EXPECT_EQ(g_ToolTouchZ, kSurfaceZ);
        }
    }
    // Answers each tool-change prompt with OK, recording its text.
    void AnswerPrompts(int count, std::vector<std::string>& shown)
    {
        for (int i = 0; i < count; ++i)
            TestHost().QueueDialog(
                [&shown](CDialog& dlg) {
                    shown.push_back(dlg.GetDlgItemText(IDC_PS_PROMPT));
                    dlg.PressButton(IDOK);
                },
                IDD_PLUNGE_SPEED);
    }

    CSimRunnerView m_View = HomedWithReset();
};

// Three sizes on two copies: one drilled plainly, one in two pecks, one
// drilled without a tool change, and a size beyond the largest drill that
// the router mills. Every hole is drilled once where the pipeline puts it;
// the prompts come in tool order, none for the size without a change.
TEST_P(DrillJobTest, TwoCopiesToolByToolWithThePipelineAndThePrompts)
{
    AddTool(1, 50.0f, 1, {{100, 100}, {400, 150}});
    AddTool(2, 40.0f, 0x23, {{250, 300}});
    AddTool(3, 40.0f, 2, {{500, 400}});
    AddTool(4, 160.0f, 1, {{700, 500}});  // 4.06 mm: milled
    AddTail(m_View.blocks, Copy(1000, 1000, 400, 300));
    AddTail(m_View.blocks, Copy(2500, 1000, 400, 300))->m_Sign = POINT{-1, 1};
    std::vector<std::string> shown;
    AnswerPrompts(3, shown);
    g_JobCode = JOB_DRILL;
    m_Sim.ClearLog();

    RunDrillJob(m_View);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    EXPECT_EQ(TestHost().BoxTexts().back(), "鑽孔完成 !");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "更換鑽頭 T1.\n直徑 50mil (1.27mm) ");
    EXPECT_EQ(shown[1], "更換鑽頭 T2.\n直徑 40mil (1.016mm) ");
    EXPECT_EQ(shown[2], "更換鑽頭 T4.\n直徑 160mil (4.064mm) ");
    // Only the first change detects the tool height.
    EXPECT_EQ(m_View.detects, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(g_MachineOffset, kSurfaceZ);
    ExpectTouchZKept();

    // The large hole is plunged on its edge: the centre plus the radius
    // less the router's radius, in pulses.
    std::vector<CDPoint> expected = ExpectedHoles(m_View);
    ASSERT_EQ(expected.size(), 10u);
    const double edge = 80.0 * g_PulsesPerMil - 1.0 * g_XYPulsesPerMM / 2.0;
    expected[8].x += edge;
    expected[9].x += edge;
    ExpectDrilled(expected);
    EXPECT_NEAR(expected[1].x, (400 - 400 + 1000) * 5.08, 0.05);
    EXPECT_NEAR(expected[2].x, (-(100 - 400) + 2500) * 5.08, 0.05);

    // Drilling goes 2 mm below the touched surface, the router's plunge
    // takes the outline depth (job code 4), and every other Z move stays
    // at or above the drilling depth.
    const std::vector<long> z = ZMoves();
    EXPECT_GE(std::count(z.begin(), z.end(), 3400L), 4 + 2);
    EXPECT_EQ(std::count(z.begin(), z.end(), 3590L), 2);
    ASSERT_FALSE(z.empty());
    EXPECT_EQ(*std::max_element(z.begin(), z.end()), 7000L);  // the touch-off's end
    if (Ascii()) {
        EXPECT_EQ(LogLines("33 CA").size(), 2u);
    }
    EXPECT_FALSE(m_View.timer);
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    std::string work = "x";
    RegGetString("WORK", work);
    EXPECT_EQ(work, "");
}

// STOP during the job, then Continue with no records back: the job picks up
// at the hole it had not started, after a prompt for that hole's tool, and
// the simulator has every hole exactly once.
TEST_P(DrillJobTest, StopThenContinueDrillsEveryHoleOnce)
{
    AddTool(1, 50.0f, 1, {{100, 100}, {400, 150}, {300, 300}});
    AddTool(2, 40.0f, 1, {{250, 350}});
    AddTail(m_View.blocks, Copy(1000, 1000, 400, 300));
    AddTail(m_View.blocks, Copy(2500, 1000, 400, 300));
    const std::vector<CDPoint> expected = ExpectedHoles(m_View);
    CDrillCommand command(m_View);
    bool pressed = false;
    TestHost().OnPump([&](int) {
        if (m_View.timer && !g_PositionPollOff)
            ReadPositionReply(0);
        std::int32_t count = 0;
        RegGetLong("count", count);
        if (!pressed && count == 4) {
            pressed = true;
            g_PositionDlg.PressButton(IDC_POS_STOP);
        }
    });
    std::vector<std::string> shown;
    AnswerPrompts(1, shown);
    EXPECT_EQ(RunJobCommand(ID_MACHINE_DRILL, command), 1);
    ASSERT_TRUE(pressed);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(m_Sim.DrilledPositions().size(), 4u);
    std::int32_t count = 0;
    RegGetLong("count", count);
    EXPECT_EQ(count, 4);

    // Machine/Home clears the stop; Continue going back no records.
    g_AbortFlag = 0;
    TestHost().QueueDialog([](CDialog& dlg) {
        dlg.Control(1046).text = "0";
        dlg.PressButton(IDOK);
    });
    AnswerPrompts(2, shown);
    EXPECT_EQ(Continue(command), 1);
    EXPECT_EQ(g_AbortFlag, 0);
    ExpectDrilled(expected);
    // The resumed hole 5 is the second copy's second T1 hole: its tool is
    // prompted again, then T2 as usual.
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], "更換鑽頭 T2.\n直徑 40mil (1.016mm) ");
}

// A touch-off whose tool comes down on the board sets the tool's offset to
// the touched Z less the probed surface there; one that runs the whole way
// down without touching stops the job with a message instead.
TEST_P(DrillJobTest, TouchOffSetsTheOffsetOrStopsTheJob)
{
    // A probed surface 500 pulses down over the touch-off point, in use.
    g_SurfaceCompensation = 1;
    g_SurfaceGrid.m_GridSpacing = 10;
    g_SurfaceGrid.m_AreaRect = {0, 0, 2000, 2000};
    g_SurfaceGrid.m_Points = {{500, 0, 0}, {500, 2000, 0}, {500, 0, 2000}, {500, 2000, 2000}};
    m_View.detectPoint = CDPoint(100, 100);  // 508, 508 pulses
    g_JobCode = JOB_DRILL;
    ChangeTool(m_View, "T1", 1);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_DRILL);
    ExpectTouchZKept();
    EXPECT_EQ(g_MachineOffset, kSurfaceZ - 500);
    EXPECT_TRUE(m_View.timer);
    CControllerSimulator::State state = m_Sim.GetState();
    // Lifted the lift height and 1 mm over the board.
    EXPECT_EQ(state.position[2], kSurfaceZ - 2 * 200 - 200);

    // No board under the tool: the move ends at Z (10 + 25) mm.
    m_Sim.ClearSurface();
    g_MachineOffset = 123;
    ChangeTool(m_View, "T1", 1);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_MachineOffset, 0);
    ExpectTouchZKept();
    EXPECT_EQ(TestHost().BoxTexts().back(), LoadResString(IDS_TOUCH_FAILED_JOB_STOPPED));
    g_SurfaceCompensation = 0;
    g_SurfaceGrid.m_Points.clear();
}

// A real board: the holes the simulator drilled on two copies are the drill
// file's holes placed by the pipeline, within one pulse.
TEST_P(DrillJobTest, CorpusBoardHolesLandWhereThePipelinePutsThem)
{
    const std::string drill = CorpusPath("boards/D1MiniGSR/D1MiniGSR-PTH.drl");
    if (drill.empty())
        GTEST_SKIP() << "the corpus of real boards is not here";
    SetFreshDrillFormat(1);
    auto doc = std::make_unique<CVelmDoc>();
    doc->DetectDrillFormat(drill);
    doc->LoadDrillFile(drill);
    ASSERT_EQ(g_HoleList.size(), 2u);
    AddTail(m_View.blocks, Copy(1200, 1000, 500, 500));
    AddTail(m_View.blocks, Copy(3400, 1000, 500, 500))->m_Swap = 1;
    std::vector<std::string> shown;
    AnswerPrompts(2, shown);
    g_JobCode = JOB_DRILL;
    RunDrillJob(m_View);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(m_Sim.DrilledPositions().size(), 40u);
    ExpectDrilled(ExpectedHoles(m_View));
}

// The registration holes are machine positions in millimetres: "X10Y20"
// is drilled at 2000, 4000 pulses, through the board (3.7 mm below the
// touched surface while the drill depth is shallower than 3.5 mm), after
// the first drill's prompt with its colour in the language of the program
// and the two "Continue ?" stops of the confirming change. A text with only
// the tool line prompts and finishes all the same.
TEST_P(DrillJobTest, RegistrationHolesAtTheirMillimetrePositions)
{
    struct Case {
        const char* text;
        const char* language;
        std::vector<CDPoint> pulses;
        const char* colour;
    } cases[] = {
        {"T30C1.25\r\nX10.0Y20.0\r\nX150.0Y20.0\r\n", "ENGLISH", {{2000, 4000}, {30000, 4000}},
         " (black)"},
        {"T30C1.25\r\n", "CHINESE", {}, " (黑)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_HoleDataWnd.CreateOnce("holes");
        g_HoleDataWnd.Edit().ClearAll();
        g_HoleDataWnd.Edit().SetTextByUser(c.text);
        g_HoleDataWnd.ShowWindow(true);
        const std::vector<CRegistrationHole> holes = ReadRegistrationHoles();
        ASSERT_EQ(holes.size(), c.pulses.size());
        m_Sim.ClearDrilledPositions();
        m_Sim.ClearLog();
        std::vector<std::string> shown;
        AnswerPrompts(1, shown);
        const std::size_t boxes = TestHost().BoxTexts().size();
        g_JobCode = JOB_DRILL_REG_HOLES;
        DrillRegistrationHoles(m_View, holes, c.language);

        EXPECT_EQ(g_AbortFlag, 0);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], "更換鑽頭 T30.\n直徑 49.2125mil (1.25mm) " + std::string(c.colour));
        const std::vector<std::string> texts = TestHost().BoxTexts();
        ASSERT_EQ(texts.size(), boxes + 3);
        EXPECT_EQ(texts[boxes], "Continue ?");
        EXPECT_EQ(texts[boxes + 1], "Continue ?");
        EXPECT_EQ(texts[boxes + 2], "定位孔完成 !");
        ExpectDrilled(c.pulses);
        if (!holes.empty()) {
            const std::vector<long> z = ZMoves();
            EXPECT_EQ(std::count(z.begin(), z.end(), kSurfaceZ + 740L), 2);
        }
        EXPECT_FALSE(g_HoleDataWnd.Edit().GetReadOnly());
    }
}

// The preview visits each hole with the camera, which sits AX, AY pulses
// from the spindle; a hole the camera cannot reach is left out, and an
// offset longer than 50000 pulses is refused before anything moves.
TEST_P(DrillJobTest, PreviewVisitsTheHolesWithTheCamera)
{
    AddTool(1, 50.0f, 1, {{100, 100}, {2000, 1500}});
    AddTool(2, 40.0f, 0, {{300, 300}});  // not drilled: not visited
    AddTail(m_View.blocks, Copy(0, 0, 0, 0));
    struct Case {
        std::int32_t ax, ay;
        std::size_t visits;
    } cases[] = {{30000, 40000, 0}, {50001, 0, 0}, {600, -300, 1}, {0, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ax) + ", " + std::to_string(c.ay));
        RegSetLongValue("AX", c.ax);
        RegSetLongValue("AY", c.ay);
        const std::size_t boxes = TestHost().BoxTexts().size();
        g_JobCode = JOB_DRILL_PREVIEW;
        RunDrillPreview(m_View);
        const std::vector<std::string> texts = TestHost().BoxTexts();
        ASSERT_GT(texts.size(), boxes);
        if (c.ax == 50001) {
            EXPECT_EQ(texts.back(), "Lens Offset Error !");
            continue;
        }
        EXPECT_EQ(texts[boxes], "Adjust Focus\t..");
        std::size_t visits = 0;
        for (const std::array<double, 2>& stop : TableStops()) {
            for (const auto& hole : g_HoleList[0]->holes) {
                if (std::fabs(stop[0] - (hole->x * g_PulsesPerMil - c.ax)) <= 1.0 &&
                    std::fabs(stop[1] - (hole->y * g_PulsesPerMil - c.ay)) <= 1.0)
                    ++visits;
            }
        }
        EXPECT_EQ(visits, c.visits);
        EXPECT_EQ(g_JobCode, JOB_IDLE);
        m_Sim.ClearLog();
    }
    EXPECT_TRUE(m_Sim.DrilledPositions().empty());
}

// "Tool simulation" in the prompt: a drill larger than the router is milled
// (the router's message, plunge speed 2, large-hole mode); a drill smaller
// than the router, or of unknown size, is refused and the prompt comes
// again. The size in mm is the mil size / 39.37.
TEST_P(DrillJobTest, ToolSimulationChoosesTheRouterOnlyForLargerHoles)
{
    struct Case {
        float drillMil;
        std::vector<std::string> boxes;
        int large;
    } cases[] = {
        {78.74f, {"請更換直徑1.5 mm成型刀 !"}, 1},  // 2.0 mm
        // 1.5 mm: no larger than the router (by 39.2 it would be 1.507 mm).
        {59.055f, {"孔徑太小,無法使用刀具模擬 !"}, 0},
        {39.37f, {"孔徑太小,無法使用刀具模擬 !"}, 0},
        {0.0f, {"鑽頭尺寸未設定,無法使用刀具模擬功能 !"}, 0},
    };
    g_SimToolSize = 1.5f;
    g_SkipProbeTest = 1;  // no touch-off: only the prompt is looked at
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drillMil);
        g_ToolSizes[5] = c.drillMil;
        g_CurrentToolNo = 5;
        g_PlungeSpeed = 10.0f;
        m_View.large = 0;
        int prompts = 0;
        for (int i = 0; i < (c.large ? 1 : 2); ++i)
            TestHost().QueueDialog(
                [&prompts](CDialog& dlg) {
                    ++prompts;
                    dlg.CheckDlgButton(IDC_PS_SIMULATE, prompts == 1);
                    dlg.PressButton(IDOK);
                },
                IDD_PLUNGE_SPEED);
        const std::size_t before = TestHost().BoxTexts().size();
        g_JobCode = JOB_DRILL;
        ChangeTool(m_View, "T5", 0);
        const std::vector<std::string> texts = TestHost().BoxTexts();
        EXPECT_EQ(std::vector<std::string>(texts.begin() + static_cast<long>(before), texts.end()),
                  c.boxes);
        EXPECT_EQ(m_View.large, c.large);
        EXPECT_EQ(prompts, c.large ? 1 : 2);
        EXPECT_EQ(g_PlungeSpeed, c.large ? 2.0f : 10.0f);
    }
}

// Engraving the registration holes: beside each hole the surface is touched
// off, the circle of 90 mil is cut 20 pulses below that surface around the
// hole's centre, and the job code comes back after each hole.
TEST_P(DrillJobTest, RegistrationHoleEngravingCirclesEachHole)
{
    const std::vector<CRegistrationHole> holes = {{CDPoint(393.7008, 787.4016), 1}};
    m_Sim.ClearLog();
    m_Sim.SetCutLevel(kSurfaceZ + 1);
    g_JobCode = JOB_ENGRAVE_REG_HOLES;
    EngraveRegistrationHoles(m_View, holes);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    if (Ascii()) {
        EXPECT_EQ(LogLines("33 CA"), std::vector<std::string>{"33 CA2000.0,4000.0,360.00"});
    }
    const std::vector<CControllerSimulator::ToolPathMove> circles = m_Sim.ToolPath();
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_TRUE(circles[0].arc);
    EXPECT_NEAR(circles[0].centre[0], 2000.0, 1.0);
    EXPECT_NEAR(circles[0].centre[1], 4000.0, 1.0);
    EXPECT_NEAR(std::fabs(circles[0].sweep), 360.0, 0.01);
    EXPECT_EQ(circles[0].from, circles[0].to);
    const std::vector<CSimCut> cuts = m_Sim.Cuts();
    EXPECT_EQ(std::count_if(cuts.begin(), cuts.end(),
                            [](const CSimCut& cut) { return cut.z == kSurfaceZ + 20; }),
              1);
    // The cutter goes into the board once, on the circle's right edge.
    ExpectDrilled({CDPoint(2000 + 45 * 5.08, 4000)});
}

// A change without detection touches nothing: the contact stop never armed and
// the offset kept; the height re-test touches off on the nearer Y edge of
// the machining area and gives the running job its code back.
TEST_P(DrillJobTest, ChangeWithoutDetectionAndTheHeightRetest)
{
    g_MachineOffset = 77;
    g_JobCode = JOB_ENGRAVE;
    m_Sim.ClearLog();
    ChangeTool(m_View, "T1", 0);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_ENGRAVE);
    EXPECT_EQ(m_Sim.ContactStopArmings(), 0);
    EXPECT_EQ(g_MachineOffset, 77);
    EXPECT_TRUE(m_View.timer);

    m_Sim.SetPosition(1, 7000);  // nearer the bottom edge (Y 10000)
    // The binary link counts its moves from the counters it last read.
    if (!Ascii())
        g_BinLink.UpdatePositionIfIdle();
    g_JobCode = JOB_ROUTE;
    m_Sim.ClearLog();
    ProbeToolHeight(m_View);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_ROUTE);
    EXPECT_EQ(g_MachineOffset, kSurfaceZ);
    const std::vector<CControllerSimulator::CommandedMove> moves = m_Sim.CommandedMoves();
    const auto tableMove = std::find_if(moves.begin(), moves.end(), [](const auto& move) {
        return move.axes[0] || move.axes[1];
    });
    ASSERT_NE(tableMove, moves.end());
    EXPECT_EQ(tableMove->target[1], 10000);
}

// Three pecks: (on the ASCII road) down to the touched surface, then each
// peck goes a third of the way from the lift height to the drilling depth
// deeper than the last, coming back up to the lift height after each.
TEST_P(DrillJobTest, PecksStepDownFromTheLiftHeight)
{
    AddTool(1, 50.0f, (3 << 4) | 3, {{100, 100}});
    AddTail(m_View.blocks, Copy(1000, 1000, 400, 300));
    std::vector<std::string> shown;
    AnswerPrompts(1, shown);
    g_JobCode = JOB_DRILL;
    RunDrillJob(m_View);
    ASSERT_EQ(g_AbortFlag, 0);
    const std::vector<long> z = ZMoves();
    // After the touch-off (2000, 7000, 2800) and the lift (2400): the hole.
    std::vector<long> hole = {2200, 2600, 2200, 2600, 3000, 2200, 3000, 3400, 2200};
    if (Ascii()) {
        // The first move goes to the touch height, which the binary link
        // keeps as its stored Z; on the binary road that Z follows every
        // move, so there the move is to where Z stands, and, like the last
        // lift to the lift height Z already has, sends no distance at all.
        hole.insert(hole.begin(), 3000);
        hole.push_back(2200);
    }
    ASSERT_GE(z.size(), 4 + hole.size());
    EXPECT_EQ(std::vector<long>(z.begin() + 4, z.begin() + 4 + static_cast<long>(hole.size())), hole);
    EXPECT_EQ(m_Sim.DrilledPositions().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, DrillJobTest, ::testing::Values(Kind::Binary, Kind::Ascii),
                         ProtocolName);

}  // namespace
