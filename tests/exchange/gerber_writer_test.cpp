// The RS-274X and Excellon writers, line by line: hairlines, chains of a
// sub-layer, filled outlines, wide strokes, flashes, shared apertures and
// the drill table; and a file that cannot be written is reported.
#include "exchange/gerber_writer.h"
#include "exchange/dxf_fixture.h"
#include "records/document_lists.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

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
