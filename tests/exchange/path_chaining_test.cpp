// Chaining a path layer: nearest end first from (0, 0), chains joined only
// where ends coincide, a chain with a counter-clockwise arc stored reversed
// unless it is the last, and an end to the walk whatever the distances; and
// the indexed search held to the list search it replaced.
#include "exchange/path_chaining.h"
#include "records/board_records.h"
#include "support/list_search_chaining.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>

namespace {

void Add(CPathRecord& layer, double x1, double y1, double x2, double y2, int type = 0)
{
    AddSegment(layer, type, x1, y1, x2, y2)->flag = 7;
}

struct Ends {
    double x1, y1, x2, y2;
    int type;
    bool operator==(const Ends&) const = default;
};

std::vector<Ends> EndsOf(const CPathRecord& layer)
{
    std::vector<Ends> out;
    for (const auto& item : layer.items) {
        out.push_back({item->x1, item->y1, item->x2, item->y2, item->type});
        EXPECT_EQ(item->flag, 0);
    }
    return out;
}

}  // namespace

TEST(ChainPathLayer, NearestRectangleFirstEachAsOneChain)
{
    CPathRecord layer;
    // The far rectangle first in the list, edges in mixed directions.
    Add(layer, 500, 500, 600, 500);
    Add(layer, 600, 600, 600, 500);
    Add(layer, 600, 600, 500, 600);
    Add(layer, 500, 500, 500, 600);
    Add(layer, 10, 10, 10, 20);
    Add(layer, 20, 10, 10, 10);
    Add(layer, 20, 20, 20, 10);
    Add(layer, 10, 20, 20, 20);
    ChainPathLayer(layer);
    const std::vector<Ends> expected{
        {10, 10, 10, 20, 0}, {10, 20, 20, 20, 0}, {20, 20, 20, 10, 0}, {20, 10, 10, 10, 0},
        {500, 500, 600, 500, 0}, {600, 500, 600, 600, 0}, {600, 600, 500, 600, 0},
        {500, 600, 500, 500, 0}};
    EXPECT_EQ(EndsOf(layer), expected);
}

TEST(ChainPathLayer, ChainWithACounterClockwiseArcIsStoredReversedUnlessLast)
{
    CPathRecord layer;
    Add(layer, 0, 0, 10, 0);
    Add(layer, 10, 0, 20, 0, 1);
    // A gap of 0.0005 starts a new chain.
    Add(layer, 20.0005, 0, 30, 0);
    Add(layer, 30, 0, 40, 0, 1);
    ChainPathLayer(layer);
    const std::vector<Ends> expected{
        {20, 0, 10, 0, 2}, {10, 0, 0, 0, 0}, {20.0005, 0, 30, 0, 0}, {30, 0, 40, 0, 1}};
    EXPECT_EQ(EndsOf(layer), expected);
}

TEST(ChainPathLayer, FarItemsAndEmptyLayersEnd)
{
    CPathRecord empty;
    ChainPathLayer(empty);
    EXPECT_TRUE(empty.items.empty());

    CPathRecord far;
    Add(far, 3e7, 0, 3e7, 10);
    Add(far, 2e7, 0, 2e7, 10);
    ChainPathLayer(far);
    ASSERT_EQ(far.items.size(), 2u);
    EXPECT_EQ(far.items[0]->x1, 3e7);
    EXPECT_EQ(far.items[1]->x1, 2e7);
}

namespace {

// A layer's items as they stand, bit for bit (a coordinate that is not a
// number equals itself here).
std::vector<std::array<std::uint64_t, 5>> Bits(const CPathRecord& layer)
{
    std::vector<std::array<std::uint64_t, 5>> out;
    for (const auto& s : layer.items)
        out.push_back({std::bit_cast<std::uint64_t>(s->x1), std::bit_cast<std::uint64_t>(s->y1),
                       std::bit_cast<std::uint64_t>(s->x2), std::bit_cast<std::uint64_t>(s->y2),
                       std::uint64_t(s->type)});
    return out;
}

CPathRecord Copy(const CPathRecord& layer)
{
    CPathRecord copy;
    for (const auto& s : layer.items)
        copy.items.push_back(std::make_unique<CPathSegment>(*s));
    return copy;
}

// Whole numbers from a fixed seed, the same on every machine.
class CDraw {
public:
    explicit CDraw(unsigned seed) : m_Rng(seed) {}
    int Below(int n) { return int(m_Rng() % unsigned(n)); }
    double Coord(int range, int steps = 1) { return double(Below(range * steps)) / steps; }

private:
    std::mt19937 m_Rng;
};

CPathRecord RandomStrokes(unsigned seed, int n, int range, int steps)
{
    CDraw draw(seed);
    CPathRecord layer;
    for (int i = 0; i < n; ++i)
        Add(layer, draw.Coord(range, steps), draw.Coord(range, steps), draw.Coord(range, steps),
            draw.Coord(range, steps), draw.Below(5) == 0 ? 1 + draw.Below(2) : 0);
    return layer;
}

// Polylines of unit steps on a grid, cut into their segments, which are
// shuffled and some turned round: chains to be found again, with many ends
// at equal distances.
CPathRecord ShuffledGridChains(unsigned seed, int chains, int length)
{
    CDraw draw(seed);
    std::vector<std::array<double, 4>> pieces;
    for (int c = 0; c < chains; ++c) {
        double x = draw.Coord(40) - 20, y = draw.Coord(40) - 20;
        for (int k = 0; k < length; ++k) {
            const int dir = draw.Below(4);
            const double nx = x + (dir == 0) - (dir == 1), ny = y + (dir == 2) - (dir == 3);
            pieces.push_back(draw.Below(3) ? std::array<double, 4>{x, y, nx, ny}
                                           : std::array<double, 4>{nx, ny, x, y});
            x = nx;
            y = ny;
        }
    }
    for (std::size_t i = pieces.size(); i > 1; --i)
        std::swap(pieces[i - 1], pieces[std::size_t(draw.Below(int(i)))]);
    CPathRecord layer;
    for (const auto& p : pieces)
        Add(layer, p[0], p[1], p[2], p[3], draw.Below(7) == 0 ? 1 : 0);
    return layer;
}

CPathRecord Layer(std::initializer_list<std::array<double, 5>> items)
{
    CPathRecord layer;
    for (const auto& i : items)
        Add(layer, i[0], i[1], i[2], i[3], int(i[4]));
    return layer;
}

}  // namespace

TEST(ChainPathLayer, IndexedSearchChainsAsTheListSearchDid)
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    CPathRecord row;   // listed far to near: every item the nearest so far
    for (int i = 40; i >= 0; --i)
        Add(row, i * 3.0 + 2.0, 1.0, i * 3.0, -1.0);
    CPathRecord star;   // spokes and rims symmetric about the start
    for (int k = 1; k <= 6; ++k)
        for (int q = 0; q < 4; ++q) {
            const double sx = q & 1 ? -1 : 1, sy = q & 2 ? -1 : 1;
            Add(star, sx * k, sy * 2 * k, -sx * k, sy * 2 * k);
            Add(star, sx * k, 0, sx * k, sy * k, k % 3 == 0 ? 1 : 0);
        }
    CPathRecord onePoint;   // everything on one spot, circles and lines
    for (int i = 0; i < 30; ++i)
        Add(onePoint, 5, 5, 5, 5, i % 3 == 0 ? 2 : i % 3);
    CPathRecord farAndNear;   // clusters beyond the search's reach
    for (int i = 0; i < 12; ++i)
        Add(farAndNear, 2e7 + (i % 4) * 5, i * 7.0, 2e7 + (i % 3) * 5, i * 7.0 + 3, i % 5 == 0);
    for (int i = 0; i < 12; ++i)
        Add(farAndNear, (i % 4) * 5.0, i * 7.0 + 3, (i % 3) * 5.0, i * 7.0);

    const struct {
        const char* name;
        CPathRecord layer;
    } cases[] = {
        {"two rectangles", Layer({{500, 500, 600, 500, 0}, {600, 600, 600, 500, 0},
                                  {600, 600, 500, 600, 0}, {500, 500, 500, 600, 0},
                                  {10, 10, 10, 20, 0}, {20, 10, 10, 10, 0},
                                  {20, 20, 20, 10, 0}, {10, 20, 20, 20, 0}})},
        {"arcs and a gap", Layer({{0, 0, 10, 0, 0}, {10, 0, 20, 0, 1}, {20.0005, 0, 30, 0, 0},
                                  {30, 0, 40, 0, 1}, {40, 0, 50, 0, 2}})},
        // The first item is turned in passing from (0, 0), then taken from
        // (2, 0) with both its ends 5 away.
        {"turned in passing, taken at a tie", Layer({{5, 4, -1, -4, 1}, {1, 0, 2, 0, 0}})},
        {"turned in passing, taken because nothing is near",
         Layer({{3e7, 0, 0.5, 0, 0}, {0, 0, -2e7, 0, 0}, {-2e7, 5e7, -2e7, 6e7, 0}})},
        {"row listed far to near", Copy(row)},
        {"star about the start", Copy(star)},
        {"one spot", Copy(onePoint)},
        {"far and near clusters", Copy(farAndNear)},
        {"duplicates and zero lengths",
         Layer({{0, 0, 3, 4, 0}, {3, 4, 0, 0, 0}, {0, 0, 3, 4, 1}, {3, 4, 3, 4, 0},
                {3, 4, 3, 4, 2}, {-3, 4, 0, 0, 0}, {-3, 4, -3, 4, 1}})},
        {"ends not finite", Layer({{nan, 0, 1, 1, 0}, {2, 2, inf, 0, 0}, {inf, 0, 3, 3, 1},
                                   {0, 0, 1, 0, 0}, {-inf, nan, 4, 4, 0}, {1, 0, nan, nan, 1},
                                   {5, 5, 6, 6, 0}, {inf, inf, inf, inf, 0}, {6, 6, 7, 7, 0}})},
        {"random strokes", RandomStrokes(7, 300, 1000, 1)},
        {"random strokes on a coarse grid", RandomStrokes(11, 400, 12, 1)},
        {"random strokes in thousandths", RandomStrokes(13, 300, 50, 1000)},
        {"shuffled grid chains", ShuffledGridChains(17, 40, 12)},
        {"shuffled grid chains, crowded", ShuffledGridChains(19, 60, 30)},
    };
    for (const auto& c : cases) {
        CPathRecord indexed = Copy(c.layer), listed = Copy(c.layer);
        ChainPathLayer(indexed);
        ChainPathLayerByListSearch(listed);
        EXPECT_EQ(Bits(indexed), Bits(listed)) << c.name;
        EXPECT_EQ(indexed.items.size(), c.layer.items.size()) << c.name;
    }
}
