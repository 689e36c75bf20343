// The route file reader, the extent pre-scans and the HPGL command reader.
#include "import/hpgl_reader.h"
#include "import_fixture.h"
#include "records/board_extent.h"

#include <cmath>

namespace {

using RouteReader = ImportTest;

const char* kRound10 = "%ADD10C,0.010*%\n";

CNamedLayer& Route(CVelmDoc& d)
{
    CNamedLayer* layer = d.FindNamedLayer("route");
    EXPECT_NE(layer, nullptr);
    return *layer;
}

TEST_F(RouteReader, RectangleOutline)
{
    const std::string path = WriteFile(
        "route.gbr",
        Gerber(kRound10, "D10*X0Y0D02*X1000Y0D01*X1000Y500D01*X0Y500D01*X0Y0D01*"));
    doc->LoadRouteGerber(path);
    CNamedLayer& layer = Route(*doc);
    ASSERT_EQ(layer.tracks.size(), 4u);
    ASSERT_EQ(layer.flashes.size(), 5u);
    for (auto& f : layer.flashes) {
        EXPECT_FLOAT_EQ(f->radius, 5.0f);
        EXPECT_EQ(f->type, 3);
    }
    EXPECT_EQ(layer.tracks[3]->recordNo, 4);

    // Reading again leaves one layer with the second read's records only.
    doc->LoadRouteGerber(path);
    EXPECT_EQ(doc->m_NamedLayerList.size(), 1u);
    EXPECT_EQ(Route(*doc).tracks.size(), 4u);
}

TEST_F(RouteReader, CirclesAndArcs)
{
    // A full circle starting away from angle 0 is cut all round, in both
    // directions (start = end is 360 degrees).
    for (const char* arc : {"G03X0Y500I0J-500D01*", "G02X0Y500I0J-500D01*"}) {
        SCOPED_TRACE(arc);
        doc->LoadRouteGerber(WriteFile("circle.gbr", Gerber(kRound10, std::string("G75*D10*X0Y500D02*") + arc)));
        CNamedLayer& layer = Route(*doc);
        double length = 0;
        for (auto& t : layer.tracks)
            length += std::hypot(t->x2 - t->x1, t->y2 - t->y1);
        EXPECT_NEAR(length, 2 * M_PI * 500, 5.0);
        EXPECT_EQ(layer.tracks.back()->recordNo, int(layer.tracks.size()));
    }
    // A clockwise quarter of radius 50: 0.2 rad chords, each numbered.
    doc->LoadRouteGerber(WriteFile("q.gbr", Gerber(kRound10, "G75*D10*X0Y50D02*G02X50Y0I0J-50D01*")));
    EXPECT_EQ(Route(*doc).tracks.size(), 8u);
    EXPECT_EQ(Route(*doc).tracks[7]->recordNo, 8);
}

TEST_F(RouteReader, HpglGivesAnEmptyLayerAndMissingFilesAreReported)
{
    doc->LoadRouteGerber(WriteFile("r.plt", "IN;SP1;PU1000,2000;PD3000,2000;\n"));
    EXPECT_TRUE(Route(*doc).tracks.empty());
    doc->LoadRouteGerber(JoinPath(TestDir(), "none.gbr"));
    EXPECT_NE(TestHost().BoxTexts().back().find("none.gbr"), std::string::npos);

    // A file cut inside a block keeps the outline read before.
    doc->LoadRouteGerber(WriteFile("ok.gbr", Gerber(kRound10, "D10*X0Y0D02*X1000Y0D01*")));
    doc->LoadRouteGerber(WriteFile("cut.gbr", "%FSLAX23Y23*%\nD10*X0Y0D02*X500Y0D0"));
    EXPECT_EQ(Route(*doc).tracks.size(), 1u);
    EXPECT_NE(TestHost().BoxTexts().back().find("cut.gbr"), std::string::npos);
}

using ExtentScan = ImportTest;

TEST_F(ExtentScan, GerberSideWidensByTheAperture)
{
    g_HasComponentSide = 1;
    g_DataOriginX = g_DataOriginY = 10000000;
    doc->ScanGerberExtent(WriteFile("f.gbr", Gerber("%ADD10C,0.020*%\n", "D10*X1000Y2000D03*")));
    EXPECT_EQ(g_DataOriginX, 990);
    EXPECT_EQ(g_DataOriginY, 1990);
    EXPECT_EQ(doc->m_GerberExtent.maxX, 20);
    EXPECT_EQ(doc->m_GerberExtent.maxY, 20);
    EXPECT_EQ(g_BoardMaxX, 20);
    EXPECT_EQ(doc->m_DataChanged, 1);

    // A rectangle 40 x 10: half-sizes 20 and 5 whatever its orientation;
    // points left of and below the origin count.
    g_DataOriginX = g_DataOriginY = 10000000;
    doc->ScanGerberExtent(WriteFile("g.gbr", Gerber("%ADD11R,0.010X0.040*%\n",
                                                    "D11*X-100Y-100D03*X100Y0D03*")));
    EXPECT_EQ(g_DataOriginX, -120);
    EXPECT_EQ(g_DataOriginY, -105);
    EXPECT_EQ(doc->m_GerberExtent.maxX, 240);
    EXPECT_EQ(doc->m_GerberExtent.maxY, 110);

    // Two files measure into one extent; a missing one changes nothing.
    const std::string a = WriteFile("a.gbr", Gerber("%ADD10C,0.020*%\n", "D10*X0Y0D03*"));
    const std::string b = WriteFile("b.gbr", Gerber("%ADD10C,0.020*%\n", "D10*X500Y300D03*"));
    doc->ScanGerberExtent(a + ";" + b + ";");
    EXPECT_EQ(doc->m_GerberExtent.maxX, 520);
    EXPECT_EQ(doc->m_GerberExtent.maxY, 320);
    doc->ScanGerberExtent(a + ";" + JoinPath(TestDir(), "x.gbr"));
    EXPECT_EQ(doc->m_GerberExtent.maxX, 520);
}

TEST_F(ExtentScan, ExchangedAxesAfterG94)
{
    g_DataOriginX = g_DataOriginY = 10000000;
    doc->ScanGerberExtent(WriteFile("e.gbr", Gerber("", "G94*X100Y300D02*")));
    EXPECT_EQ(g_DataOriginX, 300);
    EXPECT_EQ(g_DataOriginY, 100);
}

TEST_F(ExtentScan, HpglRoute)
{
    struct Case { const char* text; int minX, minY, maxX, maxY; } cases[] = {
        {"PU1000,2000;\nPD3000,2000;\n", 900, 1900, 2200, 200},
        {"PU;PU100;", 0, 0, 200, 200},
        {"PU 100 200;", -100, 0, 200, 200},
        {"PA40,50\n", -60, -50, 200, 200},
        {"SP1;%comment%PU10,20;", -90, -80, 200, 200},
    };
    g_RouteFormat = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        g_DataOriginX = g_DataOriginY = 10000000;
        doc->ScanRouteExtent(WriteFile("route.plt", c.text));
        EXPECT_EQ(doc->m_DataExtent.minX, c.minX);
        EXPECT_EQ(doc->m_DataExtent.minY, c.minY);
        EXPECT_EQ(doc->m_DataExtent.maxX, c.maxX);
        EXPECT_EQ(doc->m_DataExtent.maxY, c.maxY);
    }
}

TEST(HpglCommands, ReadOneAtATime)
{
    const std::string path = JoinPath(TestDir(), "c.plt");
    std::ofstream(path) << "SP1;%a comment%PU10,20;PD5\nPA1,2";
    CGerberSource in;
    ASSERT_TRUE(in.Open(path));
    std::vector<std::string> commands;
    std::string command;
    while (!in.AtEnd()) {
        ReadHpglCommand(in, command);
        commands.push_back(command);
    }
    EXPECT_EQ(commands, (std::vector<std::string>{"SP1;", "PU10,20;", "PD5\n", "PA1,2"}));
}

}  // namespace
