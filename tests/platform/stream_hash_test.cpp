// The hash that tells whether a working file still holds what would be
// written: one value however the stream is cut, and a different one for
// streams that differ anywhere.
#include "platform/stream_hash.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

std::vector<unsigned char> Counting(std::size_t size)
{
    std::vector<unsigned char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<unsigned char>(i);
    return bytes;
}

std::uint64_t HashOf(const std::vector<unsigned char>& bytes)
{
    CStreamHash hash;
    hash.Add(bytes.data(), bytes.size());
    return hash.Value();
}

}  // namespace

// The mixing is the published xxh64 (seed 0): these are its values, so a
// lane or a tail step mixed wrongly shows here.
TEST(StreamHash, WholeStreamsHashAsXxh64)
{
    struct Case {
        std::vector<unsigned char> bytes;
        std::uint64_t value;
    };
    std::vector<unsigned char> repeated;
    for (int i = 0; i < 3; ++i) {
        const auto block = Counting(256);
        repeated.insert(repeated.end(), block.begin(), block.end());
    }
    const Case cases[] = {
        {{}, 0xef46db3751d8e999ull},
        {{'a', 'b', 'c'}, 0x44bc2cf5ad770999ull},
        {Counting(100), 0x6ac1e58032166597ull},
        {repeated, 0x8e03c838c596036full},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HashOf(c.bytes), c.value) << c.bytes.size();
        CStreamHash hash;
        hash.Add(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(hash.Size(), c.bytes.size());
    }
}

// Pieces that end inside a stripe, inside a word, on a stripe's edge, and
// empty ones: the carried bytes make the same value as the stream whole.
TEST(StreamHash, TheValueDoesNotDependOnHowTheStreamIsCut)
{
    const std::vector<unsigned char> bytes = Counting(1000);
    const std::uint64_t whole = HashOf(bytes);
    const std::vector<std::vector<std::size_t>> cuts = {
        {1}, {7}, {31}, {32}, {33}, {0, 5, 0, 64}, {3, 29, 32, 100}, {999}, {40, 8, 4, 1},
    };
    for (const auto& pattern : cuts) {
        CStreamHash hash;
        std::size_t at = 0;
        for (std::size_t i = 0; at < bytes.size(); ++i) {
            const std::size_t n = std::min(pattern[i % pattern.size()], bytes.size() - at);
            hash.Add(bytes.data() + at, n);
            at += n;
        }
        EXPECT_EQ(hash.Value(), whole) << ::testing::PrintToString(pattern);
        EXPECT_EQ(hash.Size(), bytes.size());
    }
}

// One bit flipped anywhere (in a full stripe or in the carried tail), two
// words of one lane swapped, or a zero byte more: each is another value.
TEST(StreamHash, StreamsThatDifferHashApart)
{
    const std::vector<unsigned char> bytes = Counting(200);
    const std::uint64_t original = HashOf(bytes);
    for (std::size_t at : {std::size_t(0), std::size_t(63), std::size_t(191), std::size_t(199)}) {
        for (int bit : {0, 7}) {
            std::vector<unsigned char> changed = bytes;
            changed[at] ^= static_cast<unsigned char>(1 << bit);
            EXPECT_NE(HashOf(changed), original) << at << " bit " << bit;
        }
    }
    std::vector<unsigned char> swapped = bytes;
    std::swap_ranges(swapped.begin(), swapped.begin() + 8, swapped.begin() + 32);
    EXPECT_NE(HashOf(swapped), original);
    std::vector<unsigned char> longer = bytes;
    longer.push_back(0);
    EXPECT_NE(HashOf(longer), original);
    EXPECT_NE(HashOf(std::vector<unsigned char>(32)), HashOf(std::vector<unsigned char>(64)));
}
