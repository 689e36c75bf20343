// The element pool, the groups' lists and the two arc measures.
#include "offset_fixture.h"

#include <gtest/gtest.h>

TEST(ElementPool, DeletingFreesOneSlotAndKeepsTheOthersInOrder)
{
    CIsoElementPool pool;
    std::vector<CIsoElement*> made;
    for (int i = 0; i < 5; ++i)
        made.push_back(pool.Add(MakeCircle(i, 0, 1)));
    pool.Delete(made[1]);
    pool.Delete(made[3]);
    EXPECT_EQ(pool.Count(), 3u);
    EXPECT_FALSE(pool.Holds(made[1]));
    EXPECT_EQ(pool.Elements(), (std::vector<CIsoElement*>{made[0], made[2], made[4]}));
    // A copy of an element is a new element of its own.
    CIsoElement* copy = pool.Add(*made[4]);
    EXPECT_NE(copy, made[4]);
    EXPECT_TRUE(pool.Holds(copy));
    EXPECT_TRUE(pool.Holds(made[4]));
}

TEST(ElementPool, ClearingTheEngineFreesGroupsButGroupsNeverFreeElements)
{
    COffsetEngineLists lists;
    CIsoElement* e = lists.m_IsoElements.Add(MakeLine(0, 0, 1, 0, 1));
    lists.m_IsoSources.push_back(e);
    lists.m_IsoGroups.push_back(std::make_unique<CIsoGroup>());
    lists.m_IsoGroups.back()->Sources.push_back(e);
    lists.m_IsoGroups.clear();   // destroying a group leaves its elements
    EXPECT_EQ(lists.m_IsoElements.Count(), 1u);
    lists.m_IsoGroupCount = 7;
    lists.ClearOffsetEngine();
    EXPECT_EQ(lists.m_IsoElements.Count(), 0u);
    EXPECT_TRUE(lists.m_IsoSources.empty());
    EXPECT_EQ(lists.m_IsoGroupCount, 7);
}

TEST(ArcMeasures, SweepAndLengthWrapAndCountEqualAnglesAsAFullTurn)
{
    struct Case {
        double start, end;
        float sweep;
        double length;   // for radius 10
    } cases[] = {
        {30.0, 30.0, 360.0f, 2 * 3.1415926 * 10},
        {0.0, -0.001, 359.999f, 359.999f * 3.1415926 / 180.0 * 10},
        {170.0, -170.0, 20.0f, 20.0 * 3.1415926 / 180.0 * 10},
        {-90.0, 90.0, 180.0f, 180.0 * 3.1415926 / 180.0 * 10},
        // Angles a float cannot tell apart are equal.
        {45.0, 45.0 + 1e-9, 360.0f, 2 * 3.1415926 * 10},
    };
    for (const Case& c : cases) {
        CIsoElement arc = MakeArc(0, 0, 10, c.start, c.end, 0);
        EXPECT_FLOAT_EQ(ElementArcSweep(arc), c.sweep) << c.start << " " << c.end;
        EXPECT_NEAR(ElementArcLength(arc), c.length, 1e-3) << c.start << " " << c.end;
    }
}
