// Chaining a path layer: nearest end first from (0, 0), chains joined only
// where ends coincide, a chain with a counter-clockwise arc stored reversed
// unless it is the last, and an end to the walk whatever the distances.
#include "exchange/path_chaining.h"
#include "records/board_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <memory>

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
