// Net numbering: the spreading by touch tests against a plain walk over the
// whole lists, against a union of every touching pair, and on a chain far
// deeper than a call stack would take.
#include "geometry/plane_geometry.h"
#include "planning/net_numbering.h"
#include "records/board_model.h"
#include "records/track_geometry.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

bool Numberable(const CTrackRecord& t)
{
    return t.groupNo == 0 && t.chordMark == 0 && static_cast<std::int8_t>(t.type) < 3;
}

bool FlashTouches(const CFlashRecord& f, const CTrackRecord& t)
{
    float ax, ay, bx, by;
    return IntersectSegmentCircleF(f.x, f.y, f.radius, t.x1, t.y1, t.x2, t.y2, &ax, &ay, &bx, &by,
                                   2) == 1;
}

bool TrackReaches(const CTrackRecord& g, const CTrackRecord& t)
{
    float x, y;
    return IntersectSegRecordsF(g, t, &x, &y) == 1 ||
           PointInTrack(t, static_cast<int>(g.x1), static_cast<int>(g.y1)) ||
           PointInTrack(t, static_cast<int>(g.x2), static_cast<int>(g.y2));
}

// The spreading as a recursion over the whole lists: what the index must
// reproduce number for number.
void PlainSpread(CBoardModel& m, void* record, int kind)
{
    std::vector<std::pair<void*, int>> found;
    if (kind == 1) {
        auto& f = *static_cast<CFlashRecord*>(record);
        for (auto& t : m.m_TrackList)
            if (Numberable(*t) && FlashTouches(f, *t)) {
                t->groupNo = f.groupNo;
                found.emplace_back(t.get(), 2);
            }
    } else {
        auto& g = *static_cast<CTrackRecord*>(record);
        for (std::size_t i = 0; i < m.m_TrackList.size(); ++i) {
            auto& t = *m.m_TrackList[i];
            if (!Numberable(t) || !TrackReaches(g, t))
                continue;
            t.groupNo = g.groupNo;
            found.emplace_back(&t, 2);
            for (std::size_t k = i + 1; k < m.m_TrackList.size() && m.m_TrackList[k]->chordMark; ++k)
                m.m_TrackList[k]->groupNo = g.groupNo;
        }
        for (auto& f : m.m_FlashList)
            if (f->groupNo == 0 && FlashTouches(*f, g)) {
                f->groupNo = g.groupNo;
                found.emplace_back(f.get(), 1);
            }
    }
    for (auto [r, k] : found)
        PlainSpread(m, r, k);
}

void PlainNumbering(CBoardModel& m)
{
    int next = 1;
    for (auto& f : m.m_FlashList)
        if (f->groupNo == 0) {
            f->groupNo = next++;
            PlainSpread(m, f.get(), 1);
        }
    for (auto& t : m.m_TrackList)
        if (t->groupNo == 0 && static_cast<std::int8_t>(t->type) < 3) {
            t->groupNo = next++;
            PlainSpread(m, t.get(), 2);
        }
}

std::vector<int> Nets(const CBoardModel& m)
{
    std::vector<int> nets;
    for (const auto& f : m.m_FlashList)
        nets.push_back(f->groupNo);
    for (const auto& t : m.m_TrackList)
        nets.push_back(t->groupNo);
    return nets;
}

// Records joined when any touch test holds either way, as classes named by
// their first member (pads first, then tracks); arcs stay alone.
std::vector<int> UnionOfTouches(const CBoardModel& m)
{
    const std::size_t nf = m.m_FlashList.size(), n = nf + m.m_TrackList.size();
    std::vector<std::size_t> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    std::function<std::size_t(std::size_t)> root = [&](std::size_t i) {
        return parent[i] == i ? i : parent[i] = root(parent[i]);
    };
    auto join = [&](std::size_t a, std::size_t b) { parent[root(a)] = root(b); };
    auto straight = [](const CTrackRecord& t) { return static_cast<std::int8_t>(t.type) < 3; };
    for (std::size_t i = 0; i < m.m_TrackList.size(); ++i) {
        const auto& a = *m.m_TrackList[i];
        if (!straight(a))
            continue;
        for (std::size_t j = 0; j < m.m_TrackList.size(); ++j)
            if (i != j && straight(*m.m_TrackList[j]) && TrackReaches(a, *m.m_TrackList[j]))
                join(nf + i, nf + j);
        for (std::size_t k = 0; k < nf; ++k)
            if (FlashTouches(*m.m_FlashList[k], a))
                join(k, nf + i);
    }
    std::vector<int> classes(n);
    std::map<std::size_t, int> names;
    for (std::size_t i = 0; i < n; ++i) {
        const bool arc = i >= nf && !straight(*m.m_TrackList[i - nf]);
        classes[i] = arc ? 0 : names.emplace(root(i), int(names.size()) + 1).first->second;
    }
    return classes;
}

// Renames nets by first appearance, so two partitions compare directly.
std::vector<int> Canonical(const std::vector<int>& nets)
{
    std::map<int, int> names;
    std::vector<int> out;
    for (int n : nets)
        out.push_back(n == 0 ? 0 : names.emplace(n, int(names.size()) + 1).first->second);
    return out;
}

struct Fixture {
    std::string name;
    std::function<void(CBoardModel&)> build;
    std::vector<int> nets;  // pads first, then tracks
};

}  // namespace

TEST(NetNumbering, SmallBoardsMatchTheUnionOfTouchingRecords)
{
    const std::vector<Fixture> cases = {
        {"lone pad", [](CBoardModel& m) { AddFlash(m.m_FlashList, 100, 100, 20); }, {1}},
        {"two nets side by side",
         [](CBoardModel& m) {
             AddFlash(m.m_FlashList, 0, 0, 20);
             AddFlash(m.m_FlashList, 200, 0, 20);
             AddTrack(m.m_TrackList, 0, 0, 0, 0, 300, 10);
             AddTrack(m.m_TrackList, 0, 200, 0, 200, 300, 10);
         },
         {1, 2, 1, 2}},
        {"T-junction",
         [](CBoardModel& m) {
             AddTrack(m.m_TrackList, 0, 0, 0, 400, 0, 10);
             AddTrack(m.m_TrackList, 0, 200, 0, 200, 300, 10);
             AddTrack(m.m_TrackList, 0, 500, 0, 600, 0, 10);
         },
         {1, 1, 2}},
        {"arc beside a track",
         [](CBoardModel& m) {
             AddTrack(m.m_TrackList, 3, 100, 100, 0.5f, 2.0f, 50);
             AddTrack(m.m_TrackList, 0, 100, 150, 300, 150, 10);
         },
         {0, 1}},
        {"square-ended track reaching a pad",
         [](CBoardModel& m) {
             AddFlash(m.m_FlashList, 300, 0, 25);
             AddTrack(m.m_TrackList, 1, 0, 0, 290, 0, 20);
             AddTrack(m.m_TrackList, 1, 0, 100, 250, 100, 20);
         },
         {1, 1, 2}},
        {"pad on a track end",
         [](CBoardModel& m) {
             AddFlash(m.m_FlashList, 0, 0, 30);
             AddFlash(m.m_FlashList, 500, 0, 30);
             AddTrack(m.m_TrackList, 0, 0, 0, 500, 0, 12);
             AddFlash(m.m_FlashList, 900, 0, 30);
         },
         {1, 1, 2, 1}},
    };
    for (const Fixture& c : cases) {
        SCOPED_TRACE(c.name);
        CBoardModel model;
        c.build(model);
        CNetNumbering(model).NumberAll();
        EXPECT_EQ(Nets(model), c.nets);
        EXPECT_EQ(Canonical(Nets(model)), UnionOfTouches(model));
    }
}

// A record numbered before keeps its number and passes none on: the track
// that touches the pad starts a net of its own.
TEST(NetNumbering, NumbersGivenBeforeAreKept)
{
    CBoardModel model;
    AddFlash(model.m_FlashList, 0, 0, 20)->groupNo = 77;
    AddTrack(model.m_TrackList, 0, 0, 0, 100, 0, 10);
    AddTrack(model.m_TrackList, 0, 300, 0, 400, 0, 10);
    CNetNumbering(model).NumberAll();
    EXPECT_EQ(Nets(model), (std::vector<int>{77, 1, 2}));
}

// The grid of the spreading gives the numbers of a walk over whole lists,
// on a board dense enough that most records touch several others.
TEST(NetNumbering, IndexedSpreadingNumbersAsTheWholeListWalk)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> at(0.0f, 2000.0f), len(-150.0f, 150.0f),
        width(4.0f, 30.0f);
    CBoardModel indexed, plain;
    for (int i = 0; i < 600; ++i) {
        const float x = at(random), y = at(random), dx = len(random), dy = len(random),
                    w = width(random);
        const std::uint8_t type = static_cast<std::uint8_t>(i % 7 == 0 ? 1 : i % 11 == 0 ? 8 : 0);
        const bool chord = i % 13 == 0;
        for (CBoardModel* m : {&indexed, &plain}) {
            auto* t = AddTrack(m->m_TrackList, type, x, y, i % 5 ? x + dx : x, i % 3 ? y + dy : y, w);
            t->chordMark = chord ? 100 : 0;
        }
        if (i % 2 == 0)
            for (CBoardModel* m : {&indexed, &plain})
                AddFlash(m->m_FlashList, x + dx, y + dy, w);
    }
    CNetNumbering(indexed).NumberAll();
    PlainNumbering(plain);
    const std::vector<int> nets = Nets(plain);
    EXPECT_EQ(Nets(indexed), nets);
    EXPECT_GT(*std::max_element(nets.begin(), nets.end()), 20);
}

// A ground plane chains its fill strokes one to the next: the spreading
// goes as deep as the chain without running out of stack.
TEST(NetNumbering, ChainOfAHundredThousandStrokesIsOneNet)
{
    CBoardModel model;
    constexpr int kStrokes = 100000;
    for (int i = 0; i < kStrokes; ++i) {
        const float x = float(i % 2000) * 10.0f, y = float(i / 2000) * 20.0f;
        // Along a row, and at each row's end one step up to the next row.
        if (i % 2000 == 1999)
            AddTrack(model.m_TrackList, 0, x, y, 0.0f, y + 20.0f, 3.0f);
        else
            AddTrack(model.m_TrackList, 0, x, y, x + 10.0f, y, 3.0f);
    }
    CNetNumbering(model).NumberAll();
    for (const auto& t : model.m_TrackList)
        ASSERT_EQ(t->groupNo, 1);
}

TEST(NetNumbering, CancelStopsAndReportsIt)
{
    CBoardModel model;
    for (int i = 0; i < 10; ++i)
        AddFlash(model.m_FlashList, float(i) * 100.0f, 0, 10);
    std::size_t calls = 0;
    EXPECT_FALSE(CNetNumbering(model).NumberAll([&](std::size_t done, std::size_t total) {
        ++calls;
        EXPECT_EQ(total, 10u);
        return done == 4;
    }));
    EXPECT_EQ(calls, 4u);
    EXPECT_EQ(model.m_FlashList[3]->groupNo, 4);
    EXPECT_EQ(model.m_FlashList[4]->groupNo, 0);
}
