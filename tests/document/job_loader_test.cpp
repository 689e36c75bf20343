// The File/New job loader: the side alignment of two copper sides, the jobs
// of a drill or a route file alone, the default outline, the stored work
// order, the processing macro, and File/New itself.
#include "document/job_loader.h"
#include "import/import_fixture.h"
#include "link/link_state.h"
#include "platform/binary_io.h"
#include "platform/file_messages.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <filesystem>
#include <sstream>
#include <vector>

namespace {

struct Pad {
    int x, y;
    int aperture;   // 10: 60 mil round, 11: 100 mil round, 12: 20 mil round
};

class JobLoaderTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        g_SystemDir = TestDir();
        g_FileAuto = 1;
        g_GerberFormatDlg.AreaFill = 1;
    }

    // A copper side of round pads (inch, 2.3: digits are mil).
    static std::string Side(const std::string& name, const std::vector<Pad>& pads)
    {
        std::ostringstream body;
        for (const Pad& p : pads)
            body << "D" << p.aperture << "*X" << p.x << "Y" << p.y << "D03*\n";
        return WriteFile(name, Gerber("%ADD10C,0.060*%\n%ADD11C,0.100*%\n%ADD12C,0.020*%\n",
                                      body.str()));
    }

    // The pads of the working side, as (x, y) pairs in list order.
    std::vector<std::pair<float, float>> Pads() const
    {
        std::vector<std::pair<float, float>> pads;
        for (const auto& f : doc->m_FlashList)
            if (f->type == 0)
                pads.emplace_back(f->x, f->y);
        return pads;
    }

    static std::vector<Pad> Shifted(std::vector<Pad> pads, int dx, int dy)
    {
        for (Pad& p : pads) {
            p.x += dx;
            p.y += dy;
        }
        return pads;
    }
};

const std::vector<Pad> kRow = {{1000, 1000, 10}, {1500, 1000, 10}, {2000, 1000, 10}};

TEST_F(JobLoaderTest, ComponentSideIsShiftedOntoTheSolderSide)
{
    struct Case {
        const char* name;
        std::vector<Pad> solder, component;
        POINT offset;
    };
    std::vector<Pad> solderCorner = kRow, componentCorner = Shifted(kRow, 37, 12);
    solderCorner.push_back({3000, 3000, 11});
    // A corner pad of another size far from the true match: the common
    // pad size must be used instead.
    componentCorner.push_back({3100, 3100, 12});
    // Corner pads of two sizes on sides that agree: the sides are looked at
    // one after the other and nothing moves, yet each side file keeps its side.
    std::vector<Pad> smallCorner = kRow;
    smallCorner.push_back({3000, 3000, 12});
    // Sides that share the file's frame, one with copper further out each
    // way (a lone pad beyond the other side's top right corner, a logo to
    // the lower left): the pads nearest each side's own corner differ, and
    // still nothing may move.
    std::vector<Pad> reachingFurther = kRow;
    reachingFurther.push_back({2600, 1400, 10});
    reachingFurther.push_back({300, 200, 11});
    const Case cases[] = {
        {"corner pads of one size", kRow, Shifted(kRow, 37, 12), {37, 12}},
        {"one frame, one side's copper reaches further", kRow, reachingFurther, {0, 0}},
        {"corner pads differ", solderCorner, componentCorner, {37, 12}},
        {"corner pads differ, sides agree", solderCorner, smallCorner, {0, 0}},
        {"less than a mil apart", kRow, Shifted(kRow, 0, 0), {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_SolderGerberFile = Side("bot.gbr", c.solder);
        g_ComponentGerberFile = Side("top.gbr", c.component);
        doc->LoadWorkOrder();

        EXPECT_EQ(doc->m_DataOffset.x, c.offset.x);
        EXPECT_EQ(doc->m_DataOffset.y, c.offset.y);
        // The document holds the solder side; the row of pads of both sides
        // now lies on the same points.
        EXPECT_EQ(g_CurrentSide, 1);
        EXPECT_EQ(g_SolderSideActive, 1);
        EXPECT_EQ(doc->GetTitle(), g_SolderGerberFile);
        EXPECT_EQ(doc->m_WorkStage, 1);
        auto solder = Pads();
        ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
        auto component = Pads();
        ASSERT_GE(solder.size(), 3u);
        ASSERT_GE(component.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(component[i].first, solder[i].first, 1e-3);
            EXPECT_NEAR(component[i].second, solder[i].second, 1e-3);
        }
        // A shift starts the component side at (0, 0) (the pad's edge).
        if (c.offset.x || c.offset.y) {
            EXPECT_NEAR(component[0].first - 30.0f, 0.0f, 1e-3);
        }
    }
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
}

TEST_F(JobLoaderTest, UnshiftedSidesBothCountInTheCopperExtent)
{
    // The corner pads agree, so nothing moves and the document keeps the
    // component side; the solder side's extra pad must still count.
    std::vector<Pad> solder = kRow;
    solder.push_back({500, 400, 10});
    g_SolderGerberFile = Side("bot.gbr", solder);
    g_ComponentGerberFile = Side("top.gbr", kRow);
    doc->LoadWorkOrder();
    EXPECT_EQ(doc->m_DataOffset.x, 0);
    const CExtent& g = doc->m_GerberExtent;
    EXPECT_EQ(g.maxX - g.minX, 2030 - 470);
    EXPECT_EQ(g.maxY - g.minY, 1030 - 370);
}

TEST_F(JobLoaderTest, CopperWithoutRouteGetsADefaultOutlineAndTheOrderIsStored)
{
    g_ComponentGerberFile = Side("top.gbr", kRow);
    g_ComponentApertureFile = "";
    g_CalcMethod = 0;
    // No route file, or a board profile that draws nothing.
    for (const std::string& routeFile : {std::string(), WriteFile("edge.gbr", Gerber("", ""))}) {
        SCOPED_TRACE(routeFile.empty() ? "no route file" : "a route file without lines");
        g_RouteFile = routeFile;
        doc->LoadWorkOrder();

        // One side: the document holds it, the extent is its pads' extent.
        EXPECT_EQ(g_CurrentSide, 0);
        EXPECT_EQ(g_ComponentSideActive, 1);
        const CExtent& g = doc->m_GerberExtent;
        EXPECT_EQ(g.maxX - g.minX, 1060);
        EXPECT_EQ(g.maxY - g.minY, 60);
        ASSERT_EQ(doc->m_NamedLayerList.size(), 1u);
        const CNamedLayer* route = doc->FindNamedLayer("route");
        ASSERT_NE(route, nullptr);
        ASSERT_EQ(route->tracks.size(), 4u);
        const float l = float(g.minX - 50), b = float(g.minY - 50);
        const float r = float(g.maxX + 50), t = float(g.maxY + 50);
        const float expected[4][4] = {{l, b, l, t}, {l, t, r, t}, {r, t, r, b}, {r, b, l, b}};
        for (int i = 0; i < 4; ++i) {
            const CTrackRecord& track = *route->tracks[i];
            EXPECT_EQ(track.x1, expected[i][0]);
            EXPECT_EQ(track.y1, expected[i][1]);
            EXPECT_EQ(track.x2, expected[i][2]);
            EXPECT_EQ(track.y2, expected[i][3]);
            EXPECT_EQ(track.width, 5.0f);
            EXPECT_EQ(track.type, 0);
            EXPECT_EQ(track.recordNo, 1);
        }
    }
    g_RouteFile = "";
    doc->LoadWorkOrder();
    const CExtent& g = doc->m_GerberExtent;
    // No drill file: the drill extent is the copper's; the board extent
    // takes 100 mil round them.
    EXPECT_EQ(doc->m_DrillExtent.maxX, g.maxX);
    EXPECT_EQ(g_BoardMinX, g.minX - 100);
    EXPECT_EQ(g_BoardMaxY, g.maxY + 100);

    std::string stored;
    RegGetString("p2", stored);
    EXPECT_EQ(stored, g_ComponentGerberFile);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(JobLoaderTest, DrillOnlyJob)
{
    g_DrillFormatDlg.dZeroSup = 0;
    g_DrillFormatDlg.dUnitInt = 2;
    g_DrillFormatDlg.dUnitDec = 3;
    g_DrillFile = WriteFile("d.drl", "M48\nT1C0.040\n%\nT1\nX1000Y2000\nX3000Y2500\nM30\n");
    int drillsShown = 0, layouts = 0;
    CExtent laidOut;
    doc->m_ViewHooks.showDrills = [&] { ++drillsShown; };
    doc->m_ViewHooks.blockLayout = [&] {
        ++layouts;
        laidOut = {g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY};
    };

    // The layout sees the holes with 100 mil round them, or the whole
    // table when the probe test is skipped.
    struct Case {
        int skipProbeTest;
        CExtent laidOut;
    };
    for (int skip : {0, 1}) {
        SCOPED_TRACE(skip);
        g_SkipProbeTest = skip;
        drillsShown = layouts = 0;
        g_StatusText.assign("said by an earlier load");
        doc->LoadWorkOrder();
        EXPECT_TRUE(g_StatusText.empty()) << g_StatusText;
        // The table is the machine model's, which the settings file sets.
        const Case c = skip ? Case{1, {0, 0, int(g_TableWidth), int(g_TableHeight)}}
                            : Case{0, {900, 1900, 3100, 2600}};
        EXPECT_EQ(g_HasComponentSide + g_HasSolderSide, 0);
        ASSERT_EQ(g_HoleList.size(), 1u);
        EXPECT_EQ(g_HoleList[0]->holes.size(), 2u);
        EXPECT_EQ(drillsShown, 1);
        EXPECT_EQ(layouts, 1);
        EXPECT_EQ(laidOut.minX, c.laidOut.minX);
        EXPECT_EQ(laidOut.minY, c.laidOut.minY);
        EXPECT_EQ(laidOut.maxX, c.laidOut.maxX);
        EXPECT_EQ(laidOut.maxY, c.laidOut.maxY);
        // Without copper no outline is made, and the side files stay empty.
        EXPECT_EQ(doc->FindNamedLayer("route"), nullptr);
        EXPECT_EQ(std::filesystem::file_size(JoinPath(TestDir(), "top.tmp")), 0u);
        // The final board extent: the holes with 100 mil round them.
        EXPECT_EQ(g_BoardMinX, 900);
        EXPECT_EQ(g_BoardMaxY, 2600);
    }
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(JobLoaderTest, ADamagedHugeDrillCoordinateStaysInRange)
{
    // A coordinate far beyond any table: the extent saturates instead of
    // wrapping round when the 100-mil margin is added.
    g_DrillFormatDlg.dZeroSup = 0;
    g_DrillFormatDlg.dUnitInt = 2;
    g_DrillFormatDlg.dUnitDec = 3;
    g_DrillFile = WriteFile("d.drl", "M48\nT1C0.040\n%\nT1\nX-99999999999Y2000\nX3000Y2500\nM30\n");
    doc->LoadWorkOrder();
    EXPECT_EQ(g_BoardMinX, INT32_MIN);
    EXPECT_EQ(g_BoardMaxX, 3100);
}

TEST_F(JobLoaderTest, RouteOnlyJobTakesItsOwnOrigin)
{
    const char* kRound10 = "%ADD10C,0.010*%\n";
    g_RouteFile = WriteFile("r.gbr", Gerber(kRound10, "D10*X5000Y7000D02*X6000Y7000D01*X6000Y8000D01*"));
    int routeShown = 0;
    doc->m_ViewHooks.showRoute = [&] { ++routeShown; };
    doc->LoadWorkOrder();
    EXPECT_EQ(routeShown, 1);
    const CNamedLayer* route = doc->FindNamedLayer("route");
    ASSERT_NE(route, nullptr);
    ASSERT_FALSE(route->tracks.empty());
    // The route's own minimum corner is the origin.
    EXPECT_EQ(g_DataOriginX, doc->m_DataExtent.minX);
    EXPECT_GT(g_DataOriginX, 4000);
    EXPECT_LE(g_DataOriginX, 5000);
    EXPECT_EQ(route->tracks[0]->x1, float(5000 - g_DataOriginX));
    EXPECT_EQ(route->tracks[0]->y1, float(7000 - g_DataOriginY));
}

TEST_F(JobLoaderTest, PlainBranchTakesCoordinatesAsTheyStand)
{
    g_FileAuto = 0;
    g_SolderGerberFile = Side("bot.gbr", kRow);
    g_ComponentGerberFile = Side("top.gbr", Shifted(kRow, 37, 12));
    doc->LoadWorkOrder();
    EXPECT_EQ(g_DataOriginX, 0);
    // The side read last stays in the document.
    auto pads = Pads();
    ASSERT_EQ(pads.size(), 3u);
    EXPECT_NEAR(pads[0].first, 1037.0f, 1e-3);
    EXPECT_EQ(doc->m_GerberExtent.minX, 970);
    EXPECT_EQ(doc->m_GerberExtent.maxX, 2067);
    EXPECT_EQ(doc->m_ViewExtent.maxX, 2067 - 970);
}

TEST_F(JobLoaderTest, UnreadableSideLosesItsFlagAndTheLoadGoesOn)
{
    g_SolderGerberFile = JoinPath(TestDir(), "missing.gbr");
    g_ComponentGerberFile = Side("top.gbr", kRow);
    EXPECT_FALSE(doc->LoadWorkOrder());
    EXPECT_EQ(g_HasSolderSide, 0);
    EXPECT_EQ(g_HasComponentSide, 1);
    EXPECT_EQ(Pads().size(), 3u);
    EXPECT_EQ(TestHost().BoxTexts(),
              std::vector<std::string>{WithName(IDS_CANNOT_READ_FILE, g_SolderGerberFile)});
}

// A component side that is refused part way (cut off before its end code)
// gives back what the document held: the solder side, which stays the
// working side with its pads; the component side file parks that same
// copper, as a refused read always left it.
TEST_F(JobLoaderTest, ARefusedComponentSideLeavesTheSolderSideAsItWas)
{
    std::vector<Pad> solder = kRow;
    solder.push_back({3000, 3000, 11});
    g_SolderGerberFile = Side("bot.gbr", solder);
    g_ComponentGerberFile = WriteFile("top.gbr", "%FSLAX23Y23*%\n%MOIN*%\n%ADD10C,0.060*%\n"
                                                 "D10*X1000Y1000D03*\nX1500Y1000D03*\n");
    EXPECT_FALSE(doc->LoadWorkOrder());
    EXPECT_EQ(g_HasSolderSide, 1);
    EXPECT_EQ(g_HasComponentSide, 0);
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find("top.gbr"), std::string::npos);
    const auto pads = Pads();
    EXPECT_EQ(pads.size(), solder.size());
    std::vector<std::uint8_t> top, bottom;
    ASSERT_TRUE(ReadWholeFile(JoinPath(TestDir(), "top.tmp"), top));
    ASSERT_TRUE(ReadWholeFile(JoinPath(TestDir(), "bot.tmp"), bottom));
    EXPECT_EQ(top, bottom);
    EXPECT_EQ(doc->SideFileImage(), bottom);
}

TEST_F(JobLoaderTest, AJobOfUnreadableFilesSaysSoOnceAndKeepsTheOpenJob)
{
    g_ComponentGerberFile = Side("top.gbr", kRow);
    ASSERT_TRUE(doc->LoadWorkOrder());
    const std::string missing = JoinPath(TestDir(), "missing.file");
    const std::string empty = WriteFile("empty.file", "");
    const std::string folder = JoinPath(TestDir(), "folder.file");
    std::filesystem::create_directories(folder);
    const std::string gerber = g_ComponentGerberFile;
    struct Case {
        const char* name;
        std::string* entry;   // the one file of the order
        std::string path;
        std::string message;
    };
    std::string apertures;   // beside a good Gerber
    const Case cases[] = {
        {"missing Gerber", &g_ComponentGerberFile, missing, WithName(IDS_CANNOT_READ_FILE, missing)},
        {"folder as Gerber", &g_SolderGerberFile, folder, WithName(IDS_FILE_IS_FOLDER, folder)},
        {"empty Gerber", &g_ComponentGerberFile, empty, WithName(IDS_FILE_EMPTY, empty)},
        {"missing drill file", &g_DrillFile, missing, WithName(IDS_DRILL_OPEN_ERROR, missing)},
        {"empty drill file", &g_DrillFile, empty, WithName(IDS_FILE_EMPTY, empty)},
        {"folder as drill file", &g_DrillFile, folder, WithName(IDS_FILE_IS_FOLDER, folder)},
        {"missing route", &g_RouteFile, missing, WithName(IDS_CANNOT_READ_FILE, missing)},
        {"folder as route", &g_RouteFile, folder, WithName(IDS_FILE_IS_FOLDER, folder)},
        {"empty aperture file", &apertures, empty, WithName(IDS_FILE_EMPTY, empty)},
        {"folder as aperture file", &apertures, folder, WithName(IDS_FILE_IS_FOLDER, folder)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t boxesBefore = TestHost().Boxes().size();
        for (std::string* entry : {&g_ComponentGerberFile, &g_SolderGerberFile, &g_DrillFile,
                                   &g_RouteFile, &g_ComponentApertureFile})
            entry->clear();
        if (c.entry == &apertures) {
            g_ComponentGerberFile = gerber;
            g_ComponentApertureFile = c.path;
        } else {
            *c.entry = c.path;
        }
        EXPECT_FALSE(doc->LoadWorkOrder());
        const auto texts = TestHost().BoxTexts();
        EXPECT_EQ(std::vector<std::string>(texts.begin() + long(boxesBefore), texts.end()),
                  std::vector<std::string>{c.message});
        // The open job is as it was.
        EXPECT_EQ(Pads().size(), 3u);
        EXPECT_EQ(g_HasComponentSide, 1);
        EXPECT_NE(doc->FindNamedLayer("route"), nullptr);
    }
}

TEST_F(JobLoaderTest, TheRouteTakesTheMoveOfTheCopper)
{
    // The route is drawn through the solder side's pad centres in the
    // files; after the side alignment moved both sides it must still be.
    g_SolderGerberFile = Side("bot.gbr", kRow);
    g_ComponentGerberFile = Side("top.gbr", Shifted(kRow, 37, 12));
    g_RouteFile = WriteFile("r.gbr", Gerber("%ADD10C,0.010*%\n",
                                            "D10*X1000Y1000D02*X2000Y1000D01*X2000Y3000D01*"));
    ASSERT_TRUE(doc->LoadWorkOrder());
    EXPECT_EQ(doc->m_DataOffset.x, 37);
    const auto pads = Pads();
    ASSERT_EQ(pads.size(), 3u);
    const CNamedLayer* route = doc->FindNamedLayer("route");
    ASSERT_NE(route, nullptr);
    ASSERT_FALSE(route->tracks.empty());
    EXPECT_NEAR(route->tracks[0]->x1, pads[0].first, 1e-3);
    EXPECT_NEAR(route->tracks[0]->y1, pads[0].second, 1e-3);
    EXPECT_NEAR(route->tracks[0]->x2, pads[2].first, 1e-3);
    // The data extent measured after the move.
    EXPECT_EQ(doc->m_DataExtent.minX, static_cast<int>(pads[0].first - 30.0f));
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
}

TEST_F(JobLoaderTest, ProcessingMacroRunsOnlyForAChosenMethod)
{
    g_ComponentGerberFile = Side("top.gbr", kRow);
    const std::string macroError = LoadResString(IDS_MACRO_FILE_ERROR);
    g_CalcMethod = 0;
    doc->LoadWorkOrder();
    EXPECT_TRUE(TestHost().Boxes().empty());
    // A method without its block in the macro text is reported.
    g_CalcMethod = 2;
    g_MacroTextWnd.Edit().SetTextByUser("DESCRIPTION $first\r\n}\r\nDESCRIPTION $second\r\n}\r\n");
    doc->LoadWorkOrder();
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{macroError});
    g_CalcMethod = 1;
    doc->LoadWorkOrder();
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{macroError});
}

TEST_F(JobLoaderTest, FileNew)
{
    g_ComponentGerberFile = Side("top.gbr", kRow);
    // While a machine job runs nothing happens, not even the dialog.
    g_JobCode = 3;
    doc->OnCmdMsg(ID_FILE_NEW);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
    EXPECT_TRUE(doc->m_FlashList.empty());
    g_JobCode = 0;

    // Cancel loads nothing; OK loads the order.
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_WORK_ORDER);
    doc->OnCmdMsg(ID_FILE_NEW);
    EXPECT_TRUE(doc->m_FlashList.empty());
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDOK); }, IDD_WORK_ORDER);
    doc->OnCmdMsg(ID_FILE_NEW);
    EXPECT_EQ(Pads().size(), 3u);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST_F(JobLoaderTest, GetDataExtent)
{
    struct Case {
        const char* name;
        float x1, y1, x2, y2, width;
        int type;
        CDPoint max, min;
    };
    const CDPoint none_max(-500000, -500000), none_min(1000000, 1000000);
    const Case cases[] = {
        {"line: ends only", 10, 20, 110, 220, 8, 0, {110, 220}, {10, 20}},
        {"vertical rectangle", 10, 20, 10, 220, 8, 1, {14, 220}, {6, 20}},
        {"horizontal oval", 10, 20, 110, 20, 8, 2, {110, 24}, {10, 16}},
        {"slanted rectangle", 10, 20, 110, 220, 8, 1, none_max, none_min},
        {"arc record", 10, 20, 1, 2, 8, 8, none_max, none_min},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->m_TrackList.clear();
        auto t = NewTrackRecord(c.x1, c.y1, c.x2, c.y2, c.width);
        t->type = std::uint8_t(c.type);
        doc->m_TrackList.push_back(std::move(t));
        CDPoint max, min;
        doc->GetDataExtent(max, min);
        EXPECT_EQ(max, c.max);
        EXPECT_EQ(min, c.min);
    }
    // Pads by their radius, and the route layer's records.
    doc->m_TrackList.clear();
    auto pad = std::make_unique<CFlashRecord>();
    pad->x = 100;
    pad->y = 100;
    pad->radius = 30;
    doc->m_FlashList.push_back(std::move(pad));
    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    route->tracks.push_back(NewTrackRecord(-40, 0, 500, 0, 5));
    doc->m_NamedLayerList.push_back(std::move(route));
    CDPoint max, min;
    doc->GetDataExtent(max, min);
    EXPECT_EQ(max, CDPoint(500, 130));
    EXPECT_EQ(min, CDPoint(-40, 0));
}

}  // namespace
