// Connected segments: touching within 1.0, found depth first from the head
// of the source list, each once, on chains of any length.
#include "geometry/segment_chain.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Seg {
    double x1, y1, x2, y2;
};

}  // namespace

TEST(CollectConnectedSegments, EndsTouchOnlyCloserThanOne)
{
    for (auto [gap, joined] : {std::pair{1.0, false}, {0.999, true}, {0.0, true}}) {
        Seg s{0, 0, 10, 0}, r{10 + gap, 0, 20, 0};
        std::vector<Seg*> source{&s, &r}, out;
        EXPECT_EQ(CollectConnectedSegments(source, out, &s), 1);
        EXPECT_EQ(out.size(), joined ? 2u : 1u) << gap;
    }
}

TEST(CollectConnectedSegments, OrderIsDepthFirstFromTheHeadOfTheSource)
{
    // A touches S, B touches A only (B drawn the other way round).
    Seg s{0, 0, 10, 0}, a{10, 0, 10, 10}, b{20, 10, 10, 10}, far{50, 50, 60, 60};
    std::vector<Seg*> out;
    CollectConnectedSegments(std::vector<Seg*>{&s, &a, &b, &far}, out, &s);
    EXPECT_EQ(out, (std::vector<Seg*>{&s, &a, &b}));
    out.clear();
    CollectConnectedSegments(std::vector<Seg*>{&a, &b, &s, &far}, out, &s);
    EXPECT_EQ(out, (std::vector<Seg*>{&a, &b, &s}));
    // What the output holds already is not added again.
    out = {&b};
    CollectConnectedSegments(std::vector<Seg*>{&a, &b, &s}, out, &s);
    EXPECT_EQ(out, (std::vector<Seg*>{&b, &a, &s}));
}

TEST(CollectConnectedSegments, ClosedLoopsAndLongChainsEnd)
{
    std::vector<std::unique_ptr<Seg>> loop;
    const double corners[5][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        loop.push_back(std::make_unique<Seg>(
            Seg{corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1]}));
    std::vector<Seg*> out;
    CollectConnectedSegments(loop, out, loop[2].get());
    EXPECT_EQ(out.size(), 4u);

    // A chain far deeper than any call stack would hold, listed backwards so
    // the walk goes down it one link at a time.
    std::vector<std::unique_ptr<Seg>> chain;
    for (int i = 200000; i > 0; --i)
        chain.push_back(std::make_unique<Seg>(Seg{double(i - 1), 0, double(i), 0}));
    out.clear();
    CollectConnectedSegments(chain, out, chain.back().get());
    EXPECT_EQ(out.size(), chain.size());
}
