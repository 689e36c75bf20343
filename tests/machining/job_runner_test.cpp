// The runners' pieces that need no controller: the coordinate pipeline, the
// drilling order that progress and resume count in, the plunge counts and
// tables, the drill selection text, the tool prompts and the tool-change
// prompt window.
#include "geometry/registration.h"
#include "machining/drill_job.h"
#include "machining/drill_selection.h"
#include "machining/plunge_speed.h"
#include "machining/plunge_speed_dlg.h"
#include "machining/tool_change.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<CLayoutBlock> Block(double cx, double cy, double rx, double ry, POINT sign, int swap)
{
    auto block = std::make_unique<CLayoutBlock>();
    block->m_Centre = CDPoint(cx, cy);
    block->m_RefCentre = CDPoint(rx, ry);
    block->m_Sign = sign;
    block->m_Swap = static_cast<std::uint32_t>(swap);
    return block;
}

CDrillTool* AddTool(COwnedList<CDrillTool>& tools, int number, float diameter, int mode, int holes)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = number;
    tool->diameter = diameter;
    tool->mode = mode;
    for (int i = 0; i < holes; ++i)
        AddTail(tool->holes, std::make_unique<CDPoint>(100.0 * (i + 1), 50.0));
    return AddTail(tools, std::move(tool));
}

}  // namespace

// A board point goes to the copy's place on the table in pulses: relative to
// the reference centre, mirrored or turned with the copy, moved to its
// current centre, times 5.08 pulses per mil.
TEST(CoordinatePipeline, BoardMilToMachinePulsesThroughEachCopy)
{
    struct Case {
        double cx, cy, rx, ry;
        POINT sign;
        int swap;
        double x, y;  // where board point (300, 200) goes, pulses
    } cases[] = {
        {1000, 1000, 1000, 1000, {1, 1}, 0, 300 * 5.08, 200 * 5.08},
        {3000, 1000, 1000, 1000, {1, 1}, 0, 2300 * 5.08, 200 * 5.08},   // second copy
        {1000, 1000, 1000, 1000, {-1, 1}, 0, 1700 * 5.08, 200 * 5.08},  // mirrored in x
        {1000, 1000, 1000, 1000, {1, -1}, 1, 200 * 5.08, 1700 * 5.08},  // turned
    };
    g_TargetCount = 0;
    for (const Case& c : cases) {
        auto block = Block(c.cx, c.cy, c.rx, c.ry, c.sign, c.swap);
        for (EAlign align : {EAlign::None, EAlign::Registration}) {
            const CDPoint p = BoardToMachine(*block, CDPoint(300, 200), align);
            EXPECT_NEAR(p.x, c.x, 1e-3) << c.cx << " " << c.sign.x << " " << c.swap;
            EXPECT_NEAR(p.y, c.y, 1e-3) << c.cx << " " << c.sign.x << " " << c.swap;
        }
    }
}

// With measured registration targets only the aligned pipeline moves the
// point: by the first target's offset, here 100 pulses right and 50 up.
TEST(CoordinatePipeline, RegistrationAlignsOnlyWhenAsked)
{
    g_TargetPoints[0] = CDPoint(0, 0);
    g_TargetPoints[1] = CDPoint(100, 50);
    g_TargetPoints[2] = CDPoint(1000, 0);
    g_TargetPoints[3] = CDPoint(1100, 50);
    g_TargetCount = 2;
    auto block = Block(0, 0, 0, 0, {1, 1}, 0);
    const CDPoint plain = BoardToMachine(*block, CDPoint(100, 100), EAlign::None);
    const CDPoint aligned = BoardToMachine(*block, CDPoint(100, 100), EAlign::Registration);
    g_TargetCount = 0;
    EXPECT_NEAR(plain.x, 508.0, 1e-3);
    EXPECT_NEAR(aligned.x, 608.0, 1e-2);
    EXPECT_NEAR(aligned.y, 558.0, 1e-2);
}

// Progress and resume count the same holes: the holes of sizes that are not
// drilled and of selected copies are not in the order at all, so a count
// taken from the order resumes at the hole that was interrupted.
TEST(DrillOrder, CountsOnlyTheHolesThatAreWorked)
{
    COwnedList<CDrillTool> tools;
    AddTool(tools, 1, 20, 1, 3);
    AddTool(tools, 2, 30, 0, 2);  // not drilled
    AddTool(tools, 3, 0, 0x23, 1);
    AddTool(tools, 4, 40, 1, 0);  // no holes
    COwnedList<CLayoutBlock> blocks;
    AddTail(blocks, Block(0, 0, 0, 0, {1, 1}, 0));
    AddTail(blocks, Block(2000, 0, 0, 0, {1, 1}, 0))->m_Selected = 1;
    AddTail(blocks, Block(4000, 0, 0, 0, {1, 1}, 0));

    const auto drill = DrillOrder(tools, blocks, ESelectedCopies::Skip);
    ASSERT_EQ(drill.size(), 8u);  // (3 + 1) holes on two copies
    EXPECT_EQ(drill[3].tool, 0u);
    EXPECT_EQ(drill[3].block, 2u);
    EXPECT_EQ(drill[3].hole, 0u);
    EXPECT_EQ(drill[6].tool, 2u);

    // The preview visits the selected copy as well.
    EXPECT_EQ(DrillOrder(tools, blocks, ESelectedCopies::Visit).size(), 12u);
}

TEST(DrillJob, PeckCountOfEachMode)
{
    struct Case {
        int mode, pecks;
    } cases[] = {{1, 1}, {2, 1}, {0x33, 3}, {0x23, 2}, {0x13, 1}, {3, 1}, {(-2 << 4) | 3, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(PeckCount(c.mode), c.pecks) << c.mode;
}

TEST(DrillJob, ToolPromptGivesTheSizeWhenKnown)
{
    g_ToolSizes.fill(0.0f);
    g_ToolSizes[3] = 50.0f;
    EXPECT_EQ(DrillToolPrompt(3), "更換鑽頭 T3.\n直徑 50mil (1.27mm) ");
    EXPECT_EQ(DrillToolPrompt(4), "更換刀具 T4 !");
    EXPECT_EQ(DrillToolPrompt(250), "更換刀具 T250 !");
    g_ToolSizes.fill(0.0f);
}

TEST(PlungeSpeed, TablesByDiameter)
{
    struct Case {
        float mm, drill, changer;
    } cases[] = {{0.3f, 0.5f, 2}, {0.45f, 2, 2}, {0.55f, 5, 4}, {0.8f, 25, 8}, {1.3f, 15, 6},
                 {1.9f, 5, 4},    {2.5f, 2, 2},  {3.0f, 1, 2},  {5.0f, 1, 2}};
    g_MachineModel = "KX1100";
    for (const Case& c : cases) {
        SelectZelta6DrillParam(c.mm);
        EXPECT_EQ(g_PlungeSpeed, c.drill) << c.mm;
        EXPECT_EQ(DrillPlungeSpeed(c.mm), c.changer) << c.mm;
    }
    // The machine with the tool changer keeps the speed of its tool table.
    g_MachineModel = "ZELTA6";
    g_PlungeSpeed = 7.0f;
    SelectZelta6DrillParam(0.3f);
    EXPECT_EQ(g_PlungeSpeed, 7.0f);
    g_MachineModel = "";
}

// The list written from the tools reads back into the same modes, and the
// markers work as the operator edits them.
TEST(DrillSelection, ListRoundTripAndEdits)
{
    COwnedList<CDrillTool> tools;
    AddTool(tools, 1, 31.496f, 1, 4);
    AddTool(tools, 3, 39.37f, 0, 2);
    AddTool(tools, 11, 40.0f, 2, 1);
    AddTool(tools, 12, 50.0f, 0x23, 1);
    const std::string text = DrillListText(tools);
    EXPECT_EQ(text,
              "T1 (31.496mil)(0.8mm)(4)[1]\r\n"
              ";T3 (39.37mil)(1mm)(2)[1]\r\n"
              ">T11 (40mil)(1mm)(1)[1]\r\n"
              "#T12 (50mil)(1.3mm)(1)[2]\r\n");
    for (auto& tool : tools)
        tool->mode = 7;
    ApplyDrillListText(text, tools);
    EXPECT_EQ(tools[0]->mode, 1);
    EXPECT_EQ(tools[1]->mode, 0);
    EXPECT_EQ(tools[2]->mode, 2);
    EXPECT_EQ(tools[3]->mode, 0x23);

    struct Case {
        const char* text;
        int modes[4];  // tools 1, 3, 11, 12
    } cases[] = {
        // Tool 11 skipped does not skip tool 1.
        {";T11 x\r\nT1\r\n", {1, 1, 0, 1}},
        // A deleted line drills normally.
        {"", {1, 1, 1, 1}},
        // Several markers: skip before no change before repeat.
        {"#T3 [4]\r\n>T3\r\n;T3\r\n#T1 [3]\r\n>T1\r\n", {2, 0, 1, 1}},
        // A count of 0 and a missing count: one plunge; a marker inside a line.
        {"#T1 [0]\r\n#T12\r\nnote >T3 here\r\n", {3, 2, 1, 3}},
        // A marker without "T" and a number directly after it counts for nothing.
        {"; T1\r\n>X3\r\n", {1, 1, 1, 1}},
        // An absurd count is cut to one the mode can hold.
        {"#T1 [99999999999]\r\n", {(999 << 4) | 3, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        ApplyDrillListText(c.text, tools);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(tools[i]->mode, c.modes[i]) << c.text << " tool " << tools[i]->toolNumber;
    }
    EXPECT_EQ(RepeatCountAfterBracket("3 [12] 4 [5] "), 12);
    EXPECT_EQ(RepeatCountAfterBracket("no bracket"), 0);
}

// A touch that ran the whole touch-off move found no surface.
TEST(ToolChange, TouchFailsAtTheEndOfTheTouchOffMove)
{
    EXPECT_TRUE(TouchFailed(9800, 9800.0));
    EXPECT_TRUE(TouchFailed(6000, 12000.0));
    EXPECT_TRUE(TouchFailed(7000, 7000.0));
    EXPECT_FALSE(TouchFailed(3000, 7000.0));
    EXPECT_FALSE(TouchFailed(6998, 7000.0));
}

// The prompt window lists the current speed first, then the others; OK with
// a speed takes it; the window cannot be left by OK without one.
TEST(PlungeSpeedDlg, ListsTheCurrentSpeedFirstAndTakesTheChoice)
{
    g_PlungeSpeed = 5.0f;
    std::vector<std::string> entries;
    TestHost().QueueDialog(
        [&entries](CDialog& dlg) {
            for (int i = 0; i < dlg.GetCount(IDC_PS_SPEEDS); ++i)
                entries.push_back(dlg.GetLBText(IDC_PS_SPEEDS, i));
            dlg.SetCurSel(IDC_PS_SPEEDS, 4);
            dlg.CheckDlgButton(IDC_PS_SIMULATE, 1);
            dlg.PressButton(IDOK);
        },
        IDD_PLUNGE_SPEED);
    CPlungeSpeedDlg dlg;
    dlg.m_Prompt = "T1";
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(entries, (std::vector<std::string>{"5", "25", "20", "15", "10", "3", "1", "0.5"}));
    EXPECT_EQ(g_PlungeSpeed, 10.0f);
    EXPECT_EQ(dlg.m_Simulate, 1);

    // Esc keeps the speed and leaves the simulation off.
    TestHost().QueueDialog([](CDialog& dlg) { dlg.PressButton(IDCANCEL); }, IDD_PLUNGE_SPEED);
    CPlungeSpeedDlg again;
    again.m_Simulate = 1;
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(again.m_Simulate, 0);
    EXPECT_EQ(g_PlungeSpeed, 10.0f);

    // Nothing picked: OK is refused with a message and the window stays.
    TestHost().QueueDialog(
        [](CDialog& dlg) {
            dlg.SetCurSel(IDC_PS_SPEEDS, -1);
            dlg.PressButton(IDOK);
            EXPECT_TRUE(dlg.IsWindow());
            dlg.PressButton(IDCANCEL);
        },
        IDD_PLUNGE_SPEED);
    CPlungeSpeedDlg third;
    third.DoModal();
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"You must select something !"}));
}
