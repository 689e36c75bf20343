// DXF to CAM: every layer of a drawing as a path layer, polylines with their
// bulge arcs, circles on HOLE layers as drill tools, the board extent; and a
// drawing that cannot be used leaves the open job as it was.
#include "exchange/exchange_fixture.h"
#include "exchange/dxf_layers.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"

#include <cmath>

namespace {

// The fixed part of a message with a name (and a line) in it.
std::string MessageTail(unsigned id)
{
    const std::string text = LoadResString(id);
    return text.substr(text.find(' ', text.rfind('%')));
}

class DxfToCamTest : public ExchangeTest {
protected:
    int Import(const std::vector<std::string>& entities)
    {
        return doc->ImportDxfToPathLayers(WriteTestFile("drawing.dxf", DxfDrawing(entities)));
    }

    // A layer's items as type and the two points, rounded to 1e-6.
    std::vector<std::vector<double>> Items(const std::string& name) const
    {
        std::vector<std::vector<double>> out;
        CPathRecord* layer = Layer(name);
        EXPECT_NE(layer, nullptr) << name;
        if (!layer)
            return out;
        auto r = [](double v) { return std::round(v * 1e6) / 1e6 + 0.0; };
        for (const auto& i : layer->items)
            out.push_back({double(i->type), r(i->x1), r(i->y1), r(i->x2), r(i->y2)});
        return out;
    }
};

}  // namespace

TEST_F(DxfToCamTest, PolylinesCloseOnlyWithTheirClosedFlag)
{
    const std::vector<DxfVertexSpec> triangle{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}};
    ASSERT_EQ(Import({DxfLwPolyline("F0", 0, triangle), DxfLwPolyline("F1", 1, triangle),
                      DxfLwPolyline("F128", 128, triangle), DxfLwPolyline("F129", 129, triangle)}),
              1);
    for (auto [name, items] : {std::pair{"F0", 2u}, {"F1", 3u}, {"F128", 2u}, {"F129", 3u}})
        EXPECT_EQ(Layer(name)->items.size(), items) << name;
    // Chained from the vertex nearest (0, 0), the closing edge last.
    EXPECT_EQ(Items("F1"), (std::vector<std::vector<double>>{
                               {0, 0, 0, 100, 0}, {0, 100, 0, 100, 100}, {0, 100, 100, 0, 0}}));
    EXPECT_DOUBLE_EQ(Layer("F1")->items[0]->radius, 0.1);
}

TEST_F(DxfToCamTest, BulgesBecomeCounterClockwiseArcs)
{
    ASSERT_EQ(Import({DxfLwPolyline("UP", 0, {{0, 0, 1}, {100, 0, 0}}, "2"),
                      DxfLwPolyline("DOWN", 0, {{0, 0, -1}, {100, 0, 0}}),
                      DxfLwPolyline("LOOP", 1, {{0, 0, 0}, {100, 0, 0}, {100, 100, 1}})}),
              1);
    // +1: under the chord from (0, 0) to (100, 0); -1: over it, stored from
    // (100, 0) to (0, 0) so it still runs counter-clockwise.
    const CPathSegment& up = *Layer("UP")->items[0];
    EXPECT_EQ(Items("UP"), (std::vector<std::vector<double>>{{1, 0, 0, 100, 0}}));
    EXPECT_NEAR(up.cx, 50.0, 1e-9);
    EXPECT_NEAR(up.cy, 0.0, 1e-9);
    EXPECT_NEAR(up.radius, 50.0, 1e-9);
    // The chaining from (0, 0) takes the arc from its nearer end, turned round.
    EXPECT_EQ(Items("DOWN"), (std::vector<std::vector<double>>{{2, 0, 0, 100, 0}}));
    // A closed polyline whose last vertex has a bulge closes with that arc.
    // The last chain keeps its direction.
    EXPECT_EQ(Items("LOOP"), (std::vector<std::vector<double>>{
                                 {0, 0, 0, 100, 0}, {0, 100, 0, 100, 100}, {1, 100, 100, 0, 0}}));
    EXPECT_EQ(g_BoardMinY, int(-50.0f - 100.0f));
}

TEST_F(DxfToCamTest, CirclesOnHoleLayersBecomeDrillTools)
{
    ASSERT_EQ(Import({DxfCircle("HOLE", 100, 100, 15), DxfCircle("HOLE", 200, 100, 15.004),
                      DxfCircle("PTH_HOLE", 300, 100, 20), DxfCircle("PADS", 0, 0, 5)}),
              1);
    ASSERT_EQ(g_HoleList.size(), 2u);
    EXPECT_FLOAT_EQ(g_HoleList[0]->diameter, 30.0f);
    EXPECT_EQ(g_HoleList[0]->holes.size(), 2u);
    EXPECT_EQ(g_HoleList[1]->toolNumber, 2);
    EXPECT_FLOAT_EQ(g_ToolSizes[2], 40.0f);
    // Every circle is a full-circle item as well.
    EXPECT_EQ(Items("PADS"), (std::vector<std::vector<double>>{{2, 5, 0, 5, 0}}));
    EXPECT_EQ(g_BoardMaxX, 320 + 100);
}

TEST_F(DxfToCamTest, ArcRunsClockwiseFromItsEndAngle)
{
    ASSERT_EQ(Import({DxfArc("A", 0, 0, 100, 350, 10)}), 1);
    const CPathSegment& arc = *Layer("A")->items[0];
    EXPECT_EQ(arc.type, 2);
    EXPECT_NEAR(std::atan2(arc.y1, arc.x1) * 180 / M_PI, 10.0, 1e-6);
    EXPECT_NEAR(std::atan2(arc.y2, arc.x2) * 180 / M_PI, -10.0, 1e-6);
    // The arc's rightmost point widens the extent.
    EXPECT_EQ(g_BoardMaxX, 200);
}

TEST_F(DxfToCamTest, LayersAreWholeNamesNeverParts)
{
    doc->m_LayerName = "MARKS;";
    const std::string longName = "COMPONENT_OUTLINE_LAYER";
    ASSERT_EQ(Import({DxfLine("MARKS", 0, 0, 1, 1), DxfLine("MARK", 0, 0, 2, 2),
                      DxfLine(longName, 0, 0, 3, 3), DxfLine("TOP1", 0, 0, 4, 4),
                      DxfLine("TOP", 0, 0, 5, 5)}),
              1);
    EXPECT_EQ(doc->m_LayerName, "MARKS;MARK;" + longName + ";TOP1;TOP;");
    // One layer per name, the last name at the head.
    EXPECT_EQ(LayerNames(),
              (std::vector<std::string>{"TOP", "TOP1", longName, "MARK", "MARKS"}));
    for (const char* name : {"MARKS", "MARK", "TOP1", "TOP"})
        EXPECT_EQ(Layer(name)->items.size(), 1u) << name;
    EXPECT_EQ(Layer(longName)->items.size(), 1u);
    // Colours by place in the list: the first name red 80, green 175, blue 25.
    EXPECT_EQ(Layer("MARKS")->colour, 80u | (175u << 8) | (25u << 16));
    EXPECT_EQ(Layer("MARKS")->side, 5);
    EXPECT_EQ(doc->m_WorkStage, 3);
}

TEST_F(DxfToCamTest, UnusableDrawingKeepsTheOpenJob)
{
    doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0);
    g_BoardMinX = 5;
    struct Case {
        const char* name;
        std::string text;
        unsigned message;
    } const cases[] = {
        {"nothing handled", DxfDrawing({DxfEntity("TEXT", {{8, "A"}, {1, "hello"}})}),
         IDS_DXF_NOTHING_IMPORTED},
        {"truncated", DxfDrawing({DxfLine("A", 0, 0, 1, 1)}).substr(0, 60), IDS_DXF_TRUNCATED},
        {"garbled", "  0\nSECTION\nabc\n", IDS_DXF_BAD_GROUP},
    };
    for (const Case& c : cases) {
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(doc->ImportDxfToPathLayers(WriteTestFile("bad.dxf", c.text)), 0) << c.name;
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1) << c.name;
        const std::string& text = TestHost().Boxes().back().text;
        EXPECT_NE(text.find("bad.dxf"), std::string::npos) << c.name << ": " << text;
        EXPECT_NE(text.find(MessageTail(c.message)), std::string::npos) << c.name << ": " << text;
        EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"}) << c.name;
        EXPECT_EQ(g_BoardMinX, 5) << c.name;
    }
    EXPECT_EQ(doc->ImportDxfToPathLayers(TestDir() + "/missing.dxf"), 0);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});
}

TEST_F(DxfToCamTest, CommandCancelledChangesNothing)
{
    doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0);
    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_IMPORT_DXF_TO_CAM);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});

    TestHost().QueueFileChoice({WriteTestFile("a.dxf", DxfDrawing({DxfLine("L", 0, 0, 10, 0)}))});
    doc->OnCmdMsg(ID_IMPORT_DXF_TO_CAM);
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"L"});
    EXPECT_EQ(TestHost().FileRequests().back().filter, "AutoCAD DXF File|*.dxf|All File|*.*|");
}

TEST_F(DxfToCamTest, MachiningLayerIsPlacedLikeTheLoadedJob)
{
    doc->m_LayerName = "TOPSILK;";
    doc->m_DxfScale = float(39.37007874);
    g_DataOriginX = 100;
    g_DataOriginY = 200;
    const std::string path = WriteTestFile("m.dxf", DxfDrawing({
        DxfLine("TOP", 0, 0, 1, 0),
        DxfLine("CRAVE", 0, 0, 1, 0),
        DxfArc("CRAVE", 0, 0, 10, 350, 10),
        DxfArc("CRAVE", 50, 0, 10, 0, 2),
        DxfLwPolyline("CRAVE", 128, {{0, 5, 0}, {1, 5, 0}, {1, 6, 0}}),
        DxfLwPolyline("CRAVE", 1, {{0, 9, 0}, {1, 9, 0}}, "0"),
        DxfCircle("CRAVE", 3, 3, 1),
    }));
    ASSERT_EQ(doc->ImportDxfMachiningLayer(path, "CRAVE"), 1);
    EXPECT_EQ(doc->m_LayerName, "TOPSILK;TOP;CRAVE;");
    CPathRecord* crave = Layer("CRAVE");
    ASSERT_NE(crave, nullptr);
    EXPECT_EQ(crave->colour, DxfLayerColour(3));
    // The line, 7 chords through 0 degrees (20 degrees in steps of 0.05),
    // one chord of the short arc, the open polyline's two pieces (width
    // 0.1) and the circle; the zero-width polyline is left out.
    EXPECT_EQ(crave->items.size(), 1u + 7u + 1u + 2u + 1u);
    int circles = 0, thin = 0;
    double minX = 1e9;
    for (const auto& item : crave->items) {
        circles += item->type == 2;
        thin += item->radius == 0.1;
        minX = std::min(minX, std::min(item->x1, item->x2));
    }
    EXPECT_EQ(circles, 1);
    EXPECT_EQ(thin, 2);
    EXPECT_NEAR(minX, -100.0, 1e-6);
    // The line from (0, 0) to (1, 0) mm, either way round after chaining.
    bool line = false;
    for (const auto& item : crave->items)
        line |= std::fabs(std::min(item->x1, item->x2) + 100) < 1e-6 &&
                std::fabs(std::max(item->x1, item->x2) - (39.37007874 - 100)) < 1e-4 &&
                item->y1 == -200.0 && item->y2 == -200.0;
    EXPECT_TRUE(line);
}
