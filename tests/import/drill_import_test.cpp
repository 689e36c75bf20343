// Drill import: drill files into the hole list, the unit check, the order by
// diameter and the tool sizes of CAD drill reports.
#include "document/velm_doc.h"
#include "import/drill_fixture.h"
#include "records/board_records.h"
#include "settings/drill_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class DrillImport : public testing::Test {
protected:
    void SetUp() override { doc = std::make_unique<CVelmDoc>(); }

    static std::string WriteFile(const std::string& name, const std::string& text)
    {
        std::string path = TestDir() + "/" + name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Load(const std::string& text, const std::string& name = "board.drl")
    {
        std::string path = WriteFile(name, text);
        doc->LoadDrillFile(path);
        return path;
    }
    // Tool number, diameter and hole count of every tool, in list order.
    struct Tool {
        int number;
        float diameter;
        std::size_t holes;
    };
    static std::vector<Tool> Tools()
    {
        std::vector<Tool> tools;
        for (const auto& tool : g_HoleList)
            tools.push_back({tool->toolNumber, tool->diameter, tool->holes.size()});
        return tools;
    }
    static void ExpectTools(const std::vector<Tool>& expected)
    {
        const auto tools = Tools();
        ASSERT_EQ(tools.size(), expected.size());
        for (std::size_t i = 0; i < tools.size(); ++i) {
            EXPECT_EQ(tools[i].number, expected[i].number) << "tool " << i;
            EXPECT_NEAR(tools[i].diameter, expected[i].diameter, 0.01) << "tool " << i;
            EXPECT_EQ(tools[i].holes, expected[i].holes) << "tool " << i;
        }
    }

    std::unique_ptr<CVelmDoc> doc;
};

}  // namespace

TEST_F(DrillImport, ToolsAndHolesSortedByDiameter)
{
    int zoomed = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zoomed; };
    Load("M48\r\nINCH,LZ\r\nT1C0.040\r\nT2C0.020\r\n%\r\nT1\r\nX01Y01\r\nX02Y01\r\nT2\r\n"
         "X03Y03\r\nT1\r\nX04Y04\r\nM30");
    ExpectTools({{2, 20.0f, 1}, {1, 40.0f, 3}});
    EXPECT_EQ(*g_HoleList[1]->holes[2], CDPoint(4000, 4000));
    EXPECT_EQ(*g_HoleList[0]->holes[0], CDPoint(3000, 3000));
    EXPECT_EQ(g_HoleList[0]->mode, 1);
    EXPECT_EQ(g_ToolSizes[1], 40.0f);
    EXPECT_EQ(g_ToolSizes[2], 20.0f);
    EXPECT_EQ(g_DrillDataSet, 1);
    EXPECT_EQ(zoomed, 1);
}

TEST_F(DrillImport, SortHolesKeepsEqualSizesInOrder)
{
    for (auto [number, diameter] : {std::pair{1, 40.0f}, {2, 20.0f}, {3, 40.0f}, {4, 20.0f}}) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = number;
        tool->diameter = diameter;
        tool->holes.push_back(std::make_unique<CDPoint>(number, 0));
        g_HoleList.push_back(std::move(tool));
    }
    CDrillTool* firstNode = g_HoleList[0].get();
    doc->SortHoles();
    ExpectTools({{2, 20.0f, 1}, {4, 20.0f, 1}, {1, 40.0f, 1}, {3, 40.0f, 1}});
    EXPECT_EQ(g_HoleList[0].get(), firstNode);  // contents move, nodes stay
    EXPECT_EQ(g_HoleList[0]->holes[0]->x, 2.0);
}

TEST_F(DrillImport, TheUnitCheckScalesBareMillimetresAndInches)
{
    struct Case {
        const char* sizes;  // tool lines
        float first, second;
    };
    const Case cases[] = {
        // 0.8 and 1.0 "mil" on average: millimetres.
        {"T1C.0008\nT2C.001\n", 31.496f, 39.37f},
        // 0.035 and 0.040 on average: inches.
        {"T1C.000035\nT2C.00004\n", 35.0f, 40.0f},
        // Plausible mil stay.
        {"T1C0.035\nT2C0.040\n", 35.0f, 40.0f},
    };
    for (const Case& c : cases) {
        g_ToolSizes.fill(0.0f);
        Load(std::string(c.sizes) + "T1\nX01Y01\nT2\nX02Y02\n");
        ExpectTools({{1, c.first, 1}, {2, c.second, 1}});
        EXPECT_NEAR(g_ToolSizes[2], c.second, 0.01) << c.sizes;
    }
}

TEST_F(DrillImport, HolesBeforeAToolAndToolsWithoutHoles)
{
    // Holes before any tool go to a tool 1 of size 1.0, which the unit check
    // then reads as millimetres.
    Load("X01Y01\nX02Y02\n");
    ExpectTools({{1, 39.37f, 2}});

    // A file of tool lines only has no mean hole size: its sizes stay.
    g_ToolSizes.fill(0.0f);
    Load("T1C0.035\nT2C0.040\n");
    ExpectTools({{1, 35.0f, 0}, {2, 40.0f, 0}});

    // A tool without holes does not move the mean of those with holes.
    g_ToolSizes.fill(0.0f);
    Load("T1C0.035\nT2C.000008\nT2\nX01Y01\n");
    ExpectTools({{2, 8.0f, 1}, {1, 35000.0f, 0}});
}

TEST_F(DrillImport, RepeatLinesAddHolesStepByStep)
{
    Load("T1C0.030\nX01Y01\nR3X005Y0\nX0Y01\nR0X01\n");
    ASSERT_EQ(g_HoleList.size(), 1u);
    std::vector<CDPoint> holes;
    for (const auto& hole : g_HoleList[0]->holes)
        holes.push_back(*hole);
    EXPECT_EQ(holes, (std::vector<CDPoint>{{1000, 1000}, {1500, 1000}, {2000, 1000},
                                           {2500, 1000}, {0, 1000}}));
}

TEST_F(DrillImport, TheOriginOfG93IsAdded)
{
    Load("T1C0.030\nG93X01Y02\nX01Y01\n");
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(*g_HoleList[0]->holes[0], CDPoint(2000, 3000));
}

TEST_F(DrillImport, ToolsBeyondTheSizeTableLoadAndAreReported)
{
    Load("T120C0.050\nT7C0.030\n%\nT120\nX01Y01\nT7\nX02Y02\n");
    ExpectTools({{7, 30.0f, 1}, {120, 50.0f, 1}});
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().Boxes()[0].text.find("T120"), std::string::npos);
    EXPECT_NE(TestHost().Boxes()[0].text.find(" 1"), std::string::npos);  // its line
}

TEST_F(DrillImport, AMissingOrBrokenFileLeavesTheHoleListAsItWas)
{
    Load("T1C0.030\nX01Y01\n");
    const float sizeBefore = g_ToolSizes[1];
    g_DrillDataSet = 0;

    // One message each, naming the file (and the line where there is one).
    const std::string missing = TestDir() + "/nothing.drl";
    EXPECT_EQ(doc->LoadDrillFile(missing), 0);
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts()[0], "開啟檔案 DRILL 錯誤 ! " + missing);

    Load(std::string("T2C0.040\nX01Y01\nX02\0\x01\x02Y02\n", 25), "binary.drl");
    Load("T3C0.040\nX01Y01\nX0.1234567890123456789012Y01\n", "long.drl");
    // A repeat count beyond any board would fill the memory.
    Load("T4C0.040\nX01Y01\nR2000000000X01Y0\n", "repeat.drl");
    Load("", "empty.drl");
    std::filesystem::create_directories(TestDir() + "/folder.drl");
    EXPECT_EQ(doc->LoadDrillFile(TestDir() + "/folder.drl"), 0);
    const auto texts = TestHost().BoxTexts();
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_NE(texts[1].find("binary.drl"), std::string::npos);
    EXPECT_NE(texts[1].find(" 3 "), std::string::npos);
    EXPECT_NE(texts[2].find(" 3 "), std::string::npos);
    EXPECT_NE(texts[3].find("repeat.drl"), std::string::npos);
    EXPECT_NE(texts[3].find(" 3 "), std::string::npos);
    EXPECT_NE(texts[3].find("2000000000"), std::string::npos);
    EXPECT_NE(texts[4].find("empty.drl"), std::string::npos);
    EXPECT_NE(texts[5].find("folder.drl"), std::string::npos);

    ExpectTools({{1, 30.0f, 1}});
    EXPECT_EQ(g_ToolSizes[1], sizeBefore);
    EXPECT_EQ(g_ToolSizes[2], 0.0f);
    EXPECT_EQ(g_ToolSizes[3], 0.0f);
    EXPECT_EQ(g_ToolSizes[4], 0.0f);
    EXPECT_EQ(g_DrillDataSet, 0);
}

TEST_F(DrillImport, DeclaredFormatsLandWithOrWithoutTheAutomaticFormat)
{
    // Holes on a 50 mil grid (as many boards), so the spacing of the holes
    // alone would not tell the decimals.
    struct Case {
        const char* name;
        std::string text;
        CDPoint first;
        float size;
    };
    const Case cases[] = {
        {"metric, decimal point", "M48\nMETRIC\nT1C0.800\n%\nT1\nX12.7Y-2.54\nX13.97Y-2.54\n",
         {500, -100}, 31.496f},
        {"metric, leading zeros, 3.3", "M48\nMETRIC,LZ,000.000\nT1C0.8\n%\nT1\nX0127Y00254\n"
         "X01397Y00254\n", {500, 100}, 31.496f},
        {"metric, trailing zeros", "M48\nMETRIC,TZ\nT1C0.8\n%\nT1\nX12700Y-2540\nX13970Y-2540\n",
         {500, -100}, 31.496f},
        {"inch, trailing zeros", "M48\nINCH,TZ\nT1C0.035\n%\nT1\nX5000Y1000\nX5500Y1000\n",
         {500, 100}, 35.0f},
        // An old file naming its unit only, its fields shorter than 2.4
        // digits: the leading zeros were left out.
        {"inch by M72", "M72\nT1C0.035\nT1\nX69724Y10689\nX70224Y10689\nX70724Y11189\n",
         {6972.4, 1068.9}, 35.0f},
    };
    for (int autoFormat : {0, 1})
        for (const Case& c : cases) {
            if (!autoFormat && std::string(c.name) == "inch by M72")
                continue;   // its zero format is the settings' without detection
            SCOPED_TRACE(std::string(c.name) + (autoFormat ? ", automatic format" : ""));
            // The drill format of a fresh settings file.
            SetFreshDrillFormat(autoFormat);
            g_ToolSizes.fill(0.0f);
            const std::string path = WriteFile("declared.drl", c.text);
            doc->DetectDrillFormat(path);
            doc->LoadDrillFile(path);
            ASSERT_EQ(g_HoleList.size(), 1u);
            ASSERT_FALSE(g_HoleList[0]->holes.empty());
            EXPECT_NEAR(g_HoleList[0]->holes[0]->x, c.first.x, 0.1);
            EXPECT_NEAR(g_HoleList[0]->holes[0]->y, c.first.y, 0.1);
            EXPECT_NEAR(g_HoleList[0]->diameter, c.size, 0.01);
        }
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(DrillImport, ReportsGiveTheToolSizes)
{
    const std::string drill = "T1C0.001\nT2C0.001\n%\nT1\nX01Y01\nX02Y01\nT2\nX03Y01\n";
    struct Case {
        const char* dialect;
        const char* reportName;
        const char* report;
        float first, second;
    };
    const Case cases[] = {
        {"PROTEL", "job.v2/board.DRR",
         "Drill report\nTool  Hole Size  Count\n---\n\nT1 0.8 2\nT2 1.0 1\n--------\nT3 9 1\n",
         31.496f, 39.37f},
        {"ORCAD", "job.v2/board.dts", "x\nTOOL SPEED FEED\n\n\nT1 30 2\nT2 40.5 1\n", 30.0f,
         40.5f},
        {"PADS", "job.v2/board.rep", "Tool list\n\n\n1 0.6 2\n2 0.9 1\n", 23.622f, 35.433f},
        // A row shorter than 11 characters ends the table: tool 2 keeps its size.
        {"WORKBENCH", "job.v2/board.rep", "Tool Size Count\n\n1     35.0    2\n2  0.9\n", 35.0f,
         39.37f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dialect);
        std::filesystem::remove_all(TestDir() + "/job.v2");
        g_ToolSizes.fill(0.0f);
        g_CadDialect = c.dialect;
        const std::string path = Load(drill, "job.v2/board.drl");
        WriteFile(c.reportName, c.report);
        doc->ReadDrillReport(path);
        ExpectTools({{1, c.first, 2}, {2, c.second, 1}});
    }
    // PROTEL clears the table first: 1.25 mm for tools 0 and 30.
    g_CadDialect = "PROTEL";
    WriteFile("job.v2/board.drr", "Hole Size\n\n\nT1 0.8\n");
    doc->ReadDrillReport(TestDir() + "/job.v2/board.drl");
    EXPECT_NEAR(g_ToolSizes[30], 49.2126, 0.0001);
    EXPECT_NEAR(g_ToolSizes[0], 49.2126, 0.0001);
}

TEST_F(DrillImport, ReportsOfOtherDialectsOrMissingOnesChangeNothing)
{
    const std::string path = Load("T1C0.030\nX01Y01\n");
    for (const char* dialect : {"CSI", "PROTEL"}) {
        g_CadDialect = dialect;
        doc->ReadDrillReport(path);
        ExpectTools({{1, 30.0f, 1}});
        EXPECT_EQ(g_ToolSizes[1], 30.0f);
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

TEST_F(DrillImport, ReportRowsBeyondTheTableAreReportedAndLeftOut)
{
    const std::string path = Load("T1C0.030\nT2C0.040\n%\nT1\nX01Y01\nT2\nX01Y01\n");
    g_CadDialect = "PADS";
    WriteFile("board.rep", "Tool\n\n\n1 32\n250 99\n");
    doc->ReadDrillReport(path);
    // Tool 2 is not in the report and keeps its size.
    ExpectTools({{1, 32.0f, 1}, {2, 40.0f, 1}});
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find("T250"), std::string::npos);
}
