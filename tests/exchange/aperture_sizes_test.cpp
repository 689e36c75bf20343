// The aperture-size table and the entity-name counter.
#include "exchange/aperture_sizes.h"

#include <gtest/gtest.h>

TEST(ApertureSizeCode, SizesWithinAHundredthShareTheOlderCode)
{
    CApertureSizeList table;
    std::vector<int> codes;
    for (float size : {10.0f, 10.005f, 10.015f, 10.0f, 10.008f, 3.0f})
        codes.push_back(ApertureSizeCode(table, size));
    // 10.008 lies within a hundredth of both 10.0 and 10.015: the older wins.
    EXPECT_EQ(codes, (std::vector<int>{11, 11, 12, 11, 11, 13}));
    ASSERT_EQ(table.size(), 3u);

    CApertureSizeList exact;
    EXPECT_EQ(ApertureSizeCodeExact(exact, 10.0f), 11);
    EXPECT_EQ(ApertureSizeCodeExact(exact, 10.005f), 12);
    EXPECT_EQ(ApertureSizeCodeExact(exact, 10.0f), 11);
    EXPECT_DOUBLE_EQ(exact[1].code, -12.0);
}

TEST(CountEntityName, CountsEachNameFromZeroUntilReset)
{
    CountEntityName("Reset");
    std::vector<int> counts;
    for (const char* name : {"TOP", "TOP", "BOT", "TOP", "top"})
        counts.push_back(CountEntityName(name));
    EXPECT_EQ(counts, (std::vector<int>{0, 1, 0, 2, 0}));
    EXPECT_EQ(CountEntityName("Reset"), 0);
    EXPECT_EQ(CountEntityName("TOP"), 0);
    // More distinct names than the original's table held.
    for (int i = 0; i < 600; ++i)
        CountEntityName("L" + std::to_string(i));
    EXPECT_EQ(CountEntityName("L599"), 1);
    CountEntityName("Reset");
}
