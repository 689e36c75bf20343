// Extents, the scan-line raster, switching the working side (with the panel
// copies turned over and each side's copper kept) and the update handlers of
// the side and work-stage commands.
#include "doc_fixture.h"

#include "link/link_state.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

#include <filesystem>
#include <functional>

namespace {

void AddHoles(std::initializer_list<CDPoint> holes)
{
    auto tool = std::make_unique<CDrillTool>();
    for (const CDPoint& hole : holes)
        tool->holes.push_back(std::make_unique<CDPoint>(hole));
    g_HoleList.push_back(std::move(tool));
}

void ExpectExtent(const CExtent& got, const CExtent& expected)
{
    EXPECT_EQ(got.minX, expected.minX);
    EXPECT_EQ(got.minY, expected.minY);
    EXPECT_EQ(got.maxX, expected.maxX);
    EXPECT_EQ(got.maxY, expected.maxY);
}

class SideSwitch : public DocumentTest {
protected:
    // A job with copper on both sides, the solder side current and its
    // component side parked in "top.tmp".
    void SetUp() override
    {
        DocumentTest::SetUp();
        g_HasComponentSide = 1;
        g_HasSolderSide = 1;
        g_ComponentGerberFile = "comp.gbr";
        g_SolderGerberFile = "sold.gbr";
        AddTrack(100);
        ASSERT_EQ(doc->SaveTempFile("top.tmp"), 1);
        doc->ClearSideData();
        g_CurrentSide = 1;
        AddTrack(200);
        AddTrack(201);
        auto block = std::make_unique<CLayoutBlock>(100, 50, 300, 250);
        doc->m_PanelLayout.m_BlockList.push_back(std::move(block));
        doc->m_PanelLayout.m_SelTracks.push_back(doc->m_TrackList[0].get());
        doc->m_JobFlag = 1;
    }

    std::vector<int> TrackIds() const
    {
        std::vector<int> ids;
        for (const auto& track : doc->m_TrackList)
            ids.push_back(track->recordNo);
        return ids;
    }

    const CLayoutBlock& Block() const { return *doc->m_PanelLayout.m_BlockList[0]; }
};

}  // namespace

TEST_F(DocumentTest, DrillExtentComesFromTheHoles)
{
    doc->m_DataChanged = 0;
    doc->ComputeBoardExtent();  // no drill tools: nothing changes
    ExpectExtent(doc->m_DrillExtent, EMPTY_EXTENT);
    EXPECT_EQ(doc->m_DataChanged, 0);

    AddHoles({});  // tools without holes measure nothing
    doc->ComputeBoardExtent();
    ExpectExtent(doc->m_DrillExtent, EMPTY_EXTENT);
    EXPECT_EQ(doc->m_DataChanged, 1);

    AddHoles({{150.7, -20.2}, {40.0, 300.9}});
    AddHoles({{90.0, 100.0}});
    doc->ComputeBoardExtent();
    ExpectExtent(doc->m_DrillExtent, {40, -20, 150, 300});
}

TEST_F(DocumentTest, DataExtentComesFromTheDrawnRouteBlocks)
{
    for (const char* line : {"G00X0.1Y0.2", "G01X0.5Y0.2", "G01X0.5Y-0.9", "G00X2.0Y2.0",
                             "G02X0.3Y0.4I0.1"})
        g_RouteDataWnd.Edit().WriteLine(line);
    g_DrillFormatDlg.dInchMM = 1;

    // A hidden route window is not measured.
    doc->m_DataChanged = 0;
    doc->ComputeBoardExtent();
    ExpectExtent(doc->m_DataExtent, EMPTY_EXTENT);
    EXPECT_EQ(doc->m_DataChanged, 0);

    g_RouteDataWnd.CreateOnce("route");
    g_RouteDataWnd.ShowWindow(true);
    doc->ComputeBoardExtent();
    // The text is read in inch whatever the drill format says; rapid moves
    // are not part of the drawing.
    ExpectExtent(doc->m_DataExtent, {300, -900, 500, 400});
    EXPECT_EQ(doc->m_DataChanged, 1);
    EXPECT_EQ(g_DrillFormatDlg.dInchMM, 1);

    // A route that draws nothing leaves the extent as it was.
    g_RouteDataWnd.Edit().ClearAll();
    g_RouteDataWnd.Edit().WriteLine("G00X9.0Y9.0");
    doc->ComputeBoardExtent();
    ExpectExtent(doc->m_DataExtent, {300, -900, 500, 400});
}

TEST_F(DocumentTest, PadExtentWidensByRadiusAndTrackWidth)
{
    CDPoint maxCorner, minCorner;
    doc->GetPadExtent(&maxCorner, &minCorner);  // nothing: the start values
    EXPECT_EQ(maxCorner, CDPoint(-1000000, -10000000));
    EXPECT_EQ(minCorner, CDPoint(10000000, 10000000));

    AddFlash(doc->m_FlashList, 100, 100, 10.5f);
    AddFlash(doc->m_PadList2, 500, 20, 5);
    AddTrack(1, 200, 300, 250, 350, 8);
    doc->GetPadExtent(&maxCorner, &minCorner);
    EXPECT_EQ(maxCorner, CDPoint(505, 358));
    EXPECT_EQ(minCorner, CDPoint(89, 15));
}

TEST_F(DocumentTest, InitCellsLaysFullLengthScanLines)
{
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = 100;
    g_BoardMaxY = 50;
    doc->m_GridStep = 10;
    ASSERT_EQ(doc->InitCells(), 1);
    ASSERT_EQ(doc->m_RowList.size(), 6u);
    ASSERT_EQ(doc->m_ColumnList.size(), 11u);
    for (std::size_t i = 0; i < doc->m_RowList.size(); ++i) {
        ASSERT_EQ(doc->m_RowList[i]->intervals.size(), 1u);
        const CScanInterval& row = *doc->m_RowList[i]->intervals[0];
        EXPECT_EQ(row.x1, 0.0f);
        EXPECT_EQ(row.x2, 100.0f);
        EXPECT_EQ(row.y1, 10.0f * i);
        EXPECT_EQ(row.y2, 10.0f * i);
        EXPECT_EQ(row.startTag, CScanInterval::kBoardEdge);
        EXPECT_EQ(row.endTag, CScanInterval::kBoardEdge);
        EXPECT_EQ(row.startNet, 0u);
    }
    const CScanInterval& lastColumn = *doc->m_ColumnList.back()->intervals[0];
    EXPECT_EQ(lastColumn.x1, 100.0f);
    EXPECT_EQ(lastColumn.y1, 0.0f);
    EXPECT_EQ(lastColumn.y2, 50.0f);

    // A pitch that does not divide the extent stops short of the far edge.
    doc->m_RowList.clear();
    doc->m_ColumnList.clear();
    doc->m_GridStep = 30;
    ASSERT_EQ(doc->InitCells(), 1);
    EXPECT_EQ(doc->m_RowList.size(), 2u);
    EXPECT_EQ(doc->m_ColumnList.size(), 4u);
}

TEST_F(DocumentTest, InitCellsRefusesAGridStepOfZeroOrLess)
{
    g_BoardMaxX = 100;
    g_BoardMaxY = 50;
    for (int step : {0, -4}) {
        doc->m_GridStep = step;
        EXPECT_EQ(doc->InitCells(), 0) << step;
        EXPECT_TRUE(doc->m_RowList.empty());
        EXPECT_TRUE(doc->m_ColumnList.empty());
    }
    EXPECT_EQ(TestHost().Boxes().size(), 2u);
}

TEST_F(SideSwitch, ComponentAndBackMirrorsBlocksAndKeepsEachSidesCopper)
{
    doc->OnComponentSide();
    EXPECT_EQ(TrackIds(), std::vector<int>{100});
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(g_ComponentSideActive, 1);
    EXPECT_EQ(g_SolderSideActive, 0);
    EXPECT_EQ(g_CopperColor, 0x5BBCF7u);
    EXPECT_EQ(doc->GetTitle(), "comp.gbr");
    EXPECT_EQ(doc->m_JobFlag, 0);
    EXPECT_TRUE(doc->m_PanelLayout.m_SelTracks.empty());
    EXPECT_EQ(Block().m_Extent.left, 11904);
    EXPECT_EQ(Block().m_Extent.right, 12104);
    EXPECT_EQ(Block().m_Sign.x, -1);
    EXPECT_EQ(Block().m_Sign.y, 1);
    EXPECT_DOUBLE_EQ(Block().m_Centre.x, 12204.0 - 200.0);

    doc->OnSolderSide();
    EXPECT_EQ(TrackIds(), (std::vector<int>{200, 201}));
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(g_SolderSideActive, 1);
    EXPECT_EQ(g_ComponentSideActive, 0);
    EXPECT_EQ(g_CopperColor, 0x808000u);
    EXPECT_EQ(doc->GetTitle(), "sold.gbr");
    EXPECT_EQ(Block().m_Extent.left, 100);
    EXPECT_EQ(Block().m_Extent.right, 300);
    EXPECT_EQ(Block().m_Sign.x, 1);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(SideSwitch, AnOpenProjectKeepsItsNameOnEitherSide)
{
    doc->SetTitle("/jobs/board.prj");
    doc->OnComponentSide();
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(doc->GetTitle(), "/jobs/board.prj");
    doc->OnSolderSide();
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(doc->GetTitle(), "/jobs/board.prj");
}

TEST_F(SideSwitch, ChoosingTheCurrentSideOnlyClearsTheJobFlag)
{
    doc->OnSolderSide();
    EXPECT_EQ(doc->m_JobFlag, 0);
    EXPECT_EQ(TrackIds(), (std::vector<int>{200, 201}));
    EXPECT_EQ(Block().m_Extent.left, 100);
    EXPECT_EQ(doc->m_PanelLayout.m_SelTracks.size(), 1u);
}

TEST_F(SideSwitch, BoardFlipSwitchesOnlyWhileNoJobRuns)
{
    g_JobCode = 3;
    doc->OnBoardFlip();
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(doc->m_JobFlag, 1);

    g_JobCode = 0;
    doc->OnBoardFlip();
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(TrackIds(), std::vector<int>{100});
    doc->OnBoardFlip();
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(TrackIds(), (std::vector<int>{200, 201}));
}

TEST_F(SideSwitch, FailedLoadOfTheOtherSideKeepsTheCurrentSide)
{
    struct Case {
        const char* what;
        std::vector<std::uint8_t> topBytes;
        bool removeTop;
    } cases[] = {
        {"corrupt", {0xE8, 0x03, 0, 0, 5, 0, 0, 0}, false},
        {"missing", {}, true},
    };
    for (const Case& c : cases) {
        if (c.removeTop)
            std::filesystem::remove(SystemFile("top.tmp"));
        else
            PutFile(SystemFile("top.tmp"), c.topBytes);
        std::size_t boxes = TestHost().Boxes().size();
        doc->OnComponentSide();
        EXPECT_EQ(TestHost().Boxes().size(), boxes + 1) << c.what;
        EXPECT_EQ(g_CurrentSide, 1) << c.what;
        EXPECT_EQ(g_CopperColor, COMPONENT_COPPER_COLOR) << c.what;  // as it was
        EXPECT_EQ(doc->GetTitle(), "") << c.what;
        EXPECT_EQ(TrackIds(), (std::vector<int>{200, 201})) << c.what;
        EXPECT_EQ(Block().m_Extent.left, 100) << c.what;
        // The solder side went to its own file and is good there.
        CVelmDoc other;
        ASSERT_EQ(other.LoadTempFile("bot.tmp"), 1) << c.what;
        EXPECT_EQ(other.m_TrackList.size(), 2u) << c.what;
    }
}

TEST_F(SideSwitch, FailedSaveOfTheCurrentSideStopsTheSwitch)
{
    g_SystemDir = TestDir() + "/missing/";
    doc->OnComponentSide();
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(TrackIds(), (std::vector<int>{200, 201}));
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{"Can't save temp file !"});
}

TEST_F(DocumentTest, UpdateHandlersFollowStageSideAndJob)
{
    struct Case {
        const char* what;
        std::function<void()> setUp;
        unsigned id;
        bool enabled;
        int checked;
    } cases[] = {
        {"edit stage", [&] { doc->m_WorkStage = 1; }, ID_STAGE_EDIT, true, 1},
        {"edit stage off", [&] { doc->m_WorkStage = 3; }, ID_STAGE_EDIT, true, 0},
        {"paths before isolation", [&] { doc->m_WorkStage = 2; }, ID_STAGE_PATHS, false, 1},
        {"paths after isolation", [&] { doc->m_IsolationDone = 1; }, ID_STAGE_PATHS, true, 0},
        {"layout stage", [&] { doc->m_WorkStage = 3; }, ID_STAGE_LAYOUT, true, 1},
        {"calculation in stage 2", [&] { doc->m_WorkStage = 2; }, ID_CALC_ISOLATION_LINES, true, 0},
        {"calculation in stage 3", [&] { doc->m_WorkStage = 3; }, ID_CALC_ISOLATION_LINES, false,
         0},
        {"machine params, port closed", [] {}, ID_MACHINE_PARAMS, false, 0},
        {"machine params, port open", [] { g_PortState = 0; }, ID_MACHINE_PARAMS, true, 0},
        {"machine params, job runs", [] { g_PortState = 0; g_JobCode = 1; }, ID_MACHINE_PARAMS,
         false, 0},
        {"machine params, aborted", [] { g_PortState = 0; g_AbortFlag = 1; }, ID_MACHINE_PARAMS,
         false, 0},
        {"machine params, TQ615", [] { g_PortState = 0; g_MachineModel = "TQ615"; },
         ID_MACHINE_PARAMS, false, 0},
        {"spare", [] {}, ID_SPARE_COMMAND, true, 0},
        {"component, no side", [] { g_CurrentSide = 0; }, ID_COMPONENT_SIDE, false, 1},
        {"component", [] { g_HasComponentSide = 1; }, ID_COMPONENT_SIDE, true, 0},
        {"component, job runs", [] { g_HasComponentSide = 1; g_JobCode = 2; }, ID_COMPONENT_SIDE,
         false, 0},
        {"solder", [] { g_HasSolderSide = 1; }, ID_SOLDER_SIDE, true, 1},
        {"board flip", [] {}, ID_BOARD_FLIP, true, 0},
        {"board flip, job runs", [] { g_JobCode = 2; }, ID_BOARD_FLIP, false, 0},
        {"tool width test", [] {}, ID_PLAN_TOOL_WIDTH_TEST, true, 0},
        {"tool width test, job loaded", [] { g_HasSolderSide = 1; }, ID_PLAN_TOOL_WIDTH_TEST, false,
         0},
        {"clear memory", [] {}, ID_FILE_CLEAR_SYSTEM_MEMORY, true, 0},
    };
    for (const Case& c : cases) {
        ResetProgramObjects();
        doc->m_WorkStage = 1;
        doc->m_IsolationDone = 0;
        c.setUp();
        CCmdUI ui(c.id);
        ASSERT_TRUE(doc->OnUpdateCmdUI(c.id, ui)) << c.what;
        EXPECT_EQ(ui.m_Enabled, c.enabled) << c.what;
        EXPECT_EQ(ui.m_Check, c.checked) << c.what;
    }
    CCmdUI none(ID_DRILL_PAD_CALIBRATE);
    EXPECT_FALSE(doc->OnUpdateCmdUI(ID_DRILL_PAD_CALIBRATE, none));
    EXPECT_FALSE(doc->OnCmdMsg(12345));
}
