// Manual drilling and engraving against the simulated controller, in both
// protocols: the operator's pointer and keys are played between the passes
// of the run's loop. One hole, then a size on every copy, are drilled where
// the panel puts them at the run's own plunge speed; STOP in the middle of a
// size sends nothing more; a key let go drops its request; a dragged line is
// cut from its start to its end.
#include "link_fixture.h"

#include "geometry/registration.h"
#include "link/job_codes.h"
#include "link/working_depth.h"
#include "machining/homing.h"
#include "machining/machine_setup.h"
#include "machining/manual_runs.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Kind = CControllerSimulator::Kind;

constexpr std::int32_t kSurfaceZ = 3000;

class CManualRunView : public CRunnerView {
public:
    COwnedList<CLayoutBlock> blocks;
    int resume = 0, request = 0, large = 0;
    bool timer = false;
    std::vector<std::string> changes;

    void MachineHome() override { ::MachineHome(ResetController); }
    void StartTimer() override { timer = true; }
    void StopTimer() override { timer = false; }
    // The change as the operator confirms it without a height detection:
    // the surface detection that homing switched on is off again, so the
    // drill goes into the board, and the spindle runs.
    void ChangeTool(const std::string& prompt, int) override
    {
        changes.push_back(prompt);
        g_MachineLink.CmdDL3();
        g_MachineLink.Send();
    }
    const COwnedList<CLayoutBlock>& Blocks() const override { return blocks; }
    int& ResumeCount() override { return resume; }
    int& ToolChangeRequest() override { return request; }
    int& LargeHoleMode() override { return large; }
};

std::unique_ptr<CLayoutBlock> Copy(double cx, double cy, double rx, double ry)
{
    auto block = std::make_unique<CLayoutBlock>();
    block->m_Centre = CDPoint(cx, cy);
    block->m_RefCentre = CDPoint(rx, ry);
    return block;
}

void AddTool(int number, float diameter, std::vector<CDPoint> holes)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = number;
    tool->diameter = diameter;
    tool->mode = 1;
    for (const CDPoint& p : holes)
        AddTail(tool->holes, std::make_unique<CDPoint>(p));
    AddTail(g_HoleList, std::move(tool));
}

class ManualRunTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(GetParam());
        g_PortState = 0;
        g_MachineModel = "KX1100";
        ResetController();
        g_SkipProbeTest = 0;
        g_FixedPlungeMode = 0;
        g_ZTop = 10.0f;
        g_DrillDepth = 2.0f;
        g_EngraveDepth = 0.1f;
        g_LiftHeight = 2.0f;
        g_LiftSpeed = 50.0f;
        g_PlungeSpeed = 7.5f;
        g_RapidSpeed = 100.0f;
        g_EngraveSpeed = 5.0f;
        g_MachineOffset = kSurfaceZ;
        g_TargetCount = 0;
        g_LayoutExtent = {1000, 1000, 20000, 10000};
        g_HoleList.clear();
        m_Sim.SetSurface(kSurfaceZ);
        m_Sim.SetDrillLevel(kSurfaceZ + 1);
        AddTool(1, 40.0f, {{100, 100}, {300, 200}});
        AddTool(2, 60.0f, {{500, 400}, {200, 500}});
        AddTail(m_View.blocks, Copy(1000, 1000, 400, 300));
        AddTail(m_View.blocks, Copy(2500, 1000, 400, 300))->m_Sign = POINT{-1, 1};
        TestHost().OnPump([this](int) { OnPump(); });
    }
    void TearDown() override
    {
        g_HoleList.clear();
        LinkTest::TearDown();
    }
    bool Ascii() const { return GetParam() == Kind::Ascii; }

    // The operator's next act, played at the head of a loop pass: once the
    // run has started, when the pass before has used up every request.
    void OnPump()
    {
        if (m_View.timer && !g_PositionPollOff)
            ReadPositionReply(0);
        if (m_BeforePump)
            m_BeforePump();
        if (g_StatusText.rfind("下刀深度", 0) == 0)
            m_Started = true;
        const CDPoint none(0.0, 0.0);
        const bool requestsOpen = m_Ctrl || m_Shift || m_Tab;
        if (!m_Started || !(m_A == none) || !(m_B == none) || (requestsOpen && !m_ActWhileHeld))
            return;
        if (m_Acts.empty()) {
            m_Mode = 0;
            return;
        }
        auto act = std::move(m_Acts.front());
        m_Acts.erase(m_Acts.begin());
        act();
    }
    // Runs `run` as the job gate starts it, with the log cleared.
    void RunManual(int code, void (*run)(CRunnerView&, CManualControls&))
    {
        g_JobCode = code;
        m_Sim.ClearLog();
        CManualControls controls = Controls();
        run(m_View, controls);
    }
    // The run ended as the mode was switched off: no abort, idle, its
    // mode flag cleared.
    void ExpectSwitchedOff()
    {
        EXPECT_EQ(g_AbortFlag, 0);
        EXPECT_EQ(g_JobCode, JOB_IDLE);
        EXPECT_EQ(m_Mode, 0);
    }
    CManualControls Controls()
    {
        return CManualControls{m_Mode, m_A, m_B, m_Ctrl, m_Shift, m_Tab, m_ToolChanged};
    }
    // Where hole `h` of tool `t` goes on copy `b`, in mil and in pulses.
    CDPoint Placed(std::size_t t, std::size_t b, std::size_t h)
    {
        return PlaceOnPanel(*m_View.blocks[b], *g_HoleList[t]->holes[h]);
    }
    CDPoint Machine(std::size_t t, std::size_t b, std::size_t h)
    {
        return BoardToMachine(*m_View.blocks[b], *g_HoleList[t]->holes[h], EAlign::Registration);
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

    CManualRunView m_View;
    int m_Mode = 1, m_Ctrl = 0, m_Shift = 0, m_Tab = 0, m_ToolChanged = 0;
    CDPoint m_A, m_B;
    bool m_Started = false;
    // The next act comes while a key is still held.
    bool m_ActWhileHeld = false;
    std::vector<std::function<void()>> m_Acts;
    std::function<void()> m_BeforePump;
};

// One hole with C held over it, then the second size on every copy with
// Tab: the first size asks for a change (No still drills), the second is
// changed on Yes; the plunges go at the run's 3 mm/s while the machine
// parameter keeps its value; the end lifts Z to 0 before XY go home.
TEST_P(ManualRunTest, OneHoleThenASizeOnEveryCopy)
{
    m_Acts.push_back([&] {
        m_A = Placed(0, 1, 1) + CDPoint(3.0, -2.0);  // inside the 20 mil radius
        m_Ctrl = 1;
    });
    m_Acts.push_back([&] {
        m_A = Placed(1, 0, 0);
        m_Tab = 1;
    });
    TestHost().QueueAnswer(IDNO);
    TestHost().QueueAnswer(IDYES);

    RunManual(JOB_MANUAL_DRILL, ManualDrill);

    ExpectSwitchedOff();
    EXPECT_FALSE(m_View.timer);
    ExpectDrilled({Machine(0, 1, 1), Machine(1, 0, 0), Machine(1, 0, 1), Machine(1, 1, 0),
                   Machine(1, 1, 1)});
    EXPECT_EQ(TestHost().BoxTexts(),
              (std::vector<std::string>{"是否要更換刀具 ?", "是否要更換刀具 ?"}));
    // The start's change, then the second size's on Yes.
    ASSERT_EQ(m_View.changes.size(), 2u);
    EXPECT_EQ(m_View.changes[0], "更換刀具 !");
    EXPECT_EQ(m_View.changes[1], FormatResText(IDS_TOOL_SIZE, 60.0 / 39.37));
    EXPECT_FLOAT_EQ(g_PlungeSpeed, 7.5f);
    if (Ascii()) {
        EXPECT_EQ(LogLines("22 SP600").size(), 5u);  // one plunge a hole at 3 mm/s
        const auto log = m_Sim.Log();
        // The last two moves: Z up to 0, then X and Y home.
        std::vector<std::string> moves;
        for (const std::string& line : log)
            if (line.find(" MA") != std::string::npos)
                moves.push_back(line);
        ASSERT_GE(moves.size(), 2u);
        EXPECT_EQ(moves[moves.size() - 2], "22 MA0.0");
        EXPECT_EQ(moves.back(), "33 MA0.0,0.0");
    }
}

// Shift drills the pointed size in the pointed copy only; a right click
// moves there with the tool up; overlapping holes give the first one found.
TEST_P(ManualRunTest, ASizeInOneCopyAndAPositioningMove)
{
    m_Acts.push_back([&] {
        m_A = Placed(0, 1, 0);
        m_Shift = 1;
    });
    m_Acts.push_back([&] { m_B = CDPoint(2000.0, 1500.0); });
    TestHost().QueueAnswer(IDNO);

    RunManual(JOB_MANUAL_DRILL, ManualDrill);

    ExpectDrilled({Machine(0, 1, 0), Machine(0, 1, 1)});
    if (Ascii()) {
        EXPECT_EQ(LogLines("33 MA10160.0,7620.0").size(), 1u);
    }
}

// STOP pressed while a size is drilled on every copy: the hole under way
// is the last, nothing at all is sent after the stop's own frames, and the
// return moves are skipped.
TEST_P(ManualRunTest, StopDuringASizeSendsNothingMore)
{
    m_Acts.push_back([&] {
        m_A = Placed(1, 0, 0);
        m_Tab = 1;
        // Moves that take a while, so the waits pump and STOP can come.
        m_Sim.SetTimeScale(0.02);
    });
    TestHost().QueueAnswer(IDNO);
    std::size_t logAtStop = 0;
    m_BeforePump = [&] {
        if (logAtStop == 0 && m_Sim.DrilledPositions().size() == 2) {
            g_PositionDlg.PressButton(IDC_POS_STOP);
            // The stop's own frames have reached the controller.
            Settle();
            logAtStop = m_Sim.Log().size();
        }
    };

    RunManual(JOB_MANUAL_DRILL, ManualDrill);

    ASSERT_NE(logAtStop, 0u);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    EXPECT_EQ(m_Mode, 0);
    EXPECT_EQ(m_Sim.DrilledPositions().size(), 2u);
    // A stray frame has arrived before the log is looked at.
    Settle();
    const auto log = m_Sim.Log();
    std::vector<std::string> after(log.begin() + static_cast<long>(std::min(logAtStop, log.size())),
                                   log.end());
    // Only queries may follow (the stopped wait's last poll): no command.
    for (const std::string& line : after)
        EXPECT_EQ(line.back(), '?') << line;
    EXPECT_FALSE(g_PositionDlg.IsVisible());
}

// C pressed with the pointer over no hole and let go again: the request is
// dropped, so a hole the pointer crosses afterwards is not drilled.
TEST_P(ManualRunTest, AReleasedKeyDrillsNothingLater)
{
    m_Acts.push_back([&] {
        m_A = CDPoint(5.0, 5.0);  // no hole there
        m_Ctrl = 1;
    });
    m_Acts.push_back([&] {
        CManualControls controls = Controls();
        ReleaseManualKey('C', controls);
        m_A = Placed(0, 0, 0);
    });
    m_ActWhileHeld = true;

    RunManual(JOB_MANUAL_DRILL, ManualDrill);

    EXPECT_TRUE(m_Sim.DrilledPositions().empty());
    EXPECT_EQ(g_StatusText, FormatResText(IDS_DRILL_SIZE, 40.0 / 39.37));
}

// A dragged line with C held: down at its start, a straight cut to its end
// at the engraving speed, up again; a drag from board (0,0) only moves.
TEST_P(ManualRunTest, EngravedLineRunsFromItsStartToItsEnd)
{
    m_Acts.push_back([&] {
        m_A = CDPoint(1000.0, 1000.0);
        m_B = CDPoint(2000.0, 1000.0);
    });
    m_Acts.push_back([&] { m_B = CDPoint(1500.0, 1500.0); });

    RunManual(JOB_MANUAL_ENGRAVE, ManualEngrave);

    ExpectSwitchedOff();
    if (Ascii()) {
        EXPECT_EQ(LogLines("33 MA5080.0,5080.0").size(), 1u);
        EXPECT_EQ(LogLines("33 VA10160.0,5080.0").size(), 1u);
        EXPECT_EQ(LogLines("33 MA7620.0,7620.0").size(), 1u);
    }
    EXPECT_FLOAT_EQ(g_PlungeSpeed, 7.5f);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, ManualRunTest, ::testing::Values(Kind::Ascii, Kind::Binary),
                         ProtocolName);

// The hole search: the first hole in copy, tool and hole order within its
// radius; a pointer on the rim finds nothing.
TEST(ManualHoleSearch, FirstHoleWithinItsRadius)
{
    COwnedList<CDrillTool> tools;
    for (float diameter : {40.0f, 100.0f}) {
        auto tool = std::make_unique<CDrillTool>();
        tool->diameter = diameter;
        AddTail(tool->holes, std::make_unique<CDPoint>(100.0, 100.0));
        AddTail(tools, std::move(tool));
    }
    COwnedList<CLayoutBlock> blocks;
    AddTail(blocks, Copy(0, 0, 0, 0));
    AddTail(blocks, Copy(1000, 0, 0, 0));
    struct Case {
        CDPoint pointer;
        bool found;
        std::size_t tool, block;
    } cases[] = {
        {{110, 100}, true, 0, 0},    // both sizes overlap: the first tool
        {{130, 100}, true, 1, 0},    // beyond the small one's radius
        {{150, 100}, false, 0, 0},   // on the large one's rim
        {{1100, 100}, true, 0, 1},   // the second copy
    };
    for (const Case& c : cases) {
        const CManualHole hole = FindManualHole(blocks, tools, c.pointer);
        EXPECT_EQ(hole.found, c.found) << c.pointer.x;
        if (c.found) {
            EXPECT_EQ(hole.tool, c.tool) << c.pointer.x;
            EXPECT_EQ(hole.block, c.block) << c.pointer.x;
        }
    }
}

}  // namespace
