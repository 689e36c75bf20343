// The automatic tool changer against the simulated ASCII controller and a
// rack that follows what the controller was told: the moves of a return
// and a fetch, "toolnum" kept with the clamp whenever STOP comes, the
// table's rows and the changes that find no row.
#include "link_fixture.h"

#include "machining/tool_changer.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/planner_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/registry.h"
#include "sim_tool_rack.h"

#include <array>
#include <memory>

namespace {

using Kind = CControllerSimulator::Kind;
using Lines = std::vector<std::string>;

// The tool-change table as plain rows.
class CTable : public CAtcToolTable {
public:
    std::array<std::string, 9> number, name;
    std::array<float, 9> speed{}, depth{};
    std::string units;
    int shown = 0;
    std::string& Number(int row) override { return number[static_cast<std::size_t>(row)]; }
    std::string& Name(int row) override { return name[static_cast<std::size_t>(row)]; }
    float& Speed(int row) override { return speed[static_cast<std::size_t>(row)]; }
    float& Depth(int row) override { return depth[static_cast<std::size_t>(row)]; }
    void ClearRows() override
    {
        for (int r = 1; r <= kRows; ++r)
            Number(r) = Name(r) = "   ";
    }
    void SetUnits(const char* s, const char* d, const char* v) override
    {
        units = std::string(s) + " " + d + " " + v;
    }
    int DoModal() override
    {
        ++shown;
        return IDOK;
    }
};

int ToolNum()
{
    int slot = -1;
    EXPECT_TRUE(ReadToolSlot(&slot));
    return slot;
}

class ToolChangerTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(Kind::Ascii);
        for (int s = 1; s <= 8; ++s) {
            g_ToolChangerPositions[static_cast<std::size_t>(s)] = CToolSlot{1000.0f * s, 10000.0f, 3000.0f};
            m_Rack.slots[static_cast<std::size_t>(s)] = {1000 * s, 10000, 3000, true};
        }
    }
    // The rack with the spindle holding the tool of `slot`.
    void SpindleHolds(int slot)
    {
        m_Rack = CSimToolRack{};
        for (int s = 1; s <= 8; ++s)
            m_Rack.slots[static_cast<std::size_t>(s)] = {1000 * s, 10000, 3000, s != slot};
        m_Rack.spindleTool = slot;
        RegSetInt("toolnum", slot);
    }
    static Lines MovesAndClamp(const Lines& log)
    {
        Lines kept;
        for (const std::string& line : log)
            if (line.rfind("33 MA", 0) == 0 || line.rfind("22 MA", 0) == 0 ||
                line.rfind("22 O1", 0) == 0)
                kept.push_back(line);
        return kept;
    }
    CSimToolRack m_Rack;
};

}  // namespace

TEST_F(ToolChangerTest, ReturnAndFetchApproachFromTheFrontAndSwitchTheClampInTheSlot)
{
    SpindleHolds(2);
    ASSERT_EQ(AtcReturnTool(), 1);
    EXPECT_EQ(ToolNum(), 0);
    ASSERT_EQ(AtcFetchTool(5), 1);
    EXPECT_EQ(ToolNum(), 5);
    const Lines log = SettledLog();
    EXPECT_EQ(MovesAndClamp(log),
              (Lines{"33 MA2000.0,4000.0", "33 MA2000.0,10000.0", "22 MA2000.0", "22 MA3000.0",
                     "22 O11", "22 MA0.0", "33 MA2000.0,4000.0",
                     "22 O11", "33 MA5000.0,4000.0", "33 MA5000.0,10000.0", "22 MA3000.0",
                     "22 O10", "22 MA2000.0", "22 MA0.0", "33 MA5000.0,4000.0"}));
    m_Rack.Replay(log);
    EXPECT_EQ(m_Rack.events, (Lines{"open at slot 2", "close at slot 5"}));
    EXPECT_EQ(m_Rack.spindleTool, 5);
    EXPECT_TRUE(m_Rack.slots[2].holdsTool);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

TEST_F(ToolChangerTest, ReturnWithAnEmptySpindleDoesNotMove)
{
    SpindleHolds(0);
    EXPECT_EQ(AtcReturnTool(), 1);
    EXPECT_TRUE(MovesAndClamp(SettledLog()).empty());
}

// Whenever STOP comes, "toolnum" says where the tool physically is: the
// clamp's switch and its record have nothing between them.
TEST_F(ToolChangerTest, ToolnumFollowsTheClampWheneverStopComes)
{
    // Moves that take a little time, so the waits pump.
    m_Sim.SetTimeScale(0.02);
    SpindleHolds(2);
    m_Sim.ClearLog();
    // A whole change, noting the first pump after each command the
    // controller heard: STOP is pressed there in the runs below.
    std::vector<int> stops;
    NoteStopPoints(stops);
    ASSERT_TRUE(AtcReturnTool() && AtcFetchTool(5));
    ASSERT_GE(stops.size(), 3u);
    for (int stopAt : stops) {
        SCOPED_TRACE(stopAt);
        g_AbortFlag = 0;
        SpindleHolds(2);
        m_Sim.ClearLog();
        const int before = TestHost().Pumps();
        TestHost().OnPump([stopAt, before](int n) {
            if (n - before == stopAt)
                g_AbortFlag = 1;
        });
        if (AtcReturnTool())
            AtcFetchTool(5);
        m_Rack.Replay(SettledLog());
        EXPECT_EQ(ToolNum(), m_Rack.spindleTool);
    }
    g_AbortFlag = 0;
}

TEST_F(ToolChangerTest, ALostRecordAssumesSlotOneOnReturnAndStopsAManualExchange)
{
    CTable table;
    EXPECT_EQ(AtcManualExchange(table), 0);
    EXPECT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_TRUE(g_AbortFlag);
    EXPECT_EQ(table.shown, 0);
    EXPECT_TRUE(MovesAndClamp(SettledLog()).empty());

    g_AbortFlag = 0;
    ASSERT_EQ(AtcReturnTool(), 1);
    EXPECT_EQ(TestHost().BoxTexts().back(), LoadResString(IDS_TOOL_SLOTS_LOST));
    EXPECT_EQ(MovesAndClamp(SettledLog()).front(), "33 MA1000.0,4000.0");
}

TEST_F(ToolChangerTest, SlotLookupsFindRowsOrNothing)
{
    CTable table;
    table.ClearRows();
    table.Number(1) = "1";
    table.Name(1) = LoadResString(IDS_ENGRAVING_CUTTER);
    table.Number(2) = "2";
    char milling[64];
    std::snprintf(milling, sizeof milling, LoadResString(IDS_MILLING_CUTTER).c_str(), 8);
    table.Name(2) = milling;
    table.Number(3) = "12";
    EXPECT_EQ(FindToolSlotBySize(table, 12), 3);
    EXPECT_EQ(FindToolSlotBySize(table, 7), 0);
    EXPECT_EQ(FindToolSlotByName(table, "更換90度雕刻刀 (黃) !"), 1);
    char prompt[sizeof milling + 16];
    std::snprintf(prompt, sizeof prompt, "更換%s ! ", milling);
    EXPECT_EQ(FindToolSlotByName(table, prompt), 2);
    EXPECT_EQ(FindToolSlotByName(table, "nothing at all"), 0);
    // A name at the very start of the text does not count.
    EXPECT_EQ(FindToolSlotByName(table, LoadResString(IDS_ENGRAVING_CUTTER)), 0);
}

TEST_F(ToolChangerTest, AChangeThatFindsNoRowIsToldAndStopsWithTheToolKept)
{
    CTable table;
    table.ClearRows();
    SpindleHolds(3);
    EXPECT_EQ(AtcExchangeTool(table, "更換銑刀 99 mil ! "), 0);
    EXPECT_TRUE(g_AbortFlag);
    EXPECT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_EQ(ToolNum(), 3);
    EXPECT_TRUE(MovesAndClamp(SettledLog()).empty());
}

TEST_F(ToolChangerTest, ADrillWithoutARowGetsTheTableFilledFromTheJobsTools)
{
    COwnedList<CDrillTool> tools;
    for (int n : {2, 7, 9}) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = n;
        tool->diameter = 31.5f;
        tool->mode = 1;
        tool->holes.push_back(std::make_unique<CDPoint>(1.0, 1.0));
        g_ToolSizes[static_cast<std::size_t>(n)] = 31.5f;
        tools.push_back(std::move(tool));
    }
    CTable table;
    table.ClearRows();
    SpindleHolds(0);
    g_DrillDepth = 2.5f;
    ASSERT_EQ(AtcDrillTool(table, "Change Drill T7 0.8 mm", tools), 1);
    EXPECT_EQ(table.shown, 1);
    EXPECT_EQ(table.units, "mm mm mm/s");
    EXPECT_EQ((std::array<std::string, 4>{table.number[1], table.number[2], table.number[3],
                                           table.number[4]}),
              (std::array<std::string, 4>{"7", "2", "9", "   "}));
    EXPECT_EQ(table.name[1], "0.8001");
    EXPECT_EQ(ToolNum(), 1);  // the row of tool 7
    EXPECT_FLOAT_EQ(g_PlungeSpeed, 8.0f);
    EXPECT_FLOAT_EQ(g_DrillDepth, 2.5f);
}

TEST_F(ToolChangerTest, TheTableOffersTheJobsCutters)
{
    COwnedList<CClearRegion> regions;
    for (int step : {8, 8, 16, 8}) {
        auto region = std::make_unique<CClearRegion>();
        region->step = step;
        regions.push_back(std::move(region));
    }
    CTable table;
    ShowToolTable(table, regions);
    EXPECT_EQ(table.units, "mil mm mm/s");
    char milling8[64], milling16[64];
    std::snprintf(milling8, sizeof milling8, LoadResString(IDS_MILLING_CUTTER).c_str(), 8);
    std::snprintf(milling16, sizeof milling16, LoadResString(IDS_MILLING_CUTTER).c_str(), 16);
    EXPECT_EQ((std::array<std::string, 6>{table.name[1], table.name[2], table.name[3],
                                           table.name[4], table.name[5], table.name[6]}),
              (std::array<std::string, 6>{LoadResString(IDS_ENGRAVING_CUTTER), milling8,
                                           milling16, milling8,
                                           LoadResString(IDS_ROUTING_CUTTER), "   "}));
    EXPECT_EQ(table.number[5], "5");
    EXPECT_EQ(table.shown, 1);
}
