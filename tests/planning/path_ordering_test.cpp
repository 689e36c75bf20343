// Milling order of the isolation segments: point removal, chain numbering,
// turning arc-headed chains round, corner cutting and chain ordering, and the
// linked walks checked against a plain list walk on random lists.
#include "planning/path_ordering.h"

#include "geometry/plane_geometry.h"
#include "geometry/point.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using List = COwnedList<CGridPathSegment>;

struct Seg {
    float x1, y1, x2, y2;
    int type = 0;
    float cx = 0.0f, cy = 0.0f;
};

List Make(const std::vector<Seg>& segs)
{
    List list;
    for (const Seg& s : segs) {
        auto r = std::make_unique<CGridPathSegment>();
        r->x1 = s.x1;
        r->y1 = s.y1;
        r->x2 = s.x2;
        r->y2 = s.y2;
        r->type = std::uint8_t(s.type);
        r->cx = s.cx;
        r->cy = s.cy;
        r->doneMark = std::uint32_t(list.size());  // names the record in the results
        list.push_back(std::move(r));
    }
    return list;
}

std::string Describe(const List& list)
{
    std::string text;
    for (const auto& s : list) {
        text += "(" + std::to_string(s->x1) + "," + std::to_string(s->y1) + ")->(" +
                std::to_string(s->x2) + "," + std::to_string(s->y2) + ") t" +
                std::to_string(s->type) + " v" + std::to_string(s->value) + "\n";
    }
    return text;
}

void ExpectSegments(const List& got, const std::vector<Seg>& want, const std::string& name)
{
    ASSERT_EQ(got.size(), want.size()) << name << "\n" << Describe(got);
    for (std::size_t i = 0; i < want.size(); ++i) {
        const CGridPathSegment& s = *got[i];
        EXPECT_NEAR(s.x1, want[i].x1, 1e-4) << name << " #" << i << "\n" << Describe(got);
        EXPECT_NEAR(s.y1, want[i].y1, 1e-4) << name << " #" << i << "\n" << Describe(got);
        EXPECT_NEAR(s.x2, want[i].x2, 1e-4) << name << " #" << i << "\n" << Describe(got);
        EXPECT_NEAR(s.y2, want[i].y2, 1e-4) << name << " #" << i << "\n" << Describe(got);
        EXPECT_EQ(s.type, want[i].type) << name << " #" << i;
    }
}

std::vector<std::uint32_t> Values(const List& list)
{
    std::vector<std::uint32_t> values;
    for (const auto& s : list)
        values.push_back(s->value);
    return values;
}

std::vector<std::uint32_t> Names(const List& list)
{
    std::vector<std::uint32_t> names;
    for (const auto& s : list)
        names.push_back(s->doneMark);
    return names;
}

// ---------------------------------------------------------------------------
// The ordering walked as written, on a plain list: every search starts at the
// head, every removal erases from the vector and the chains of the last step
// are found again after every move. Slow, and there to check the linked walks.
namespace plain {

void Flip(CGridPathSegment& s)
{
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
    s.type = s.type == 1 ? 2 : s.type == 2 ? 1 : s.type;
}

void CleanAndChain(List& list, bool loose)
{
    for (std::size_t i = 0; i < list.size();) {
        const CGridPathSegment& s = *list[i];
        if (s.type == 0 && s.x1 == s.x2 && s.y1 == s.y2)
            list.erase(list.begin() + long(i));
        else
            ++i;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        bool joins = i > 0 && !(CDPoint(list[i]->x1, list[i]->y1) !=
                                CDPoint(list[i - 1]->x2, list[i - 1]->y2));
        list[i]->value = joins ? list[i - 1]->value + 1 : 0;
    }

    List output, chain;
    bool reverse = false;
    CDPoint p(-1.0, -1.0);
    std::size_t at = 0;
    auto flush = [&] {
        while (!chain.empty()) {
            auto& s = reverse ? chain.back() : chain.front();
            if (reverse)
                Flip(*s);
            output.push_back(std::move(s));
            chain.erase(reverse ? chain.end() - 1 : chain.begin());
        }
        reverse = false;
    };
    while (!list.empty()) {
        if (at >= list.size())
            at = 0;
        CGridPathSegment& next = *list[at];
        double toP = Distance(next.x1, next.y1, p.x, p.y);
        if (loose ? toP < 0.1 : CDPoint(next.x1, next.y1) == p) {
            p = CDPoint(next.x2, next.y2);
            (loose ? output : chain).push_back(std::move(list[at]));
            list.erase(list.begin() + long(at));
            continue;
        }
        double best = 10000000.0;
        std::size_t candidate = list.size();
        for (std::size_t j = 0; j < list.size(); ++j) {
            CGridPathSegment& s = *list[j];
            if (s.value == 0)
                p = CDPoint(s.x1, s.y1);
            double dS = Distance(s.x1, s.y1, p.x, p.y), dE = Distance(s.x2, s.y2, p.x, p.y);
            bool better = false;
            if (dS < best && dS <= dE) {
                best = dS;
                better = true;
            } else if (dE < best && dE < dS) {
                Flip(s);
                best = dE;
                better = true;
            }
            if (better)
                candidate = j;
            if (better && (loose ? best < 0.1 : best == 0.0))
                break;
        }
        if (candidate == list.size()) {  // nothing measurable: the head, as a new chain
            candidate = 0;
            best = 10000000.0;
        }
        if (!loose && best != 0.0 && !chain.empty())
            flush();
        if (!loose && list[candidate]->type == 1)
            reverse = true;
        p = CDPoint(list[candidate]->x2, list[candidate]->y2);
        (loose ? output : chain).push_back(std::move(list[candidate]));
        list.erase(list.begin() + long(candidate));
        at = candidate;
    }
    flush();
    list = std::move(output);
}

double Len(const CGridPathSegment* s) { return Distance(s->x1, s->y1, s->x2, s->y2); }

bool Cut(CGridPathSegment* a, CGridPathSegment* b, double limit)
{
    float x, y;
    if (a->type != 0 || b->type != 0 || !IntersectLinesF(a->x1, a->y1, a->x2, a->y2, b->x1, b->y1,
                                                         b->x2, b->y2, &x, &y))
        return false;
    double gap = Distance(a->x2, a->y2, b->x1, b->y1);
    if (Distance(x, y, b->x1, b->y1) >= gap || Distance(x, y, a->x2, a->y2) >= gap ||
        gap >= limit || std::isnan(gap) || std::isnan(x) || std::isnan(y))
        return false;
    a->x2 = b->x1 = x;
    a->y2 = b->y1 = y;
    return true;
}

// Deletes the given records; returns how many stood before position `before`.
std::size_t Delete(List& list, const std::vector<CGridPathSegment*>& doomed, std::size_t before)
{
    std::size_t earlier = 0;
    for (CGridPathSegment* d : doomed) {
        for (std::size_t k = 0; k < list.size(); ++k) {
            if (list[k].get() == d) {
                earlier += k < before ? 1 : 0;
                list.erase(list.begin() + long(k));
                break;
            }
        }
    }
    return earlier;
}

void CornerPass(List& list, double limit)
{
    CGridPathSegment* first = nullptr;
    CGridPathSegment* lastLong = nullptr;
    std::vector<CGridPathSegment*> shorts;
    float ex = 0.0f, ey = 0.0f;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        CGridPathSegment* s = i < list.size() ? list[i].get() : nullptr;
        if (s == nullptr || first == nullptr || s->x1 != ex || s->y1 != ey) {
            if (lastLong != nullptr) {  // the finished chain closes on itself
                CGridPathSegment* partner = first;
                if (first->type == 0 && Len(first) < limit) {
                    shorts.push_back(first);
                    for (std::size_t k = 0; k + 1 < list.size(); ++k) {
                        if (list[k].get() == first)
                            partner = list[k + 1].get();
                    }
                }
                if (!shorts.empty() && Cut(lastLong, partner, limit))
                    i -= Delete(list, shorts, i);
            }
            if (s == nullptr)
                break;
            first = s;
            lastLong = Len(s) >= limit ? s : nullptr;
            shorts.clear();
        } else if (Len(s) >= limit) {
            if (lastLong != nullptr && !shorts.empty() && shorts.size() <= 3 &&
                Cut(lastLong, s, limit))
                i -= Delete(list, shorts, i);
            shorts.clear();
            lastLong = s;
        } else {
            shorts.push_back(s);
        }
        ex = s->x2;
        ey = s->y2;
    }
}

double Step(const List& list, std::size_t i)
{
    return Distance(list[i]->x2, list[i]->y2, list[i + 1]->x1, list[i + 1]->y1);
}

void OrderByLowestStart(List& list)
{
    List output;
    while (!list.empty()) {
        std::vector<std::size_t> heads{0};
        for (std::size_t i = 0; i + 1 < list.size(); ++i) {
            if (Step(list, i) > 100.0)
                heads.push_back(i + 1);
        }
        std::size_t from = 0, to = list.size();
        if (heads.size() > 1) {
            auto y = [&](std::size_t i) {
                return std::isnan(list[i]->y1) ? std::numeric_limits<float>::infinity()
                                               : list[i]->y1;
            };
            from = heads[0];
            for (std::size_t k = 1; k + 1 < heads.size(); ++k) {
                if (y(heads[k]) < y(from))
                    from = heads[k];
            }
            to = from + 1;
            while (to < list.size() && !(Step(list, to - 1) >= 100.0))
                ++to;
        }
        for (std::size_t i = from; i < to; ++i)
            output.push_back(std::move(list[i]));
        list.erase(list.begin() + long(from), list.begin() + long(to));
    }
    list = std::move(output);
}

void SortIsolationPaths(List& list, int pitch)
{
    CleanAndChain(list, false);
    std::erase_if(list, [](const auto& s) {
        return (s->x1 == -1.0f && s->y1 == -1.0f) ||
               (s->x1 == s->x2 && s->y1 == s->y2 && s->cy == 0.0f);
    });
    CornerPass(list, 2.4 * pitch);
    CornerPass(list, 2.5 * pitch);
    OrderByLowestStart(list);
}

}  // namespace plain

// Both forms of the ordering, by name, for the tables.
struct Form {
    const char* name;
    void (*sort)(List&);
};
const Form kForms[] = {
    {"full", [](List& l) { SortIsolationPaths(l, 4); }},
    {"short", [](List& l) { SortSegmentList(l); }},
};

TEST(PathOrdering, PointsGoAndOnlyArcPointsMayStay)
{
    struct Case {
        std::vector<Seg> input;
        std::size_t left[2];  // segments left by each form
    } cases[] = {
        {{{5, 5, 5, 5}, {7, 1, 7, 1}, {7, 1, 7, 1}}, {0, 0}},
        {{}, {0, 0}},
        // An arc of no length is a whole circle: the full form keeps it only
        // when its centre is off the x axis (a line's cy is 0).
        {{{5, 5, 5, 5}, {5, 8, 5, 8, 1, 5, 5}, {9, 9, 9, 9, 2, 9, 0}}, {1, 2}},
    };
    for (const Case& c : cases) {
        for (int f = 0; f < 2; ++f) {
            List list = Make(c.input);
            kForms[f].sort(list);
            EXPECT_EQ(list.size(), c.left[f]) << kForms[f].name << "\n" << Describe(list);
        }
    }
}

TEST(PathOrdering, ValueFieldHoldsTheIndexWithinTheChain)
{
    // A point inside a chain does not break it; 0.0005 off still joins,
    // 0.002 off starts a new chain.
    std::vector<Seg> input{{0, 0, 10, 0},        {10, 0, 10, 10},       {10, 10, 10, 10},
                           {10, 10, 0, 10},      {50, 50, 60, 50},      {60, 50.0005f, 70, 50},
                           {70, 50.002f, 80, 50}};
    for (const Form& form : kForms) {
        List list = Make(input);
        form.sort(list);
        EXPECT_EQ(Values(list), (std::vector<std::uint32_t>{0, 1, 2, 0, 1, 0})) << form.name;
        EXPECT_EQ(Names(list), (std::vector<std::uint32_t>{0, 1, 3, 4, 5, 6})) << form.name;
    }
}

TEST(PathOrdering, ArcOfTheFirstDirectionTurnsTheChainListRound)
{
    struct Case {
        const char* name;
        std::vector<Seg> input, output;
        std::vector<std::uint32_t> names;
    } cases[] = {
        {"an arc of type 1 heads the chain",
         {{0, 0, 4, 0, 1, 2, -1}, {4, 0, 50, 0}, {50, 0, 50, 40}, {50, 40, 54, 40, 2, 52, 41}},
         {{54, 40, 50, 40, 1}, {50, 40, 50, 0}, {50, 0, 4, 0}, {4, 0, 0, 0, 2}},
         {3, 2, 1, 0}},
        {"an arc of type 2 heads the chain",
         {{0, 0, 4, 0, 2, 2, -1}, {4, 0, 50, 0}, {50, 0, 50, 40}},
         {{0, 0, 4, 0, 2}, {4, 0, 50, 0}, {50, 0, 50, 40}},
         {0, 1, 2}},
        // Every chain head is reached at distance 0, so the chains gather in
        // one chain list and one arc-headed chain turns all of them round.
        {"a later chain starts on an arc of type 1",
         {{0, 0, 20, 0}, {30, 0, 34, 0, 1, 32, -1}, {34, 0, 60, 0}},
         {{60, 0, 34, 0}, {34, 0, 30, 0, 2}, {20, 0, 0, 0}},
         {2, 1, 0}},
    };
    for (const Case& c : cases) {
        List list = Make(c.input);
        std::vector<const CGridPathSegment*> records;
        for (const auto& s : list)
            records.push_back(s.get());
        SortIsolationPaths(list, 4);
        ExpectSegments(list, c.output, c.name);
        ASSERT_EQ(Names(list), c.names) << c.name;
        for (const auto& s : list)  // moved, not copied
            EXPECT_EQ(s.get(), records[s->doneMark]) << c.name;
    }
}

TEST(PathOrdering, SmallZigZagsAtCornersAreCutOff)
{
    const float g = 6.93f;  // two pieces leaving a gap of 9.80, between 2.4 and 2.5 pitches
    struct Case {
        const char* name;
        std::vector<Seg> input, output;
    } cases[] = {
        {"two 3 mil pieces at a right angle",
         {{0, 0, 20, 0}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 23, 30}},
         {{0, 0, 23, 0}, {23, 0, 23, 30}}},
        {"parallel long segments keep the corner",
         {{0, 0, 20, 0}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 50, 3}},
         {{0, 0, 20, 0}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 50, 3}}},
        {"lines that meet far beyond the gap",
         {{0, 0, 20, 0}, {20, 0, 21, 2}, {21, 2, 22, 2}, {22, 2, 40, 2.5f}},
         {{0, 0, 20, 0}, {20, 0, 21, 2}, {21, 2, 22, 2}, {22, 2, 40, 2.5f}}},
        {"four short pieces are too many inside a chain",
         {{0, 0, 20, 0}, {20, 0, 20, 1.5f}, {20, 1.5f, 21.5f, 1.5f}, {21.5f, 1.5f, 21.5f, 3},
          {21.5f, 3, 23, 3}, {23, 3, 23, 30}},
         {{0, 0, 20, 0}, {20, 0, 20, 1.5f}, {20, 1.5f, 21.5f, 1.5f}, {21.5f, 1.5f, 21.5f, 3},
          {21.5f, 3, 23, 3}, {23, 3, 23, 30}}},
        {"an arc as a long side keeps the corner",
         {{0, 0, 20, 0, 2, 10, -30}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 23, 30}},
         {{0, 0, 20, 0, 2}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 23, 30}}},
        {"a gap the second pass allows",
         {{0, 0, 30, 0}, {30, 0, 30, g}, {30, g, 30 + g, g}, {30 + g, g, 30 + g, 40}},
         {{0, 0, 30 + g, 0}, {30 + g, 0, 30 + g, 40}}},
        {"a gap beyond both passes",
         {{0, 0, 30, 0}, {30, 0, 30, 7.5f}, {30, 7.5f, 37.5f, 7.5f}, {37.5f, 7.5f, 37.5f, 40}},
         {{0, 0, 30, 0}, {30, 0, 30, 7.5f}, {30, 7.5f, 37.5f, 7.5f}, {37.5f, 7.5f, 37.5f, 40}}},
        // Where a chain closes on itself, a break or the end of the list
        // pairs its last long segment with its first one.
        {"the closing corner of the last chain",
         {{3, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 3}, {0, 3, 1, 1}, {1, 1, 3, 0}},
         {{0, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 0}}},
        {"the closing corner before a break, with four short pieces",
         {{4, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 4}, {0, 4, 0.5f, 3},
          {0.5f, 3, 1, 2}, {1, 2, 2, 1}, {2, 1, 4, 0}, {500, 0, 600, 0}},
         {{0, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 0}, {500, 0, 600, 0}}},
        {"a short first line is cut away with the run",
         {{3, 0, 5, 0}, {5, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 3},
          {0, 3, 1, 1}, {1, 1, 3, 0}},
         {{0, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 0}}},
        {"an open chain whose ends lie apart",
         {{0, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 20}, {0, 20, 2, 18}},
         {{0, 0, 40, 0}, {40, 0, 40, 40}, {40, 40, 0, 40}, {0, 40, 0, 20}, {0, 20, 2, 18}}},
    };
    for (const Case& c : cases) {
        List list = Make(c.input);
        SortIsolationPaths(list, 4);
        ExpectSegments(list, c.output, c.name);
    }
}

// Where the lines would meet on copper (a pad at the bend), the corner keeps
// its short pieces; the test is asked about the meeting point only.
TEST(PathOrdering, CornerStaysWhereTheMeetingPointIsRefused)
{
    const std::vector<Seg> corner = {{0, 0, 20, 0}, {20, 0, 20, 3}, {20, 3, 23, 3}, {23, 3, 23, 30}};
    std::vector<std::pair<float, float>> asked;
    List refused = Make(corner);
    SortIsolationPaths(refused, 4, [&](float x, float y) {
        asked.emplace_back(x, y);
        return false;
    });
    ExpectSegments(refused, corner, "refused");
    ASSERT_FALSE(asked.empty());
    for (const auto& [x, y] : asked) {
        EXPECT_FLOAT_EQ(x, 23.0f);
        EXPECT_FLOAT_EQ(y, 0.0f);
    }
    List accepted = Make(corner);
    SortIsolationPaths(accepted, 4, [](float, float) { return true; });
    ExpectSegments(accepted, {{0, 0, 23, 0}, {23, 0, 23, 30}}, "accepted");
}

TEST(PathOrdering, ChainsFollowTheirLowestFirstStart)
{
    struct Case {
        const char* name;
        std::vector<Seg> input;
        std::vector<std::uint32_t> names;
    } cases[] = {
        {"three chains 200 mil apart: the lower of the first two first",
         {{0, 50, 50, 50}, {250, 10, 300, 10}, {500, 0, 550, 0}},
         {1, 0, 2}},
        {"a tie keeps the earlier chain first",
         {{0, 10, 50, 10}, {250, 10, 300, 10}, {500, 0, 550, 0}},
         {0, 1, 2}},
        {"steps of at most 100 keep a chain whole",
         {{0, 50, 50, 50}, {140, 50, 200, 50}, {400, 10, 450, 10}, {650, 0, 700, 0}},
         {2, 0, 1, 3}},
        // A step of exactly 100.0 is no gap, but moving stops there; the rest
        // then joins the chain before it when that one ends near enough.
        {"moving stops at a step of exactly 100",
         {{350, 60, 380, 60}, {250, 10, 300, 10}, {400, 10, 450, 5}, {600, 0, 650, 0}},
         {1, 0, 2, 3}},
    };
    for (const Case& c : cases) {
        List list = Make(c.input);
        SortIsolationPaths(list, 4);
        EXPECT_EQ(Names(list), c.names) << c.name << "\n" << Describe(list);
    }
}

TEST(PathOrdering, ShortFormOnlyNumbersAndChains)
{
    // No arc turns anything round, a zig-zag stays, chains keep the list
    // order whatever their Y, and zero-length arcs and lines at (-1, -1) stay.
    std::vector<Seg> input{{0, 50, 4, 50, 1, 2, 49}, {4, 50, 20, 50},  {20, 50, 20, 53},
                           {20, 53, 23, 53},         {23, 53, 23, 80}, {23, 80.05f, 23, 90},
                           {300, 0, 350, 0},         {-1, -1, 5, 5},   {9, 9, 9, 9, 2, 9, 0}};
    List list = Make(input);
    SortSegmentList(list);
    ExpectSegments(list, input, "short form");
    EXPECT_EQ(Values(list), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 0, 0, 0, 0}));
}

TEST(PathOrdering, UnmeasurableCoordinatesLoseNothing)
{
    // A segment with a coordinate that is not a number never wins a search
    // (its distances compare false); such segments are taken last, in list
    // order, and nothing hangs.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<Seg> input{{nan, 0, 10, 0}, {10, 0, 20, 0}, {30, 0, 40, nan}, {50, 0, 60, 0},
                           {60, 0, 70, 0}};
    for (const Form& form : kForms) {
        List list = Make(input);
        form.sort(list);
        EXPECT_EQ(Names(list), (std::vector<std::uint32_t>{3, 4, 0, 1, 2})) << form.name;
    }
}

// A closed rectangle, wx by wy from (x, y), running round anticlockwise,
// whose corners are cut by staircases of 0 to 4 short pieces, begun at a
// random segment so that its first segment may be a short one.
std::vector<Seg> RandomOutline(std::mt19937& rng, float x, float y)
{
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const float sizes[] = {1.5f, 2.0f, 3.0f, 4.9f};
    const float corners[4][2] = {{x, y}, {x + 40.0f, y}, {x + 40.0f, y + 30.0f}, {x, y + 30.0f}};
    std::vector<Seg> loop;
    float px = x + 20.0f, py = y;  // the middle of the lower side
    for (int c = 1; c <= 4; ++c) {
        const float* k = corners[c % 4];
        float ux = k[0] - px, uy = k[1] - py;  // the incoming side, made a unit vector
        float len = std::hypot(ux, uy);
        ux /= len, uy /= len;
        const float* n = corners[(c + 1) % 4];
        float vx = n[0] - k[0], vy = n[1] - k[1];
        float vlen = std::hypot(vx, vy);
        vx /= vlen, vy /= vlen;
        float cut = sizes[pick(4)];
        int pieces = pick(5);
        if (pieces == 0)
            cut = 0.0f;
        float ex = k[0] - ux * cut, ey = k[1] - uy * cut;
        loop.push_back({px, py, ex, ey});
        int alongV = (pieces + 1) / 2, alongU = pieces / 2;
        for (int i = 0; i < pieces; ++i) {
            float nx, ny;
            if (pieces == 1)
                nx = k[0] + vx * cut, ny = k[1] + vy * cut;
            else if (i % 2 == 0)
                nx = ex + vx * cut / float(alongV), ny = ey + vy * cut / float(alongV);
            else
                nx = ex + ux * cut / float(alongU), ny = ey + uy * cut / float(alongU);
            loop.push_back({ex, ey, nx, ny});
            ex = nx, ey = ny;
        }
        px = ex, py = ey;
    }
    loop.push_back({px, py, x + 20.0f, y});
    std::rotate(loop.begin(), loop.begin() + pick(int(loop.size())), loop.end());
    return loop;
}

// Random lists of chains that meet the cases above often: short and long
// pieces at right and odd angles, arcs, points, near and exact joins, jumps
// of exactly 100 and more, and closed outlines with small corner staircases.
List RandomList(std::mt19937& rng, bool withNaN)
{
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const float lengths[] = {0.0f, 1.5f, 3.0f, 4.9f, 9.6f, 10.0f, 25.0f, 60.0f};
    const float jumps[] = {0.0f, 0.0f, 0.0f, 0.0005f, 0.05f, 5.0f, 100.0f, 150.0f, 200.0f};
    // Along the axes, at a slant, or by a small odd step.
    const float dirs[5][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {0.6f, 0.8f}};
    std::vector<Seg> segs;
    float x = float(pick(40)), y = float(pick(40));
    int n = 1 + pick(40);
    while (int(segs.size()) < n) {
        float jump = jumps[pick(9)];
        if (pick(2) == 0)
            x += jump;
        else
            y -= jump;
        if (pick(8) == 0) {
            std::vector<Seg> loop = RandomOutline(rng, x, y);
            segs.insert(segs.end(), loop.begin(), loop.end());
            x = segs.back().x2, y = segs.back().y2;
            continue;
        }
        float len = lengths[pick(8)];
        int dir = pick(6);
        float dx = dir < 5 ? len * dirs[dir][0] : float(pick(7)) - 3.0f;
        float dy = dir < 5 ? len * dirs[dir][1] : float(pick(7)) - 3.0f;
        Seg s{x, y, x + dx, y + dy};
        int kind = pick(10);
        if (kind == 0 || kind == 1)
            s.type = 1 + kind, s.cx = x + 1.0f, s.cy = float(pick(3)) * y;
        if (pick(30) == 0)
            s.x1 = -1.0f, s.y1 = -1.0f;
        if (withNaN && pick(15) == 0)
            (pick(2) == 0 ? s.x1 : s.y2) = std::numeric_limits<float>::quiet_NaN();
        segs.push_back(s);
        x = s.x2, y = s.y2;
        if (std::isnan(x) || std::isnan(y))
            x = 0.0f, y = 0.0f;
    }
    return Make(segs);
}

void ExpectSame(const List& fast, const List& literal, const std::string& what)
{
    ASSERT_EQ(Names(fast), Names(literal)) << what;
    for (std::size_t i = 0; i < fast.size(); ++i) {
        const CGridPathSegment& a = *fast[i];
        const CGridPathSegment& b = *literal[i];
        bool same = std::bit_cast<std::uint32_t>(a.x1) == std::bit_cast<std::uint32_t>(b.x1) &&
                    std::bit_cast<std::uint32_t>(a.y1) == std::bit_cast<std::uint32_t>(b.y1) &&
                    std::bit_cast<std::uint32_t>(a.x2) == std::bit_cast<std::uint32_t>(b.x2) &&
                    std::bit_cast<std::uint32_t>(a.y2) == std::bit_cast<std::uint32_t>(b.y2) &&
                    a.type == b.type && a.value == b.value;
        ASSERT_TRUE(same) << what << " #" << i << "\n" << Describe(fast) << "--\n"
                          << Describe(literal);
    }
}

TEST(PathOrdering, LinkedWalksMatchThePlainListWalk)
{
    std::mt19937 rng(20261210);
    for (int round = 0; round < 3000; ++round) {
        bool withNaN = round % 5 == 4;
        int pitch = int(rng() % 7);  // 0 makes every segment long
        std::mt19937 copy = rng;
        List fast = RandomList(rng, withNaN);
        List literal = RandomList(copy, withNaN);
        List fastShort = Make({}), literalShort = Make({});
        for (const auto& s : fast) {
            fastShort.push_back(std::make_unique<CGridPathSegment>(*s));
            literalShort.push_back(std::make_unique<CGridPathSegment>(*s));
        }
        std::string what = "round " + std::to_string(round) + " pitch " + std::to_string(pitch);

        SortIsolationPaths(fast, pitch);
        plain::SortIsolationPaths(literal, pitch);
        ExpectSame(fast, literal, what + " full");

        SortSegmentList(fastShort);
        plain::CleanAndChain(literalShort, true);
        ExpectSame(fastShort, literalShort, what + " short");
    }
}

}  // namespace
