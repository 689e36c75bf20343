// The document's construction values and what construction and destruction do
// with the stored options, the three clearing routines, and its small
// commands: the tool width test, clearing the stored settings, snapping
// holes onto pads and aligning them to the pads.
#include "doc_fixture.h"

#include "platform/program_state.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <filesystem>

namespace {

void AddHole(double x, double y)
{
    if (g_HoleList.empty())
        g_HoleList.push_back(std::make_unique<CDrillTool>());
    g_HoleList.back()->holes.push_back(std::make_unique<CDPoint>(x, y));
}

// Fills every list the clearing routines empty.
void FillEverything(CVelmDoc& doc)
{
    doc.m_ApertureList.push_back(std::make_unique<CApertureRecord>());
    doc.m_MacroList.push_back(std::make_unique<CApertureMacro>());
    doc.m_ClearRegionList.push_back(std::make_unique<CClearRegion>());
    doc.m_ClearRegionList.back()->strokes.push_back(std::make_unique<CClearStroke>());
    doc.m_TrackList.push_back(std::make_unique<CTrackRecord>());
    doc.m_TrackRefList.push_back(doc.m_TrackList.back().get());
    doc.m_NamedLayerList.push_back(std::make_unique<CNamedLayer>());
    doc.m_FlashList.push_back(std::make_unique<CFlashRecord>());
    doc.m_PadList2.push_back(std::make_unique<CFlashRecord>());
    doc.m_GridPathList.push_back(std::make_unique<CGridPathSegment>());
    doc.m_RowList.push_back(std::make_unique<CSubList>());
    doc.m_RowList.back()->intervals.push_back(std::make_unique<CScanInterval>());
    doc.m_ColumnList.push_back(std::make_unique<CSubList>());
    doc.m_PathLayerList.push_back(std::make_unique<CPathRecord>());
    doc.m_IsoSources.push_back(doc.m_IsoElements.Add(CIsoElement{}));
    doc.m_IsoSplitPieces.push_back(doc.m_IsoSources.back());
    doc.m_PointList.push_back(nullptr);
    doc.m_IsoGroups.push_back(std::make_unique<CIsoGroup>());
    doc.m_IsoGroups.back()->Sources.push_back(doc.m_IsoSources.back());
    doc.m_PanelLayout.m_SelTracks.push_back(doc.m_TrackList.back().get());
    doc.m_PanelLayout.m_SelFlashes.push_back(doc.m_FlashList.back().get());
    AddHole(1, 2);
    g_ToolSizes[5] = 31.5f;
}

}  // namespace

TEST_F(DocumentTest, ConstructionValues)
{
    EXPECT_EQ(doc->m_DataChanged, 1);
    EXPECT_EQ(doc->m_DrillExtent.minX, 10000000);
    EXPECT_EQ(doc->m_DataExtent.maxY, -10000000);
    EXPECT_EQ(doc->m_GerberExtent.maxX, -10000000);
    EXPECT_EQ(doc->m_Tracker.m_nStyle, CViewTracker::dottedLine | CViewTracker::resizeInside);
    EXPECT_FLOAT_EQ(doc->m_ToolWidth1, 7.874016f);
    EXPECT_FLOAT_EQ(doc->m_ToolWidth3, 59.055119f);
    EXPECT_FLOAT_EQ(doc->m_ToolValue2, 24.0f);
    EXPECT_FLOAT_EQ(doc->m_ClearOverlap, 0.2f);
    EXPECT_EQ(doc->m_GridStep, 4);
    EXPECT_EQ(doc->m_T1Step, 4);
    EXPECT_EQ(doc->m_UndoCount, 0);
    EXPECT_EQ(doc->m_UndoIndex, 0);
    EXPECT_EQ(doc->m_WorkStage, 1);
    EXPECT_EQ(doc->m_LayerName, "");
    EXPECT_DOUBLE_EQ(g_TableWidth, 12204.0);
    EXPECT_DOUBLE_EQ(g_TableHeight, 7874.0);
}

TEST_F(DocumentTest, OptionsComeFromTheStoreAndGoBackAtDestruction)
{
    doc.reset();
    RegSetInt("Unit", 2);
    doc = std::make_unique<CVelmDoc>();
    EXPECT_EQ(g_UnitSelector, 2);
    EXPECT_EQ(std::filesystem::current_path().string() + "/",
              std::filesystem::path(g_SystemDir).string());

    g_UnitSelector = 1;
    AddHole(3, 4);
    doc.reset();
    int unit = -1;
    RegGetInt("Unit", unit);
    EXPECT_EQ(unit, 1);
    EXPECT_TRUE(g_HoleList.empty());
}

TEST_F(DocumentTest, ClearAllEmptiesEveryListAndTheDrillData)
{
    FillEverything(*doc);
    doc->ClearAll();
    EXPECT_TRUE(doc->m_ApertureList.empty());
    EXPECT_TRUE(doc->m_MacroList.empty());
    EXPECT_TRUE(doc->m_ClearRegionList.empty());
    EXPECT_TRUE(doc->m_TrackList.empty());
    EXPECT_TRUE(doc->m_TrackRefList.empty());  // its tracks are gone
    EXPECT_TRUE(doc->m_NamedLayerList.empty());
    EXPECT_TRUE(doc->m_FlashList.empty());
    EXPECT_TRUE(doc->m_PadList2.empty());
    EXPECT_TRUE(doc->m_GridPathList.empty());
    EXPECT_TRUE(doc->m_RowList.empty());
    EXPECT_TRUE(doc->m_ColumnList.empty());
    EXPECT_TRUE(doc->m_PathLayerList.empty());
    EXPECT_EQ(doc->m_IsoElements.Count(), 0u);
    EXPECT_TRUE(doc->m_IsoSources.empty());
    EXPECT_TRUE(doc->m_IsoSplitPieces.empty());
    EXPECT_TRUE(doc->m_PointList.empty());
    EXPECT_TRUE(doc->m_IsoGroups.empty());
    EXPECT_TRUE(doc->m_PanelLayout.m_SelTracks.empty());
    EXPECT_TRUE(doc->m_PanelLayout.m_SelFlashes.empty());
    EXPECT_TRUE(g_HoleList.empty());
    for (float size : g_ToolSizes)
        EXPECT_EQ(size, 0.0f);
    doc->ClearAll();  // twice is harmless
}

TEST_F(DocumentTest, SideAndToolPathClearingKeepWhatIsNotTheirs)
{
    FillEverything(*doc);
    doc->ClearToolPaths();
    EXPECT_TRUE(doc->m_GridPathList.empty());
    EXPECT_TRUE(doc->m_RowList.empty());
    EXPECT_TRUE(doc->m_ColumnList.empty());
    EXPECT_TRUE(doc->m_ClearRegionList.empty());
    EXPECT_EQ(doc->m_IsoElements.Count(), 0u);
    EXPECT_TRUE(doc->m_IsoSources.empty());
    EXPECT_TRUE(doc->m_IsoSplitPieces.empty());
    EXPECT_TRUE(doc->m_PointList.empty());
    EXPECT_TRUE(doc->m_IsoGroups.empty());
    EXPECT_EQ(doc->m_PathLayerList.size(), 1u);
    EXPECT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_EQ(doc->m_ApertureList.size(), 1u);

    FillEverything(*doc);
    doc->ClearSideData();
    EXPECT_TRUE(doc->m_TrackList.empty());
    EXPECT_TRUE(doc->m_TrackRefList.empty());
    EXPECT_TRUE(doc->m_FlashList.empty());
    EXPECT_TRUE(doc->m_PadList2.empty());
    EXPECT_TRUE(doc->m_ClearRegionList.empty());
    EXPECT_TRUE(doc->m_RowList.empty());
    EXPECT_TRUE(doc->m_PanelLayout.m_SelTracks.empty());
    EXPECT_EQ(doc->m_PathLayerList.size(), 2u);
    EXPECT_EQ(doc->m_NamedLayerList.size(), 2u);
    EXPECT_EQ(doc->m_ApertureList.size(), 2u);
    EXPECT_EQ(g_HoleList.size(), 1u);
}

TEST_F(DocumentTest, ToolWidthTestEngravesEighteenDeepeningLines)
{
    int zooms = 0, layouts = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    doc->m_ViewHooks.blockLayout = [&] { ++layouts; EXPECT_EQ(zooms, 1); };
    g_CurrentSide = 0;
    ASSERT_TRUE(doc->OnCmdMsg(ID_PLAN_TOOL_WIDTH_TEST));
    ASSERT_EQ(doc->m_PathLayerList.size(), 18u);
    for (int i = 0; i < 18; ++i) {
        const CPathRecord& layer = *doc->m_PathLayerList[i];
        EXPECT_EQ(layer.name, "T1ISO");
        EXPECT_FLOAT_EQ(layer.size, 7.874f);
        EXPECT_NEAR(layer.depth, 6.0 + 2.0 * i, 1e-4) << i;  // 0.03 to 0.20 mm in Z pulses
        EXPECT_EQ(layer.side, 0);
        EXPECT_EQ(layer.colour, 0xAAAA78u);
        ASSERT_EQ(layer.items.size(), 1u);
        const CPathSegment& line = *layer.items[0];
        EXPECT_DOUBLE_EQ(line.x1, 200.0);
        EXPECT_DOUBLE_EQ(line.x2, 900.0);
        EXPECT_DOUBLE_EQ(line.y1, 200.0 + 39.37 * i);
        EXPECT_DOUBLE_EQ(line.y2, line.y1);
        EXPECT_EQ(line.value, i);
    }
    EXPECT_EQ(g_BoardMinX, 100);
    EXPECT_EQ(g_BoardMaxY, 1000);
    EXPECT_EQ(doc->m_WorkStage, 3);
    EXPECT_EQ(g_HasComponentSide, 1);
    EXPECT_EQ(layouts, 1);
}

TEST_F(DocumentTest, ClearSystemMemoryForgetsEveryStoredValue)
{
    RegSetString("Machine", "TQ615");
    RegSetInt("Unit", 1);
    doc->OnFileClearSystemMemory();
    std::string machine = "none";
    int unit = -1;
    RegGetString("Machine", machine);
    RegGetInt("Unit", unit);
    EXPECT_EQ(machine, "none");
    EXPECT_EQ(unit, -1);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(DocumentTest, PadSnapMovesHolesOntoTheFirstPadThatReachesThem)
{
    AddFlash(doc->m_FlashList, 100, 100, 20, 3);  // end pad: never a target
    AddFlash(doc->m_FlashList, 110, 100, 15);
    AddFlash(doc->m_FlashList, 100, 100, 30);
    AddFlash(doc->m_FlashList, 500, 500, 10);
    AddHole(101, 100);    // first two pads reach it: the first one wins
    AddHole(500, 510);    // exactly at the radius: stays
    AddHole(495, 502);    // inside
    AddHole(800, 800);    // no pad
    ASSERT_TRUE(doc->OnCmdMsg(ID_DRILL_PAD_CALIBRATE));
    const auto& holes = g_HoleList[0]->holes;
    EXPECT_EQ(*holes[0], CDPoint(110, 100));
    EXPECT_EQ(*holes[1], CDPoint(500, 510));
    EXPECT_EQ(*holes[2], CDPoint(500, 500));
    EXPECT_EQ(*holes[3], CDPoint(800, 800));
}

TEST_F(DocumentTest, DrillAlignmentRedrawsUnderTheWaitCursorAndReportsAFailure)
{
    // One pad at (0, 0), and one hole off it or none.
    struct Case {
        const char* what;
        int found;
        const char* status;
    } cases[] = {
        {"shift found", 1, "unchanged"},
        {"no holes", 0, "無法自動對齊鑽孔點位置 !"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc->m_FlashList.clear();
        g_HoleList.clear();
        g_StatusText = "unchanged";
        AddFlash(doc->m_FlashList, 0, 0, 20);
        if (c.found)
            AddHole(-1234.5, 678);
        int redraws = 0, waitDuringRedraw = -1;
        doc->m_ViewHooks.updateAllViews = [&] {
            ++redraws;
            waitDuringRedraw = TestHost().WaitCursorDepth();
        };

        EXPECT_EQ(doc->AutoAlignDrills(0), c.found);
        EXPECT_EQ(g_StatusText, c.status);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(waitDuringRedraw, 1);
        EXPECT_EQ(TestHost().WaitCursorDepth(), 0);
        if (c.found) {
            EXPECT_EQ(*g_HoleList[0]->holes[0], CDPoint(0, 0));
        }
    }
}

TEST_F(DocumentTest, ToolWidthTestStopsWhenTheSettingsFileCannotBeRead)
{
    std::filesystem::remove(g_SystemDir + "ORDUNE.INI");
    ASSERT_TRUE(doc->OnCmdMsg(ID_PLAN_TOOL_WIDTH_TEST));
    EXPECT_TRUE(doc->m_PathLayerList.empty());
    ASSERT_FALSE(TestHost().Boxes().empty());
    EXPECT_EQ(TestHost().Boxes().back().text, "無法讀取系統設定檔 !");
}

TEST_F(DocumentTest, SystemSettingsCommandReadsTheSettingsFileThenRunsTheDialog)
{
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_SYSTEM_SETTINGS);
    ASSERT_TRUE(doc->OnCmdMsg(ID_FILE_SYSTEM_SETTINGS));
    EXPECT_GT(g_SettingsTextWnd.Edit().GetLineCount(), 0);
    // The settings text window (178) is made hidden by the reading.
    EXPECT_EQ(TestHost().DialogsShown(), (std::vector<unsigned>{178, 185}));
}

TEST_F(DocumentTest, DestructionClosesTheOpenTextWindows)
{
    g_RouteDataWnd.CreateOnce("route");
    ASSERT_TRUE(g_RouteDataWnd.IsWindow());
    doc.reset();
    EXPECT_FALSE(g_RouteDataWnd.IsWindow());
}
