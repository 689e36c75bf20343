// Straight segments clipped by a band, the arc direction on panel copies and
// the trim of path layers by a band.
#include "editing/band_cuts.h"

#include "geometry/board_orientation.h"
#include "records/board_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

void ExpectNear(const CDPoint& got, const CDPoint& want, const std::string& what)
{
    EXPECT_NEAR(got.x, want.x, 1e-9) << what;
    EXPECT_NEAR(got.y, want.y, 1e-9) << what;
}

void ExpectPiece(const CBandPiece& got, const CBandPiece& want, const std::string& what)
{
    ExpectNear(got.start, want.start, what + " start");
    ExpectNear(got.end, want.end, what + " end");
}

}  // namespace

TEST(BandCuts, LinesAgainstABandGiveTheirInsideAndOutsidePieces)
{
    // Corners given the wrong way round: the band is x 50..150, y 20..80.
    const CBandRect band(150, 80, 50, 20);
    struct Case {
        const char* what;
        CDPoint a, b;
        EBandPlace place;
        std::optional<CBandPiece> inside;
        std::vector<CBandPiece> outside;
    };
    using P = CDPoint;
    const Case cases[] = {
        {"inside", P(60, 30), P(140, 70), EBandPlace::Inside, CBandPiece{P(60, 30), P(140, 70)}, {}},
        {"start inside", P(100, 50), P(200, 50), EBandPlace::StartInside,
         CBandPiece{P(100, 50), P(150, 50)}, {{P(200, 50), P(150, 50)}}},
        {"end inside", P(0, 50), P(100, 50), EBandPlace::EndInside,
         CBandPiece{P(100, 50), P(50, 50)}, {{P(50, 50), P(0, 50)}}},
        {"through", P(0, 50), P(200, 50), EBandPlace::Through, CBandPiece{P(50, 50), P(150, 50)},
         {{P(0, 50), P(50, 50)}, {P(150, 50), P(200, 50)}}},
        {"through backwards", P(200, 50), P(0, 50), EBandPlace::Through,
         CBandPiece{P(150, 50), P(50, 50)}, {{P(200, 50), P(150, 50)}, {P(50, 50), P(0, 50)}}},
        {"through slanted", P(0, 0), P(200, 100), EBandPlace::Through,
         CBandPiece{P(50, 25), P(150, 75)}, {{P(0, 0), P(50, 25)}, {P(150, 75), P(200, 100)}}},
        {"through vertical", P(100, 0), P(100, 100), EBandPlace::Through,
         CBandPiece{P(100, 20), P(100, 80)}, {{P(100, 0), P(100, 20)}, {P(100, 80), P(100, 100)}}},
        {"beside", P(0, 0), P(200, 0), EBandPlace::Outside, std::nullopt, {{P(0, 0), P(200, 0)}}},
        {"slanted past a corner", P(0, 100), P(40, 0), EBandPlace::Outside, std::nullopt,
         {{P(0, 100), P(40, 0)}}},
        {"touching a corner", P(40, 30), P(60, 10), EBandPlace::Outside, std::nullopt,
         {{P(40, 30), P(60, 10)}}},
        {"ending on the border", P(0, 50), P(50, 50), EBandPlace::Outside, std::nullopt,
         {{P(0, 50), P(50, 50)}}},
        {"along the border", P(60, 20), P(200, 20), EBandPlace::StartInside,
         CBandPiece{P(60, 20), P(150, 20)}, {{P(200, 20), P(150, 20)}}},
    };
    for (const Case& c : cases) {
        const CBandCut cut = CutLineByBand(band, c.a, c.b);
        EXPECT_EQ(cut.place, c.place) << c.what;
        const std::optional<CBandPiece> inside = InsidePiece(cut);
        ASSERT_EQ(inside.has_value(), c.inside.has_value()) << c.what;
        if (inside)
            ExpectPiece(*inside, *c.inside, std::string(c.what) + " inside");
        const std::vector<CBandPiece> outside = OutsidePieces(cut);
        ASSERT_EQ(outside.size(), c.outside.size()) << c.what;
        for (std::size_t i = 0; i < outside.size(); ++i)
            ExpectPiece(outside[i], c.outside[i], std::string(c.what) + " outside " + std::to_string(i));
    }
}

TEST(BandCuts, AnArcTurnsTheOtherWayOnACopyThatMirrorsIt)
{
    struct Case {
        POINT sign;
        int swap;
        int type;
        int onBlock;
    };
    const Case cases[] = {
        {{1, 1}, 0, 1, 1},   {{1, 1}, 0, 2, 2},   {{-1, 1}, 0, 1, 2}, {{1, -1}, 0, 2, 1},
        {{-1, -1}, 0, 1, 1}, {{1, 1}, 1, 1, 2},   {{-1, 1}, 1, 1, 1}, {{1, -1}, 1, 2, 2},
        {{-1, -1}, 1, 2, 1}, {{-1, 1}, 0, 0, 0},  {{-1, 1}, 1, 10, 0},
    };
    for (const Case& c : cases) {
        CLayoutBlock block(0, 0, 100, 100);
        block.m_Sign = c.sign;
        block.m_Swap = static_cast<std::uint32_t>(c.swap);
        EXPECT_EQ(ArcTypeOnBlock(c.type, block), c.onBlock)
            << "sign " << c.sign.x << "," << c.sign.y << " swap " << c.swap << " type " << c.type;
    }
}

TEST(BandCuts, TheTrimDeletesWhatIsInsideAndKeepsWhatLiesOutside)
{
    COwnedList<CPathRecord> layers;
    auto add = [&](const char* name, int side) {
        auto layer = std::make_unique<CPathRecord>();
        layer->name = name;
        layer->side = side;
        return layers.emplace_back(std::move(layer)).get();
    };
    CPathRecord* mixed = add("T1ISO", 0);
    AddSegment(*mixed, 0, 60, 30, 140, 70);                      // inside: deleted
    CPathSegment* through = AddSegment(*mixed, 0, 0, 50, 200, 50);  // split in two
    through->value = 7;
    CPathSegment* leaving = AddSegment(*mixed, 0, 100, 60, 100, 200);  // start inside
    CPathSegment* arcOut = AddSegment(*mixed, 1, 100, 30, 200, 130, 200, 30);  // arc reaching out
    AddSegment(*mixed, 2, 60, 40, 80, 40, 70, 40);                     // arc inside: deleted
    CPathSegment* beside = AddSegment(*mixed, 0, 0, 0, 200, 0);
    CPathRecord* whole = add("T2ISO", 0);
    AddSegment(*whole, 0, 70, 70, 90, 70);
    CPathRecord* other = add("T1ISO", 1);   // not taken
    AddSegment(*other, 0, 70, 70, 90, 70);
    CPathRecord* empty = add("T3MIL", 0);   // taken, empty from the start

    int freed = 0;
    const int changed = CutPathLayersByBand(
        layers, [](const CPathRecord& l) { return l.side == 0; }, CBandRect(50, 20, 150, 80),
        [&] { ++freed; });

    EXPECT_EQ(changed, 5);
    EXPECT_EQ(freed, 1);
    // The emptied layer is gone; the one that was empty already stays.
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0].get(), mixed);
    EXPECT_EQ(layers[1].get(), other);
    EXPECT_EQ(layers[2].get(), empty);
    EXPECT_EQ(other->items.size(), 1u);
    // Kept in order, the second piece of the split line at the tail.
    ASSERT_EQ(mixed->items.size(), 5u);
    EXPECT_EQ(mixed->items[0].get(), through);
    EXPECT_EQ(mixed->items[1].get(), leaving);
    EXPECT_EQ(mixed->items[2].get(), arcOut);
    EXPECT_EQ(mixed->items[3].get(), beside);
    const CPathSegment& second = *mixed->items[4];
    auto ends = [](const CPathSegment& s) { return std::vector<double>{s.x1, s.y1, s.x2, s.y2}; };
    EXPECT_EQ(ends(*through), (std::vector<double>{0, 50, 50, 50}));
    EXPECT_EQ(ends(second), (std::vector<double>{150, 50, 200, 50}));
    EXPECT_EQ(second.value, 7);
    EXPECT_EQ(second.type, 0);
    EXPECT_EQ(ends(*leaving), (std::vector<double>{100, 200, 100, 80}));
    EXPECT_EQ(ends(*arcOut), (std::vector<double>{100, 30, 200, 130}));
    EXPECT_EQ(ends(*beside), (std::vector<double>{0, 0, 200, 0}));

    // A band that only shortens lines frees nothing.
    freed = 0;
    EXPECT_EQ(CutPathLayersByBand(
                  layers, [](const CPathRecord& l) { return l.side == 0; },
                  CBandRect(-10, -10, 10, 10), [&] { ++freed; }),
              1);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(ends(*beside), (std::vector<double>{200, 0, 10, 0}));
}
