// Route and DXF-CAM set-up of chains: the keys' effects, Shift twice as the
// identity, rectangles, and the hidden-layer list of the layer dialog.
#include "editing/path_chain_setup.h"

#include "records/board_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using SegmentImage = std::tuple<double, double, double, double, int, int>;

class PathChainSetup : public testing::Test {
protected:
    void SetUp() override
    {
        route.name = "ROUTE1";
        route.side = 5;
        // A chain: line, arc, line; and a separate line.
        AddSegment(route, 0, 0, 0, 100, 0);
        AddSegment(route, 1, 100, 0, 150, 50, 100, 50);
        AddSegment(route, 0, 150, 50, 150, 200);
        AddSegment(route, 0, 500, 500, 600, 500);
    }
    std::vector<SegmentImage> Image() const
    {
        std::vector<SegmentImage> image;
        for (const auto& s : route.items)
            image.emplace_back(s->x1, s->y1, s->x2, s->y2, s->type, s->flag);
        return image;
    }
    CPathRecord route;
};

}  // namespace

TEST_F(PathChainSetup, ChainIsTheConnectedSegmentsOfTheLayer)
{
    const auto chain = CollectChain(route, route.items[2].get());
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0], route.items[2].get());
}

TEST_F(PathChainSetup, KeysAppliedTwiceGiveTheChainBack)
{
    const auto before = Image();
    struct Case {
        const char* what;
        bool routeMode, ctrl, shift;
    } cases[] = {
        {"route Shift", true, false, true},
        {"route Ctrl", true, true, false},
        {"route Ctrl+Shift", true, true, true},
        {"DXF-CAM Shift", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto chain = CollectChain(route, route.items[0].get());
        SetUpChain(chain, c.routeMode, c.ctrl, c.shift);
        EXPECT_NE(Image(), before);
        chain = CollectChain(route, route.items[0].get());
        SetUpChain(chain, c.routeMode, c.ctrl, c.shift);
        EXPECT_EQ(Image(), before);
    }
}

TEST_F(PathChainSetup, RouteShiftRunsTheChainBackwards)
{
    auto chain = CollectChain(route, route.items[0].get());
    SetUpChain(chain, true, true, true);
    // The layer now holds the chain last piece first, each piece turned
    // round and disabled; the arc runs the other way.
    EXPECT_EQ(Image()[0], SegmentImage(150, 200, 150, 50, 0, 1));
    EXPECT_EQ(Image()[1], SegmentImage(150, 50, 100, 0, 2, 1));
    EXPECT_EQ(Image()[2], SegmentImage(100, 0, 0, 0, 0, 1));
    EXPECT_EQ(Image()[3], SegmentImage(500, 500, 600, 500, 0, 0));
}

TEST_F(PathChainSetup, RectangleTakesSegmentsWithBothEndsInsideInAnyCornerOrder)
{
    for (RECT r : {RECT{-10, -10, 160, 60}, RECT{160, 60, -10, -10}}) {
        const auto found = SegmentsInRect({&route}, r);
        ASSERT_EQ(found.size(), 2u);
        EXPECT_EQ(found[1], route.items[1].get());
    }
}

TEST_F(PathChainSetup, LayerListMarksHiddenLayersAndTakesThemBack)
{
    COwnedList<CPathRecord> layers;
    auto add = [&](const char* name, int side, int kind) {
        auto l = std::make_unique<CPathRecord>();
        l->name = name;
        l->side = side;
        l->kind = kind;
        layers.push_back(std::move(l));
    };
    add("OUTLINE", 5, 0);
    add("POCKET", 5, PATH_LAYER_HIDDEN);
    add("OUTLINE", 5, 0);       // listed once
    add("ROUTE1", 5, 0);        // route, not DXF-CAM
    add("T1ISO", 0, 0);         // copper side
    EXPECT_EQ(DxfLayerText(layers), "OUTLINE\r\n;POCKET\r\n");

    ApplyDxfLayerText(layers, ";OUTLINE\r\nPOCKET\r\n");
    EXPECT_TRUE(IsHiddenLayer(*layers[0]));
    EXPECT_FALSE(IsHiddenLayer(*layers[1]));
    EXPECT_TRUE(IsHiddenLayer(*layers[2]));
    EXPECT_FALSE(IsHiddenLayer(*layers[3]));
    // A last line without its line end still counts.
    ApplyDxfLayerText(layers, "OUTLINE\r\n;POCKET");
    EXPECT_TRUE(IsHiddenLayer(*layers[1]));
    EXPECT_FALSE(IsHiddenLayer(*layers[0]));
}
