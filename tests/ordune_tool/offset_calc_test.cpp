// ordune-tool's path calculation with the offset engine on a real two-sided
// job of the corpus: both sides get the six pass layers and the tool-3
// layers, the same bytes from a second run; the scan-line engine stays the
// default, and an unknown engine is refused. Skips without the corpus.
#include "document/velm_doc.h"
#include "platform/binary_io.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/system_settings_dlg.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kBoard = "boards/D1MiniGSR/D1MiniGSR-";

std::string BoardFile(const char* name) { return CorpusPath(std::string(kBoard) + name); }

int RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

}  // namespace

TEST(OrduneToolOffsetEngine, CalcWithTheOffsetEngineMakesThePassLayersOfBothSides)
{
    if (BoardFile("F_Cu.gbr").empty())
        GTEST_SKIP() << "no corpus";
    ASSERT_TRUE(SeedSystemDir(TestDir()));
    g_SystemDir = TestDir();
    const std::string tool = std::string(ORDUNE_BIN_DIR) + "/ordune-tool ";
    const std::string project = JoinPath(TestDir(), "d1.prj");
    const std::string paths = JoinPath(TestDir(), "d1-offset.prj");
    ASSERT_EQ(RunTool(tool + "load --component " + BoardFile("F_Cu.gbr") + " --solder " +
                  BoardFile("B_Cu.gbr") + " --dialect PROTEL --project " + project),
              0);
    const std::string calc =
        tool + "calc " + project + " --tools 0.2,0.5,1.5 --engine offset --out " + paths;
    ASSERT_EQ(RunTool(calc), 0);
    std::vector<std::uint8_t> first, second;
    ASSERT_TRUE(ReadWholeFile(paths, first));
    ASSERT_EQ(RunTool(calc), 0);
    ASSERT_TRUE(ReadWholeFile(paths, second));
    EXPECT_EQ(first, second);

    CVelmDoc doc;
    ASSERT_EQ(doc.LoadProject(paths), 1);
    for (int side : {0, 1}) {
        std::vector<std::string> names;
        for (const auto& layer : doc.m_PathLayerList)
            if (layer->side == side)
                names.push_back(layer->name);
        for (const char* pass : {"T1ISO", "T1MIL", "T2ISO", "T2MIL", "T3MIL"})
            EXPECT_NE(std::find(names.begin(), names.end(), pass), names.end())
                << pass << " on side " << side;
        EXPECT_EQ(std::count(names.begin(), names.end(), "T1MIL"), 2) << side;
        const CPathRecord* iso = doc.FindPathLayerOnSide("T1ISO", side);
        ASSERT_NE(iso, nullptr);
        EXPECT_FALSE(iso->items.empty()) << side;
    }

    EXPECT_NE(RunTool(tool + "calc " + project + " --engine other --out " + paths), 0);
}
