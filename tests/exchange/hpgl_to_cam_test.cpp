// HPGL to CAM: pen selections as layers "T<pen>", pen-down moves as straight
// pieces (every pair of a command), circles, the board extent; a plot that
// cannot be used leaves the open job as it was; and a plot written by a
// real plotting program reads as hp2xx renders it.
#include "exchange/exchange_fixture.h"
#include "exchange/dxf_layers.h"
#include "exchange/hpgl_import.h"
#include "platform/file_messages.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// A layer's items as type, the two points and (circles) the radius.
using Items = std::vector<std::vector<double>>;

Items ItemsOf(const CPathRecord& layer)
{
    Items out;
    for (const auto& i : layer.items) {
        std::vector<double> item{double(i->type), i->x1, i->y1, i->x2, i->y2};
        if (i->type == 1)
            item.insert(item.end(), {i->cx, i->cy, i->radius});
        out.push_back(item);
    }
    return out;
}

// The layers of a plot read by the interpreter alone, head first.
struct Plot {
    CDxfCamImport out;
    std::vector<std::pair<std::string, Items>> layers;
};

Plot Read(const std::vector<std::string>& commands, int colour = 0)
{
    Plot plot;
    CHpglToCam hpgl(plot.out, colour);
    for (const std::string& c : commands)
        hpgl.Command(c);
    for (const auto& layer : plot.out.layers)
        plot.layers.push_back({layer->name, ItemsOf(*layer)});
    return plot;
}

}  // namespace

TEST(HpglToCam, CommandsMakeLayersPiecesAndCircles)
{
    struct Case {
        const char* what;
        std::vector<std::string> commands;
        std::vector<std::pair<std::string, Items>> layers;   // head first
    } const cases[] = {
        {"pens as layers, circle round the position",
         {"SP1;", "PU0,0;", "PD100,0;", "PD100,100;", "PU;", "SP2;", "CI50;"},
         {{"T2", {{1, 150, 100, 150, 100, 100, 100, 50}}},
          {"T1", {{0, 0, 0, 100, 0}, {0, 100, 0, 100, 100}}}}},
        {"PA moves with the pen up, draws with it down",
         {"SP1;", "PU;", "PA10,10;", "PD;", "PA20,10;"},
         {{"T1", {{0, 10, 10, 20, 10}}}}},
        {"every pair of PR", {"SP1;", "PD;", "PR10,0,0,10;"},
         {{"T1", {{0, 0, 0, 10, 0}, {0, 10, 0, 10, 10}}}}},
        {"PR from a pen-up position", {"SP1;", "PU100,200;", "PD;", "PR10,0;"},
         {{"T1", {{0, 100, 200, 110, 200}}}}},
        {"every pair of PD, and of PU", {"SP1;", "PU5,5,0,0;", "PD10,0,10,10,0,10;"},
         {{"T1", {{0, 0, 0, 10, 0}, {0, 10, 0, 10, 10}, {0, 10, 10, 0, 10}}}}},
        {"every pair of PA, blanks as separators", {"SP1;", "PD;", "PA 10 0 10 10;"},
         {{"T1", {{0, 0, 0, 10, 0}, {0, 10, 0, 10, 10}}}}},
        {"after PR the pairs of PD are relative", {"SP1;", "PU10,10;", "PR;", "PD5,0,0,5;"},
         {{"T1", {{0, 10, 10, 15, 10}, {0, 15, 10, 15, 15}}}}},
        {"PA without numbers moves nowhere", {"SP1;", "PD10,0;", "PA;", "PD20,0;"},
         {{"T1", {{0, 0, 0, 10, 0}, {0, 10, 0, 20, 0}}}}},
        {"instructions run together, in lower case, line ends trimmed",
         {"sp1pu0,0pd5,5\r\n"}, {{"T1", {{0, 0, 0, 5, 5}}}}},
        {"a label's text is no instruction", {"SP1;", "LBPD99,99PA;", "PD1,1;"},
         {{"T1", {{0, 0, 0, 1, 1}}}}},
        {"selecting a pen again opens another layer", {"SP1;", "PD1,0;", "SP1;", "PD2,0;"},
         {{"T1", {{0, 1, 0, 2, 0}}}, {"T1", {{0, 0, 0, 1, 0}}}}},
        {"numbers no plot holds count as 0", {"SP1;", "PD1000000000000,5,7,-99999999999999;"},
         {{"T1", {{0, 0, 0, 0, 5}, {0, 0, 5, 7, 0}}}}},
        {"draws before a pen is selected go nowhere, SP0 selects none",
         {"PD5,0;", "SP0;", "PD6,0;", "SP3;", "PD7,0;"}, {{"T3", {{0, 6, 0, 7, 0}}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Read(c.commands).layers, c.layers);
    }
}

TEST(HpglToCam, ExtentLayerListAndPenColours)
{
    Plot plot = Read({"SP1;", "PU0,0;", "PD100,0;", "PD100,100;", "PU;", "SP2;", "CI50;"});
    EXPECT_EQ(plot.out.minX, 0.0f);
    EXPECT_EQ(plot.out.minY, 0.0f);
    EXPECT_EQ(plot.out.maxX, 150.0f);
    EXPECT_EQ(plot.out.maxY, 150.0f);
    EXPECT_EQ(plot.out.layerList, "T1;T2;");
    EXPECT_EQ(plot.out.items, 3);
    // Pen 1 after program start: counter 60, red 60, green 195, blue 5.
    EXPECT_EQ(plot.out.layers.back()->colour, COLORREF(60 | 195 << 8 | 5 << 16));
    EXPECT_EQ(plot.out.layers.front()->colour, CamLayerColour(120));
    EXPECT_EQ(plot.out.layers.front()->side, 5);
    EXPECT_EQ(plot.out.layers.front()->size, 2.0f);

    // Pen-up moves of PU leave the extent alone.
    Plot moved = Read({"SP1;", "PU500,500;", "PD510,500;"});
    EXPECT_EQ(moved.out.minX, 500.0f);
    EXPECT_EQ(moved.out.maxX, 510.0f);
}

class HpglImportTest : public ExchangeTest {
protected:
    // A job with one path layer of its own, to see whether it survives.
    void HoldJob()
    {
        AddTail(doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0)->items, std::make_unique<CPathSegment>());
        doc->m_LayerName = "KEEP;";
    }
};

TEST_F(HpglImportTest, PlotReplacesTheJob)
{
    HoldJob();
    const std::string path = WriteFile("plot.plt", "IN;SP1;PU0,0;PD100,0,100,100;PU;SP2;CI50;\n");
    ASSERT_EQ(doc->ImportHpglToCam(path), 1);
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"T2", "T1"}));
    EXPECT_EQ(doc->m_LayerName, "T1;T2;");
    EXPECT_EQ(g_BoardMinX, -100);
    EXPECT_EQ(g_BoardMinY, -100);
    EXPECT_EQ(g_BoardMaxX, 250);
    EXPECT_EQ(g_BoardMaxY, 250);
    EXPECT_EQ(doc->m_WorkDataLoaded, 1);
    EXPECT_EQ(doc->m_WorkStage, std::uint8_t(WorkStage::Layout));

    // The same plot again: its pens take the next colours.
    const COLORREF first = Layer("T1")->colour;
    ASSERT_EQ(doc->ImportHpglToCam(path), 1);
    EXPECT_NE(Layer("T1")->colour, first);
    EXPECT_EQ(Layer("T1")->colour, CamLayerColour(180));
}

TEST_F(HpglImportTest, UnusablePlotKeepsTheJob)
{
    struct Case {
        const char* what;
        std::string path;
        unsigned message;
    } const cases[] = {
        {"missing", JoinPath(TestDir(), "none.plt"), IDS_FILE_OPEN_ERROR},
        {"empty", WriteFile("empty.plt", ""), IDS_FILE_EMPTY},
        {"a pen selection only", WriteFile("pen.plt", "IN;SP1;\n"), IDS_DXF_NOTHING_IMPORTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HoldJob();
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(doc->ImportHpglToCam(c.path), 0);
        EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});
        EXPECT_EQ(doc->m_LayerName, "KEEP;");
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
        EXPECT_EQ(TestHost().Boxes().back().text, WithName(c.message, c.path));
        doc->ClearAll();
    }
    EXPECT_EQ(g_HpglPenColour, 0);
}

TEST_F(HpglImportTest, CommandReadsPlotThroughFileChooser)
{
    TestHost().QueueFileChoice({WriteFile("chosen.plt", "SP4;PD1,1;")});
    EXPECT_TRUE(doc->OnCmdMsg(ID_IMPORT_HPGL_TO_CAM));
    ASSERT_EQ(TestHost().FileRequests().size(), 1u);
    EXPECT_EQ(TestHost().FileRequests()[0].filter, "AutoCAD HPGL File|*.plt|All File|*.*|");
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"T4"});

    TestHost().QueueFileCancel();
    doc->OnFileImportHpglToCam();
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"T4"});
}

namespace {

struct Point {
    double x, y;
};

// Every point of hp2xx's gnuplot rendering (mm).
std::vector<Point> RenderedPoints(const std::string& path)
{
    std::vector<Point> points;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Point p;
        if (line.empty() || line[0] == '#' || !(fields >> p.x >> p.y))
            continue;
        points.push_back(p);
    }
    return points;
}

double DistanceToItem(const CPathSegment& s, double x, double y)
{
    if (s.type == 1)
        return std::fabs(std::hypot(x - s.cx, y - s.cy) - s.radius);
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - s.x1) * dx + (y - s.y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (s.x1 + t * dx), y - (s.y1 + t * dy));
}

}  // namespace

TEST_F(HpglImportTest, RealPlotReadsAsHp2xxRendersIt)
{
    ASSERT_EQ(doc->ImportHpglToCam(TestDataPath("graph_plot.plt")), 1);
    // Pen 1 draws nothing; pen 2 the marked data set, pen 3 the other.
    EXPECT_EQ(doc->m_LayerName, "T1;T2;T3;");
    ASSERT_TRUE(Layer("T1") && Layer("T2") && Layer("T3"));
    std::vector<const CPathSegment*> items;
    int circles = 0, lines = 0;
    double maxX = 0;
    for (auto& layer : doc->m_PathLayerList)
        for (auto& i : layer->items) {
            items.push_back(i.get());
            (i->type == 1 ? circles : lines) += 1;
            maxX = std::max({maxX, i->x1, i->x2, i->type == 1 ? i->cx + i->radius : 0.0});
        }
    EXPECT_EQ(circles, 4);
    EXPECT_EQ(lines, 4);   // three pieces of one PA with three pairs, one of the other set

    // hp2xx draws in mm; its scale follows from the widest point drawn.
    const std::vector<Point> rendered = RenderedPoints(TestDataPath("graph_plot.gpt"));
    ASSERT_GT(rendered.size(), 50u);
    double maxRendered = 0;
    for (const Point& p : rendered)
        maxRendered = std::max(maxRendered, p.x);
    const double scale = maxRendered / maxX;
    // Everything hp2xx draws lies on an item, and every item is drawn: the
    // ends of each piece are rendered points, each circle goes through many.
    const double tolerance = 3.0;   // plot units, of a 10000 wide page
    auto rendered_near = [&](double x, double y) {
        return std::count_if(rendered.begin(), rendered.end(), [&](const Point& p) {
            return std::hypot(p.x / scale - x, p.y / scale - y) < tolerance;
        });
    };
    for (const Point& p : rendered) {
        double best = 1e9;
        for (const CPathSegment* item : items)
            best = std::min(best, DistanceToItem(*item, p.x / scale, p.y / scale));
        EXPECT_LT(best, tolerance) << p.x << " " << p.y;
    }
    for (const CPathSegment* item : items) {
        if (item->type == 0) {
            EXPECT_GT(rendered_near(item->x1, item->y1), 0) << item->x1 << " " << item->y1;
            EXPECT_GT(rendered_near(item->x2, item->y2), 0) << item->x2 << " " << item->y2;
            continue;
        }
        const auto onCircle = std::count_if(rendered.begin(), rendered.end(), [&](const Point& p) {
            return DistanceToItem(*item, p.x / scale, p.y / scale) < tolerance &&
                   std::hypot(p.x / scale - item->cx, p.y / scale - item->cy) > item->radius / 2;
        });
        EXPECT_GE(onCircle, 16) << "circle at " << item->cx << " " << item->cy;
    }
}
