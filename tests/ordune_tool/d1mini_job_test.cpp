// A real two-sided job through File/New: the D1MiniGSR board of the corpus
// (F_Cu component side, B_Cu solder side, the plated-hole drill file, the
// Edge_Cuts profile as route), loaded by ordune-tool into a project and in
// process. Skips without the corpus.
#include "document/velm_doc.h"
#include "platform/binary_io.h"
#include "platform/paths.h"
#include "records/board_records.h"
#include "records/track_geometry.h"
#include "settings/default_files.h"
#include "settings/drill_format_dlg.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

const char* const kBoard = "boards/D1MiniGSR/D1MiniGSR-";

class D1MiniJob : public testing::Test {
protected:
    void SetUp() override
    {
        if (CorpusPath(std::string(kBoard) + "F_Cu.gbr").empty())
            GTEST_SKIP() << "no corpus";
        ASSERT_TRUE(SeedSystemDir(TestDir()));
        g_SystemDir = TestDir();
        doc = std::make_unique<CVelmDoc>();
    }

    static std::string File(const char* name) { return CorpusPath(std::string(kBoard) + name); }

    void Load(int fileAuto)
    {
        g_FileAuto = fileAuto;
        g_ComponentGerberFile = File("F_Cu.gbr");
        g_SolderGerberFile = File("B_Cu.gbr");
        g_DrillFile = File("PTH.drl");
        g_RouteFile = File("Edge_Cuts.gbr");
        // The drill file is metric with decimal points: the operator's
        // drill format says millimetres.
        g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 1;
        doc->LoadWorkOrder();
    }

    // The holes, less `origin`, that lie on no copper of the working side
    // (a pad, or the strokes the area-fill reader makes of a pad).
    int HolesOffCopper(double originX, double originY) const
    {
        int off = 0;
        for (const auto& tool : g_HoleList)
            for (const auto& hole : tool->holes) {
                const double x = hole->x - originX, y = hole->y - originY;
                bool on = false;
                for (const auto& pad : doc->m_FlashList)
                    on = on || std::hypot(pad->x - x, pad->y - y) <= pad->radius;
                for (const auto& track : doc->m_TrackList)
                    on = on || (track->type < 3 && PointInTrack(*track, x, y));
                off += on ? 0 : 1;
            }
        return off;
    }

    std::unique_ptr<CVelmDoc> doc;
};

TEST_F(D1MiniJob, LoadsBothSidesTheDrillsAndTheRoute)
{
    Load(1);
    // The drill file shares the copper's coordinates: the holes take the
    // copper's move and land on their pads without a word.
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
    EXPECT_EQ(g_HasComponentSide, 1);
    EXPECT_EQ(g_HasSolderSide, 1);
    // The working side is the solder side.
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(doc->m_TrackList.size(), 17u);
    EXPECT_EQ(doc->m_FlashList.size(), 33u);
    // The board is 24.8 x 19.6 mm; the copper starts at (0, 0).
    EXPECT_EQ(doc->m_GerberExtent.minX, 0);
    EXPECT_EQ(doc->m_GerberExtent.minY, 0);
    EXPECT_EQ(doc->m_GerberExtent.maxX, 978);
    EXPECT_EQ(doc->m_GerberExtent.maxY, 770);
    // Both sides share the file origin: no shift between them.
    EXPECT_EQ(doc->m_DataOffset.x, 0);
    EXPECT_EQ(doc->m_DataOffset.y, 0);

    // 4 holes of 0.8 mm and 16 of 1.0 mm.
    ASSERT_EQ(g_HoleList.size(), 2u);
    EXPECT_EQ(g_HoleList[0]->holes.size(), 4u);
    EXPECT_NEAR(g_HoleList[0]->diameter, 31.5f, 0.1f);
    EXPECT_EQ(g_HoleList[1]->holes.size(), 16u);
    EXPECT_NEAR(g_HoleList[1]->diameter, 39.4f, 0.1f);
    // The copper lost the data origin, and so did the holes.
    EXPECT_NE(g_DataOriginX, 0);
    EXPECT_EQ(HolesOffCopper(0, 0), 0);
    ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
    EXPECT_EQ(doc->m_TrackList.size(), 33u);
    EXPECT_EQ(doc->m_FlashList.size(), 65u);
    EXPECT_EQ(HolesOffCopper(0, 0), 0);

    // The profile layer of this board has no draws: the default outline,
    // 50 mil round the copper, takes its place.
    const CNamedLayer* route = doc->FindNamedLayer("route");
    ASSERT_NE(route, nullptr);
    ASSERT_EQ(route->tracks.size(), 4u);
    EXPECT_EQ(route->tracks[0]->x1, -50.0f);
    EXPECT_EQ(route->tracks[0]->y1, -50.0f);
    EXPECT_EQ(route->tracks[1]->x2, 978.0f + 50.0f);
    EXPECT_EQ(route->tracks[1]->y2, 770.0f + 50.0f);
}

TEST_F(D1MiniJob, WithoutAutomaticFileHandlingHolesLandOnThePads)
{
    Load(0);
    EXPECT_EQ(g_DataOriginX, 0);
    // The document keeps the side read last: the component side.
    EXPECT_EQ(doc->m_FlashList.size(), 65u);
    EXPECT_EQ(HolesOffCopper(0, 0), 0);
}

TEST_F(D1MiniJob, OrduneToolLoadsTheJobIntoAProject)
{
    const std::string project = JoinPath(TestDir(), "d1.prj");
    std::string command = std::string(ORDUNE_BIN_DIR) + "/ordune-tool load --component " +
                          File("F_Cu.gbr") + " --solder " + File("B_Cu.gbr") + " --drill " +
                          File("PTH.drl") + " --route " + File("Edge_Cuts.gbr") +
                          " --dialect PROTEL --drill-units mm --project " + project +
                          " >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(doc->LoadProject(project), 1);
    EXPECT_EQ(g_CadDialect, "PROTEL");
    // The project keeps the solder side as the working side.
    ASSERT_EQ(g_CurrentSide, 1);
    ASSERT_EQ(doc->LoadTempFile("bot.tmp"), 1);
    EXPECT_EQ(doc->m_TrackList.size(), 17u);
    EXPECT_EQ(doc->m_FlashList.size(), 33u);
    std::size_t holes = 0;
    for (const auto& tool : g_HoleList)
        holes += tool->holes.size();
    EXPECT_EQ(holes, 20u);
    EXPECT_NE(doc->FindNamedLayer("route"), nullptr);
}

// The path calculation from the tool: every layer of both sides, the same
// bytes from a second run, and a refusal of bad widths.
TEST_F(D1MiniJob, OrduneToolCalcMakesEveryLayerOfBothSides)
{
    const std::string tool = std::string(ORDUNE_BIN_DIR) + "/ordune-tool ";
    const std::string project = JoinPath(TestDir(), "d1.prj");
    const std::string paths = JoinPath(TestDir(), "d1-paths.prj");
    ASSERT_EQ(std::system((tool + "load --component " + File("F_Cu.gbr") + " --solder " +
                           File("B_Cu.gbr") + " --dialect PROTEL --project " + project +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
    const std::string calc =
        tool + "calc " + project + " --tools 0.2,0.6,1.5 --out " + paths + " >/dev/null 2>&1";
    ASSERT_EQ(std::system(calc.c_str()), 0);
    std::vector<std::uint8_t> first, second;
    ASSERT_TRUE(ReadWholeFile(paths, first));
    ASSERT_EQ(std::system(calc.c_str()), 0);
    ASSERT_TRUE(ReadWholeFile(paths, second));
    EXPECT_EQ(first, second);

    ASSERT_EQ(doc->LoadProject(paths), 1);
    std::vector<std::string> layers;
    for (const auto& layer : doc->m_PathLayerList) {
        layers.push_back(layer->name + "/" + std::to_string(layer->side));
        EXPECT_FALSE(layer->items.empty()) << layers.back();
        if (layer->name.rfind("T2", 0) == 0) {
            EXPECT_NEAR(layer->size, 0.6 * 100.0 / 2.54, 1e-3);
        }
    }
    // Each side puts its layers at the head of the list (the solder side,
    // computed second, first) except T2ISO and T2MIL, which go to its tail.
    EXPECT_EQ(layers,
              (std::vector<std::string>{"T1ISO/1", "T1PATH/1", "T1MIL/1", "T2PATH/1", "T3MIL/1",
                                        "T3PATH/1", "T2PATH/1", "T1ISO/0", "T1PATH/0", "T1MIL/0",
                                        "T2PATH/0", "T3MIL/0", "T3PATH/0", "T2PATH/0", "T2ISO/0",
                                        "T2MIL/0", "T2ISO/1", "T2MIL/1"}));
    // Both sides keep their copper (the solder side was the working one).
    ASSERT_EQ(doc->LoadTempFile("bot.tmp"), 1);
    EXPECT_EQ(doc->m_TrackList.size(), 17u);
    ASSERT_EQ(doc->LoadTempFile("top.tmp"), 1);
    EXPECT_FALSE(doc->m_TrackList.empty());

    EXPECT_NE(std::system((tool + "calc " + project + " --tools 0.2,x,1.5 --out " + paths +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
    EXPECT_NE(std::system((tool + "calc " + project + " --tools 0.5,0.2,1.5 --out " + paths +
                           " >/dev/null 2>&1")
                              .c_str()),
              0);
}

}  // namespace
