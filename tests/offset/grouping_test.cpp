// Grouping: the discovery order, the counter and the reordered source list,
// and groups equal to the connected components of copper closer than d as
// the judge measures it.
#include "offset/grouping.h"
#include "offset/source_elements.h"
#include "offset_fixture.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <random>

namespace {

constexpr float kD = 8.0f;

struct Grouping : ::testing::Test {
    COffsetEngineLists lists;
    CRefList<CIsoGroup> groups;

    CIsoElement* Add(const CIsoElement& e)
    {
        CIsoElement* own = lists.m_IsoElements.Add(e);
        lists.m_IsoSources.push_back(own);
        return own;
    }
    void Group() { BuildGroups(lists, lists.m_IsoSources, groups, kD, 0); }
};

}  // namespace

TEST_F(Grouping, AnEmptyListMakesNoGroup)
{
    lists.m_IsoGroupCount = 5;
    Group();
    EXPECT_EQ(lists.m_IsoGroupCount, 0);
    EXPECT_TRUE(groups.empty());
}

TEST_F(Grouping, MembersStandInTheOrderTheyWereFound)
{
    // Tracks 0 - 1 - 2 in a chain (0 and 2 far apart), listed 2, lone, 0, 1:
    // the flood from 2 finds 1 first, then 0 from 1.
    CIsoElement* c = Add(MakeLine(200, 0, 300, 0, 10));
    CIsoElement* lone = Add(MakeCircle(0, 500, 10));
    CIsoElement* a = Add(MakeLine(0, 0, 100, 0, 10));
    CIsoElement* b = Add(MakeLine(100, 0, 200, 0, 10));
    Group();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0]->Sources, (CRefList<CIsoElement>{c, b, a}));
    EXPECT_EQ(groups[1]->Sources, (CRefList<CIsoElement>{lone}));
    EXPECT_EQ(lists.m_IsoSources, (CRefList<CIsoElement>{c, b, a, lone}));
    EXPECT_EQ(a->GroupNo[0], 1);
    EXPECT_EQ(lone->GroupNo[0], 2);
    EXPECT_EQ(groups[1]->GroupNo, 2);
    EXPECT_EQ(lists.m_IsoGroupCount, 2);
    EXPECT_EQ(lists.m_IsoGroups.size(), 2u);

    // A seed first in the list: A, B, C.
    lists.m_IsoSources = {a, b, c, lone};
    groups.clear();
    lists.m_IsoGroups.clear();
    Group();
    EXPECT_EQ(groups[0]->Sources, (CRefList<CIsoElement>{a, b, c}));
}

TEST_F(Grouping, OverlappingArcTracksFormOneGroup)
{
    Add(MakeArc(0, 0, 50, 0, 90, 3));
    Add(MakeArc(10, 0, 50, 0, 90, 3));
    Group();
    EXPECT_EQ(groups.size(), 1u);
}

TEST_F(Grouping, AFiftyThousandElementChainIsOneGroup)
{
    // Each track touches only its neighbours, so the flood runs 50,000 deep.
    for (int i = 0; i < 50000; ++i)
        Add(MakeLine(i * 10.0, 0, i * 10.0 + 10.0, 0, 4));
    Add(MakeCircle(-1000, 0, 5));
    Group();
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0]->Sources.size(), 50000u);
    EXPECT_EQ(groups[0]->Sources[49999]->Pt1.x, 500000.0);
}

// Random boards of strokes, bars, arcs and pads, each new item placed so
// that its copper lies either clearly nearer than d to every other item or
// clearly farther (the end-point joins may reach a little beyond d). The
// groups must be the components of "copper nearer than d" as Boost.Geometry
// measures it.
TEST_F(Grouping, GroupsAreTheComponentsOfCopperNearerThanD)
{
    std::mt19937 random(2718);
    auto uniform = [&](double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random);
    };
    int joined = 0;   // pairs the judge puts together, so the boards are not all apart
    for (int board = 0; board < 6; ++board) {
        COwnedList<CTrackRecord> tracks;
        COwnedList<CFlashRecord> pads;
        std::vector<BShape> shapes;   // copper of each item, in order of making
        std::vector<int> trackItem, padItem;
        auto fits = [&](const BShape& shape) {
            for (const BShape& other : shapes) {
                double gap = bg::distance(shape, other);
                if (gap > kD - 1.5 && gap < kD + 4.0)
                    return false;
            }
            return true;
        };
        for (int item = 0; item < 40;) {
            int kind = item % 4;
            double x = uniform(0, 600), y = uniform(0, 600);
            COffsetEngineLists probe;
            COwnedList<CTrackRecord> oneTrack;
            COwnedList<CFlashRecord> onePad;
            if (kind == 0) {
                double a = uniform(0, 2 * M_PI), len = uniform(10, 120);
                AddTrack(oneTrack, 0, x, y, x + len * std::cos(a), y + len * std::sin(a),
                         uniform(4, 16));
            } else if (kind == 1) {
                double a = uniform(0, 2 * M_PI), len = uniform(10, 60);
                AddTrack(oneTrack, 1, x, y, x + len * std::cos(a), y + len * std::sin(a),
                         uniform(8, 30));
            } else if (kind == 2) {
                CTrackRecord* arc = AddTrack(oneTrack, 8, x, y, uniform(-M_PI, M_PI),
                                             uniform(-M_PI, M_PI), uniform(15, 60));
                arc->arcHalfWidth = uniform(2, 6);
            } else {
                AddFlash(onePad, x, y, uniform(4, 20));
            }
            BuildSourceElements(probe, oneTrack, onePad, 0);
            BShape shape = CopperShape(*probe.m_IsoSources[0]);
            if (!fits(shape))
                continue;
            shapes.push_back(shape);
            for (auto& t : oneTrack) {
                tracks.push_back(std::move(t));
                trackItem.push_back(item);
            }
            for (auto& p : onePad) {
                pads.push_back(std::move(p));
                padItem.push_back(item);
            }
            ++item;
        }

        // The judge's components over the items.
        std::vector<int> parent(shapes.size());
        std::iota(parent.begin(), parent.end(), 0);
        std::function<int(int)> root = [&](int i) { return parent[i] == i ? i : parent[i] = root(parent[i]); };
        for (std::size_t i = 0; i < shapes.size(); ++i)
            for (std::size_t j = i + 1; j < shapes.size(); ++j)
                if (bg::distance(shapes[i], shapes[j]) < kD) {
                    parent[root(int(i))] = root(int(j));
                    ++joined;
                }

        COffsetEngineLists engine;
        BuildSourceElements(engine, tracks, pads, 0);
        CRefList<CIsoGroup> made;
        BuildGroups(engine, engine.m_IsoSources, made, kD, 0);
        // The item each source came from; corner circles follow their bar.
        auto recordOf = [&](const CIsoElement* e) {
            const CIsoElement* owner = e->Source ? e->Source : e;
            for (std::size_t i = 0; i < tracks.size(); ++i)
                if (owner->Origin == tracks[i].get())
                    return trackItem[i];
            for (std::size_t i = 0; i < pads.size(); ++i)
                if (owner->Origin == pads[i].get())
                    return padItem[i];
            return -1;
        };
        std::vector<int> groupOf(shapes.size(), -1);
        for (const CIsoElement* e : engine.m_IsoSources) {
            int record = recordOf(e);
            ASSERT_GE(record, 0);
            if (groupOf[record] >= 0) {
                EXPECT_EQ(groupOf[record], e->GroupNo[0]) << "a record split over groups";
            }
            groupOf[record] = e->GroupNo[0];
        }
        for (std::size_t i = 0; i < shapes.size(); ++i)
            for (std::size_t j = i + 1; j < shapes.size(); ++j)
                EXPECT_EQ(groupOf[i] == groupOf[j], root(int(i)) == root(int(j)))
                    << "board " << board << " records " << i << " and " << j;
    }
    EXPECT_GT(joined, 30);
}
