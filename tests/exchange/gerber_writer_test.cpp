// The RS-274X and Excellon writers, line by line: hairlines, chains of a
// sub-layer, filled outlines, wide strokes, flashes, shared apertures and
// the drill table; the plain hairline writer; and a file that cannot be
// written, or items beyond what a format can hold, are reported.
#include "exchange/gerber_writer.h"
#include "exchange/dxf_fixture.h"
#include "records/document_lists.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

void Add(CPathRecord& layer, int kind, double x1, double y1, double x2, double y2,
         double radius = 0.0, double cx = 0.0, double cy = 0.0)
{
    AddSegment(layer, kind, x1, y1, x2, y2, cx, cy)->radius = radius;
}

void AddCircle(CPathRecord& layer, double cx, double cy, double r)
{
    Add(layer, 3, 0, 0, 0, 0, r, cx, cy);
}

void AddSquare(CPathRecord& layer, double x0, double y0, double size)
{
    const double c[5][2] = {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size},
                            {x0, y0 + size}, {x0, y0}};
    for (int i = 0; i < 4; ++i)
        Add(layer, 5, c[i][0], c[i][1], c[i + 1][0], c[i + 1][1]);
}

}  // namespace

TEST(GerberWriter, WritesEveryKindOfItemOnce)
{
    CDocumentLists model;
    CPathRecord& top = *model.AddPathLayer("TOP", 1, 1, 0, 0);
    Add(top, 0, 0, 0, 100, 0);
    Add(top, 1, 200, 100, 100, 200, 100, 100, 100);
    AddCircle(top, 50, 50, 10);
    AddCircle(top, 60, 50, 10.005);
    Add(top, 4, 0, 0, 0, 100, 20);
    Add(top, 4, 0, 100, 0, 200, 20);
    Add(top, 4, 0, 200, 0, 300, 30);
    // A chain of two strokes and a stroke that repeats the second the other
    // way round, then a stroke on its own.
    CPathRecord& sub = *model.AddPathLayer("TOP_1", 1, 1, 0, 0);
    Add(sub, 0, 0, 500, 100, 500);
    Add(sub, 0, 100, 500, 200, 500);
    Add(sub, 0, 200, 500, 100, 500);
    Add(sub, 0, 900, 900, 950, 900);
    AddSquare(*model.AddPathLayer("TOP-0", 1, 1, 0, 0), 0, 0, 1000);
    // Not read: TOP-1 is missing.
    AddSquare(*model.AddPathLayer("TOP-2", 1, 1, 0, 0), 0, 0, 10);

    EXPECT_EQ(RenderGerberRs274x(model, "TOP"),
              "G04 ORDUNE RS-274X OUTPUT*\n%FSLAX36Y36*%\n%MOIN*%\n"
              "\n%IPPOS*%\n"
              "%ADD11C,0.02*%\n%ADD12C,0.03*%\n%ADD201C,0.0001*%\n"
              "G75*\nG01*\n"
              "D201*\nX100000Y0D02*\nX0Y0D01*\n"
              "X200000Y100000D02*\nG03X100000Y200000I-100000J0D01*\nG01*\n"
              "D201*\nX0Y500000D02*\nX100000Y500000D01*\n"
              "X100000Y500000D02*\nX200000Y500000D01*\n"
              "D201*\nX900000Y900000D02*\nX950000Y900000D01*\n"
              "G36*\nX0Y0D02*\nX1000000Y0D01*\nX1000000Y1000000D01*\nX0Y1000000D01*\n"
              "X0Y0D01*\nG37*\n"
              "D11*\nX0Y0D02*\nX0Y100000D01*\nX0Y100000D02*\nX0Y200000D01*\n"
              "D12*\nX0Y200000D02*\nX0Y300000D01*\n"
              "D11*\nX50000Y50000D03*\nD11*\nX60000Y50000D03*\n"
              "M02*\n");
    // The hairlines were taken out of their layers; the rest stays.
    EXPECT_EQ(top.items.size(), 5u);
    EXPECT_TRUE(sub.items.empty());
}

TEST(GerberWriter, EmptyRoleWritesTheFrameOnly)
{
    CDocumentLists model;
    EXPECT_EQ(RenderGerberRs274x(model, ""),
              "G04 ORDUNE RS-274X OUTPUT*\n%FSLAX36Y36*%\n%MOIN*%\n\n%IPPOS*%\n"
              "%ADD201C,0.0001*%\nG75*\nG01*\nM02*\n");
    EXPECT_EQ(RenderExcellonDrill(model, "NONE"), "M48\nINCH\n%\nM30\n");
}

TEST(ExcellonWriter, ToolsInOrderOfFirstUseEachWithItsHoles)
{
    CDocumentLists model;
    CPathRecord& drill = *model.AddPathLayer("DRILL", 1, 1, 3, 0);
    AddCircle(drill, 100, 200, 16);
    AddCircle(drill, 500, 600, 20);
    AddCircle(drill, 300, 400, 16.005);
    AddCircle(drill, 0, 0, 10);
    Add(drill, 0, 0, 0, 10, 10);
    EXPECT_EQ(RenderExcellonDrill(model, "DRILL"),
              "M48\nINCH\nT1C0.0320\nT2C0.0400\nT3C0.0200\n%\n"
              "T1\nX0.10000Y0.20000\nX0.30000Y0.40000\n"
              "T2\nX0.50000Y0.60000\n"
              "T3\nX0.00000Y0.00000\n"
              "M30\n");
}

TEST(GerberWriter, AFileThatCannotBeWrittenIsReported)
{
    CDocumentLists model;
    const std::string path = TestDir() + "/no such folder/out.top";
    EXPECT_EQ(WriteGerberRs274x(model, path, "TOP"), 0);
    EXPECT_EQ(WriteExcellonDrill(model, path, "DRILL"), 0);
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"Disk Error !", "Disk Error !"}));
    EXPECT_EQ(WriteGerberRs274x(model, TestDir() + "/out.top", "TOP"), 1);
}

TEST(GerberWriter, ItemsBeyondTheFormatAreRefusedAndNothingIsWritten)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        int kind;
        double x, radius;
        bool drill;
    } cases[] = {
        {"hole of infinite size", 3, 0, inf, true},
        {"hole of no number", 3, 0, nan, true},
        {"hole at infinity", 3, inf, 10, true},
        {"pad of infinite size", 3, 0, inf, false},
        {"pad of negative size", 3, 0, -1, false},
        {"pad beyond 999 inch", 3, 999990, 20, false},
        {"stroke beyond 999 inch", 0, 1e6, 0, false},
        {"wide stroke of infinite width", 4, 0, inf, false},
    };
    for (const auto& c : cases) {
        CDocumentLists model;
        CPathRecord& layer = *model.AddPathLayer("ROLE", 1, 1, 0, 0);
        AddCircle(layer, 10, 10, 5);
        if (c.kind == 3)
            AddCircle(layer, c.x, 0, c.radius);
        else
            Add(layer, c.kind, 0, 0, c.x, 0, c.radius);
        const std::string path = TestDir() + "/out";
        const std::size_t boxes = TestHost().BoxTexts().size();
        EXPECT_EQ(c.drill ? WriteExcellonDrill(model, path, "ROLE")
                          : WriteGerberRs274x(model, path, "ROLE"),
                  0)
            << c.name;
        ASSERT_EQ(TestHost().BoxTexts().size(), boxes + 1) << c.name;
        EXPECT_NE(TestHost().BoxTexts().back().find("ROLE"), std::string::npos) << c.name;
        EXPECT_FALSE(std::filesystem::exists(path)) << c.name;
        EXPECT_EQ(layer.items.size(), 2u) << c.name;
    }
}

TEST(GerberWriter, HairlineFileOfLinesOutlinesAndCirclesAsPolygons)
{
    CDocumentLists model;
    CPathRecord& top = *model.AddPathLayer("TOP", 1, 1, 0, 0);
    Add(top, 0, 0, 0, 100, 0);
    Add(top, 4, 0, 100, 0, 200, 20);
    Add(top, 1, 200, 100, 100, 200, 100, 100, 100);
    AddCircle(top, 500, 500, 100);
    AddSquare(*model.AddPathLayer("TOP-0", 1, 1, 0, 0), 0, 0, 10);
    Add(*model.AddPathLayer("BOT", 1, 1, 0, 0), 5, 7, 7, 8, 8);
    const std::string text = RenderGerberRs274xHairline(model, "TOP");
    // The role's line and wide segment, start to end; its arc is not drawn.
    EXPECT_EQ(text.substr(0, text.find("D11*\n") + 5 + 45),
              "G04 ORDUNE RS-274X OUTPUT*\n%FSLAX24Y24*%\n%MOIN*%\n\n%IPPOS*%\n"
              "%ADD11C,0.002*%\nD11*\n"
              "X0Y0D02*\nX1000Y0D01*\nX0Y1000D02*\nX0Y2000D01*\n");
    // The edges of TOP-0, whose name holds the role's, without a region.
    EXPECT_NE(text.find("X0Y0D02*\nX100Y0D01*\nX100Y0D02*\nX100Y100D01*\n"), std::string::npos);
    EXPECT_EQ(text.find("G36"), std::string::npos);
    EXPECT_EQ(text.find("X70Y70"), std::string::npos);   // BOT's edge: not this role's
    EXPECT_EQ(text.substr(text.size() - 5), "M02*\n");
    // The circle: chords of 0.03 radian round the whole turn, every point on
    // the circle of 100 mil (1000 units) about (500, 500) mil.
    std::size_t chords = 0;
    std::size_t at = text.find("X6000Y5000D02*");
    ASSERT_NE(at, std::string::npos);
    for (std::size_t line = at; line < text.size() - 5; line = text.find('\n', line) + 1) {
        long x = 0, y = 0;
        char d[4] = {};
        ASSERT_EQ(std::sscanf(text.c_str() + line, "X%ldY%ldD%2s", &x, &y, d), 3);
        EXPECT_NEAR(std::hypot(x - 5000.0, y - 5000.0), 1000.0, 1.0);
        chords += d[1] == '1';
    }
    EXPECT_EQ(chords, 210u);
    // The layers keep their items; a written file holds the same text.
    EXPECT_EQ(top.items.size(), 4u);
    ASSERT_EQ(WriteGerberRs274xHairline(model, TestDir() + "/hair.gbr", "TOP"), 1);
    std::ifstream in(TestDir() + "/hair.gbr");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
    // The 2.4 format reaches 99.9999 inch.
    Add(top, 0, 0, 0, 100000, 0);
    EXPECT_EQ(WriteGerberRs274xHairline(model, TestDir() + "/far.gbr", "TOP"), 0);
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/far.gbr"));
}
