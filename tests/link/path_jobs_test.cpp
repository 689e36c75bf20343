// The path jobs against the simulated controller: the tool-down path the
// simulator records is the jobs' geometry placed on the panel copies, one
// plunge per chain of touching segments and nothing else cut; the arcs end
// where the copy's orientation puts them; the outline goes down in passes;
// the engraving prompts follow the tool size and distance; STOP and
// Continue cut every segment once, and the combined job resumes in milling.
#include "link_fixture.h"
#include "sim_runner_view.h"

#include "document/velm_doc.h"
#include "link/job_codes.h"
#include "link/working_depth.h"
#include "machining/homing.h"
#include "machining/job_gate.h"
#include "machining/path_jobs.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/tool_change.h"
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

#include <cmath>
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

class PathJobTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(Kind::Ascii);
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
    // The view timer's position poll, between the runner's polls.
    void Poll()
    {
        if (m_View.timer && !g_PositionPollOff)
            ReadPositionReply(0);
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
    // The simulator's record equals `expected` move by move within one
    // pulse, each chain begun by one plunge of its own.
    void ExpectCut(const std::vector<CExpectedCut>& expected)
    {
        const std::vector<Cut> cuts = m_Sim.ToolPath();
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
TEST_F(PathJobTest, IsolationCutsThePlacedChainsOnePlungeEach)
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
    const std::vector<Cut> cuts = m_Sim.ToolPath();
    EXPECT_TRUE(cuts[1].arc);
    // The quarter turn runs the other way round on the copy turned over.
    EXPECT_NEAR(cuts[1].sweep, 90.0, 0.01);
    EXPECT_NEAR(cuts[5].sweep, -90.0, 0.01);
    std::int32_t count = -1;
    RegGetLong("count", count);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(m_View.timer);
}

// One arc of each direction on a copy of every swap and sign pair: the
// controller's arc ends where the copy places the segment's end.
TEST_F(PathJobTest, ArcsEndWherePlacedForEveryOrientation)
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
    const std::vector<Cut> cuts = m_Sim.ToolPath();
    ASSERT_EQ(cuts.size(), 24u);
    for (std::size_t i = 0; i < cuts.size(); i += 3) {
        const CLayoutBlock& block = *m_View.blocks[i / 3];
        const double turn = CopyMirrors(block) ? -1.0 : 1.0;
        EXPECT_NEAR(cuts[i].sweep, 90.0 * turn, 0.01) << "copy " << i / 3;
        EXPECT_NEAR(cuts[i + 1].sweep, -270.0 * turn, 0.01) << "copy " << i / 3;
        EXPECT_NEAR(cuts[i + 2].sweep, 360.0 * turn, 0.01) << "copy " << i / 3;
    }
}

// STOP during the isolation, then Continue going back no records: every
// segment is cut once, the interrupted one where the job left off.
TEST_F(PathJobTest, IsolationStopThenContinueCutsEverySegmentOnce)
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

TEST_F(MillJobTest, CombinedJobStopsInMillingAndResumesThere)
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
TEST_F(MillJobTest, CutterPromptForEachNewSize)
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
TEST_F(PathJobTest, OutlineCutsInDepthPasses)
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
    std::vector<int> depths;
    m_Sim.SetLogSink([&depths](const std::string& line) {
        if (line.rfind("22 MA", 0) == 0)
            depths.push_back(std::atoi(line.c_str() + 5));
    });
    g_JobCode = JOB_ROUTE;
    AnswerPrompts(1);
    RunOutlineJob(m_View, m_Data);
    m_Sim.SetLogSink(nullptr);

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
TEST_F(PathJobTest, EngravingPromptsBySizeAndDistance)
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
TEST_F(PathJobTest, EngravingPromptsAgainAfterTheWorkingTime)
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
TEST_F(PathJobTest, SelectionIsEngravedOnceWhereItLies)
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
TEST_F(PathJobTest, CamDataEngravingWithoutToolChanges)
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
TEST_F(PathJobTest, CorpusBoardIsolationIsThePlacedGeometry)
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
TEST_F(PathJobTest, CorpusBoardOutlineIsThePlacedGeometry)
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

}  // namespace
