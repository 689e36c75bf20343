// The path jobs against the simulated controller: the tool-down path the
// simulator records is the jobs' geometry placed on the panel copies, one
// plunge per chain of touching segments and nothing else cut; the arcs end
// where the copy's orientation puts them; the outline goes down in passes;
// the engraving prompts follow the tool size and distance; STOP and
// Continue cut every segment once, and the combined job resumes in milling;
// STOP and the outline's range resume cut every route segment once; a new
// layer's depth waits for its tool. On both controllers.
#include "link_fixture.h"
#include "sim_runner_view.h"

#include "document/velm_doc.h"
#include "link/job_codes.h"
#include "link/working_depth.h"
#include "machining/homing.h"
#include "machining/job_gate.h"
#include "machining/machine_setup.h"
#include "machining/machine_timer.h"
#include "machining/path_jobs.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/tool_change.h"
#include "machining/work_range.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/planner_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/test_paths.h"

#include "../bench/bench_boards.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Kind = CControllerSimulator::Kind;
using Cut = CControllerSimulator::ToolPathMove;

constexpr std::int32_t kSurfaceZ = 3000;

// A job command through the gate, running the path job of its code.
class CPathCommand : public CJobContext {
public:
    CPathCommand(CSimRunnerView& view, CPathJobData& data) : m_View(view), m_Data(data) {}
    void RunRunner(int code, unsigned start) override
    {
        if (code == JOB_ISOLATE)
            RunIsolationJob(m_View, m_Data);
        else if (code == JOB_MILL)
            RunMillJob(m_View, m_Data, static_cast<int>(start));
        else if (code == JOB_ISOLATE_MILL)
            RunIsolateAndMill(m_View, m_Data, static_cast<int>(start));
        else if (code == JOB_ENGRAVE)
            RunEngraveJob(m_View, m_Data);
    }
    int RunProbeTest() override { return IDOK; }
    int& ResumeCount() override { return m_View.resume; }

private:
    CSimRunnerView& m_View;
    CPathJobData& m_Data;
};

std::unique_ptr<CLayoutBlock> Copy(double cx, double cy, std::uint32_t swap = 0, POINT sign = {1, 1})
{
    auto block = std::make_unique<CLayoutBlock>();
    block->m_Centre = CDPoint(cx, cy);
    block->m_RefCentre = CDPoint(500, 500);
    block->m_Swap = swap;
    block->m_Sign = sign;
    return block;
}

void AddIso(COwnedList<CGridPathSegment>& list, CDPoint a, CDPoint b, int type = 0,
            CDPoint c = CDPoint(0, 0))
{
    auto s = std::make_unique<CGridPathSegment>();
    s->x1 = float(a.x), s->y1 = float(a.y), s->x2 = float(b.x), s->y2 = float(b.y);
    s->cx = float(c.x), s->cy = float(c.y);
    s->type = static_cast<std::uint8_t>(type);
    AddTail(list, std::move(s));
}

// Layers of straight segments in a row, for the engraving jobs.
std::unique_ptr<CPathRecord> RowLayer(const char* name, int side, float size, int segments)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->name = name;
    layer->side = side;
    layer->size = size;
    for (int i = 0; i < segments; ++i) {
        auto s = std::make_unique<CPathSegment>();
        s->x1 = 100 + 200 * i, s->y1 = 100, s->x2 = 250 + 200 * i, s->y2 = 100;
        AddTail(layer->items, std::move(s));
    }
    return layer;
}

// An expected tool-down move in machine pulses, and the chain it belongs to.
struct CExpectedCut {
    CDPoint from, to;
    int chain;
};

// A layer of straight segments from point to point.
std::unique_ptr<CPathRecord> PolyLayer(const char* name, int side, float size, float depth,
                                       const std::vector<CDPoint>& points)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->name = name;
    layer->side = side;
    layer->size = size;
    layer->depth = depth;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        auto s = std::make_unique<CPathSegment>();
        s->x1 = points[i].x, s->y1 = points[i].y, s->x2 = points[i + 1].x, s->y2 = points[i + 1].y;
        AddTail(layer->items, std::move(s));
    }
    return layer;
}

// The view timer's tick as the program runs it between the runner's polls:
// the position read and, while a job that follows the surface runs, Z sent
// to the working depth again.
class CTickView : public CMachineTimerView {
public:
    void StartTimer(unsigned) override {}
    void StopTimer() override {}
    int JoystickOn() const override { return 0; }
    int& MonitorOn() override { return monitor; }
    int monitor = 0;
};

class PathJobTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(GetParam());
        if (!Ascii())
            ResetController();  // absolute moves on the binary road
        g_PortState = 0;
        g_MachineModel = "KX1100";
        g_ToolChangePosition = 0;
        g_SkipProbeTest = 0;
        g_FixedPlungeMode = 0;
        g_ZTop = 10.0f;
        g_EngraveDepth = 0.1f;
        g_RouteDepth = 1.6f;
        g_RouteAutoFlag = 1;
        g_LiftHeight = 2.0f;
        g_LiftSpeed = 50.0f;
        g_RapidSpeed = 100.0f;
        g_RouteSpeed = 10.0f;
        g_EngraveSpeed = 10.0f;
        g_ParamM19 = 5.0f;
        g_ToolDistance = 0;
        g_CheckTime = 0;
        g_CurrentSide = 0;
        g_PlungeOffsetPulses = 0;
        g_MachineOffset = 0;
        g_SurfaceGrid.m_Points.clear();
        g_LayoutExtent = {0, 0, 20000, 10000};
        m_Sim.SetSurface(kSurfaceZ);
        m_Sim.SetCutLevel(kSurfaceZ + 1);
        m_Data.isoSegments = &m_Iso;
        m_Data.regions = &m_Regions;
        m_Data.layers = &m_Layers;
        TestHost().OnPump([this](int) { Poll(); });
    }
    bool Ascii() const { return GetParam() == Kind::Ascii; }
    // The view timer's position poll, between the runner's polls.
    void Poll()
    {
        if (m_View.timer && !g_PositionPollOff)
            ReadPositionReply(0);
    }
    // The whole tick between the runner's polls: the poll and the Z sent
    // again. A tick that waits for the controller pumps too; no tick starts
    // inside another.
    void TickBetweenPolls()
    {
        TestHost().OnPump([this, ticking = false](int) mutable {
            if (ticking || !m_View.timer || g_PositionPollOff)
                return;
            ticking = true;
            ReadPositionReply(0);
            UpdatePositionDisplay(m_Tick);
            ticking = false;
        });
    }
    // Answers tool-change prompts with OK.
    void AnswerPrompts(int count)
    {
        for (int i = 0; i < count; ++i)
            TestHost().QueueDialog([](CDialog& dlg) { dlg.PressButton(IDOK); }, IDD_PLUNGE_SPEED);
    }
    // The isolation segments placed on every copy, as chains of touching
    // segments; a new copy starts a new chain.
    std::vector<CExpectedCut> ExpectedIso()
    {
        std::vector<CExpectedCut> cuts;
        int chain = 0;
        for (const auto& block : m_View.blocks) {
            const CGridPathSegment* previous = nullptr;
            for (const auto& s : m_Iso) {
                if (s->doneMark) {
                    previous = nullptr;
                    continue;
                }
                if (!previous || previous->x2 != s->x1 || previous->y2 != s->y1)
                    ++chain;
                cuts.push_back({BoardToMachine(*block, CDPoint(s->x1, s->y1), EAlign::None),
                                BoardToMachine(*block, CDPoint(s->x2, s->y2), EAlign::None), chain});
                previous = s.get();
            }
        }
        return cuts;
    }
    // The simulator's record of the tool-down moves. The binary link ends
    // each arc with a line move to the exact end, a pulse or two where the
    // whole pulses it gave the arc miss that end; such a move is taken as
    // the arc's last piece.
    std::vector<Cut> CutMoves()
    {
        std::vector<Cut> cuts;
        for (const Cut& move : m_Sim.ToolPath()) {
            if (!cuts.empty() && cuts.back().arc && !move.arc && move.plunge == cuts.back().plunge &&
                std::abs(move.to[0] - move.from[0]) <= 2 && std::abs(move.to[1] - move.from[1]) <= 2) {
                cuts.back().to = move.to;
                continue;
            }
            cuts.push_back(move);
        }
        return cuts;
    }
    // How near an arc's sweep comes to its degrees: the binary controller
    // is given its centre and end in whole pulses.
    double SweepTolerance() const { return Ascii() ? 0.01 : 0.5; }
    // The simulator's record equals `expected` move by move within one
    // pulse, each chain begun by one plunge of its own.
    void ExpectCut(const std::vector<CExpectedCut>& expected)
    {
        const std::vector<Cut> cuts = CutMoves();
        ASSERT_EQ(cuts.size(), expected.size());
        int chains = 0;
        for (std::size_t i = 0; i < cuts.size(); ++i) {
            EXPECT_NEAR(cuts[i].from[0], expected[i].from.x, 1.0) << "move " << i;
            EXPECT_NEAR(cuts[i].from[1], expected[i].from.y, 1.0) << "move " << i;
            EXPECT_NEAR(cuts[i].to[0], expected[i].to.x, 1.0) << "move " << i;
            EXPECT_NEAR(cuts[i].to[1], expected[i].to.y, 1.0) << "move " << i;
            if (i == 0 || expected[i].chain != expected[i - 1].chain) {
                ++chains;
                EXPECT_TRUE(i == 0 || cuts[i].plunge != cuts[i - 1].plunge) << "move " << i;
            } else {
                EXPECT_EQ(cuts[i].plunge, cuts[i - 1].plunge) << "move " << i;
            }
        }
        EXPECT_EQ(m_Sim.Plunges(), chains);
    }
    void Press(long atCount)
    {
        TestHost().OnPump([this, atCount, pressed = false](int) mutable {
            Poll();
            std::int32_t count = 0;
            RegGetLong("count", count);
            if (!pressed && count == atCount && g_JobCode != JOB_IDLE) {
                pressed = true;
                g_PositionDlg.PressButton(IDC_POS_STOP);
            }
        });
    }
    // Machine/Home clears the stop; Continue goes back no records and
    // answers `prompts` tool changes.
    void ContinueFromStop(int prompts)
    {
        TestHost().OnPump([this](int) { Poll(); });
        g_AbortFlag = 0;
        TestHost().QueueDialog([](CDialog& dlg) {
            dlg.Control(1046).text = "0";
            dlg.PressButton(IDOK);
        });
        AnswerPrompts(prompts);
    }

    CSimRunnerView m_View;
    CTickView m_Tick;
    COwnedList<CGridPathSegment> m_Iso;
    COwnedList<CClearRegion> m_Regions;
    COwnedList<CPathRecord> m_Layers;
    CPathJobData m_Data;
};

// A chain of a line, an arc and a line that starts at the copy's centre, a
// lone line and a segment set aside, on a plain copy and on one turned over:
// each chain is one plunge, the set-aside segment is not cut, and the chain
// on the second copy is reached by its own travel, though it starts where
// the copy's centre is.
TEST_P(PathJobTest, IsolationCutsThePlacedChainsOnePlungeEach)
{
    AddIso(m_Iso, {500, 500}, {500, 400});
    AddIso(m_Iso, {500, 400}, {600, 500}, 1, {500, 500});
    AddIso(m_Iso, {600, 500}, {600, 700});
    AddIso(m_Iso, {500, 500}, {520, 500});
    AddIso(m_Iso, {700, 700}, {800, 700});
    m_Iso.back()->doneMark = 1;
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000, 1));
    g_JobCode = JOB_ISOLATE;
    AnswerPrompts(1);

    RunIsolationJob(m_View, m_Data);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    ASSERT_FALSE(m_View.prompts.empty());
    EXPECT_EQ(m_View.prompts[0], "更換90度雕刻刀 (黃) !");
    EXPECT_EQ(m_View.prompts.size(), 1u);
    ExpectCut(ExpectedIso());
    const std::vector<Cut> cuts = CutMoves();
    ASSERT_EQ(cuts.size(), 8u);
    EXPECT_TRUE(cuts[1].arc);
    // The quarter turn runs the other way round on the copy turned over.
    EXPECT_NEAR(cuts[1].sweep, 90.0, SweepTolerance());
    EXPECT_NEAR(cuts[5].sweep, -90.0, SweepTolerance());
    std::int32_t count = -1;
    RegGetLong("count", count);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(m_View.timer);
}

// One arc of each direction on a copy of every swap and sign pair: the
// controller's arc ends where the copy places the segment's end.
TEST_P(PathJobTest, ArcsEndWherePlacedForEveryOrientation)
{
    AddIso(m_Iso, {600, 500}, {500, 600}, 1, {500, 500});
    AddIso(m_Iso, {500, 600}, {400, 500}, 2, {500, 500});
    AddIso(m_Iso, {400, 500}, {400, 500}, 1, {500, 500});  // a full circle
    int at = 0;
    for (std::uint32_t swap : {0u, 1u})
        for (POINT sign : {POINT{1, 1}, POINT{1, -1}, POINT{-1, 1}, POINT{-1, -1}})
            AddTail(m_View.blocks, Copy(1000 + 600 * at++, 1000, swap, sign));
    g_JobCode = JOB_ISOLATE;
    AnswerPrompts(1);

    RunIsolationJob(m_View, m_Data);

    EXPECT_EQ(g_AbortFlag, 0);
    ExpectCut(ExpectedIso());
    const std::vector<Cut> cuts = CutMoves();
    ASSERT_EQ(cuts.size(), 24u);
    for (std::size_t i = 0; i < cuts.size(); i += 3) {
        const CLayoutBlock& block = *m_View.blocks[i / 3];
        const double turn = CopyMirrors(block) ? -1.0 : 1.0;
        EXPECT_NEAR(cuts[i].sweep, 90.0 * turn, SweepTolerance()) << "copy " << i / 3;
        EXPECT_NEAR(cuts[i + 1].sweep, -270.0 * turn, SweepTolerance()) << "copy " << i / 3;
        EXPECT_NEAR(cuts[i + 2].sweep, 360.0 * turn, SweepTolerance()) << "copy " << i / 3;
        const CDPoint centre = BoardToMachine(block, CDPoint(500, 500), EAlign::None);
        for (std::size_t k = i; k < i + 3; ++k) {
            EXPECT_NEAR(cuts[k].centre[0], centre.x, 1.0) << "move " << k;
            EXPECT_NEAR(cuts[k].centre[1], centre.y, 1.0) << "move " << k;
        }
    }
}

// STOP during the isolation, then Continue going back no records: every
// segment is cut once, the interrupted one where the job left off.
TEST_P(PathJobTest, IsolationStopThenContinueCutsEverySegmentOnce)
{
    for (int i = 0; i < 4; ++i) {
        AddIso(m_Iso, {100.0 + 100 * i, 100}, {150.0 + 100 * i, 100});
        AddIso(m_Iso, {150.0 + 100 * i, 100}, {150.0 + 100 * i, 200});
    }
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000));
    const std::vector<CExpectedCut> expected = ExpectedIso();
    CPathCommand command(m_View, m_Data);
    Press(11);
    AnswerPrompts(1);
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ISOLATE, command), 1);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(m_Sim.ToolPath().size(), 11u);
    std::string work;
    RegGetString("WORK", work);
    EXPECT_EQ(work, "ISOLATE");

    ContinueFromStop(1);
    EXPECT_EQ(Continue(command), 1);
    EXPECT_EQ(g_AbortFlag, 0);
    // The resumed segment starts a chain of its own: one more plunge.
    std::vector<CExpectedCut> resumed = expected;
    for (std::size_t i = 11; i < resumed.size(); ++i)
        resumed[i].chain += 100;
    ExpectCut(resumed);
}

// Milling: strokes cut forwards, backwards from a shared end, a stroke that
// ends on the axis (x 0.0) cut like any other, a zero-length stroke and a
// set-aside one passed over; every copy starts with a plunge.
class MillJobTest : public PathJobTest {
protected:
    void AddRegion(int step, std::vector<std::array<float, 4>> strokes)
    {
        auto region = std::make_unique<CClearRegion>();
        region->step = step;
        for (const auto& s : strokes) {
            auto stroke = std::make_unique<CClearStroke>();
            stroke->x1 = s[0], stroke->y1 = s[1], stroke->x2 = s[2], stroke->y2 = s[3];
            AddTail(region->strokes, std::move(stroke));
        }
        AddTail(m_Regions, std::move(region));
    }
};

TEST_P(MillJobTest, CombinedJobStopsInMillingAndResumesThere)
{
    AddIso(m_Iso, {400, 400}, {600, 400});
    AddIso(m_Iso, {600, 400}, {600, 600});
    AddRegion(20, {{0, 100, 100, 100}, {100, 150, 100, 100}, {100, 150, 0, 150}, {300, 300, 300, 300}});
    AddRegion(20, {{200, 200, 300, 200}, {300, 250, 200, 250}});
    m_Regions[1]->strokes[1]->doneMark = 1;
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000));
    CPathCommand command(m_View, m_Data);
    // Isolation: 2 segments on 2 copies, then milling: the count starts
    // again with the first stroke; STOP at the fourth.
    TestHost().OnPump([this, pressed = false](int) mutable {
        Poll();
        std::string work;
        RegGetString("WORK", work);
        std::int32_t count = 0;
        RegGetLong("count", count);
        if (!pressed && work == "MILL" && count == 3) {
            pressed = true;
            g_PositionDlg.PressButton(IDC_POS_STOP);
        }
    });
    AnswerPrompts(1);
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ISOLATE_MILL, command), 1);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_IsoMillPhase, 1);
    std::string work;
    RegGetString("WORK", work);
    EXPECT_EQ(work, "MILL");
    const std::size_t before = m_Sim.ToolPath().size();
    EXPECT_EQ(before, 4u + 3u);  // the isolation, then three strokes of copy 1

    ContinueFromStop(1);
    EXPECT_EQ(Continue(command), 1);
    EXPECT_EQ(g_AbortFlag, 0);
    const std::vector<Cut> cuts = m_Sim.ToolPath();
    // Copy 2 of the first region (3 strokes), then the second region's one
    // stroke on each copy: nothing again, nothing left out.
    ASSERT_EQ(cuts.size(), before + 3 + 2);
    const CLayoutBlock& second = *m_View.blocks[1];
    const CDPoint a = BoardToMachine(second, CDPoint(0, 100), EAlign::None);
    const CDPoint b = BoardToMachine(second, CDPoint(100, 100), EAlign::None);
    const CDPoint c = BoardToMachine(second, CDPoint(100, 150), EAlign::None);
    const CDPoint d = BoardToMachine(second, CDPoint(0, 150), EAlign::None);
    const Cut* r = &cuts[before];
    EXPECT_NEAR(r[0].from[0], a.x, 1.0);
    EXPECT_NEAR(r[0].to[0], b.x, 1.0);
    // The second stroke ends where the first ended: cut backwards.
    EXPECT_NEAR(r[1].to[1], c.y, 1.0);
    EXPECT_EQ(r[1].plunge, r[0].plunge);
    EXPECT_NEAR(r[2].to[0], d.x, 1.0);
    EXPECT_NEAR(r[2].to[1], d.y, 1.0);
    for (std::size_t i = 0; i < cuts.size(); ++i)
        for (std::size_t j = i + 1; j < cuts.size(); ++j)
            EXPECT_FALSE(cuts[i].from == cuts[j].from && cuts[i].to == cuts[j].to)
                << "moves " << i << " and " << j << " cut the same stroke";
    EXPECT_EQ(g_JobCode, JOB_IDLE);
}

// Alone, the milling job prompts for each new cutter size, once for a run
// of regions of one size.
TEST_P(MillJobTest, CutterPromptForEachNewSize)
{
    AddRegion(20, {{100, 100, 200, 100}});
    AddRegion(20, {{100, 200, 200, 200}});
    AddRegion(40, {{100, 300, 200, 300}});
    AddTail(m_View.blocks, Copy(1000, 1000));
    g_JobCode = JOB_MILL;
    AnswerPrompts(2);
    RunMillJob(m_View, m_Data, 0);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    EXPECT_EQ(m_View.prompts, (std::vector<std::string>{"更換銑刀 20 mil ! ", "更換銑刀 40 mil ! "}));
    EXPECT_FLOAT_EQ(g_PlungeSpeed, 3.0f);
    EXPECT_EQ(m_Sim.ToolPath().size(), 3u);
    EXPECT_EQ(m_Sim.Plunges(), 3);
}

// The outline in passes of 0.6, 1.2 and 1.6 mm: each pass cuts the whole
// route layer once more, one plunge per copy and pass, and the total depth
// is back afterwards.
TEST_P(PathJobTest, OutlineCutsInDepthPasses)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->side = 5;
    layer->size = 59.0f;
    layer->name = "ROUTE";
    const CDPoint corners[] = {{400, 400}, {600, 400}, {600, 600}, {400, 600}, {400, 400}};
    for (int i = 0; i < 4; ++i) {
        auto s = std::make_unique<CPathSegment>();
        s->x1 = corners[i].x, s->y1 = corners[i].y, s->x2 = corners[i + 1].x, s->y2 = corners[i + 1].y;
        AddTail(layer->items, std::move(s));
    }
    AddTail(m_Layers, std::move(layer));
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000));
    g_JobCode = JOB_ROUTE;
    AnswerPrompts(1);
    RunOutlineJob(m_View, m_Data);
    std::vector<int> depths;
    for (const CSimCut& cut : m_Sim.Cuts())
        depths.push_back(cut.z);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(TestHost().BoxTexts().back(), "成型完成 !");
    EXPECT_FLOAT_EQ(g_RouteDepth, 1.6f);
    EXPECT_EQ(m_Sim.Plunges(), 3 * 2);
    EXPECT_EQ(m_Sim.ToolPath().size(), 3u * 2u * 4u);
    // The plunges go 0.6, 1.2 and 1.6 mm (and the 0.2 mm the router adds)
    // below the touched surface, twice each.
    const int base = kSurfaceZ;
    for (double pass : {0.8, 1.4, 1.8})
        EXPECT_EQ(std::count(depths.begin(), depths.end(), base + int(pass * g_ZPulsesPerMM)), 2)
            << pass;
}

// Engraving: the prompts name the size with its colour word and come again
// for a new size and after the set engraved distance.
TEST_P(PathJobTest, EngravingPromptsBySizeAndDistance)
{
    AddTail(m_Layers, RowLayer("T1ISO", 0, 7.874016f, 3));  // 0.2 mm
    AddTail(m_Layers, RowLayer("T2ISO", 0, 19.68504f, 3));  // 0.5 mm
    AddTail(m_View.blocks, Copy(1000, 1000));
    g_ToolDistance = 250;
    g_JobCode = JOB_ENGRAVE;
    AnswerPrompts(4);
    RunEngraveJob(m_View, m_Data);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(TestHost().BoxTexts().back(), "路徑雕刻完成 !");
    EXPECT_EQ(m_View.prompts,
              (std::vector<std::string>{"刀具  0.2 mm ( yellow )", "Re-Test Tool !",
                                        "刀具  0.5 mm ( blue )", "Re-Test Tool !"}));
    EXPECT_EQ(m_Sim.ToolPath().size(), 6u);
    EXPECT_EQ(m_Sim.Plunges(), 6);
}

// The working time of a tool: once it has run out, the next segment brings
// the tool prompt again.
TEST_P(PathJobTest, EngravingPromptsAgainAfterTheWorkingTime)
{
    AddTail(m_Layers, RowLayer("T1ISO", 0, 7.874016f, 3));
    AddTail(m_View.blocks, Copy(1000, 1000));
    // A second of working time, and the job held for two before its second
    // segment.
    g_CheckTime = 1;
    TestHost().OnPump([this, held = false](int) mutable {
        Poll();
        std::int32_t count = 0;
        RegGetLong("count", count);
        if (!held && count == 1) {
            held = true;
            TestHost().Advance(2100);
        }
    });
    g_JobCode = JOB_ENGRAVE;
    AnswerPrompts(2);
    RunEngraveJob(m_View, m_Data);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(m_View.prompts,
              (std::vector<std::string>{"刀具  0.2 mm ( yellow )", "刀具  0.2 mm ( yellow )"}));
    EXPECT_EQ(m_Sim.ToolPath().size(), 3u);
}

// The selection ("-S") of a shown layer is engraved once, where it lies on
// the board, whatever the copies; the selection of a hidden layer and the
// layer itself are not.
TEST_P(PathJobTest, SelectionIsEngravedOnceWhereItLies)
{
    AddTail(m_Layers, RowLayer("T1ISO", 0, 7.874016f, 3));
    AddTail(m_Layers, RowLayer("T1ISO-S", 0, 7.874016f, 2));
    AddTail(m_Layers, RowLayer("T2ISO-S", 0, 7.874016f, 2));
    m_Data.layerVisible = [](const std::string& name) { return name == "T1ISO"; };
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000, 1, {-1, 1}));
    g_JobCode = JOB_ENGRAVE_SELECTION;
    AnswerPrompts(1);
    RunEngraveSelectionJob(m_View, m_Data);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(m_View.prompts, (std::vector<std::string>{"刀具  0.2 mm"}));
    EXPECT_EQ(TestHost().BoxTexts().back(), "路徑雕刻完成 !");
    std::vector<CExpectedCut> expected;
    for (const auto& s : m_Layers[1]->items)
        expected.push_back({CDPoint(s->x1 * g_PulsesPerMil, s->y1 * g_PulsesPerMil),
                            CDPoint(s->x2 * g_PulsesPerMil, s->y2 * g_PulsesPerMil),
                            static_cast<int>(expected.size())});
    ExpectCut(expected);
}

// The drawing layer with the tool changes off: no prompt, the spindle
// switched on by the job and kept running after it when asked, the stored
// offset read before the first cut; every copy is cut.
TEST_P(PathJobTest, CamDataEngravingWithoutToolChanges)
{
    AddTail(m_Layers, RowLayer("LAYER1", 5, 7.874016f, 2));
    AddTail(m_Layers, RowLayer("LAYER2", 6, 7.874016f, 2));
    AddTail(m_View.blocks, Copy(1000, 1000));
    AddTail(m_View.blocks, Copy(2500, 1000));
    RegSetInt("machineoffset", kSurfaceZ);
    g_PlungeSpeed = 35.0f;
    g_JobCode = JOB_ENGRAVE_CAM;
    RunCamEngraveJob(m_View, m_Data, 0, false, true);

    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_JobCode, JOB_IDLE);
    EXPECT_TRUE(m_View.prompts.empty());
    EXPECT_EQ(g_MachineOffset, kSurfaceZ);
    EXPECT_FLOAT_EQ(g_PlungeSpeed, 3.0f);
    EXPECT_TRUE(m_Sim.GetState().spindleOn);
    EXPECT_EQ(m_Sim.ToolPath().size(), 4u);
    EXPECT_EQ(m_Sim.Plunges(), 4);
}

// A real board: the isolation lines of its copper, cut on two copies (the
// second turned over), are the placed segments within one pulse, one
// plunge per chain, nothing else.
TEST_P(PathJobTest, CorpusBoardIsolationIsThePlacedGeometry)
{
    const std::string gerber = CorpusPath("boards/D1MiniGSR/D1MiniGSR-B_Cu.gbr");
    if (gerber.empty())
        GTEST_SKIP() << "the corpus of real boards is not here";
    auto doc = std::make_unique<CVelmDoc>();
    ASSERT_TRUE(LoadTiled(*doc, gerber.c_str(), 1));
    doc->m_T1Step = 2;
    ASSERT_TRUE(doc->CalcIsolationT1(0));
    ASSERT_FALSE(doc->m_GridPathList.empty());
    m_Data.isoSegments = &doc->m_GridPathList;
    AddTail(m_View.blocks, Copy(3000, 2000));
    AddTail(m_View.blocks, Copy(3000, 6000, 1, {-1, 1}));
    g_JobCode = JOB_ISOLATE;
    AnswerPrompts(1);
    RunIsolationJob(m_View, m_Data);
    EXPECT_EQ(g_AbortFlag, 0);
    m_Iso.clear();
    std::swap(m_Iso, doc->m_GridPathList);
    ExpectCut(ExpectedIso());
}

// A real board's outline: the route layer made of its edge cuts, cut in one
// pass on two copies, the second turned and mirrored: every move is where the
// copy (and the registration) places its segment, one plunge per chain.
TEST_P(PathJobTest, CorpusBoardOutlineIsThePlacedGeometry)
{
    const std::string edges = CorpusPath("boards/multivibrator/multivibrator-Edge.Cuts.gbr");
    if (edges.empty())
        GTEST_SKIP() << "the corpus of real boards is not here";
    auto doc = std::make_unique<CVelmDoc>();
    ASSERT_TRUE(LoadTiled(*doc, edges.c_str(), 1, false));
    auto layer = std::make_unique<CPathRecord>();
    layer->name = "ROUTE";
    layer->side = 5;
    layer->size = 59.0f;
    for (const auto& t : doc->m_TrackList) {
        ASSERT_LT(t->type, 3) << "the board's edge is drawn in lines";
        auto s = std::make_unique<CPathSegment>();
        s->x1 = t->x1, s->y1 = t->y1, s->x2 = t->x2, s->y2 = t->y2;
        AddTail(layer->items, std::move(s));
    }
    ASSERT_FALSE(layer->items.empty());
    AddTail(m_View.blocks, Copy(3000, 2000));
    AddTail(m_View.blocks, Copy(3000, 6000, 1, {-1, 1}));
    std::vector<CExpectedCut> expected;
    int chain = 0;
    for (const auto& block : m_View.blocks) {
        const CPathSegment* previous = nullptr;
        for (const auto& s : layer->items) {
            if (!previous || CDPoint(previous->x2, previous->y2) != CDPoint(s->x1, s->y1))
                ++chain;
            expected.push_back(
                {BoardToMachine(*block, CDPoint(s->x1, s->y1), EAlign::Registration),
                 BoardToMachine(*block, CDPoint(s->x2, s->y2), EAlign::Registration), chain});
            previous = s.get();
        }
    }
    AddTail(m_Layers, std::move(layer));
    g_RouteAutoFlag = 0;
    g_JobCode = JOB_ROUTE;
    AnswerPrompts(1);
    RunOutlineJob(m_View, m_Data);
    EXPECT_EQ(g_AbortFlag, 0);
    ExpectCut(expected);
}

// STOP in the middle of the outline, then the range resume: the range it
// proposes starts with the route record the job had reached, and the run
// that follows cuts the rest. Every segment is cut once, the two runs
// together; a segment of the route layers before the range is passed over.
TEST_P(PathJobTest, OutlineRangeResumeCutsEverySegmentOnce)
{
    AddTail(m_Layers, PolyLayer("ROUTE1.5", 5, 59.0f, 0.0f,
                                {{400, 400}, {500, 400}, {600, 400}, {600, 500}, {600, 600}}));
    AddTail(m_Layers, PolyLayer("ROUTE2", 5, 59.0f, 0.0f,
                                {{600, 600}, {500, 600}, {400, 600}, {400, 500}, {400, 400}}));
    AddTail(m_View.blocks, Copy(1000, 1000));
    g_RouteAutoFlag = 0;
    std::vector<CExpectedCut> expected;
    for (const auto& layer : m_Layers)
        for (const auto& s : layer->items)
            expected.push_back({BoardToMachine(*m_View.blocks[0], CDPoint(s->x1, s->y1),
                                               EAlign::Registration),
                                BoardToMachine(*m_View.blocks[0], CDPoint(s->x2, s->y2),
                                               EAlign::Registration),
                                1});
    // Each layer starts a chain of its own, and so does the run after the
    // resume, at record 6.
    for (std::size_t i = 4; i < expected.size(); ++i)
        expected[i].chain = i == 4 ? 2 : 3;
    Press(5);
    g_JobCode = JOB_ROUTE;
    AnswerPrompts(1);
    RunOutlineJob(m_View, m_Data);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(m_Sim.ToolPath().size(), 5u);

    TestHost().OnPump([this](int) { Poll(); });
    g_AbortFlag = 0;
    std::vector<std::string> proposed;
    TestHost().QueueDialog(
        [&proposed](CDialog& dlg) {
            proposed = {dlg.GetDlgItemText(IDC_WR_TOTAL), dlg.GetDlgItemText(IDC_WR_FROM),
                        dlg.GetDlgItemText(IDC_WR_TO)};
            dlg.PressButton(IDOK);
        },
        IDD_WORK_RANGE);
    CWorkRangeDlg range;
    ASSERT_TRUE(ResumeOutlineRange(range, m_Layers, nullptr));
    EXPECT_EQ(proposed, (std::vector<std::string>{"8", "6", "8"}));
    EXPECT_EQ(m_Layers[0]->items[3]->skip, 1);
    EXPECT_EQ(m_Layers[1]->items[0]->skip, 1);
    EXPECT_EQ(m_Layers[1]->items[1]->skip, 0);

    g_JobCode = JOB_ROUTE;
    AnswerPrompts(1);
    RunOutlineJob(m_View, m_Data);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(TestHost().BoxTexts().back(), "成型完成 !");
    ExpectCut(expected);
}

// A layer change: the last layer's tool stays down until the change, and
// the view timer sends Z to the working depth meanwhile. Every Z move into
// the board before the second tool's prompt goes to the first layer's
// depth; the second layer's depth, 40 pulses deeper, comes only after it.
TEST_P(PathJobTest, NextLayerDepthWaitsForItsTool)
{
    struct Case {
        const char* job;
        const char* first;
        const char* second;
        int side, code;
        float firstSize, secondSize;
        void (*run)(CRunnerView&, CPathJobData&);
    } const cases[] = {
        {"engraving", "T1ISO", "T2ISO", 0, JOB_ENGRAVE, 7.874016f, 19.68504f, RunEngraveJob},
        {"outline", "ROUTE1.5", "ROUTE2", 5, JOB_ROUTE, 59.0f, 78.74f, RunOutlineJob},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.job);
        m_Layers.clear();
        m_View.blocks.clear();
        m_Sim.ClearToolPath();
        AddTail(m_Layers, PolyLayer(c.first, c.side, c.firstSize, 0.0f,
                                    {{400, 400}, {600, 400}, {600, 600}}));
        AddTail(m_Layers, PolyLayer(c.second, c.side, c.secondSize, 40.0f,
                                    {{400, 700}, {600, 700}, {600, 900}}));
        AddTail(m_View.blocks, Copy(1000, 1000));
        g_RouteAutoFlag = 0;
        TickBetweenPolls();
        std::vector<std::size_t> atPrompt;
        for (int i = 0; i < 2; ++i)
            TestHost().QueueDialog(
                [this, &atPrompt](CDialog& dlg) {
                    atPrompt.push_back(m_Sim.Cuts().size());
                    dlg.PressButton(IDOK);
                },
                IDD_PLUNGE_SPEED);
        const std::size_t before = m_Sim.Cuts().size();
        g_JobCode = c.code;
        c.run(m_View, m_Data);
        EXPECT_EQ(g_AbortFlag, 0);
        ASSERT_EQ(atPrompt.size(), 2u);
        const std::vector<CSimCut> cuts = m_Sim.Cuts();
        ASSERT_LT(atPrompt[0], atPrompt[1]);
        ASSERT_LT(atPrompt[1], cuts.size());
        const std::int32_t firstDepth = cuts[atPrompt[0]].z;
        EXPECT_GT(firstDepth, kSurfaceZ);
        for (std::size_t i = atPrompt[0]; i < atPrompt[1]; ++i)
            EXPECT_EQ(cuts[i].z, firstDepth) << "Z move " << i - before;
        EXPECT_NE(std::find_if(cuts.begin() + static_cast<long>(atPrompt[1]), cuts.end(),
                               [&](const CSimCut& cut) { return cut.z == firstDepth + 40; }),
                  cuts.end());
        EXPECT_EQ(m_Sim.ToolPath().size(), 4u);
    }
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, PathJobTest, ::testing::Values(Kind::Binary, Kind::Ascii),
                         ProtocolName);
INSTANTIATE_TEST_SUITE_P(BothProtocols, MillJobTest, ::testing::Values(Kind::Binary, Kind::Ascii),
                         ProtocolName);

}  // namespace
