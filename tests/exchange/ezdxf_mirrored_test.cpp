// Entities seen from below (extrusion direction (0, 0, -1), as CAD programs
// write mirrored ones), in a drawing written by an independent DXF library
// (data/make_ezdxf_mirrored.py): DXF to CAM and DXF to Gerber put every
// one where that library itself puts it in the drawing's coordinates
// (data/ezdxf_mirrored.points), arcs on the right side; an entity tilted
// out of the drawing's plane is refused by name.
#include "exchange/dxf_to_gerber.h"
#include "exchange/exchange_fixture.h"
#include "records/document_lists.h"

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>

namespace {

struct Pt {
    double x, y;
};

// The library's points of each layer, in order along its one entity.
std::map<std::string, std::vector<Pt>> LibraryPoints()
{
    std::map<std::string, std::vector<Pt>> points;
    std::ifstream in(TestDataPath("ezdxf_mirrored.points"));
    std::string layer;
    Pt p{};
    while (in >> layer >> p.x >> p.y)
        points[layer].push_back(p);
    return points;
}

double SegmentDistance(Pt p, Pt a, Pt b)
{
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Turn(double a)
{
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

// How far p lies from the counter-clockwise arc about c from s to e (the
// whole circle when s and e coincide).
double ArcDistance(Pt p, Pt c, Pt s, Pt e)
{
    const double r = std::hypot(s.x - c.x, s.y - c.y);
    const double from = std::atan2(s.y - c.y, s.x - c.x);
    double sweep = Turn(std::atan2(e.y - c.y, e.x - c.x) - from);
    if (std::hypot(e.x - s.x, e.y - s.y) < 1e-9)
        sweep = kTwoPi;
    if (Turn(std::atan2(p.y - c.y, p.x - c.x) - from) <= sweep)
        return std::fabs(std::hypot(p.x - c.x, p.y - c.y) - r);
    return std::min(std::hypot(p.x - s.x, p.y - s.y), std::hypot(p.x - e.x, p.y - e.y));
}

// Item kinds: DXF to CAM makes 1 counter-clockwise and 2 clockwise arcs
// (a full circle when the ends meet); DXF to Gerber 1 counter-clockwise
// arcs and 3 circles about the centre; anything else is straight.
enum class EKinds { Cam, Gerber };

double ItemDistance(const CPathSegment& s, Pt p, EKinds kinds)
{
    const Pt a{s.x1, s.y1}, b{s.x2, s.y2}, c{s.cx, s.cy};
    if (s.type == 1)
        return ArcDistance(p, c, a, b);
    if (kinds == EKinds::Cam && s.type == 2)
        return ArcDistance(p, c, b, a);
    if (kinds == EKinds::Gerber && s.type == 3)
        return std::fabs(std::hypot(p.x - c.x, p.y - c.y) - s.radius);
    return SegmentDistance(p, a, b);
}

// The library's path of a layer and the layer's items cover each other:
// every point of the path lies on an item, and every item's ends lie on
// the path. The library draws arcs as curves of its own (within 0.003) and
// DXF to Gerber cuts bulges into chords (within 0.0125 on these circles).
void ExpectSameGeometry(const CPathRecord* layer, const std::vector<Pt>& path, EKinds kinds,
                        const std::string& name)
{
    constexpr double kTolerance = 0.02;
    ASSERT_NE(layer, nullptr) << name;
    ASSERT_FALSE(layer->items.empty()) << name;
    ASSERT_GT(path.size(), 2u) << name;
    for (const Pt& p : path) {
        double nearest = 1e9;
        for (const auto& item : layer->items)
            nearest = std::min(nearest, ItemDistance(*item, p, kinds));
        EXPECT_LT(nearest, kTolerance) << name << " misses the library's point " << p.x << ", "
                                       << p.y;
    }
    for (const auto& item : layer->items) {
        if (kinds == EKinds::Gerber && item->type == 3)
            continue;
        for (Pt end : {Pt{item->x1, item->y1}, Pt{item->x2, item->y2}}) {
            double nearest = 1e9;
            for (std::size_t i = 0; i + 1 < path.size(); ++i)
                nearest = std::min(nearest, SegmentDistance(end, path[i], path[i + 1]));
            EXPECT_LT(nearest, kTolerance)
                << name << ": an item ends off the library's path at " << end.x << ", " << end.y;
        }
    }
}

CPathRecord* FindLayer(CDocumentLists& model, const std::string& name)
{
    for (auto& layer : model.m_PathLayerList)
        if (layer->name == name)
            return layer.get();
    return nullptr;
}

}  // namespace

TEST_F(ExchangeTest, MirroredEntitiesComeInWhereTheWritersLibraryPutsThem)
{
    const auto points = LibraryPoints();
    ASSERT_EQ(points.size(), 8u);
    // The mirrored arc's centre lies at x = -30, its twin the right way up
    // at +30.
    EXPECT_LT(points.at("ARCM").front().x, -20.0);
    EXPECT_GT(points.at("ARCP").front().x, 20.0);

    ASSERT_EQ(doc->ImportDxfToPathLayers(TestDataPath("ezdxf_mirrored.dxf")), 1);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{});
    for (const char* name : {"ARCM", "ARCP", "ARCW", "CIRM", "LWM", "LWMW"})
        ExpectSameGeometry(Layer(name), points.at(name), EKinds::Cam, name);
}

TEST_F(ExchangeTest, MirroredEntitiesConvertToGerberItemsWhereTheLibraryPutsThem)
{
    const auto points = LibraryPoints();
    // Role layer, and the layer whose items stand for each entity.
    const struct {
        CDxfRoles roles;
        std::vector<std::pair<std::string, std::string>> layers;
    } conversions[] = {
        {{"ARCM", "LWMW", "CIRM", "LWM", "", "mil"},
         {{"ARCM", "ARCM"}, {"LWMW", "LWMW"}, {"CIRM", "CIRM"}, {"LWM", "LWM"},
          {"SOLM", "SOLM-0"}}},
        {{"POLM", "ARCW", "", "", "", "mil"}, {{"POLM", "POLM-0"}, {"ARCW", "ARCW"}}},
    };
    for (const auto& c : conversions) {
        CDocumentLists model;
        ASSERT_EQ(ConvertDxfRoles(TestDataPath("ezdxf_mirrored.dxf"), c.roles, model), 1);
        for (const auto& [entity, layer] : c.layers)
            ExpectSameGeometry(FindLayer(model, layer), points.at(entity), EKinds::Gerber, entity);
    }
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{});
}

TEST_F(ExchangeTest, AnEntityTiltedOutOfTheDrawingIsRefusedByName)
{
    const std::string tilted = TestDataPath("ezdxf_tilted.dxf");
    doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0);
    EXPECT_EQ(doc->ImportDxfToPathLayers(tilted), 0);
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    const std::string message = TestHost().BoxTexts().back();
    for (const char* part : {"ezdxf_tilted.dxf", "ARC", "TILT"})
        EXPECT_NE(message.find(part), std::string::npos) << message;
    EXPECT_EQ(LayerNames(), std::vector<std::string>{"KEEP"});

    // DXF to Gerber refuses it when a role takes its layer, and passes it
    // over (as every entity of a layer no role takes) when none does.
    CDocumentLists refused, converted;
    EXPECT_EQ(ConvertDxfRoles(tilted, {"TILT", "", "", "", "", "mil"}, refused), 0);
    EXPECT_EQ(TestHost().BoxTexts().size(), 2u);
    EXPECT_EQ(ConvertDxfRoles(tilted, {"FLAT", "", "", "", "", "mil"}, converted), 1);
    EXPECT_EQ(FindLayer(converted, "FLAT")->items.size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts().size(), 2u);
}
