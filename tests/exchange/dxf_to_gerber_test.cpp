// DXF to Gerber: the role layers of a drawing written as RS-274X and
// Excellon files beside it and loaded back by the program's own job loader
// (positions within 0.01 mil), the machining layer taken in, and a
// conversion that is cancelled or refused leaves the open job as it was.
#include "exchange/dxf_to_gerber.h"
#include "exchange/exchange_fixture.h"
#include "platform/resources.h"
#include "records/document_lists.h"
#include "resource_ids.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

constexpr double kMilPerMm = 39.37007874;

// A board in millimetres: strokes, a wide polyline, a closed outline with a
// bulge, a pad and a SOLID on TOP; holes of two sizes; an outline; a
// machining layer; and a layer no role takes.
std::string Board()
{
    return DxfDrawing({
        DxfLine("TOP", 0, 0, 50, 0),
        DxfLine("TOP", 50, 0, 50, 5),
        DxfLwPolyline("TOP", 0, {{0, 10, 0}, {20, 10, 0}, {20, 20, 0}}, "0.3"),
        DxfLwPolyline("TOP", 1, {{30, 10, 0}, {40, 10, 0.5}, {40, 20, 0}, {30, 20, 0}}, "0"),
        DxfCircle("TOP", 10, 30, 0.8),
        DxfEntity("SOLID", {{8, "TOP"}, {10, "42"}, {20, "22"}, {11, "44"}, {21, "22"},
                            {12, "42"}, {22, "24"}, {13, "44"}, {23, "24"}}),
        DxfCircle("DRILL", 5, 5, 0.4),
        DxfCircle("DRILL", 45, 5, 0.4),
        DxfCircle("DRILL", 25, 25, 0.5),
        DxfLine("OUTLINE", -2, -2, 52, -2),
        DxfLine("OUTLINE", 52, -2, 52, 40),
        DxfLine("CRAVE", 0, 0, 1, 0),
        DxfCircle("CRAVE", 5, 5, 1),
        DxfLine("NOTES", 0, 0, 100, 100),
    });
}

class DxfToGerberTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        dxf = WriteTestFile("board.dxf", Board());
    }

    // Runs the conversion with the roles picked in the dialog.
    int Convert(const std::string& top, const std::string& drill, const std::string& outline,
                const std::string& machining, const std::string& unit = "mm")
    {
        TestHost().QueueDialog(
            [=](CDialog& d) {
                auto pick = [&d](unsigned id, const std::string& text) {
                    d.SetCurSel(id, d.FindStringExact(id, text));
                };
                pick(IDC_DXF_TOP, top);
                pick(IDC_DXF_BOTTOM, "");
                pick(IDC_DXF_DRILL, drill);
                pick(IDC_DXF_OUTLINE, outline);
                pick(IDC_DXF_MACHINING, machining);
                pick(IDC_DXF_UNIT, unit);
                d.PressButton(IDOK);
            },
            IDD_DXF_SETTINGS);
        return doc->ConvertDxfToGerber(dxf);
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string dxf;
};

}  // namespace

TEST_F(DxfToGerberTest, WrittenFilesLoadBackWhereTheDrawingHasThem)
{
    ASSERT_EQ(Convert("TOP", "DRILL", "", "CRAVE"), 1);
    EXPECT_TRUE(std::filesystem::exists(TestDir() + "/board.top"));
    EXPECT_TRUE(std::filesystem::exists(TestDir() + "/board.drl"));
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/board.out"));
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/board.bot"));
    EXPECT_EQ(g_ComponentGerberFile, TestDir() + "/board.top");
    EXPECT_EQ(g_CadDialect, "PROTEL");
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{});

    // Holes: two tools, each hole where the drawing has it.
    struct Hole {
        double x, y, diameter;
    } const holes[] = {{5, 5, 0.8}, {45, 5, 0.8}, {25, 25, 1.0}};
    std::size_t found = 0;
    for (const Hole& h : holes)
        for (const auto& tool : g_HoleList)
            for (const auto& p : tool->holes)
                if (std::fabs(p->x - h.x * kMilPerMm) < 0.01 &&
                    std::fabs(p->y - h.y * kMilPerMm) < 0.01) {
                    EXPECT_NEAR(tool->diameter, h.diameter * kMilPerMm, 0.1);
                    ++found;
                }
    EXPECT_EQ(found, 3u);
    EXPECT_EQ(g_HoleList.size(), 2u);

    // The copper's extent: from the strokes at y 0 and x 50 mm to the top
    // of the pad at (10, 30) of radius 0.8 mm.
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    auto widen = [&](double x, double y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    };
    for (const auto& t : doc->m_TrackList) {
        widen(t->x1, t->y1);
        widen(t->x2, t->y2);
    }
    // Round pads; the loader's end marks of wide strokes (type 3) aside.
    for (const auto& f : doc->m_FlashList) {
        if (f->type != 0)
            continue;
        widen(f->x - f->radius, f->y - f->radius);
        widen(f->x + f->radius, f->y + f->radius);
    }
    EXPECT_NEAR(minX, 0.0, 0.01);
    EXPECT_NEAR(minY, 0.0, 0.01);
    EXPECT_NEAR(maxX, 50 * kMilPerMm, 0.01);
    EXPECT_NEAR(maxY, 30.8 * kMilPerMm, 0.01);
    bool pad = false;
    for (const auto& f : doc->m_FlashList)
        pad |= std::fabs(f->x - 10 * kMilPerMm) < 0.01 && std::fabs(f->radius - 0.8 * kMilPerMm) < 0.01;
    EXPECT_TRUE(pad);

    // The machining layer, in mil from the data origin.
    CPathRecord* crave = Layer("CRAVE");
    ASSERT_NE(crave, nullptr);
    EXPECT_EQ(crave->side, 5);
    ASSERT_EQ(crave->items.size(), 2u);
    const CPathSegment& line = *crave->items[0];
    EXPECT_NEAR(line.x2 - line.x1, kMilPerMm, 1e-6);
    EXPECT_EQ(crave->items[1]->type, 2);
    EXPECT_NEAR(crave->items[1]->radius, kMilPerMm, 1e-6);
}

TEST_F(DxfToGerberTest, RoleListAndOutlineLayers)
{
    const std::string path = WriteTestFile("roles.dxf", DxfDrawing({
        DxfLine("TOP", 0, 0, 1, 1),
        DxfLine("BOTTOM", 0, 0, 1, 1),
        DxfLine("BOT", 0, 0, 1, 1),
        DxfLine("TOP_2", 0, 0, 1, 1),
        DxfLwPolyline("TOP_2", 1, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "0"),
        DxfLwPolyline("TOP_2", 129, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "0"),
        DxfLwPolyline("TOP", 128, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, "0"),
        DxfLine("GND", 0, 0, 1, 1),
    }));
    std::string list;
    ASSERT_EQ(CollectDxfRoleLayers(path, list), 1);
    EXPECT_EQ(list, "TOP;BOTTOM;BOT;GND;");

    CDocumentLists model;
    CDxfRoles roles;
    roles.top = "TOP";
    roles.unit = "mil";
    ASSERT_EQ(ConvertDxfRoles(path, roles, model), 1);
    std::vector<std::string> names;
    for (const auto& layer : model.m_PathLayerList)
        names.push_back(layer->name);
    // Newest first: each closed outline its own layer, the open one with
    // flags 128 on TOP-0 too (an outline layer holds zero-width polylines).
    EXPECT_EQ(names, (std::vector<std::string>{"TOP-0", "TOP_2-1", "TOP_2-0", "TOP_2", "", "",
                                               "TOP", ""}));
    EXPECT_EQ(model.m_PathLayerList[1]->items.size(), 3u);
    EXPECT_EQ(model.m_PathLayerList[0]->items.size(), 2u);
}

TEST_F(DxfToGerberTest, OutputsReplaceOnlyTheFileNamesExtension)
{
    for (auto [in, out] : {std::pair<std::string, std::string>{"/a/b.c/d.dxf", "/a/b.c/d.top"},
                           {"/a/b.c/d", "/a/b.c/d.top"},
                           {"/a/b/.dxf", "/a/b/.dxf.top"},
                           {"d.v2.DXF", "d.v2.top"}})
        EXPECT_EQ(DxfOutputPath(in, ".top"), out) << in;
}

TEST_F(DxfToGerberTest, CancelOrRefusedOverwriteKeepsThePreviousJob)
{
    doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0);
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_DXF_SETTINGS);
    EXPECT_EQ(doc->ConvertDxfToGerber(dxf), 0);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/board.top"));

    WriteTestFile("board.top", "mine");
    TestHost().QueueAnswer(IDNO);
    EXPECT_EQ(Convert("TOP", "DRILL", "", ""), 0);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});
    EXPECT_EQ(Read(TestDir() + "/board.top"), "mine");
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/board.drl"));
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().Boxes()[0].text.find("board.top"), std::string::npos);

    // Cancelled at the file chooser: nothing asked, nothing changed.
    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_IMPORT_DXF_TO_GERBER);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});
}

TEST_F(DxfToGerberTest, PolylinesBecomeWideStrokesOrOutlines)
{
    const std::string path = WriteTestFile("poly.dxf", DxfDrawing({
        // Wide, flags 128 (not closed): two segments, the second a half circle.
        DxfPolyline("TOP", 128, {{0, 0, 0}, {100, 0, 1}, {300, 0, 0}}, 2.0),
        // Zero width, closed: an outline of three segments, one with a bulge.
        DxfPolyline("TOP", 1, {{0, 0, 0}, {100, 0, -0.5}, {100, 100, 0}}),
    }));
    CDocumentLists model;
    CDxfRoles roles;
    roles.top = "TOP";
    roles.unit = "Inch";
    ASSERT_EQ(ConvertDxfRoles(path, roles, model), 1);
    CPathRecord* top = model.FindOrAddPathLayer("TOP");
    CPathRecord* outline = model.FindOrAddPathLayer("TOP-0");
    ASSERT_TRUE(top && outline);
    // In mil: the straight segment, then the arc's pieces of radius 100000.
    ASSERT_GT(top->items.size(), 2u);
    EXPECT_EQ(top->items[0]->type, 4);
    EXPECT_DOUBLE_EQ(top->items[0]->x2, 100000.0);
    EXPECT_DOUBLE_EQ(top->items[0]->radius, 2000.0);
    EXPECT_NEAR(top->items.back()->x2, 300000.0, 1e-3);
    // A positive bulge runs counter-clockwise: below a chord drawn rightwards.
    for (const auto& item : top->items)
        EXPECT_LE(item->y1, 1e-6);
    EXPECT_NEAR(top->items[top->items.size() / 2 + 1]->y1, -100000.0, 1000.0);
    const auto& edges = outline->items;
    ASSERT_GT(edges.size(), 3u);
    EXPECT_EQ(edges.front()->type, 5);
    EXPECT_NEAR(edges.back()->x2, 0.0, 1e-6);
    EXPECT_NEAR(edges.back()->y2, 0.0, 1e-6);
}

TEST_F(DxfToGerberTest, SizesAndPositionsTheFilesCannotHoldAreRefusedByEntity)
{
    doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0);
    // Each drawing holds a pad the files take and one entity they cannot;
    // the role that takes it, and the entity's kind and layer as named.
    const struct {
        const char* name;
        std::string entity;
        const char* role;
        const char* kind;
    } cases[] = {
        {"huge hole", DxfCircle("DRILL", 5, 5, 1e37), "drill", "CIRCLE"},
        {"huge pad", DxfCircle("TOP", 5, 5, 1e37), "top", "CIRCLE"},
        {"pad of no size", DxfCircle("TOP", 5, 5, -1), "top", "CIRCLE"},
        {"far line", DxfLine("TOP", 0, 0, 1e300, 0), "top", "LINE"},
        {"line to infinity", DxfEntity("LINE", {{8, "TOP"}, {10, "0"}, {20, "0"}, {11, "inf"},
                                                {21, "0"}}), "top", "LINE"},
        {"arc beyond 999 inch", DxfArc("TOP", 25300, 0, 100, 0, 90), "top", "ARC"},
        {"wide polyline of huge width",
         DxfLwPolyline("TOP", 0, {{0, 0, 0}, {10, 0, 0}}, "1e30"), "top", "LWPOLYLINE"},
        {"bulge out of reach", DxfLwPolyline("TOP", 0, {{0, 0, 1e9}, {10, 0, 0}}, "0.3"), "top",
         "LWPOLYLINE"},
    };
    for (const auto& c : cases) {
        dxf = WriteTestFile("huge.dxf", DxfDrawing({DxfCircle("TOP", 1, 1, 0.5),
                                                    DxfCircle("DRILL", 1, 1, 0.4), c.entity}));
        const std::size_t boxes = TestHost().BoxTexts().size();
        EXPECT_EQ(Convert(std::string(c.role) == "top" ? "TOP" : "", "DRILL", "", "", "mm"), 0)
            << c.name;
        ASSERT_EQ(TestHost().BoxTexts().size(), boxes + 1) << c.name;
        const std::string message = TestHost().BoxTexts().back();
        for (const char* part : {"huge.dxf", c.kind, std::string(c.role) == "top" ? "TOP" : "DRILL"})
            EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
        // Nothing written, nothing of the open job given up.
        for (const char* out : {"/huge.top", "/huge.drl"})
            EXPECT_FALSE(std::filesystem::exists(TestDir() + out)) << c.name;
        EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"}) << c.name;
    }
    // Within reach: 999 inch from the origin is written.
    dxf = WriteTestFile("huge.dxf", DxfDrawing({DxfLine("TOP", 0, 0, 999, 0),
                                                DxfCircle("DRILL", 998, 1, 0.02)}));
    EXPECT_EQ(Convert("TOP", "DRILL", "", "", "Inch"), 1);
    EXPECT_NE(Read(TestDir() + "/huge.top").find("X999000000Y0D02*"), std::string::npos);
}
