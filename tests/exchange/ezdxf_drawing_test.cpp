// A drawing written by an independent DXF writer (made by
// data/make_ezdxf_fixtures.py): our reader finds on every layer the
// entities that writer's own reader finds, and DXF to CAM takes it whole.
#include "exchange/dxf_reader.h"
#include "exchange/exchange_fixture.h"

#include <fstream>
#include <map>

TEST(DxfReader, EntityCountsPerLayerMatchTheWritersOwnReading)
{
    std::map<std::pair<std::string, std::string>, int> expected, counted;
    std::ifstream counts(TestDataPath("ezdxf_drawing.counts"));
    std::string layer, kind;
    int n = 0;
    while (counts >> layer >> kind >> n)
        expected[{layer, kind}] = n;
    ASSERT_FALSE(expected.empty());

    CDxfReader reader;
    ASSERT_TRUE(reader.Open(TestDataPath("ezdxf_drawing.dxf")));
    CDxfEntity e;
    bool inEntities = false;
    std::size_t polylineVertices = 0;
    while (reader.Next(e)) {
        if (e.type == "SECTION")
            inEntities = e.Text(2) == "ENTITIES";
        else if (e.type == "ENDSEC")
            inEntities = false;
        else if (inEntities) {
            ++counted[{e.Layer(), e.type}];
            if (e.type == "POLYLINE")
                polylineVertices = ReadPolyline(reader, e).vertices.size();
        }
    }
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(counted, expected);
    EXPECT_EQ(polylineVertices, 3u);
}

TEST_F(ExchangeTest, IndependentDrawingImportsIntoItsLayers)
{
    ASSERT_EQ(doc->ImportDxfToPathLayers(TestDataPath("ezdxf_drawing.dxf")), 1);
    EXPECT_EQ(doc->m_LayerName, "TOP;TOP1;HOLE;BOT;LINE;");
    EXPECT_EQ(Layer("TOP")->items.size(), 12u);
    EXPECT_EQ(Layer("TOP1")->items.size(), 5u);
    EXPECT_EQ(Layer("HOLE")->items.size(), 7u);
    // Two arcs and the closed polyline's four segments, each bulge an arc.
    EXPECT_EQ(Layer("BOT")->items.size(), 6u);
    // The open polyline's two segments and the line.
    EXPECT_EQ(Layer("LINE")->items.size(), 3u);
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(g_HoleList[0]->holes.size(), 7u);
}
